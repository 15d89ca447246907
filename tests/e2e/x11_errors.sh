#!/usr/bin/env bash
# The Linux saver's clear errors: a missing display, a display without
# OpenGL or without any way to draw, a window that cannot be drawn in, bad
# window ids on the command line and in XSCREENSAVER_WINDOW, and
# bad options. Each gives one line on standard error and a non-zero exit.
# Usage: x11_errors.sh TINTWALK X11_TEST_HOST
saver=$1
host=$2
source "$(dirname "$0")/x11_common.sh"

# expect_error "WHAT IT SAYS" COMMAND...: the command must fail and say so.
expect_error() {
    local expected=$1
    shift
    local code=0
    timeout 20 "$@" >"$e2e_tmp/out" 2>"$e2e_tmp/err" || code=$?
    [ "$code" -ne 0 ] || fail "'$*' succeeded; expected: $expected"
    [ "$code" -ne 124 ] || fail "'$*' hung"
    grep -qF -- "$expected" "$e2e_tmp/err" ||
        fail "'$*' said '$(cat "$e2e_tmp/err")'; expected: $expected"
    echo "ok: $* -> $(head -n 1 "$e2e_tmp/err")"
}

# Help and version need no display.
env -u DISPLAY "$saver" --help >"$e2e_tmp/help" || fail "--help failed"
grep -q -- '--snapshot FILE.png' "$e2e_tmp/help" || fail "--help lacks --snapshot"
env -u DISPLAY "$saver" -version | grep -qx 'tintwalk [0-9.]*' || fail "-version is wrong"

# Options are checked before the display is opened.
expect_error "unknown option '--bogus'" env -u DISPLAY "$saver" --bogus
expect_error "bad window id 'abc'" env -u DISPLAY "$saver" -window-id abc
expect_error "bad window id '0x'" env -u DISPLAY "$saver" -window-id 0x
expect_error "unknown community 'nosuch'" env -u DISPLAY "$saver" --community nosuch
expect_error "bad geometry '0x480'" env -u DISPLAY "$saver" -geometry 0x480
expect_error "needs a value" env -u DISPLAY "$saver" --ticks
expect_error "bad window id 'junk' in XSCREENSAVER_WINDOW" \
    env -u DISPLAY XSCREENSAVER_WINDOW=junk "$saver"

# No display at all, and a display that is not there.
expect_error "cannot open display: DISPLAY is not set" env -u DISPLAY "$saver" -window
expect_error "cannot open display ':987654'" "$saver" -display :987654

need_display
need_tools Xvfb

# Windows that do not exist on a display that does.
expect_error "no window 0x7ffffff0" "$saver" -window-id 0x7ffffff0
expect_error "no window 0x7ffffff1" "$saver" -window-id 2147483633
expect_error "no window 0x7ffffff2" env XSCREENSAVER_WINDOW=0x7ffffff2 "$saver" -root

# A host window that takes no drawing ends the saver, --ticks or not.
expect_error "is input-only: nothing can be drawn in it" "$host" -input-only -- "$saver" --ticks 3

# private_display XVFB-ARGS...: a private X server without the OpenGL
# extension, on a display number it picks itself; sets plain_display.
private_display() {
    exec 3>"$e2e_tmp/display-number"
    Xvfb -displayfd 3 -extension GLX -nolisten tcp "$@" >"$e2e_tmp/xvfb.log" 2>&1 &
    e2e_pids+=($!)
    exec 3>&-
    wait_until 20 test -s "$e2e_tmp/display-number" || fail "the private X server did not start"
    plain_display=":$(head -n 1 "$e2e_tmp/display-number")"
    : >"$e2e_tmp/display-number"
}

private_display -screen 0 320x240x24
expect_error "has no OpenGL (GLX) support" "$saver" -display "$plain_display" -window --gl
timeout 20 "$saver" -display "$plain_display" -window --ticks 2 >/dev/null 2>"$e2e_tmp/err" ||
    fail "the X image did not draw without OpenGL: $(cat "$e2e_tmp/err")"
echo "ok: without OpenGL it draws an X image"
# 16 bits only: neither an X image nor OpenGL.
private_display -extension Composite -pixdepths 1 4 8 16 -screen 0 320x240x16
expect_error "nor a TrueColor visual of 24 or 32 bits" "$saver" -display "$plain_display" -window

echo "all error cases passed"
