#!/usr/bin/env bash
# The preview under wine: preview_host runs the saver with /p in a window of
# its own, checks the saver's windows, that input leaves it running and that
# it ends with 0 when the window goes; the picture must show at 152x112, and
# hosts down to an empty client area must not crash it. Then the command
# lines that end at once with -1 (255 as the shell sees it).
#   win32_preview.sh TINTWALK_SCR PREVIEW_HOST WINDOW_PROBE
set -u
. "$(dirname "$0")/win32_common.sh"

win32_start "$@"
scr=$1 host=$2
scr_windows=$(winepath -w "$scr" 2>/dev/null) || fail "winepath cannot name $scr"
log=$e2e_tmp/host.log

host_ready() {
    grep -q '^ready ' "$log"
}

# preview WIDTH HEIGHT [look]: runs the host; with "look", the picture must
# show in its window before the host goes on (when the file "go" appears).
preview() {
    local go=- x y
    rm -f "$e2e_tmp/go"
    [ -z "${3:-}" ] || go=$(winepath -w "$e2e_tmp/go" 2>/dev/null) || fail "winepath failed"
    start_wine "$log" "$host" "$scr_windows" "$1" "$2" "$go"
    local host_pid=$started_pid
    wait_until 60 host_ready || fail "$1x$2: the host is not ready: $(cat "$log")"
    if [ -n "${3:-}" ]; then
        read -r _ x y _ < <(grep '^ready ' "$log")
        wait_for_picture "$x" "$y" "$1" "$2" 60
        touch "$e2e_tmp/go"
    fi
    wait_exit "$host_pid" 90
    [ "$exit_code" -eq 0 ] && ! grep -q '^FAIL' "$log" || fail "$1x$2 preview: $(cat "$log")"
    pass "$1x$2 preview: $(grep -c '^ok' "$log") checks passed, $(grep '^saver exit' "$log")"
}

preview 152 112 look
preview 1 1
preview 0 0

for arguments in "/p 0" "/x"; do
    # shellcheck disable=SC2086
    run_wine 60 "$scr" $arguments
    [ "$exit_code" -eq 255 ] || fail "\"$arguments\" ended with $exit_code, not 255"
done
pass "/p 0 and /x end at once with -1 (255)"
