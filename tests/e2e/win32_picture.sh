#!/usr/bin/env bash
# The Windows saver's picture under wine equals the renderer's. A test hook
# stops the saver's frame clock after some ticks; its picture is read from
# wine's window and compared with tintwalk-render.exe's picture of the
# community and seed the saver names. Once per drawing method, one of them
# on Mesa's other rasteriser.
#   win32_picture.sh TINTWALK_SCR TINTWALK_RENDER_EXE
set -u
. "$(dirname "$0")/win32_common.sh"

win32_start "$@"
scr=$1 render=$2

ticks=40
read -r width height < <(xdotool getdisplaygeometry) || fail "cannot read the screen size"
log=$e2e_tmp/saver.log
shot=$e2e_tmp/saver.png
expected=$e2e_tmp/render.png

stopped() {
    grep -q '^frame clock stopped' "$log"
}

# same_picture METHOD DRIVER USED: the saver forced to METHOD on DRIVER draws
# with USED, and its picture is the renderer's.
same_picture() {
    local method=$1 driver=$2 used=$3 community seed shot_w shot_h wrong
    xdotool mousemove $((width / 2)) $((height / 2))
    TINTWALK_TEST_HOOK_STOP_TICKING_AFTER=$ticks TINTWALK_DRAW=$method GALLIUM_DRIVER=$driver \
        start_wine "$log" "$scr" /s
    local saver_pid=$started_pid
    wait_until 120 stopped || fail "$method: the frame clock did not stop: $(tail -3 "$log")"
    community=$(tr -d '\r' <"$log" | sed -n "s/^community '\(.*\)' : habitat.*/\1/p")
    seed=$(tr -d '\r' <"$log" | sed -n 's/^Biotope::Create([0-9]*, [0-9]*, [0-9]*, \([0-9]*\))$/\1/p')
    [ -n "$community" ] && [ -n "$seed" ] || fail "$method: no community or seed in: $(cat "$log")"
    grep -q "^GlPresenter::Start([0-9]*, [0-9]*): $used on $driver" "$log" ||
        fail "$method: not drawn with $used on $driver: $(grep '^GlPresenter' "$log")"
    capture_picture 0 0 "$width" "$height" "$shot" >/dev/null || fail "$method: no picture"
    wine "$render" --community "$community" --seed "$seed" --size "${width}x$height" \
        --ticks "$ticks" --output "$(winepath -w "$expected")" >"$e2e_tmp/render.log" 2>&1 ||
        fail "$method: the renderer failed: $(tail -3 "$e2e_tmp/render.log")"
    # Wine keeps its window at (-1, -1): compare only what is on the screen.
    read -r shot_w shot_h < <(identify -format '%w %h' "$shot")
    convert "$expected" -crop "${shot_w}x$shot_h+$((width - shot_w))+$((height - shot_h))" +repage \
        "$expected" || fail "cannot crop the renderer's picture"
    wrong=$(compare -metric AE "$shot" "$expected" null: 2>&1)
    [ "$wrong" = 0 ] || fail "$method on $driver: $wrong of $((shot_w * shot_h)) pixels differ"
    pass "$method ($used) on $driver: '$community', seed $seed, $ticks ticks: the renderer's picture"
    xdotool key space
    wait_exit "$saver_pid" 30
}

same_picture auto llvmpipe points
same_picture texture llvmpipe texture
same_picture tiles softpipe tiles
