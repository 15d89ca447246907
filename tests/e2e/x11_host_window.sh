#!/usr/bin/env bash
# The Linux saver as a screen-saver module, in a window another program made
# (XSCREENSAVER_WINDOW or -window-id): it paints there, ignores input, starts
# afresh at a new size, and ends with 0 on SIGTERM, SIGHUP and SIGINT (writing
# its snapshot) and when the window goes away. -root alone covers the screen.
# Usage: x11_host_window.sh TINTWALK X11_TEST_HOST
saver=$1
host=$2
source "$(dirname "$0")/x11_common.sh"
need_display
need_tools xwininfo import convert identify

# The saver's drawing window inside the host window has size $1.
child_has_size() {
    local child
    child=$(xwininfo -children -id "$host_window" | awk '/"Tintwalk screensaver"/ { print $1; exit }')
    [ -n "$child" ] && [ "$(window_size "$child")" = "$1" ]
}

# signal_ends SIGNAL: the host's saver ends with 0 and writes its snapshot.
signal_ends() {
    kill -"$1" "$saver_pid"
    wait_exit "$host_pid" 20
    [ "$exit_code" -eq 0 ] && [ "$(host_reported_exit)" = 0 ] || fail "SIG$1: exit code $exit_code"
    [ "$(png_size "$e2e_tmp/$1.png")" = "$2" ] || fail "SIG$1: no $2 snapshot"
}

for signal in TERM HUP; do
    start_host -geometry 300x200 -- "$saver" --community 2 --seed 7 --snapshot "$e2e_tmp/$signal.png"
    wait_until 20 window_painted "$host_window" || fail "nothing was painted in the host window"
    child_has_size 300x200 || fail "the picture does not cover the host window"
    xdotool mousemove --window "$host_window" 150 100 click 1 key Escape q mousemove_relative 40 40
    sleep 0.5
    process_alive "$saver_pid" || fail "input ended the saver in a host window"
    signal_ends "$signal" 300x200
    echo "ok: paints in XSCREENSAVER_WINDOW, ignores input, SIG$signal ends it with 0 and a snapshot"
done

# -root still means the host window.
start_host -geometry 240x160 -- "$saver" -root --snapshot "$e2e_tmp/INT.png"
wait_until 20 window_painted "$host_window" || fail "nothing was painted before the resize"
xdotool windowsize "$host_window" 180 130
wait_until 20 child_has_size 180x130 || fail "the picture did not follow the new size"
wait_until 20 window_painted "$host_window" || fail "nothing was painted after the resize"
signal_ends INT 180x130
echo "ok: a resize restarts the picture at 180x130; SIGINT ends it with 0"

start_host -geometry 200x150 -- "$saver"
wait_until 20 window_painted "$host_window" || fail "nothing was painted before the destroy"
kill -USR1 "$host_pid"
wait_exit "$host_pid" 20
[ "$exit_code" -eq 0 ] || fail "window destroyed: exit code $exit_code"
echo "ok: the saver ends with 0 when its host window goes away"

start_host -geometry 123x45 -- sleep 60
timeout 30 "$saver" -window-id $((host_window)) --ticks 4 --snapshot "$e2e_tmp/by-id.png" >/dev/null 2>&1 ||
    fail "-window-id $((host_window)) failed"
[ "$(png_size "$e2e_tmp/by-id.png")" = 123x45 ] || fail "the -window-id snapshot has the wrong size"
echo "ok: -window-id $((host_window)) draws at the window's size and ends after 4 ticks"

env -u XSCREENSAVER_WINDOW timeout 30 "$saver" -root --ticks 2 --snapshot "$e2e_tmp/root.png" >/dev/null 2>&1 ||
    fail "-root failed"
screen=$(xdotool getdisplaygeometry | tr ' ' x)
[ "$(png_size "$e2e_tmp/root.png")" = "$screen" ] || fail "-root did not cover the $screen screen"
echo "ok: -root alone covers the $screen screen"
echo "all host window cases passed"
