#!/usr/bin/env bash
# The Linux saver in full screen covers the screen and ends with 0 on a key,
# a button, the loss of the focus, or pointer travel of more than 4 pixels
# from where it started; a 4-pixel drift and the wheel do not end it.
# Usage: x11_fullscreen.sh TINTWALK X11_TEST_HOST
saver=$1
host=$2
source "$(dirname "$0")/x11_common.sh"
need_display

has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
pointer() { eval "$(xdotool getmouselocation --shell | grep -E '^[XY]=')"; }

# The saver takes the focus right after measuring the pointer: px, py.
start_fullscreen() {
    start_saver --fullscreen
    wait_until 20 has_focus "$saver_window" || fail "the saver did not take the focus"
    pointer
    px=$X py=$Y
}

still_running() {
    sleep 0.5
    process_alive "$saver_pid" || fail "$1 ended the saver"
    echo "ok: $1 does not end it"
}

start_fullscreen
screen=$(xdotool getdisplaygeometry | tr ' ' x)
[ "$(window_size "$saver_window")" = "$screen" ] || fail "the window does not cover the $screen screen"
xdotool key x
expect_clean_end "a key press"

# 2 across and 2 down is 4 pixels; back by one and out by two makes 5. The
# steps point away from the nearer screen edges.
start_fullscreen
sx=$(((px < 640) ? 1 : -1)) sy=$(((py < 512) ? 1 : -1))
xdotool mousemove $((px + 2 * sx)) "$py" mousemove $((px + 2 * sx)) $((py + 2 * sy))
still_running "a 4-pixel drift"
xdotool mousemove $((px + sx)) $((py + 2 * sy))
still_running "moving back within 4 pixels"
pointer
[ "$X,$Y" = "$((px + sx)),$((py + 2 * sy))" ] || fail "the pointer did not move as asked"
xdotool mousemove $((px + 3 * sx)) $((py + 2 * sy))
expect_clean_end "a 5-pixel drift"

start_fullscreen
xdotool click 4 click 5
still_running "the mouse wheel"
xdotool click 1
expect_clean_end "a button press"

start_host -geometry 50x50 -- sleep 60
start_fullscreen
xdotool windowfocus "$host_window"
expect_clean_end "losing the focus"
echo "all full-screen cases passed"
