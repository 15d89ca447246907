#!/usr/bin/env bash
# The full-screen saver under wine: one window of the screen's size, with its
# styles and drawing child, that paints the picture; a second saver ends at
# once with 0; a key press, and a pointer travel of 5 pixels but not of 4,
# end it with 0 (input_test covers the buttons).
#   win32_fullscreen.sh TINTWALK_SCR PREVIEW_HOST WINDOW_PROBE
set -u
. "$(dirname "$0")/win32_common.sh"

win32_start "$@"
scr=$1 probe=$3

read -r width height < <(xdotool getdisplaygeometry) || fail "cannot read the screen size"
x=$((width / 2))
y=$((height / 2))

# start_saver: the pointer in the middle, then the saver, which takes input
# once it paints.
start_saver() {
    xdotool mousemove "$x" "$y"
    start_wine "$e2e_tmp/saver.log" "$scr" /s
    saver_pid=$started_pid
    saver_window=$(wait_window "Screen Saver" 60)
    wait_for_picture 0 0 "$width" "$height" 60
}

start_saver
geometry=$(xdotool getwindowgeometry "$saver_window")
grep -q "Position: 0,0" <<<"$geometry" && grep -q "Geometry: ${width}x$height" <<<"$geometry" ||
    fail "the saver window is not the screen: $geometry"
wine "$probe" WindowsScreenSaverClass "Screen Saver" >"$e2e_tmp/probe.txt" 2>/dev/null ||
    fail "the probe finds no saver window"
# WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_TOPMOST
grep -q '^window .*style=96000000 exstyle=00000008 ' "$e2e_tmp/probe.txt" &&
    grep -q "^child .*class=\"NTDEVCLASS\" text=\"Tintwalk screensaver\" .*size=${width}x$height" \
        "$e2e_tmp/probe.txt" || fail "the saver's windows: $(cat "$e2e_tmp/probe.txt")"
pass "a saver window of the screen's size with its styles and drawing window"

run_wine 60 "$scr" /s
[ "$exit_code" -eq 0 ] || fail "the second saver ended with $exit_code"
process_alive "$saver_pid" || fail "the first saver ended too"
[ "$(xdotool search --name '^Screen Saver$' | wc -l)" -eq 1 ] || fail "two saver windows"
pass "a second saver ends at once with 0"

xdotool key space
wait_exit "$saver_pid" 30
[ "$exit_code" -eq 0 ] || fail "after a key press the exit code is $exit_code"
pass "a key press ends the saver with 0"

start_saver
xdotool mousemove $((x + 1)) "$y" mousemove $((x + 2)) $((y + 1)) mousemove $((x + 2)) $((y + 2))
sleep 2  # the one wait for nothing to happen
process_alive "$saver_pid" || fail "a travel of 4 pixels ended the saver"
xdotool mousemove $((x + 3)) $((y + 2))
wait_exit "$saver_pid" 30
[ "$exit_code" -eq 0 ] || fail "after the fifth pixel the exit code is $exit_code"
pass "a pointer travel of 4 pixels does not end the saver, the fifth ends it with 0"
