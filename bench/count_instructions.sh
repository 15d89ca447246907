#!/usr/bin/env bash
# Instructions per bot step for each community at 1920 x 1080, counted by
# callgrind inside Biotope::Step only (so loading the community is left out).
# Callgrind counts instructions, not time: the figures repeat run after run.
# Usage: bench/count_instructions.sh [build dir] [passes]
set -euo pipefail
build=${1:-build/release}
passes=${2:-20}
steps_bin="$build/bench/tintwalk_steps"
[ -x "$steps_bin" ] || { echo "no $steps_bin: configure with -DTINTWALK_BENCH=ON" >&2; exit 2; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
total=0
printf '%-4s %-16s %14s %12s %10s\n' row community instructions steps per-step
for row in 0 1 2 3 4 5 6 7 8 9; do
    steps=$(valgrind --tool=callgrind --callgrind-out-file="$out/cg.$row" \
        --toggle-collect='tintwalk::Biotope::Step()' "$steps_bin" "$row" "$passes" 2>&1 >/dev/null |
        sed -n 's/^steps //p')
    ir=$(callgrind_annotate "$out/cg.$row" 2>/dev/null | sed -n 's/^\([0-9,]*\) .*PROGRAM TOTALS.*/\1/p' | tr -d ,)
    name=$(sed -n "s/^community '\(.*\)' .*/\1/p" <("$steps_bin" "$row" 0 2>&1 >/dev/null))
    per=$(awk -v i="$ir" -v s="$steps" 'BEGIN { printf "%.1f", i / s }')
    total=$(awk -v t="$total" -v p="$per" 'BEGIN { print t + p }')
    printf '%-4s %-16s %14s %12s %10s\n' "$row" "$name" "$ir" "$steps" "$per"
done
awk -v t="$total" 'BEGIN { printf "average instructions per bot step: %.1f\n", t / 10 }'
