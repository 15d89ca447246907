#!/usr/bin/env bash
# The Linux saver under X: what it shows equals tintwalk-render's picture pixel
# for pixel in every mode and drawing path; what ends it; its errors.
# Usage: x11_saver.sh TINTWALK TINTWALK_RENDER
saver=$1
render=$2
. "$(dirname "$0")/common.sh"
[ -n "${DISPLAY:-}" ] || { echo "SKIP: no X display"; exit 77; }
need_tools xdotool xwininfo import convert identify Xvfb python3
unset XSCREENSAVER_WINDOW

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# run COMMAND...: its exit status in code, its standard error in err.
run() {
    timeout 120 "$@" >/dev/null 2>"$e2e_tmp/err"
    code=$?
}

# Succeeds once the window shows more than one colour: the bots are painting.
painted() {
    import -window "$1" "$e2e_tmp/shot.png" 2>/dev/null &&
        [ "$(convert "$e2e_tmp/shot.png" -format %k info:)" -gt 1 ]
}

# start ARGS...: the saver in the background; sets pid, and window once it
# paints.
window_of() { xdotool search --pid "$1" 2>/dev/null | head -n 1 | grep .; }
start() {
    "$saver" "$@" >/dev/null 2>"$e2e_tmp/err" &
    pid=$!
    e2e_pids+=("$pid")
    wait_until 20 window_of "$pid" || fail "no window for '$*': $(cat "$e2e_tmp/err")"
    window=$(window_of "$pid")
    wait_until 20 painted "$window" || fail "nothing was painted for '$*'"
}

# expect_end STATUS WHAT: the saver started last ends with STATUS.
expect_end() {
    wait_until 20 process_gone "$pid" || fail "$2: it did not end"
    wait "$pid"
    code=$?
    [ "$code" = "$1" ] || fail "$2: exit status $code: $(cat "$e2e_tmp/err")"
    echo "ok: $2"
}

# The saver's snapshot (read back from its window) against the renderer, in
# its own window, full screen, or inside another saver's window named by the
# environment (env) or by -window-id (id).
screen=$(xdotool getdisplaygeometry | tr ' ' x)
while read -r community seed size ticks via drawing driver; do
    [ "$size" = screen ] && size=$screen
    name="$community $size $via $drawing $driver"
    args=(--community "$community" --seed "$seed" --ticks "$ticks" --snapshot "$e2e_tmp/shown.png")
    [ "$drawing" = image ] || args+=("--$drawing")
    "$render" --community "$community" --seed "$seed" --size "$size" --ticks "$ticks" --quiet \
        --output "$e2e_tmp/computed.png" || fail "$name: tintwalk-render failed"
    export GALLIUM_DRIVER=$driver
    case $via in
        window) run "$saver" -window -geometry "$size" "${args[@]}" ;;
        fullscreen) run "$saver" --fullscreen "${args[@]}" ;;
        env | id)
            start -window -geometry "$size"
            if [ "$via" = env ]; then
                run env XSCREENSAVER_WINDOW="$window" "$saver" "${args[@]}"
            else
                run "$saver" -window-id "$window" "${args[@]}"
            fi
            kill "$pid"
            ;;
    esac
    [ "$code" = 0 ] || fail "$name: exit status $code: $(cat "$e2e_tmp/err")"
    convert "$e2e_tmp/shown.png" -depth 8 rgb:"$e2e_tmp/a.rgb"
    convert "$e2e_tmp/computed.png" -depth 8 rgb:"$e2e_tmp/b.rgb"
    cmp -s "$e2e_tmp/a.rgb" "$e2e_tmp/b.rgb" || fail "$name: $(compare -metric AE \
        "$e2e_tmp/shown.png" "$e2e_tmp/computed.png" null: 2>&1) pixels differ"
    echo "ok: $name: the same pixels"
done <<'TABLE'
fel               42         203x117  25  window      image    llvmpipe
fel               42         203x117  25  env         gl       llvmpipe
fel               42         203x117  25  id          gl       softpipe
3                 5          1365x767 20  id          image    llvmpipe
3                 5          1365x767 20  window      no-shm   llvmpipe
3                 5          1365x767 20  env         gl       softpipe
3                 5          1365x767 20  window      gl       llvmpipe
geo&vlekkensnel   4294967295 screen   4   fullscreen  image    llvmpipe
TABLE
unset GALLIUM_DRIVER

# Signals and keys end it with 0 and its snapshot: in its own window (the
# default, 1280x720) Esc does, in full screen any key.
while IFS='|' read -r ending size args; do
    start $args --snapshot "$e2e_tmp/end.png"
    case $ending in
        TERM | HUP) kill -s "$ending" "$pid" ;;
        *) xdotool windowfocus --sync "$window" key "$ending" ;;
    esac
    expect_end 0 "$ending ends '$args'"
    [ "$(identify -format %wx%h "$e2e_tmp/end.png")" = "${size/screen/$screen}" ] ||
        fail "'$args': no $size snapshot"
done <<'TABLE'
TERM|300x200|-window -geometry 300x200
HUP|203x117|-geometry 203x117 --gl
Escape|1280x720|
x|screen|--fullscreen
TABLE

# The host window destroyed under it ends it with 0 (the X errors this may
# cause on the way are reported, not fatal).
start -window -geometry 200x150
"$saver" -window-id "$window" >/dev/null 2>"$e2e_tmp/err" &
pid=$!
e2e_pids+=("$pid")
drawn_in() { xwininfo -children -id "$1" | grep -q '"Tintwalk screensaver"'; }
wait_until 20 drawn_in "$window" || fail "the saver did not start in the host window"
xdotool windowclose "$window"
expect_end 0 "the host window destroyed"


# Errors: exit status and a key word on standard error.
Xvfb -displayfd 3 -extension GLX -nolisten tcp 3>"$e2e_tmp/number" >/dev/null 2>&1 &
e2e_pids+=($!)
wait_until 20 test -s "$e2e_tmp/number" || fail "the X server without OpenGL did not start"
no_gl=":$(cat "$e2e_tmp/number")"
# The saver in an input-only window, where nothing can be drawn.
cat >"$e2e_tmp/input_only.py" <<'PY'
import ctypes, os, subprocess, sys
from ctypes import c_int, c_uint, c_ulong, c_void_p
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = c_void_p
x.XDefaultRootWindow.argtypes = [c_void_p]
x.XDefaultRootWindow.restype = c_ulong
x.XCreateWindow.argtypes = [c_void_p, c_ulong, c_int, c_int, c_uint, c_uint, c_uint, c_int, c_uint,
                            c_void_p, c_ulong, c_void_p]
x.XCreateWindow.restype = c_ulong
x.XSync.argtypes = [c_void_p, c_int]
display = x.XOpenDisplay(None)
input_only = 2
root = x.XDefaultRootWindow(display)
window = x.XCreateWindow(display, root, 0, 0, 50, 50, 0, 0, input_only, None, 0, None)
x.XSync(display, 0)
environment = dict(os.environ, XSCREENSAVER_WINDOW=hex(window))
sys.exit(subprocess.run(sys.argv[1:], env=environment).returncode)
PY
while IFS='|' read -r status word command; do
    eval "run $command"
    [ "$code" = "$status" ] && { [ -z "$word" ] || grep -q -- "$word" "$e2e_tmp/err"; } ||
        fail "'$command' ended with $code: $(cat "$e2e_tmp/err")"
    echo "ok: $command: $status $word"
done <<TABLE
1|--bogus|"$saver" --bogus
1|0x|"$saver" -window-id 0x
1|XSCREENSAVER_WINDOW|env XSCREENSAVER_WINDOW=junk "$saver"
1|DISPLAY is not set|env -u DISPLAY "$saver" -window
1|:987654|"$saver" -display :987654
1|no window 0x7ffffff1|"$saver" -window-id 2147483633
1|input-only|python3 "$e2e_tmp/input_only.py" "$saver" --ticks 3
1|no OpenGL|"$saver" -display $no_gl -window --gl
0||"$saver" -display $no_gl -window --ticks 2
TABLE
env -u DISPLAY "$saver" --help | grep -q -- '--snapshot FILE.png' || fail "--help"
env -u DISPLAY "$saver" --version | grep -qx 'tintwalk [0-9.]*' || fail "--version"
echo "all Linux saver cases passed"
