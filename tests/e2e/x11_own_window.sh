#!/usr/bin/env bash
# The Linux saver in a window of its own (the default without a host window):
# title "Tintwalk screensaver", the size from -geometry (1280x720 by default);
# Esc, q or closing the window ends it with 0, a click or another key does not.
# Usage: x11_own_window.sh TINTWALK X11_TEST_HOST
saver=$1
host=$2
source "$(dirname "$0")/x11_common.sh"
need_display
need_tools xwininfo xprop import convert

start_saver -geometry 320x200
wait_until 20 window_painted "$saver_window" || fail "nothing was painted"
xprop -id "$saver_window" WM_NAME | grep -qF '"Tintwalk screensaver"' || fail "the title is wrong"
[ "$(window_size "$saver_window")" = 320x200 ] || fail "-geometry 320x200 gave $(window_size "$saver_window")"
xdotool mousemove --window "$saver_window" 10 10 click 1 mousemove_relative 50 50 key --window "$saver_window" a
sleep 0.5
process_alive "$saver_pid" || fail "a click or another key ended the saver in its own window"
xdotool windowfocus --sync "$saver_window" key Escape
expect_clean_end "Esc"

start_saver
[ "$(window_size "$saver_window")" = 1280x720 ] || fail "the default size is $(window_size "$saver_window")"
xdotool windowfocus --sync "$saver_window" key q
expect_clean_end "q"

# Closing the window, as a window manager asks for it.
start_saver -window -geometry 200x100+30+40
"$host" -close "$saver_window"
expect_clean_end "closing the window"
echo "all own window cases passed"
