#!/usr/bin/env bash
# The Linux saver in a window of its own: title "Tintwalk screensaver", the
# size from -geometry (1280x720 by default), and Esc, q or closing the window
# ends it with exit code 0. With no host window it is the default mode.
# Usage: x11_own_window.sh TINTWALK X11_TEST_HOST
saver=$1
host=$2
source "$(dirname "$0")/x11_common.sh"
need_display
need_tools xdotool xwininfo xprop import convert

expect_clean_end() {
    wait_exit "$saver_pid" 20
    [ "$exit_code" -eq 0 ] || fail "$1: exit code $exit_code"
    echo "ok: $1 ends it with 0"
}

# Esc, and the window's title and size.
env -u XSCREENSAVER_WINDOW "$saver" -geometry 320x200 >/dev/null 2>"$e2e_tmp/saver.err" &
saver_pid=$!
e2e_pids+=("$saver_pid")
wait_for_window "$saver_pid" || fail "no window appeared: $(cat "$e2e_tmp/saver.err")"
saver_window=$window
wait_until 20 window_painted "$saver_window" || fail "nothing was painted"
xprop -id "$saver_window" WM_NAME | grep -qF '"Tintwalk screensaver"' ||
    fail "the title is $(xprop -id "$saver_window" WM_NAME)"
[ "$(window_size "$saver_window")" = 320x200 ] || fail "-geometry 320x200 gave $(window_size "$saver_window")"
xdotool mousemove --window "$saver_window" 10 10 click 1 mousemove_relative 50 50
xdotool key --window "$saver_window" a
sleep 0.5
process_alive "$saver_pid" || fail "a click or another key ended the saver in its own window"
xdotool windowfocus --sync "$saver_window" key Escape
expect_clean_end "Esc"

# q, in the default size.
env -u XSCREENSAVER_WINDOW "$saver" >/dev/null 2>"$e2e_tmp/saver.err" &
saver_pid=$!
e2e_pids+=("$saver_pid")
wait_for_window "$saver_pid" || fail "no window appeared: $(cat "$e2e_tmp/saver.err")"
saver_window=$window
[ "$(window_size "$saver_window")" = 1280x720 ] || fail "the default size is $(window_size "$saver_window")"
xdotool windowfocus --sync "$saver_window" key q
expect_clean_end "q"

# Closing the window, as a window manager asks for it.
env -u XSCREENSAVER_WINDOW "$saver" -window -geometry 200x100+30+40 >/dev/null 2>"$e2e_tmp/saver.err" &
saver_pid=$!
e2e_pids+=("$saver_pid")
wait_for_window "$saver_pid" || fail "no window appeared: $(cat "$e2e_tmp/saver.err")"
saver_window=$window
"$host" -close "$saver_window"
expect_clean_end "closing the window"

# -window wins over XSCREENSAVER_WINDOW: the picture gets a window of its own.
start_host -geometry 100x100 -- "$saver" -window -geometry 160x90 --ticks 3 \
    --snapshot "$e2e_tmp/own.png"
wait_exit "$host_pid" 30
[ "$exit_code" -eq 0 ] || fail "-window beside XSCREENSAVER_WINDOW: exit code $exit_code"
[ "$(png_size "$e2e_tmp/own.png")" = 160x90 ] || fail "-window did not make a 160x90 window"
echo "ok: -window wins over XSCREENSAVER_WINDOW"

echo "all own window cases passed"
