#!/usr/bin/env bash
# Frame benchmark of the Linux saver: how long a frame tick takes with each
# way of drawing, on a private Xvfb screen big enough for 4K, and of the
# OpenGL presenter alone in an offscreen context (OSMesa), when
# tintwalk_offscreen_frames is built (TINTWALK_BENCH=ON). Each run draws
# community 7 with seed 7 in its own window for TICKS ticks and reports the
# median wall and processor time of a tick (the whole process, so the
# OpenGL driver's threads count) and how far apart the ticks came (13 ms
# when the clock keeps up). The methods alternate inside every round, so a
# drift of the machine's speed hits them all alike. With WINDOWS_BUILD naming
# a Windows build (e.g. build/mingw) the Windows saver runs too, full screen
# under wine on an Xvfb screen of each size, timed by its tick-limit hook
# (its processor time is the mean of the ticks, not the median).
# Usage: [WINDOWS_BUILD=DIR] bench/frame_bench.sh BUILD_DIR [TICKS [ROUNDS [SIZE...]]]
#   e.g. bench/frame_bench.sh build/release 200 3 1280x720 1920x1080 3840x2160
set -u
build=${1:?usage: frame_bench.sh BUILD_DIR [TICKS [ROUNDS [SIZE...]]]}
ticks=${2:-200}
rounds=${3:-3}
shift $(($# < 3 ? $# : 3))
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1280x720 1920x1080 3840x2160)
saver=$build/src/saver/x11/tintwalk
[ -x "$saver" ] || { echo "no saver at $saver: build the target tintwalk" >&2; exit 1; }

methods=(x-image-shm x-image-plain gl-texture gl-tiles gl-points)
offscreen=$build/bench/tintwalk_offscreen_frames
[ -x "$offscreen" ] && methods+=(offscreen-texture offscreen-tiles offscreen-points)
scr=${WINDOWS_BUILD:+$WINDOWS_BUILD/src/saver/win32/tintwalk.scr}
if [ -n "$scr" ]; then
    [ -f "$scr" ] || { echo "no Windows saver at $scr" >&2; exit 1; }
    methods+=(win32-wine)
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
fi

# start_xvfb SIZE: a private Xvfb screen of SIZE; its display in started.
start_xvfb() {
    local number=$scratch/display-$1
    exec 3>"$number"
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp >>"$scratch/xvfb.log" 2>&1 &
    servers+=($!)
    exec 3>&-
    for _ in $(seq 100); do
        [ -s "$number" ] && break
        sleep 0.1
    done
    started=":$(head -n 1 "$number")"
}

# run_windows SIZE: the Windows saver, full screen on a screen of SIZE, for
# the ticks and one more (the first, which shows the whole habitat); prints
# its timings line, then ends it with a key.
run_windows() {
    local display=${wine_displays[$1]}
    DISPLAY=$display TINTWALK_TEST_HOOK_STOP_TICKING_AFTER=$((ticks + 1)) TINTWALK_TEST_HOOK_CLOCK=7 \
        wine "$scr" /s >"$scratch/out" 2>&1 &
    local pid=$!
    for _ in $(seq 1200); do
        grep -q '^frame clock stopped' "$scratch/out" && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    grep -a '^frame clock stopped' "$scratch/out" | tr -d '\r' || echo "failed: $(tail -n 1 "$scratch/out")"
    DISPLAY=$display xdotool key space
    wait "$pid"
}

# run METHOD SIZE: one run; prints the saver's timings line.
run() {
    local method=$1 size=$2 how=() draw=
    case $method in
        offscreen-*)
            TINTWALK_DRAW=${method#offscreen-} "$offscreen" "$size" "$ticks" 2>/dev/null |
                grep '^timings:'
            return
            ;;
        win32-wine)
            run_windows "$size"
            return
            ;;
        x-image-plain) how=(--no-shm) ;;
        gl-*) how=(--gl) draw=${method#gl-} ;;
    esac
    TINTWALK_DRAW=$draw "$saver" -window -geometry "$size+0+0" "${how[@]}" --community 7 \
        --seed 7 --ticks "$ticks" --timings >"$scratch/out" 2>"$scratch/err"
    local code=$?
    grep '^timings:' "$scratch/out" || echo "failed with exit code $code: $(tail -n 1 "$scratch/err")"
}

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tintwalk-frames.XXXXXX")
servers=()
declare -A wine_displays
trap 'kill "${servers[@]}" 2>/dev/null; rm -rf "$scratch"' EXIT
start_xvfb 3840x2160
export DISPLAY=$started
if [ -n "$scr" ]; then
    for size in "${sizes[@]}"; do
        start_xvfb "$size"
        wine_displays[$size]=$started
    done
fi
export GALLIUM_DRIVER=${GALLIUM_DRIVER:-llvmpipe}

echo "# $ticks ticks a run, $rounds rounds, GALLIUM_DRIVER=$GALLIUM_DRIVER, $(nproc) cores"
echo "# method size round: ticks, ms apart, median tick ms wall, CPU"
for round in $(seq "$rounds"); do
    for size in "${sizes[@]}"; do
        for method in "${methods[@]}"; do
            line=$(run "$method" "$size")
            echo "$method $size $round: ${line#*, }" | tee -a "$scratch/results"
        done
    done
done

# The median over the rounds of each method and size.
echo
echo "| method | size | wall ms per tick | CPU ms per tick | ticks apart (ms) |"
echo "|---|---|---|---|---|"
awk 'function field(unit) {
    # The number before " UNIT" in the line, or "-".
    if (!match($0, "[0-9.]+ ms " unit)) return "-"
    return substr($0, RSTART, RLENGTH - length(unit) - 4)
}
{
    key = $1 " " $2
    if (!(key in order)) order[key] = ++n
    # A failed run adds nothing.
    if ((w = field("wall")) != "-") wall[key] = wall[key] " " w
    if ((c = field("CPU")) != "-") cpu[key] = cpu[key] " " c
    if ((a = field("apart")) != "-") apart[key] = apart[key] " " a
}
function median(list,   v, k, i, j, t) {
    k = split(list, v, " ")
    if (k == 0) return "-"
    for (i = 1; i <= k; i++) for (j = i + 1; j <= k; j++) if (v[j] + 0 < v[i] + 0) { t = v[i]; v[i] = v[j]; v[j] = t }
    return sprintf("%.2f", k % 2 ? v[(k + 1) / 2] : (v[k / 2] + v[k / 2 + 1]) / 2)
}
END {
    for (key in order) keys[order[key]] = key
    for (i = 1; i <= n; i++) {
        split(keys[i], f, " ")
        printf "| %s | %s | %s | %s | %s |\n", f[1], f[2], median(wall[keys[i]]), median(cpu[keys[i]]), median(apart[keys[i]])
    }
}' "$scratch/results"
