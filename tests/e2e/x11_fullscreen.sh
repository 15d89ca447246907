#!/usr/bin/env bash
# The Linux saver in full screen: it covers the screen and ends with exit code
# 0 on a key press, on a press of one of the three buttons, when another
# window takes the focus, and when the pointer has travelled more than 4
# pixels from where it was at the start. A 4-pixel drift, in small steps
# that add up, does not end it, nor does the mouse wheel.
# Usage: x11_fullscreen.sh TINTWALK X11_TEST_HOST
saver=$1
host=$2
source "$(dirname "$0")/x11_common.sh"
need_display
need_tools xdotool

has_focus() {
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]
}

# Starts the saver and waits until it holds the focus, which it takes right
# after measuring where the pointer is; sets px and py to that place.
start_fullscreen() {
    env -u XSCREENSAVER_WINDOW "$saver" --fullscreen >/dev/null 2>"$e2e_tmp/saver.err" &
    saver_pid=$!
    e2e_pids+=("$saver_pid")
    wait_for_window "$saver_pid" || fail "no window appeared: $(cat "$e2e_tmp/saver.err")"
    saver_window=$window
    wait_until 20 has_focus "$saver_window" 2>/dev/null || fail "the saver did not take the focus"
    eval "$(xdotool getmouselocation --shell | grep -E '^[XY]=')"
    px=$X
    py=$Y
}

# still_running WHAT: after the saver had a moment to act on WHAT.
still_running() {
    sleep 0.5
    process_alive "$saver_pid" || fail "$1 ended the saver"
    echo "ok: $1 does not end it"
}

expect_clean_end() {
    wait_exit "$saver_pid" 20
    [ "$exit_code" -eq 0 ] || fail "$1: exit code $exit_code"
    echo "ok: $1 ends it with 0"
}

screen=$(xdotool getdisplaygeometry | tr ' ' x)

# A key press.
start_fullscreen
[ "$(window_size "$saver_window")" = "$screen" ] || fail "the window does not cover the $screen screen"
xdotool key x
expect_clean_end "a key press"

# Pointer travel: 2 across and 2 down is 4 pixels and is tolerated; one
# more pixel makes 5. The steps point away from the nearer screen edges.
start_fullscreen
sx=$(((px < 640) ? 1 : -1))
sy=$(((py < 512) ? 1 : -1))
xdotool mousemove $((px + 2 * sx)) "$py"
xdotool mousemove $((px + 2 * sx)) $((py + 2 * sy))
still_running "a 4-pixel drift"
xdotool mousemove $((px + sx)) $((py + 2 * sy))
still_running "moving back within 4 pixels"
eval "$(xdotool getmouselocation --shell | grep -E '^[XY]=')"
[ "$X,$Y" = "$((px + sx)),$((py + 2 * sy))" ] || fail "the pointer did not move as asked"
xdotool mousemove $((px + 3 * sx)) $((py + 2 * sy))
expect_clean_end "a 5-pixel drift"

# The wheel does not close; a button does.
start_fullscreen
xdotool click 4
xdotool click 5
still_running "the mouse wheel"
xdotool click 1
expect_clean_end "a button press"

# Another window takes the focus.
start_host -name "Tintwalk focus thief" -geometry 50x50 -- sleep 60
start_fullscreen
xdotool windowfocus "$host_window"
expect_clean_end "losing the focus"

echo "all full-screen cases passed"
