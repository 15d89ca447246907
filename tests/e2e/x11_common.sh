# Shared helpers of the Linux saver's end-to-end scripts; sourced, not run.
# Every wait is bounded, and every process started is ended on exit.

. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Skips without an X server. The server resets when its last client leaves
# and turns away whoever connects in that moment, so an idle client stays
# connected for the whole script.
need_display() {
    [ -n "${DISPLAY:-}" ] || { echo "SKIP: no X display (DISPLAY is empty)"; exit 77; }
    need_tools xdotool
    local tries keeper
    for tries in {1..20}; do
        xdotool sleep 3600 >/dev/null 2>&1 &
        keeper=$!
        sleep 0.2
        process_alive "$keeper" && { e2e_pids+=("$keeper"); return 0; }
        wait "$keeper" 2>/dev/null
    done
    fail "cannot connect to the X display $DISPLAY"
}

# wait_exit PID SECONDS: waits for a background process of this shell and
# sets exit_code.
wait_exit() {
    wait_until "$2" process_gone "$1" || fail "process $1 did not end within $2 s"
    wait "$1"
    exit_code=$?
}

# expect_clean_end WHAT: the saver (saver_pid) ends with 0 after WHAT.
expect_clean_end() {
    wait_exit "$saver_pid" 20
    [ "$exit_code" -eq 0 ] || fail "$1: exit code $exit_code"
    echo "ok: $1 ends it with 0"
}

# start_saver ARGS...: the saver in the background without a host window;
# waits for its window and sets saver_pid and saver_window.
start_saver() {
    env -u XSCREENSAVER_WINDOW "$saver" "$@" >/dev/null 2>"$e2e_tmp/saver.err" &
    saver_pid=$!
    e2e_pids+=("$saver_pid")
    wait_until 20 window_of "$saver_pid" || fail "no window appeared: $(cat "$e2e_tmp/saver.err")"
    saver_window=$(window_of "$saver_pid")
}

# The first window of a process, found by its _NET_WM_PID; fails if none.
window_of() {
    xdotool search --pid "$1" 2>/dev/null | head -n 1 | grep .
}

# Succeeds once the window shows more than one colour: the bots are painting.
window_painted() {
    import -window "$1" "$e2e_tmp/shot.png" 2>/dev/null || return 1
    [ "$(convert "$e2e_tmp/shot.png" -format %k info:)" -gt 1 ]
}

window_size() {
    xwininfo -id "$1" | awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print w "x" h }'
}

png_size() {
    identify -format '%wx%h' "$1"
}

# start_host HOST-ARGS... -- COMMAND...: the test host (x11_test_host) runs
# COMMAND in its window; sets host_pid, host_window, saver_pid and host_log.
start_host() {
    host_log="$e2e_tmp/host.$RANDOM.log"
    "$host" "$@" >"$host_log" 2>"$host_log.err" &
    host_pid=$!
    e2e_pids+=("$host_pid")
    wait_until 10 grep -q '^pid ' "$host_log" || fail "the test host did not start: $(cat "$host_log.err")"
    host_window=$(awk '/^window / { print $2 }' "$host_log")
    saver_pid=$(awk '/^pid / { print $2 }' "$host_log")
}

# The exit code the test host reported for its command.
host_reported_exit() {
    awk '/^exit / { print $2 }' "$host_log"
}
