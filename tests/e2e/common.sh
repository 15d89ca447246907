# Helpers shared by the end-to-end scripts; sourced, not run.

# A scratch folder for the script, and the processes it starts: on exit every
# one of them is asked to end, then killed if it has not, and the folder goes.
e2e_tmp=$(mktemp -d "${TMPDIR:-/tmp}/tintwalk-e2e.XXXXXX")
e2e_pids=()

e2e_cleanup() {
    local pid tries
    for pid in "${e2e_pids[@]}"; do
        kill "$pid" 2>/dev/null
    done
    for pid in "${e2e_pids[@]}"; do
        tries=50
        while kill -0 "$pid" 2>/dev/null && [ "$tries" -gt 0 ]; do
            sleep 0.1
            tries=$((tries - 1))
        done
        kill -9 "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    rm -rf "$e2e_tmp"
}
trap e2e_cleanup EXIT

# need_tools TOOL...: skip when a helper program is missing.
need_tools() {
    local tool
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIP: $tool is not installed"
            exit 77
        fi
    done
}

# wait_until SECONDS COMMAND...: polls COMMAND every 0.1 s until it succeeds;
# fails when it has not succeeded within SECONDS.
wait_until() {
    local limit=$1
    shift
    local tries=$((limit * 10))
    while ! "$@" >/dev/null 2>&1; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

process_gone() { ! kill -0 "$1" 2>/dev/null; }
process_alive() { kill -0 "$1" 2>/dev/null; }
