#!/usr/bin/env bash
# What the Linux saver shows on screen, read back from its window, equals
# pixel for pixel the picture that tintwalk-render computes without a
# display, for the same community, seed, size and number of ticks, whether
# it draws an X image (in shared memory or not) or uses OpenGL on either of
# Mesa's software rasterisers.
# Usage: x11_snapshot.sh TINTWALK TINTWALK_RENDER X11_TEST_HOST
saver=$1
render=$2
host=$3
source "$(dirname "$0")/x11_common.sh"
need_display
need_tools convert identify cmp

# same_pixels A.png B.png: equal sizes and equal RGB bytes.
same_pixels() {
    local a=$1 b=$2
    [ "$(png_size "$a")" = "$(png_size "$b")" ] ||
        fail "$a is $(png_size "$a"), $b is $(png_size "$b")"
    convert "$a" -depth 8 rgb:"$e2e_tmp/a.rgb" || fail "cannot decode $a"
    convert "$b" -depth 8 rgb:"$e2e_tmp/b.rgb" || fail "cannot decode $b"
    if ! cmp -s "$e2e_tmp/a.rgb" "$e2e_tmp/b.rgb"; then
        local differing
        differing=$(compare -metric AE "$a" "$b" null: 2>&1)
        fail "$a and $b differ in $differing pixels"
    fi
}

# check COMMUNITY SEED WxH TICKS VIA DRAWING DRIVER: one comparison. VIA is
# "window" (its own) or "host" (a window of the test host, named by
# XSCREENSAVER_WINDOW); DRAWING is "image", "plain" (no shared memory) or
# "gl"; DRIVER is the GALLIUM_DRIVER for OpenGL.
check() {
    local community=$1 seed=$2 size=$3 ticks=$4 via=$5 drawing=$6 driver=$7
    local name="${community//&/_}-$seed-$size-$ticks-$via-$drawing-$driver"
    local shown="$e2e_tmp/shown-$name.png" computed="$e2e_tmp/computed-$name.png"
    local how=()
    case $drawing in
        plain) how=(--no-shm) ;;
        gl) how=(--gl) ;;
    esac
    "$render" --community "$community" --seed "$seed" --size "$size" --ticks "$ticks" \
        --output "$computed" >/dev/null 2>"$e2e_tmp/render.err" ||
        fail "tintwalk-render failed: $(cat "$e2e_tmp/render.err")"
    if [ "$via" = host ]; then
        GALLIUM_DRIVER=$driver start_host -geometry "$size" -- "$saver" "${how[@]}" \
            --community "$community" --seed "$seed" --ticks "$ticks" --snapshot "$shown"
        wait_exit "$host_pid" 120
    else
        env -u XSCREENSAVER_WINDOW GALLIUM_DRIVER="$driver" "$saver" -window "${how[@]}" \
            --community "$community" --seed "$seed" -geometry "$size" --ticks "$ticks" \
            --snapshot "$shown" >/dev/null 2>"$e2e_tmp/saver.err" &
        local pid=$!
        e2e_pids+=("$pid")
        wait_exit "$pid" 120
    fi
    [ "$exit_code" -eq 0 ] || fail "the saver ended with $exit_code for $name"
    same_pixels "$shown" "$computed"
    echo "ok: $name: the same pixels"
}

# community       seed       size     ticks via    drawing driver
while read -r community seed size ticks via drawing driver; do
    check "$community" "$seed" "$size" "$ticks" "$via" "$drawing" "$driver"
done <<'TABLE'
0                 1          320x200  30    window image   llvmpipe
fel               42         203x117  25    window image   llvmpipe
fel               42         203x117  25    window gl      llvmpipe
fel               42         203x117  25    window gl      softpipe
3                 5          1365x767 20    window image   llvmpipe
3                 5          1365x767 20    window plain   llvmpipe
3                 5          1365x767 20    window gl      llvmpipe
3                 5          1365x767 20    window gl      softpipe
9                 7          40x25    3     window image   llvmpipe
geo&vlekkensnel   4294967295 97x61    12    window plain   llvmpipe
rock              99         150x101  10    host   image   llvmpipe
rock              99         150x101  10    host   gl      softpipe
TABLE
# Without a snapshot, too, OpenGL on softpipe ends cleanly.
env -u XSCREENSAVER_WINDOW GALLIUM_DRIVER=softpipe "$saver" -window --gl --ticks 3 >/dev/null \
    2>"$e2e_tmp/saver.err" || fail "softpipe without a snapshot: exit $?, $(cat "$e2e_tmp/saver.err")"
echo "all snapshots equal the rendered pictures"
