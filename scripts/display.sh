# Sourced by the scripts: starts a private Xvfb display on a free number
# (wide enough for the 1365x767 pictures of the snapshot tests),
# and stops it when the calling script ends.
start_xvfb() {
    local n
    for n in $(seq 91 140); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    Xvfb ":$n" -screen 0 1400x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    xvfb_pid=$!
    trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
    local i
    for i in $(seq 1 100); do
        if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
            export DISPLAY=":$n"
            return 0
        fi
        sleep 0.1
    done
    echo "could not start Xvfb on :$n" >&2
    return 1
}
