# Helpers shared by the end-to-end scripts; sourced, not run.

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

process_gone() {
    ! kill -0 "$1" 2>/dev/null
}

process_alive() {
    kill -0 "$1" 2>/dev/null
}
