# Sourced by the scripts. start_xvfb PIDVAR starts a private Xvfb display on
# a free number (wide enough for the 1365x767 pictures of the snapshot
# tests), exports DISPLAY for it and stores the server's process id in the
# variable named PIDVAR; the caller stops the server (kill "$PIDVAR").
# TINTWALK_DISPLAYS="FIRST LAST" narrows the numbers tried (91 to 140), so
# that runs side by side on one machine keep to ranges of their own.
start_xvfb() {
    local -n started_pid=$1
    local n first last
    read -r first last <<<"${TINTWALK_DISPLAYS:-91 140}"
    for n in $(seq "$first" "$last"); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    Xvfb ":$n" -screen 0 1400x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    started_pid=$!
    local i
    for i in $(seq 1 100); do
        if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
            export DISPLAY=":$n"
            return 0
        fi
        sleep 0.1
    done
    echo "could not start Xvfb on :$n" >&2
    kill "$started_pid" 2>/dev/null
    return 1
}
