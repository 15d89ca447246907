#!/usr/bin/env bash
# The Linux saver as a screen-saver module: driven into a window that another
# program made and named by XSCREENSAVER_WINDOW (or by -window-id), it paints
# there, ignores input, starts afresh when the window changes size, and ends
# with exit code 0 on SIGTERM, SIGINT, SIGHUP and when the window goes away.
# With -root and no host window it covers the screen.
# Usage: x11_host_window.sh TINTWALK X11_TEST_HOST
saver=$1
host=$2
source "$(dirname "$0")/x11_common.sh"
need_display
need_tools xdotool xwininfo import convert identify

# The saver's drawing window inside the host window.
saver_child() {
    xwininfo -children -id "$host_window" | awk '/"Tintwalk screensaver"/ { print $1; exit }'
}

child_has_size() {
    local child
    child=$(saver_child)
    [ -n "$child" ] && [ "$(window_size "$child")" = "$1" ]
}

# 1. Painting through XSCREENSAVER_WINDOW; input is the host's business;
#    SIGTERM ends it with 0.
start_host -geometry 300x200 -- "$saver" --community 2 --seed 7
wait_until 20 window_painted "$host_window" || fail "nothing was painted in the host window"
[ "$(window_size "$(saver_child)")" = 300x200 ] || fail "the picture does not cover the host window"
xdotool mousemove --window "$host_window" 150 100
xdotool click 1 key Escape q
xdotool mousemove_relative 40 40
sleep 0.5
process_alive "$saver_pid" || fail "input ended the saver in a host window"
kill -TERM "$saver_pid"
wait_exit "$host_pid" 20
[ "$exit_code" -eq 0 ] || fail "SIGTERM: exit code $exit_code"
[ "$(host_reported_exit)" = 0 ] || fail "SIGTERM: the saver reported $(host_reported_exit)"
echo "ok: paints in XSCREENSAVER_WINDOW, ignores input, SIGTERM ends it with 0"

# 1b. SIGHUP ends it the same way, and the snapshot is written.
start_host -geometry 120x90 -- "$saver" --snapshot "$e2e_tmp/hangup.png"
wait_until 20 window_painted "$host_window" || fail "nothing was painted before SIGHUP"
kill -HUP "$saver_pid"
wait_exit "$host_pid" 20
[ "$exit_code" -eq 0 ] || fail "SIGHUP: exit code $exit_code"
[ "$(png_size "$e2e_tmp/hangup.png")" = 120x90 ] || fail "SIGHUP: no snapshot written"
echo "ok: SIGHUP ends it with 0 and writes the snapshot"

# 2. A resized host window starts the picture afresh at the new size; SIGINT
#    ends it and the snapshot has the new size. -root still means the host.
start_host -geometry 240x160 -- "$saver" -root --snapshot "$e2e_tmp/resized.png"
wait_until 20 window_painted "$host_window" || fail "nothing was painted before the resize"
xdotool windowsize "$host_window" 180 130
wait_until 20 child_has_size 180x130 || fail "the picture did not follow the new size"
wait_until 20 window_painted "$host_window" || fail "nothing was painted after the resize"
kill -INT "$saver_pid"
wait_exit "$host_pid" 20
[ "$exit_code" -eq 0 ] || fail "SIGINT: exit code $exit_code"
[ "$(png_size "$e2e_tmp/resized.png")" = 180x130 ] ||
    fail "the snapshot after the resize is $(png_size "$e2e_tmp/resized.png")"
echo "ok: a resize restarts the picture at 180x130; SIGINT ends it with 0"

# 3. The host destroys its window: the saver ends by itself, with 0.
start_host -geometry 200x150 -- "$saver"
wait_until 20 window_painted "$host_window" || fail "nothing was painted before the destroy"
kill -USR1 "$host_pid"
wait_exit "$host_pid" 20
[ "$exit_code" -eq 0 ] || fail "window destroyed: exit code $exit_code"
echo "ok: the saver ends with 0 when its host window goes away"

# 4. -window-id in decimal: the habitat has the window's size; --ticks ends it.
start_host -geometry 123x45 -- sleep 60
decimal_id=$((host_window))
"$saver" -window-id "$decimal_id" --ticks 4 --snapshot "$e2e_tmp/by-id.png" \
    >/dev/null 2>"$e2e_tmp/by-id.err" &
by_id=$!
e2e_pids+=("$by_id")
wait_exit "$by_id" 30
[ "$exit_code" -eq 0 ] || fail "-window-id $decimal_id: exit code $exit_code: $(cat "$e2e_tmp/by-id.err")"
grep -q "habitat 123 x 45" "$e2e_tmp/by-id.err" || fail "the habitat is not the window's size"
[ "$(png_size "$e2e_tmp/by-id.png")" = 123x45 ] || fail "the -window-id snapshot has the wrong size"
echo "ok: -window-id $decimal_id draws at the window's size and ends after 4 ticks"

# 5. -root without a host window: the picture covers the whole screen.
env -u XSCREENSAVER_WINDOW "$saver" -root --ticks 2 --snapshot "$e2e_tmp/root.png" \
    >/dev/null 2>"$e2e_tmp/root.err" &
root_saver=$!
e2e_pids+=("$root_saver")
wait_exit "$root_saver" 30
[ "$exit_code" -eq 0 ] || fail "-root: exit code $exit_code: $(cat "$e2e_tmp/root.err")"
screen=$(xdotool getdisplaygeometry | tr ' ' x)
[ "$(png_size "$e2e_tmp/root.png")" = "$screen" ] || fail "-root did not cover the $screen screen"
echo "ok: -root alone covers the $screen screen"

echo "all host window cases passed"
