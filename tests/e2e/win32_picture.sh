#!/usr/bin/env bash
# The Windows saver's picture under wine equals the renderer's. The saver
# runs full screen until a test hook stops its frame clock after a set
# number of ticks; its picture is read from wine's window, and
# tintwalk-render.exe draws the community and seed that the saver's own
# diagnostic lines name, for as many ticks. Once per drawing method, with
# one of them on Mesa's other rasteriser.
#   win32_picture.sh TINTWALK_SCR TINTWALK_RENDER_EXE
set -u
. "$(dirname "$0")/win32_common.sh"

scr=$1
render=$2
need_display
need_tools wine xdotool xwininfo import convert compare identify winepath
[ -f "$scr" ] || fail "no saver at $scr"
[ -f "$render" ] || fail "no renderer at $render"
wine_ready

ticks=40
screen=$(xdotool getdisplaygeometry) || fail "cannot read the screen size"
width=${screen% *}
height=${screen#* }
log="$e2e_tmp/saver.log"

stopped() {
    grep -q '^frame clock stopped' "$log"
}

# same_picture METHOD DRIVER USED: runs the saver with the drawing method
# forced on the rasteriser named, checks that it drew with method USED, and
# compares its picture with the renderer's.
same_picture() {
    local method=$1 driver=$2 used=$3 community seed shot expected wrong
    xdotool mousemove $((width / 2)) $((height / 2))
    TINTWALK_TEST_HOOK_STOP_TICKING_AFTER=$ticks TINTWALK_DRAW=$method GALLIUM_DRIVER=$driver \
        start_wine "$log" "$scr" /s
    local saver_pid=$started_pid
    wait_until 120 stopped || fail "$method: the frame clock did not stop: $(tail -3 "$log")"
    # Windows programs end their lines with CR LF.
    community=$(tr -d '\r' <"$log" | sed -n "s/^community '\(.*\)' : habitat.*/\1/p")
    seed=$(tr -d '\r' <"$log" | sed -n 's/^Biotope::Create([0-9]*, [0-9]*, [0-9]*, \([0-9]*\))$/\1/p')
    [ -n "$community" ] && [ -n "$seed" ] || fail "$method: no community or seed in: $(cat "$log")"
    grep -q "^GlPresenter::Start([0-9]*, [0-9]*): $used on $driver" "$log" ||
        fail "$method: not drawn with $used on $driver: $(grep '^GlPresenter' "$log")"

    shot="$e2e_tmp/saver-$method.png"
    capture_picture 0 0 "$width" "$height" "$shot" >/dev/null ||
        fail "$method: no picture on the screen or in wine's window"
    expected="$e2e_tmp/render-$method.png"
    wine "$render" --community "$community" --seed "$seed" --size "${width}x$height" \
        --ticks "$ticks" --output "$(winepath -w "$expected")" >"$e2e_tmp/render.log" 2>&1 ||
        fail "$method: the renderer failed: $(tail -3 "$e2e_tmp/render.log")"
    # Wine keeps that window at (-1, -1): its top row and left column are
    # off the screen and cannot be read. Compare what can.
    read -r shot_w shot_h < <(identify -format '%w %h' "$shot")
    convert "$expected" -crop "${shot_w}x$shot_h+$((width - shot_w))+$((height - shot_h))" +repage \
        "$expected" || fail "cannot crop the renderer's picture"
    wrong=$(compare -metric AE "$shot" "$expected" null: 2>&1)
    [ "$wrong" = 0 ] || fail "$method on $driver: $wrong of $((shot_w * shot_h)) pixels differ from the renderer's"
    pass "$method ($used) on $driver: the picture of '$community', seed $seed, after $ticks ticks is the renderer's"

    xdotool key space
    wait_exit "$saver_pid" 30
}

same_picture auto llvmpipe points
same_picture texture llvmpipe texture
same_picture tiles softpipe tiles
