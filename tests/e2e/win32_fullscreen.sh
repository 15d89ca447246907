#!/usr/bin/env bash
# The full-screen saver under wine: a window of the screen's size that
# paints the picture; a key press and a pointer travel of more than 4 pixels
# end it with exit code 0, a travel of 4 does not (input_test covers the
# buttons); a second saver started meanwhile ends at once with 0.
#   win32_fullscreen.sh TINTWALK_SCR [PREVIEW_HOST WINDOW_PROBE]
set -u
. "$(dirname "$0")/win32_common.sh"

scr=$1
probe=${3:-}
need_display
need_tools wine xdotool xwininfo import convert
[ -f "$scr" ] || fail "no saver at $scr"
wine_ready

screen=$(xdotool getdisplaygeometry) || fail "cannot read the screen size"
screen_w=${screen% *}
screen_h=${screen#* }

# start_saver: the pointer in the middle of the screen, then the saver. It
# takes input once it paints: its window is then shown and its loop runs.
start_saver() {
    xdotool mousemove $((screen_w / 2)) $((screen_h / 2))
    start_wine "$e2e_tmp/saver.log" "$scr" /s
    saver_pid=$started_pid
    saver_window=$(wait_window "Screen Saver" 60)
    wait_for_picture 0 0 "$screen_w" "$screen_h" 60
}

# still_running_after SECONDS: the saver still runs after SECONDS. There is
# no event for "nothing happened"; this is the one short wait of its kind.
still_running_after() {
    sleep "$1"
    process_alive "$saver_pid"
}

# --- the window and the picture
start_saver
geometry=$(xdotool getwindowgeometry "$saver_window")
grep -q "Geometry: ${screen_w}x${screen_h}" <<<"$geometry" ||
    fail "the saver window is not the screen's size: $geometry"
grep -q "Position: 0,0" <<<"$geometry" || fail "the saver window is not at 0,0: $geometry"
pass "one window of the screen's size, ${screen_w}x${screen_h}"
if [ -n "$probe" ]; then
    wine "$probe" WindowsScreenSaverClass "Screen Saver" >"$e2e_tmp/probe.txt" 2>/dev/null ||
        fail "the probe finds no saver window"
    # WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_TOPMOST
    grep -q '^window .*style=96000000 exstyle=00000008 ' "$e2e_tmp/probe.txt" ||
        fail "saver window styles: $(head -1 "$e2e_tmp/probe.txt")"
    grep -q "^child .*class=\"NTDEVCLASS\" text=\"Tintwalk screensaver\" .*size=${screen_w}x${screen_h}" \
        "$e2e_tmp/probe.txt" || fail "no drawing window: $(cat "$e2e_tmp/probe.txt")"
    pass "saver window and drawing window with their classes, titles and styles"
fi

# --- a second saver finds the first and ends at once
run_wine 60 "$scr" /s
[ "$exit_code" -eq 0 ] || fail "the second saver ended with $exit_code"
process_alive "$saver_pid" || fail "the first saver ended too"
[ "$(xdotool search --name '^Screen Saver$' | wc -l)" -eq 1 ] || fail "two saver windows"
pass "a second saver ends at once with 0"

# --- a key press ends it
xdotool key space
wait_exit "$saver_pid" 30
[ "$exit_code" -eq 0 ] || fail "after a key press the exit code is $exit_code"
pass "a key press ends the saver with 0"

# --- 4 pixels of travel are tolerated, a fifth ends it
start_saver
x=$((screen_w / 2))
y=$((screen_h / 2))
xdotool mousemove $((x + 1)) "$y"
xdotool mousemove $((x + 2)) $((y + 1))
xdotool mousemove $((x + 2)) $((y + 2))
still_running_after 2 || fail "a travel of 4 pixels ended the saver"
pass "a pointer travel of 4 pixels in total does not end the saver"
xdotool mousemove $((x + 3)) $((y + 2))
wait_exit "$saver_pid" 30
[ "$exit_code" -eq 0 ] || fail "after the fifth pixel the exit code is $exit_code"
pass "the fifth pixel ends the saver with 0"
