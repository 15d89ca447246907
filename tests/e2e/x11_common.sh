# Shared helpers of the Linux saver's end-to-end scripts; sourced, not run.
# Every wait is bounded, and every process started is ended on exit.

. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Scripts that need an X server skip themselves without one. An X server
# resets itself when its last client leaves, and a program that connects in
# that moment is turned away; so one idle client stays connected for the
# whole script, started again until it holds its connection.
need_display() {
    if [ -z "${DISPLAY:-}" ]; then
        echo "SKIP: no X display (DISPLAY is empty)"
        exit 77
    fi
    need_tools xdotool
    local tries=20 keeper
    while [ "$tries" -gt 0 ]; do
        xdotool sleep 3600 >/dev/null 2>&1 &
        keeper=$!
        sleep 0.2
        if process_alive "$keeper"; then
            e2e_pids+=("$keeper")
            return 0
        fi
        wait "$keeper" 2>/dev/null
        tries=$((tries - 1))
    done
    fail "cannot connect to the X display $DISPLAY"
}

# wait_for_window PID: waits until the process has a window (found by its
# _NET_WM_PID) and sets window; fails at once when the process ends first.
wait_for_window() {
    local pid=$1 tries=200
    window=
    while [ "$tries" -gt 0 ]; do
        window=$(window_of "$pid")
        [ -n "$window" ] && return 0
        process_alive "$pid" || return 1
        sleep 0.1
        tries=$((tries - 1))
    done
    return 1
}

# wait_exit PID SECONDS: waits for a background process of this shell to end
# and sets exit_code; fails when it is still running after SECONDS.
wait_exit() {
    local pid=$1 limit=$2
    if ! wait_until "$limit" process_gone "$pid"; then
        fail "process $pid did not end within $limit s"
    fi
    wait "$pid"
    exit_code=$?
}

# The first window of a process, found by its _NET_WM_PID property.
window_of() {
    xdotool search --pid "$1" 2>/dev/null | head -n 1
}

# The number of distinct colours in a window, read from the X server.
window_colours() {
    import -window "$1" "$e2e_tmp/shot.png" 2>/dev/null || return 1
    convert "$e2e_tmp/shot.png" -format %k info:
}

# Succeeds once the window shows more than one colour: the bots are painting.
window_painted() {
    local colours
    colours=$(window_colours "$1") || return 1
    [ "${colours:-0}" -gt 1 ]
}

# "WxH" of a window.
window_size() {
    xwininfo -id "$1" | awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print w "x" h }'
}

# The size of a PNG file, "WxH".
png_size() {
    identify -format '%wx%h' "$1"
}

# Starts the test host (x11_test_host) with a command; sets host_pid,
# host_window and saver_pid from what it prints.
start_host() {
    local log="$e2e_tmp/host.$RANDOM.log"
    "$host" "$@" >"$log" 2>"$log.err" &
    host_pid=$!
    e2e_pids+=("$host_pid")
    wait_until 10 grep -q '^pid ' "$log" || fail "the test host did not start: $(cat "$log.err")"
    host_window=$(awk '/^window / { print $2 }' "$log")
    saver_pid=$(awk '/^pid / { print $2 }' "$log")
    host_log=$log
}

# The exit code the test host reported for its command.
host_reported_exit() {
    awk '/^exit / { print $2 }' "$host_log"
}
