#!/usr/bin/env bash
# The preview under wine: a host program of ours makes a window, starts the
# saver in it with /p and the window's handle, sees the saver's windows
# appear and paint inside it, sends input that must not close the preview,
# and sees the saver end with 0 when it destroys its window. Hosts too small
# for a picture, down to an empty client area, must not crash the saver.
# Then the command lines that end at once with -1 (255 as the shell sees it).
#   win32_preview.sh TINTWALK_SCR PREVIEW_HOST WINDOW_PROBE
set -u
. "$(dirname "$0")/win32_common.sh"

scr=$1
host=$2
need_display
need_tools wine xdotool xwininfo import convert winepath
[ -f "$scr" ] || fail "no saver at $scr"
[ -f "$host" ] || fail "no preview host at $host"
wine_ready
scr_windows=$(winepath -w "$scr" 2>/dev/null) || fail "winepath cannot name $scr"

host_log="$e2e_tmp/host.log"

host_ready() {
    grep -q '^ready ' "$host_log"
}

# preview WIDTH HEIGHT LOOK: runs the host; when LOOK is "look", waits for
# the picture in the host's window before the host goes on.
preview() {
    local width=$1 height=$2 look=$3 go="-"
    rm -f "$e2e_tmp/go"
    if [ "$look" = look ]; then
        go=$(winepath -w "$e2e_tmp/go" 2>/dev/null) || fail "winepath cannot name $e2e_tmp/go"
    fi
    start_wine "$host_log" "$host" "$scr_windows" "$width" "$height" "$go"
    local host_pid=$started_pid
    wait_until 60 host_ready || fail "${width}x$height: the host is not ready: $(cat "$host_log")"
    if [ "$look" = look ]; then
        local x y
        read -r _ x y _ _ < <(grep '^ready ' "$host_log")
        wait_for_picture "$x" "$y" "$width" "$height" 60
        touch "$e2e_tmp/go"
    fi
    wait_exit "$host_pid" 90
    if [ "$exit_code" -ne 0 ] || grep -q '^FAIL' "$host_log"; then
        fail "${width}x$height preview: $(cat "$host_log")"
    fi
    pass "${width}x$height preview: $(grep -c '^ok' "$host_log") checks of the host passed, $(grep '^saver exit' "$host_log")"
}

preview 152 112 look
preview 1 1 no
preview 0 0 no

# --- command lines that run nothing (command_line_test reads the others)
for arguments in "/p 0" "/x"; do
    # shellcheck disable=SC2086
    run_wine 60 "$scr" $arguments
    [ "$exit_code" -eq 255 ] || fail "\"$arguments\" ended with $exit_code, not 255"
done
pass "/p 0 and /x end at once with -1 (255)"
