# Shared helpers of the Windows saver's end-to-end scripts; sourced, not run.
# Programs run under wine on DISPLAY; every wait is bounded.

. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

pass() {
    echo "ok: $*"
}

# win32_start FILE...: skips without a display or a tool, fails without a
# file named, and readies wine.
win32_start() {
    [ -n "${DISPLAY:-}" ] || { echo "SKIP: no X display (DISPLAY is empty)"; exit 77; }
    need_tools wine xdotool xwininfo import convert compare identify winepath
    local file
    for file; do
        [ -f "$file" ] || fail "no file $file"
    done
    wine_ready
}

# wait_exit PID SECONDS: waits for a background process to end; sets exit_code.
wait_exit() {
    wait_until "$2" process_gone "$1" || fail "process $1 did not end within $2 s"
    wait "$1"
    exit_code=$?
}

# Creates the wine prefix on first use, without the optional .NET and HTML
# engines, which would ask to be downloaded.
wine_ready() {
    export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
    [ -n "${WINEPREFIX:-}" ] && [ -f "$WINEPREFIX/system.reg" ] && return 0
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

window_named() {
    xdotool search --name "^$1\$" 2>/dev/null | head -1
}

has_window_named() {
    [ -n "$(window_named "$1")" ]
}

# wait_window NAME SECONDS: waits for the window titled NAME; prints its X id.
wait_window() {
    wait_until "$2" has_window_named "$1" || fail "no window \"$1\" within $2 s"
    window_named "$1"
}

# The ten communities' backgrounds, as the screen shows them.
backgrounds="201,202,196 198,200,203 200,207,202 198,205,197 202,202,200
198,204,199 200,204,203 203,207,203 197,206,202 199,205,196"

# picture_verdict FILE: whether an image's most common colour is one of the
# backgrounds and at least 20 pixels differ from it; prints both.
picture_verdict() {
    local histogram count background total
    histogram=$(convert "$1" -format %c histogram:info:- 2>/dev/null | sort -rn)
    [ -n "$histogram" ] || return 1
    read -r count background < <(head -1 <<<"$histogram" |
        sed -E 's/^ *([0-9]+): \(([0-9]+),([0-9]+),([0-9]+).*/\1 \2,\3,\4/')
    total=$(awk -F: '{ sum += $1 } END { print sum }' <<<"$histogram")
    echo "background $background, $((total - count)) painted pixels"
    grep -qw -- "$background" <<<"$backgrounds" && [ $((total - count)) -ge 20 ]
}

# capture_picture X Y WIDTH HEIGHT OUT: a screenshot of the area if it shows
# the picture, else the picture in the nameless off-screen window of that
# size where wine draws an OpenGL child window (and may never copy it out).
capture_picture() {
    local x=$1 y=$2 width=$3 height=$4 out=$5 id
    import -silent -window root -crop "${width}x${height}+$x+$y" +repage "$out" 2>/dev/null
    picture_verdict "$out" >/dev/null && { echo "on the screen"; return 0; }
    for id in $(xwininfo -root -tree 2>/dev/null |
        awk -v size="${width}x$height+" '/\(has no name\): \(\)/ && index($0, " " size) { print $1 }'); do
        import -silent -window "$id" "$out" 2>/dev/null && picture_verdict "$out" >/dev/null &&
            { echo "in wine's off-screen window $id"; return 0; }
    done
    return 1
}

# wait_for_picture X Y WIDTH HEIGHT SECONDS: waits until the area shows one.
wait_for_picture() {
    local shot="$e2e_tmp/picture.png" where tries=$(($5 * 2))
    for ((; tries > 0; tries--)); do
        if where=$(capture_picture "$1" "$2" "$3" "$4" "$shot"); then
            pass "picture $where: $(picture_verdict "$shot")"
            return 0
        fi
        sleep 0.5
    done
    fail "no picture within $5 s: $(picture_verdict "$shot")"
}
