#!/usr/bin/env bash
# The Linux saver's clear errors: each bad case gives its message on
# standard error and a non-zero exit, never a hang.
# Usage: x11_errors.sh TINTWALK X11_TEST_HOST
saver=$1
host=$2
source "$(dirname "$0")/x11_common.sh"

# expect_error "WHAT IT SAYS" COMMAND...: the command must fail and say so.
expect_error() {
    local expected=$1 code=0
    shift
    timeout 20 "$@" >/dev/null 2>"$e2e_tmp/err" || code=$?
    [ "$code" -ne 0 ] && [ "$code" -ne 124 ] || fail "'$*' ended with $code; expected: $expected"
    grep -qF -- "$expected" "$e2e_tmp/err" || fail "'$*' said '$(cat "$e2e_tmp/err")'; expected: $expected"
    echo "ok: $* -> $(head -n 1 "$e2e_tmp/err")"
}

# Help, version and bad options need no display.
env -u DISPLAY "$saver" --help | grep -q -- '--snapshot FILE.png' || fail "--help lacks --snapshot"
env -u DISPLAY "$saver" -version | grep -qx 'tintwalk [0-9.]*' || fail "-version is wrong"
expect_error "unknown option '--bogus'" env -u DISPLAY "$saver" --bogus
expect_error "bad window id '0x'" env -u DISPLAY "$saver" -window-id 0x
expect_error "bad window id 'junk' in XSCREENSAVER_WINDOW" env -u DISPLAY XSCREENSAVER_WINDOW=junk "$saver"
expect_error "cannot open display: DISPLAY is not set" env -u DISPLAY "$saver" -window
expect_error "cannot open display ':987654'" "$saver" -display :987654

need_display
need_tools Xvfb
expect_error "no window 0x7ffffff1" "$saver" -window-id 2147483633
expect_error "no window 0x7ffffff2" env XSCREENSAVER_WINDOW=0x7ffffff2 "$saver" -root
# A host window that takes no drawing ends the saver, --ticks or not.
expect_error "is input-only: nothing can be drawn in it" "$host" -input-only -- "$saver" --ticks 3

# private_display XVFB-ARGS...: a private X server without OpenGL; sets plain_display.
private_display() {
    Xvfb -displayfd 3 -extension GLX -nolisten tcp "$@" 3>"$e2e_tmp/number" >/dev/null 2>&1 &
    e2e_pids+=($!)
    wait_until 20 test -s "$e2e_tmp/number" || fail "the private X server did not start"
    plain_display=":$(head -n 1 "$e2e_tmp/number")"
    rm "$e2e_tmp/number"
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
