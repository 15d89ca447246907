# Helpers shared by the end-to-end scripts; sourced, not run.

# A scratch folder, and the processes the script starts (e2e_pids): on exit
# each is asked to end, killed if it has not within 5 s, and the folder goes.
e2e_tmp=$(mktemp -d "${TMPDIR:-/tmp}/tintwalk-e2e.XXXXXX")
e2e_pids=()
e2e_cleanup() {
    local pid
    kill "${e2e_pids[@]}" 2>/dev/null
    for pid in "${e2e_pids[@]}"; do
        wait_until 5 process_gone "$pid" || kill -9 "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    rm -rf "$e2e_tmp"
}
trap e2e_cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# need_tools TOOL...: skips the script (exit 77) when one is missing.
need_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
    done
}

# wait_until SECONDS COMMAND...: polls COMMAND every 0.1 s; fails after SECONDS.
wait_until() {
    local tries=$(($1 * 10))
    shift
    while ! "$@" >/dev/null 2>&1; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

process_gone() { ! kill -0 "$1" 2>/dev/null; }
process_alive() { kill -0 "$1" 2>/dev/null; }
