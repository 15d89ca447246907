# Shared helpers of the Windows saver's end-to-end scripts; sourced, not run.
# The saver runs under wine on the X display in DISPLAY. Every wait is
# bounded, and every process started here is ended on exit.

. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

pass() {
    echo "ok: $*"
}

need_display() {
    if [ -z "${DISPLAY:-}" ]; then
        echo "SKIP: no X display (DISPLAY is empty)"
        exit 77
    fi
}

# wait_exit PID SECONDS: waits for a background process of this shell to end
# and sets exit_code; fails when it still runs after SECONDS.
wait_exit() {
    local pid=$1 limit=$2
    wait_until "$limit" process_gone "$pid" || fail "process $pid did not end within $limit s"
    wait "$pid"
    exit_code=$?
}

# Creates the wine prefix on first use (about 10 s), without the optional
# .NET and HTML engines, which would ask to be downloaded.
wine_ready() {
    export WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ -n "${WINEPREFIX:-}" ] && [ -f "$WINEPREFIX/system.reg" ]; then
        return 0
    fi
    timeout 180 wineboot -i >"$e2e_tmp/wineboot.log" 2>&1 ||
        fail "wine could not set up its prefix: $(tail -3 "$e2e_tmp/wineboot.log")"
}

# start_wine LOG PROGRAM ARGS...: runs a Windows program in the background;
# its process id is in started_pid.
start_wine() {
    local log=$1
    shift
    wine "$@" >"$log" 2>&1 &
    started_pid=$!
    e2e_pids+=("$started_pid")
}

# run_wine SECONDS PROGRAM ARGS...: runs a Windows program to its end and
# sets exit_code (as the shell sees it: -1 is 255).
run_wine() {
    local limit=$1
    shift
    start_wine "$e2e_tmp/run.log" "$@"
    wait_exit "$started_pid" "$limit"
}

# window_named NAME: the X window whose title is exactly NAME.
window_named() {
    xdotool search --name "^$1\$" 2>/dev/null | head -1
}

has_window_named() {
    [ -n "$(window_named "$1")" ]
}

# wait_window NAME SECONDS: waits for the window and prints its X id.
wait_window() {
    wait_until "$2" has_window_named "$1" || fail "no window \"$1\" within $2 s"
    window_named "$1"
}

# The ten communities' backgrounds, as the screen shows them.
backgrounds="201,202,196 198,200,203 200,207,202 198,205,197 202,202,200
198,204,199 200,204,203 203,207,203 197,206,202 199,205,196"

# picture_verdict FILE: whether an image shows a picture: its most common
# colour is one of the backgrounds and at least 20 pixels differ from it.
# Prints the background and the number of painted pixels.
picture_verdict() {
    local histogram top count total background
    histogram=$(convert "$1" -format %c histogram:info:- 2>/dev/null | sort -rn)
    [ -n "$histogram" ] || return 1
    top=$(head -1 <<<"$histogram" | sed -E 's/^ *([0-9]+): \(([0-9]+),([0-9]+),([0-9]+).*/\1 \2,\3,\4/')
    count=${top%% *}
    background=${top#* }
    total=$(awk -F: '{ sum += $1 } END { print sum }' <<<"$histogram")
    echo "background $background, $((total - count)) painted pixels"
    grep -qw -- "$background" <<<"$backgrounds" || return 1
    [ $((total - count)) -ge 20 ]
}

# gl_window WIDTH HEIGHT: X windows of exactly WIDTH x HEIGHT that wine keeps
# off screen for the OpenGL drawing of a child window.
gl_windows() {
    xwininfo -root -tree 2>/dev/null |
        awk -v size="$1x$2+" '$0 ~ /\(has no name\): \(\)/ && index($0, " " size) { print $1 }'
}

# capture_picture X Y WIDTH HEIGHT OUT: a screenshot of the area, if it shows
# the picture; else the picture as drawn into wine's off-screen window for
# the drawing child. Some wine versions draw an OpenGL child window only
# there and never copy it to the screen.
capture_picture() {
    local x=$1 y=$2 width=$3 height=$4 out=$5 id
    import -silent -window root -crop "${width}x${height}+$x+$y" +repage "$out" 2>/dev/null
    if picture_verdict "$out" >/dev/null; then
        echo "on the screen"
        return 0
    fi
    for id in $(gl_windows "$width" "$height"); do
        import -silent -window "$id" "$out" 2>/dev/null || continue
        if picture_verdict "$out" >/dev/null; then
            echo "in wine's off-screen window $id"
            return 0
        fi
    done
    return 1
}

# wait_for_picture X Y WIDTH HEIGHT SECONDS: waits until the area shows a
# background with painted points.
wait_for_picture() {
    local shot="$e2e_tmp/picture.png" where
    local tries=$(($5 * 2))
    while [ "$tries" -gt 0 ]; do
        if where=$(capture_picture "$1" "$2" "$3" "$4" "$shot"); then
            pass "picture $where: $(picture_verdict "$shot")"
            return 0
        fi
        tries=$((tries - 1))
        sleep 0.5
    done
    fail "no picture within $5 s: $(picture_verdict "$shot")"
}
