#!/usr/bin/env bash
# The Linux saver under X: its picture against tintwalk-render's, its endings, its errors.
# Usage: x11_saver.sh TINTWALK TINTWALK_RENDER
saver=$(realpath "$1")
render=$(realpath "$2")
. "$(dirname "$0")/common.sh"
. "$(dirname "$0")/../../scripts/display.sh"
cd "$e2e_tmp" || exit 1
[ -n "${DISPLAY:-}" ] || { echo "SKIP: no X display"; exit 77; }
need_tools xdotool import convert identify Xvfb python3 xwd xcompmgr
unset XSCREENSAVER_WINDOW

# run COMMAND...: its exit status in code, its standard error in err, its
# standard output in the file out names (none when out is empty).
out=
run() {
    timeout 120 "$@" >"${out:-/dev/null}" 2>err
    code=$?
}

# Succeeds once the window shows more than one colour: the bots are painting.
painted() {
    import -window "$1" shot.png 2>/dev/null &&
        [ "$(convert shot.png -format %k info:)" -gt 1 ]
}

# start ARGS...: the saver in the background; sets pid, and window once painted.
start() {
    "$saver" "$@" >/dev/null 2>err &
    pid=$!
    e2e_pids+=("$pid")
    wait_until 20 xdotool search --pid "$pid" || fail "no window for '$*': $(cat err)"
    window=$(xdotool search --pid "$pid" | head -n 1)
    wait_until 20 painted "$window" || fail "nothing was painted for '$*'"
}

# expect_end STATUS WHAT: the saver started last ends with STATUS.
expect_end() {
    wait_until 20 process_gone "$pid" || fail "$2: it did not end"
    wait "$pid"
    code=$?
    [ "$code" = "$1" ] || fail "$2: exit status $code: $(cat err)"
    echo "ok: $2"
}

# The snapshot (read back from the window) against the renderer: own window or full screen
# (beating the environment's host window; on two monitors side by side it covers both), or in
# another saver's window by env or id; written to a file or to standard output (--snapshot -),
# which then holds the PNG alone.
screen=$(xdotool getdisplaygeometry | tr ' ' x)
while read -r community seed size ticks via drawing driver to; do
    [ "$size" = screen ] && size=$screen
    name="$community $size $via $drawing $driver $to"
    rm -f shown.png
    snapshot=shown.png
    [ "$to" = stdout ] && snapshot=- out=shown.png
    args=("$saver" --community "$community" --seed "$seed" --ticks "$ticks" --snapshot "$snapshot")
    [ "$drawing" = image ] || args+=("--$drawing")
    if [ "$size" = monitors ]; then
        shown=$DISPLAY
        mkdir -p xorg
        if ! start_xorg_dummy "$PWD/xorg" xorg_pid; then
            [ "$(id -u)" != 0 ] || fail "Xorg did not start"
            echo "skip: $name: Xorg runs for root only"
            continue
        fi
        e2e_pids+=("$xorg_pid")
        place_monitors DUMMY0 800x600 640x0 DUMMY1 640x480 0x0 >/dev/null || fail "no monitors"
        args+=(-display "$DISPLAY")
        DISPLAY=$shown size=1440x600
    fi
    "$render" --community "$community" --seed "$seed" --size "$size" --ticks "$ticks" --quiet \
        --output computed.png || fail "$name: tintwalk-render failed"
    export GALLIUM_DRIVER=$driver
    case $via in
        window) run env XSCREENSAVER_WINDOW=0x7ffffff0 "${args[@]}" -window -geometry "$size" ;;
        fullscreen) run env XSCREENSAVER_WINDOW=0x7ffffff0 "${args[@]}" --fullscreen ;;
        env) start -window -geometry "$size" && run env XSCREENSAVER_WINDOW=$window "${args[@]}" ;;
        id) start -window -geometry "$size" && run "${args[@]}" -window-id "$window" ;;
    esac
    [ "$via" = env ] || [ "$via" = id ] && kill "$pid"
    out=
    [ "$code" = 0 ] || fail "$name: exit status $code: $(cat err)"
    [ "$(head -c 8 shown.png | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] ||
        fail "$name: the snapshot is no PNG: $(head -c 60 shown.png | tr -cd '[:print:]')"
    convert shown.png -depth 8 rgb:a.rgb && convert computed.png -depth 8 rgb:b.rgb
    cmp -s a.rgb b.rgb ||
        fail "$name: $(compare -metric AE shown.png computed.png null: 2>&1) pixels differ"
    echo "ok: $name: the same pixels"
done <<'TABLE'
fel               42         203x117  25  window      image    llvmpipe  stdout
fel               42         203x117  25  env         gl       llvmpipe  file
fel               42         203x117  25  id          gl       softpipe  stdout
3                 5          1365x767 20  id          image    llvmpipe  file
3                 5          1365x767 20  window      no-shm   llvmpipe  stdout
3                 5          1365x767 20  env         gl       softpipe  file
3                 5          1365x767 20  window      gl       llvmpipe  stdout
geo&vlekkensnel   4294967295 screen   4   fullscreen  image    llvmpipe  file
rock              9          monitors 4   fullscreen  gl       llvmpipe  file
TABLE
unset GALLIUM_DRIVER

# Signals, Esc in its own window (the default, 1280x720), any key in full screen: exit 0.
while IFS='|' read -r ending size args; do
    start $args --snapshot end.png
    case $ending in
        TERM | HUP) kill -s "$ending" "$pid" ;;
        *) xdotool windowfocus --sync "$window" key "$ending" ;;
    esac
    expect_end 0 "$ending ends '$args'"
    [ "$(identify -format %wx%h end.png)" = "${size/screen/$screen}" ] ||
        fail "'$args': no $size snapshot"
done <<'TABLE'
TERM|300x200|-window -geometry 300x200
HUP|203x117|-geometry 203x117 --gl
Escape|1280x720|
x|screen|--fullscreen
TABLE

# Its host window destroyed ends it with 0 and no word: the frames on their way are not errors.
for drawing in "" --gl; do
    start -window -geometry 200x150
    host=$window
    start -window-id "$host" $drawing
    xdotool windowclose "$host"
    expect_end 0 "the host window destroyed '$drawing'"
    ! grep tintwalk: err || fail "the host window destroyed '$drawing': a message"
done

# server NAME XVFB-ARGS...: a private X server, its display in NAME.
server() {
    local name=$1
    shift
    Xvfb -displayfd 3 -nolisten tcp "$@" 3>number >/dev/null 2>&1 &
    e2e_pids+=($!)
    wait_until 20 test -s number || fail "the X server '$*' did not start"
    printf -v "$name" ":%s" "$(cat number)"
    rm number
}
server sixteen -screen 0 640x480x16
server no_argb -screen 0 640x480x16 -extension Composite
server no_gl -extension GLX

# opaque WINDOW: every pixel has the bits its depth holds beyond the colour masks (the
# alpha of a 32-bit visual) set, so that a compositor shows it as it is.
opaque() {
    xwd -id "$1" >window.xwd && python3 - window.xwd <<'PY'
import struct, sys
d = open(sys.argv[1], "rb").read()
(size, _, _, depth, width, height, _, order, _, _, _, bits, line, _, red, green, blue, _, _,
 colours) = struct.unpack(">20I", d[:80])
alpha, step = ((1 << depth) - 1) & ~(red | green | blue), bits // 8
data = memoryview(d)[size + 12 * colours:]
sys.exit(any(int.from_bytes(data[y * line + x * step:][:step], "big" if order else "little") &
             alpha != alpha for y in range(height) for x in range(width)))
PY
}
# shown: the compositor shows the picture at the top left of the 16-bit screen: not the
# white it makes of pixels with alpha 0.
shown() {
    DISPLAY=$sixteen import -window root -crop 320x240+0+0 shot.png &&
        [ "$(convert shot.png -fill black +opaque white -format '%[fx:mean<0.05]' info:)" = 1 ]
}
# The X image on 24 bits, and on 16 through the 32-bit visual that carries alpha: opaque
# pixels, and under a compositor the picture on the screen.
DISPLAY=$sixteen xcompmgr 2>/dev/null &
e2e_pids+=($!)
for display in "$DISPLAY" "$sixteen"; do
    DISPLAY=$display start -window -geometry 320x240+0+0 --community fel --seed 42
    DISPLAY=$display opaque "$window" || fail "$display: a pixel is not opaque"
    [ "$display" = "$DISPLAY" ] || wait_until 5 shown || fail "the compositor shows no picture"
    ! grep tintwalk: err || fail "$display: a message"
    kill "$pid"
done
echo "ok: opaque pixels on 24 and 16 bits, and under a compositor"

# Errors: exit status and a key word on standard error.
# The saver in an input-only window, where nothing can be drawn.
cat >input_only.py <<'PY'
import ctypes, os, subprocess, sys
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XDefaultRootWindow.restype = x.XCreateWindow.restype = ctypes.c_ulong
display = ctypes.c_void_p(x.XOpenDisplay(None))
root = ctypes.c_ulong(x.XDefaultRootWindow(display))
input_only, no_attributes = 2, ctypes.c_ulong(0)
window = x.XCreateWindow(display, root, 0, 0, 50, 50, 0, 0, input_only, None, no_attributes, None)
x.XSync(display, 0)
os.environ["XSCREENSAVER_WINDOW"] = hex(window)
sys.exit(subprocess.run(sys.argv[1:]).returncode)
PY
while IFS='|' read -r status word command; do
    eval "run $command"
    [ "$code" = "$status" ] && { [ -z "$word" ] || grep -q -- "$word" err; } ||
        fail "'$command' ended with $code: $(cat err)"
done <<TABLE
1|--bogus|"$saver" --bogus
1|XSCREENSAVER_WINDOW|env XSCREENSAVER_WINDOW=junk "$saver"
1|DISPLAY is not set|env -u DISPLAY "$saver" -window
1|no window 0x7ffffff1|"$saver" -window-id 2147483633
1|input-only|python3 input_only.py "$saver" --ticks 3
1|no OpenGL|"$saver" -display $no_gl -window --gl
0||"$saver" -display $no_gl -window --ticks 2
0|shows 16-bit colour (5-6-5)|"$saver" -display $no_argb -window --ticks 2
TABLE
# The memory budget, under an address-space limit (too tight for sanitizers).
if ! grep -q -a __asan_init "$saver"; then
    run bash -c 'ulimit -v 1500000 && exec "$@"' - "$saver" -geometry 16384x16384 --ticks 1
    [ "$code" = 2 ] && grep -q "not enough memory" err || fail "no memory: exit status $code"
fi
env -u DISPLAY "$saver" --help | grep -q -- '--snapshot FILE.png' || fail "--help"
env -u DISPLAY "$saver" --version | grep -qx 'tintwalk [0-9.]*' || fail "--version"
echo "all Linux saver cases passed"
