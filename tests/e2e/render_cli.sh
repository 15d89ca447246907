#!/usr/bin/env bash
# tintwalk-render's command line and files, never leaving a partial or temporary file.
# Usage: render_cli.sh TINTWALK-RENDER (a .exe runs under wine, without the cases that
# need Linux limits, links or signals).
set -u
renderer=$(realpath "$1")
runner=()
if [[ $renderer == *.exe ]]; then
    runner=(wine)
    export WINEDEBUG=${WINEDEBUG:--all}
    timeout 300 wine cmd /c exit >/dev/null 2>&1 || { echo "SKIP: wine does not start"; exit 77; }
fi
# Names outside ASCII pass as UTF-8 (wine reads arguments in the locale's encoding).
export LC_ALL=C.UTF-8
. "$(dirname "$0")/common.sh"
cd "$e2e_tmp" || exit 1

failures=0
# check LABEL CONDITION...: counts and shows a failure when CONDITION fails.
check() {
    local label=$1
    shift
    "$@" || { echo "FAIL: $label: $* (stderr: $(head -c 200 err))"; failures=$((failures + 1)); }
}
# run ARGS...: exit status in code, streams in out and err (plain line ends).
run() {
    timeout 300 "${runner[@]}" "$renderer" "$@" >out.raw 2>err.raw
    code=$?
    tr -d '\r' <out.raw >out
    tr -d '\r' <err.raw >err
}
# Nothing but the files named and the streams is left: no temporary file.
only() {
    local expected
    expected=$(printf '%s\n' "$@" out.raw out err.raw err | sort | tr '\n' ' ')
    [ "$(ls -A | sort | tr '\n' ' ')" == "$expected" ]
}

# An output that cannot be written fails before the render, whose ticks would
# take hours.
mkdir pictures
while IFS='|' read -r status says args; do
    read -ra argv <<<"$args"
    run "${argv[@]}"
    check "$args" [ "$code" = "$status" ]
    check "$args" grep -Eq "$says" out err
    check "$args: nothing written" only pictures
done <<'CASES'
0|^Usage: tintwalk-render|--help
0|^tintwalk-render [0-9]+\.[0-9]+\.[0-9]+$|--version
2|^tintwalk-render: unknown community 'nowhere'|--community nowhere -o bad.png
2|too large|--size 40000x100 --output bad.png
1|cannot write 'missing/a.png'|--size 40x40 --ticks 4000000000 -o missing/a.png
1|cannot write 'pictures'|--size 40x40 --ticks 4000000000 -o pictures
2|seed '５' is not a whole number|--seed ５ -o bad.png
2|size '６４x64' is not WIDTHxHEIGHT|--size ６４x64 -o bad.png
CASES

# Over an old file; the result line alone on stdout, or the PNG; --verbose on stderr.
printf 'old' >pictures/a.png
small=(--community 3 --seed 11 --size 97x61 --ticks 12)
run "${small[@]}" --output pictures/a.png
check "render" [ "$code$(cat err)" = 0 ]
check "result line" grep -qx \
    "tintwalk-render: wrote pictures/a.png: community 3 'fijnwerk', 97x61, seed 11, 12 ticks" out
check "the picture" [ "$(identify -format '%wx%h' pictures/a.png)" = 97x61 ]
run "${small[@]}" --verbose --quiet --output -
check "-o -" cmp -s out.raw pictures/a.png
check "--verbose" grep -qx 'InitCommunity(3)' err
check "-o -: nothing written" only pictures

# Names as typed: another script, a fullwidth backslash (a character of the
# name, not a folder), a path of more than 260 characters.
deep=$(printf 'd%.0s' {1..150})/$(printf 'e%.0s' {1..150})
mkdir -p "$deep" a
for output in 图片.png 'a＼b.png' "$deep/picture.png"; do
    run "${small[@]}" --quiet --output "$output"
    check "$output" [ "$code" = 0 ]
    check "$output" cmp -s "$output" pictures/a.png
done
check "a＼b.png: nothing in a" [ -z "$(ls -A a)" ]
rm -rf "${deep%%/*}" a 图片.png 'a＼b.png'
check "names: nothing else written" only pictures
if [ ${#runner[@]} -gt 0 ]; then
    run "${small[@]}" --quiet --output NUL
    check "NUL" [ "$code$(cat err)" = 0 ]
fi
[ ${#runner[@]} -eq 0 ] || { echo "$failures failed"; exit $((failures > 0)); }

# A write that fails half way (a file-size limit of 4 KiB) keeps the old file.
cp pictures/a.png keep.png
(trap '' XFSZ && ulimit -f 4 && run --size 400x300 --ticks 40 -o keep.png && exit $code)
check "half a write: exit 1" [ $? = 1 ]
check "half a write: the old file" cmp -s keep.png pictures/a.png
check "half a write: no temporary file" only pictures keep.png
rm keep.png
run "${small[@]}" --output /dev/full
check "/dev/full" [ "$code" = 1 ]
check "/dev/full" grep -qx "tintwalk-render: cannot write '/dev/full': No space left on device" err

# Through a link (which stays), a dangling link, into a FIFO, to a name of 255 bytes.
mkdir real
printf 'old' >real/kept.png
ln -s real/kept.png link.png
ln -s real/new.png dangling.png
mkfifo fifo.png
long=$(printf 'n%.0s' {1..251}).png
for output in link.png dangling.png fifo.png "$long"; do
    cat fifo.png >fifo.out &
    reader=$!
    run "${small[@]}" --quiet --output "$output"
    check "$output" [ "$code" = 0 ]
    [ "$output" = fifo.png ] && wait $reader && output=fifo.out
    kill $reader 2>/dev/null
    check "$output" cmp -s "$output" pictures/a.png
done
check "links kept" test -L link.png -a -L dangling.png -a -p fifo.png
rm -rf real link.png dangling.png fifo.png fifo.out "$long"

# A signal during a large write ends it as the signal does, keeps the old file
# and leaves no temporary file (background jobs ignore SIGINT: env restores it).
for signal in INT TERM HUP; do
    echo old >big.png
    env --default-signal=INT "$renderer" --size 8000x8000 --ticks 3 --output big.png &
    check "SIG$signal: a temporary file" wait_until 10 compgen -G '.tintwalk-*'
    kill -s "$signal" $!
    wait $! 2>/dev/null
    check "SIG$signal" [ "$?" = $((128 + $(kill -l "$signal"))) ]
    check "SIG$signal: the old file" grep -qx old big.png
    check "SIG$signal: no temporary file" only pictures big.png
done

# On a terminal a long render shows its progress on stderr.
script -qec "'$renderer' --size 1500x1500 --ticks 4000 -o big.png 2>&1 >out" /dev/null |
    tr '\r' '\n' >err
check "progress" grep -Eq '^tintwalk-render: +[0-9]+%, [0-9]+ ticks/s, [0-9]+:[0-9]{2} left' err
check "progress: the result line alone on stdout" [ "$(wc -l <out)" = 1 ]
rm big.png

# Too large for the address-space limit (sanitizers reserve too much for it): exit 2.
if ! grep -q -a '__asan_init' "$renderer"; then
    (ulimit -v 3000000 && run --size 32768x32768 --ticks 0 -o huge.png && exit $code)
    check "memory: exit 2" [ $? = 2 ]
    check "memory" grep -q "not enough memory for a 32768x32768 picture" err
    check "memory: nothing written" only pictures
fi
echo "$failures failed"
[ "$failures" -eq 0 ]
