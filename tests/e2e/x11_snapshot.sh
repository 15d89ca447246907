#!/usr/bin/env bash
# What the Linux saver shows, read back from its window, equals pixel for
# pixel tintwalk-render's picture for the same community, seed, size and
# ticks: as an X image (shared memory or not) or with OpenGL on llvmpipe and
# softpipe, in its own window or in a host's.
# Usage: x11_snapshot.sh TINTWALK TINTWALK_RENDER X11_TEST_HOST
saver=$1
render=$2
host=$3
source "$(dirname "$0")/x11_common.sh"
need_display
need_tools convert identify cmp

# VIA "window" gives -window inside a host window of another size, so the
# size also proves that -window wins over XSCREENSAVER_WINDOW.
# community       seed       size     ticks via    drawing  driver
while read -r community seed size ticks via drawing driver; do
    name="${community//&/_}-$seed-$size-$ticks-$via-$drawing-$driver"
    shown="$e2e_tmp/shown-$name.png" computed="$e2e_tmp/computed-$name.png"
    how=() && [ "$drawing" = image ] || how=("--$drawing")
    host_size=$size && [ "$via" = host ] || { host_size=64x48 && how+=(-window -geometry "$size"); }
    "$render" --community "$community" --seed "$seed" --size "$size" --ticks "$ticks" \
        --output "$computed" >/dev/null 2>"$e2e_tmp/render.err" || fail "tintwalk-render: $(cat "$e2e_tmp/render.err")"
    GALLIUM_DRIVER=$driver start_host -geometry "$host_size" -- "$saver" "${how[@]}" \
        --community "$community" --seed "$seed" --ticks "$ticks" --snapshot "$shown"
    wait_exit "$host_pid" 120
    [ "$exit_code" -eq 0 ] || fail "the saver ended with $exit_code for $name: $(cat "$host_log.err")"
    [ "$(png_size "$shown")" = "$size" ] || fail "$name: the snapshot is $(png_size "$shown")"
    convert "$shown" -depth 8 rgb:"$e2e_tmp/a.rgb" && convert "$computed" -depth 8 rgb:"$e2e_tmp/b.rgb" &&
        cmp -s "$e2e_tmp/a.rgb" "$e2e_tmp/b.rgb" ||
        fail "$name differs in $(compare -metric AE "$shown" "$computed" null: 2>&1) pixels"
    echo "ok: $name: the same pixels"
done <<'TABLE'
fel               42         203x117  25    window image    llvmpipe
fel               42         203x117  25    window gl       llvmpipe
fel               42         203x117  25    window gl       softpipe
3                 5          1365x767 20    window image    llvmpipe
3                 5          1365x767 20    window no-shm   llvmpipe
3                 5          1365x767 20    window gl       llvmpipe
3                 5          1365x767 20    window gl       softpipe
9                 7          40x25    3     window image    llvmpipe
geo&vlekkensnel   4294967295 97x61    12    window no-shm   llvmpipe
rock              99         150x101  10    host   image    llvmpipe
rock              99         150x101  10    host   gl       softpipe
TABLE
# Without a snapshot, too, OpenGL on softpipe ends cleanly.
env -u XSCREENSAVER_WINDOW GALLIUM_DRIVER=softpipe "$saver" -window --gl --ticks 3 >/dev/null \
    2>"$e2e_tmp/saver.err" || fail "softpipe without a snapshot: $(cat "$e2e_tmp/saver.err")"
echo "all snapshots equal the rendered pictures"
