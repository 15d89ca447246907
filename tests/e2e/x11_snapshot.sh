#!/usr/bin/env bash
# What the Linux saver shows on screen, read back from its window, equals
# pixel for pixel the picture that tintwalk-render computes without a
# display, for the same community, seed, size and number of ticks.
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

# check COMMUNITY SEED WxH TICKS [host]: one comparison; with "host" the
# saver draws into a window of the test host through XSCREENSAVER_WINDOW.
check() {
    local community=$1 seed=$2 size=$3 ticks=$4 via=${5:-window}
    local name="${community//&/_}-$seed-$size-$ticks"
    local shown="$e2e_tmp/shown-$name.png" computed="$e2e_tmp/computed-$name.png"
    "$render" --community "$community" --seed "$seed" --size "$size" --ticks "$ticks" \
        --output "$computed" >/dev/null 2>"$e2e_tmp/render.err" ||
        fail "tintwalk-render failed: $(cat "$e2e_tmp/render.err")"
    if [ "$via" = host ]; then
        start_host -geometry "$size" -- "$saver" --community "$community" --seed "$seed" \
            --ticks "$ticks" --snapshot "$shown"
        wait_exit "$host_pid" 60
    else
        env -u XSCREENSAVER_WINDOW "$saver" -window --community "$community" --seed "$seed" \
            -geometry "$size" --ticks "$ticks" --snapshot "$shown" \
            >/dev/null 2>"$e2e_tmp/saver.err" &
        local pid=$!
        e2e_pids+=("$pid")
        wait_exit "$pid" 60
    fi
    [ "$exit_code" -eq 0 ] || fail "the saver ended with $exit_code for $name"
    same_pixels "$shown" "$computed"
    echo "ok: community $community, seed $seed, $size, $ticks ticks ($via): the same pixels"
}

check 0 1 320x200 30
check fel 42 203x117 25          # rows of 609 bytes: not a multiple of 4
check 9 7 40x25 3                # 1000 cells: no step at all, only the background
check 'geo&vlekkensnel' 4294967295 97x61 12
check rock 99 150x101 10 host    # drawn into a host's window
echo "all snapshots equal the rendered pictures"
