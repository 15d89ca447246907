#!/usr/bin/env bash
# tintwalk-render's command line: help, version, list, renders, bad input and
# every kind of file written safely, never leaving a partial picture behind.
# Usage: render_cli.sh <tintwalk-render or tintwalk-render.exe>
# A .exe runs under wine; checks needing Linux process limits run natively only.
set -u

renderer=${1:?usage: render_cli.sh <tintwalk-render>}
[[ -x $renderer || -f $renderer ]] || { echo "no renderer at $renderer"; exit 1; }
renderer=$(cd "$(dirname "$renderer")" && pwd)/$(basename "$renderer")

runner=()
native=1
if [[ $renderer == *.exe ]]; then
    command -v wine >/dev/null || { echo "wine is missing: skipped"; exit 77; }
    runner=(wine)
    native=0
    export WINEDEBUG=${WINEDEBUG:--all}
    # The first start of a fresh prefix creates it; bound that wait.
    timeout 300 wine cmd /c exit >/dev/null 2>&1 || { echo "wine does not start: skipped"; exit 77; }
fi

. "$(dirname "$0")/common.sh"
cd "$e2e_tmp" || exit 1

failures=0
checks=0
fail() { echo "FAIL: $label: $*"; failures=$((failures + 1)); }
# expect CONDITION... : a failure naming the condition when it does not hold.
expect() { checks=$((checks + 1)); "$@" || fail "$* (stdout '$(head -c 200 out.txt)', stderr '$(head -c 200 err.txt)')"; }

# run ARGS...: the renderer's exit code in $code, its streams in out.txt and
# err.txt (line ends made plain).
run() {
    timeout 300 "${runner[@]}" "$renderer" "$@" >out.raw 2>err.raw
    code=$?
    tr -d '\r' <out.raw >out.txt
    tr -d '\r' <err.raw >err.txt
}
lines() { wc -l <"$1"; }

# Nothing beyond the files named may be left (no temporary file of a write).
only_files() {
    local expected actual
    expected=$(printf '%s\n' "$@" out.raw err.raw out.txt err.txt | sort | tr '\n' ' ')
    actual=$(ls -A | sort | tr '\n' ' ')
    expect [ "$actual" == "$expected" ]
}

label="--help"
run --help
expect [ "$code" -eq 0 ]
expect grep -q '^Usage: tintwalk-render' out.txt
expect grep -q -- '--community' out.txt
expect [ ! -s err.txt ]
label="--version"
run --version
expect [ "$code" -eq 0 ]
expect grep -qx 'tintwalk-render [0-9]*\.[0-9]*\.[0-9]*' out.txt
label="--list"
run --list
expect [ "$(lines out.txt)" -eq 11 ]
expect grep -q '^ *5 *fel *143 *rgb(198, 204, 199)$' out.txt
expect grep -q '^ *4 *geo&vlekkensnel *0 *rgb(202, 202, 200)$' out.txt

# Bad input: exit 2, one line on stderr, nothing written. The parser's
# messages are checked one by one in render_options_test.
while IFS='|' read -r message args; do
    label="bad input $args"
    read -ra argv <<<"$args"
    run "${argv[@]}" --output bad.png
    expect [ "$code" -eq 2 ]
    expect [ "$(lines err.txt)" -eq 1 ]
    expect grep -q "^tintwalk-render: .*$message" err.txt
    expect [ ! -s out.txt ]
    only_files
done <<'CASES'
unknown community 'nowhere'|--community nowhere
too large|--size 40000x100
unexpected argument 'extra'|extra
CASES

# A render: standard output holds the result line alone, stderr nothing.
label="render over an old file"
mkdir pictures
printf 'old contents' >pictures/a.png
small=(--community 3 --seed 11 --size 97x61 --ticks 12)
run "${small[@]}" --output pictures/a.png
expect [ "$code" -eq 0 ]
expect [ "$(identify -format '%w %h' pictures/a.png)" == "97 61" ]
expect [ "$(ls -A pictures)" == a.png ]
expect [ "$(cat out.txt)" == "tintwalk-render: wrote pictures/a.png: community 3 'fijnwerk', 97x61, seed 11, 12 ticks" ]
expect [ ! -s err.txt ]
expect [ "$(convert pictures/a.png -format '%k' info:)" -gt 1 ]

label="--verbose"
run "${small[@]}" --output b.png --verbose
expect [ "$(lines out.txt)" -eq 1 ]
expect [ "$(head -n 1 err.txt)" == "InitCommunity(3)" ]
expect [ "$(sed -n 2p err.txt)" == "Biotope::Create(8, 97, 61, 11)" ]
expect [ "$(grep -c '^genes ' err.txt)" -eq 8 ]
expect [ "$(tail -n 1 err.txt)" == "community 'fijnwerk' : habitat 97 x 61, rgb(198, 205, 197) hue_shift 232" ]
expect cmp -s pictures/a.png b.png
rm -f b.png

label="--quiet, --output -"
run "${small[@]}" --quiet --output -
expect [ "$code" -eq 0 ]
expect cmp -s out.raw pictures/a.png
expect [ ! -s err.txt ]
only_files pictures

label="no ticks, default output name"
run --community fijnwerk --seed 11 --size 97x61 --ticks 0
expect [ "$(convert tintwalk.png -format '%k %[pixel:p{0,0}]' info:)" == "1 srgb(198,205,197)" ]
rm -f tintwalk.png

# Files that cannot be written: exit 1 and the reason, nothing left.
for output in missing/out.png pictures; do
    label="cannot write $output"
    run --size 40x40 --ticks 1 --output $output
    expect [ "$code" -eq 1 ]
    expect grep -q "^tintwalk-render: cannot write '$output'" err.txt
    expect [ ! -e missing ]
    expect [ -d pictures ]
    only_files pictures
done

if [[ $native -eq 1 ]]; then
    # A write that fails half way (the file-size limit stops it after 4 KiB).
    label="write fails half way"
    cp pictures/a.png keep.png
    (
        trap '' XFSZ
        ulimit -f 4
        run --community 6 --seed 3 --size 400x300 --ticks 40 --output keep.png
        exit $code
    )
    code=$?
    expect [ "$code" -eq 1 ]
    expect grep -q "^tintwalk-render: cannot write 'keep.png'" err.txt
    expect cmp -s keep.png pictures/a.png
    only_files pictures keep.png
    rm -f keep.png

    # Where the picture lands: a symbolic link's target (the link stays, the
    # target keeps its permissions), a folder reached through a link, a
    # dangling link, a FIFO read as it is written, a name of 255 bytes.
    label="file kinds"
    mkdir real
    printf 'old' >real/kept.png
    chmod 640 real/kept.png
    ln -s real/kept.png link.png
    ln -s real linked
    ln -s real/new.png dangling.png
    mkfifo fifo.png
    long=$(printf 'n%.0s' {1..251}).png
    for output in link.png linked/via.png dangling.png fifo.png "$long"; do
        cat fifo.png >fifo.out &
        reader=$!
        run "${small[@]}" --quiet --output "$output"
        expect [ "$code" -eq 0 ]
        [[ $output == fifo.png ]] || kill $reader 2>/dev/null
        wait $reader 2>/dev/null
        [[ $output == fifo.png ]] && output=fifo.out
        expect cmp -s "$output" pictures/a.png
    done
    expect test -L link.png -a -L dangling.png -a -p fifo.png
    expect [ "$(stat -c %a real/kept.png)" == 640 ]
    expect [ "$(ls -A real | tr '\n' ' ')" == "kept.png new.png via.png " ]
    rm -rf real link.png linked dangling.png fifo.png fifo.out "$long"
    only_files pictures

    label="/dev/full"
    run "${small[@]}" --output /dev/full
    expect [ "$code" -eq 1 ]
    expect [ "$(cat err.txt)" == "tintwalk-render: cannot write '/dev/full': No space left on device" ]

    # A signal during the write of a large picture ends the process as the
    # signal does, keeps the old file and leaves no temporary file.
    # (Background jobs start with SIGINT ignored: env gives it back.)
    for signal in INT TERM HUP; do
        label="SIG$signal while writing"
        printf 'old' >big.png
        env --default-signal=INT "$renderer" --size 8000x8000 --ticks 3 --output big.png &
        pid=$!
        wait_until 10 compgen -G '.tintwalk-*' || fail "no temporary file seen"
        kill -s "$signal" $pid
        { wait $pid; } 2>/dev/null
        code=$?
        expect [ "$code" -eq $((128 + $(kill -l "$signal"))) ]
        expect [ "$(cat big.png)" == old ]
        rm -f big.png
        only_files pictures
    done

    # On a terminal a render longer than a second shows its progress on
    # stderr; stdout still holds the result line alone.
    if command -v script >/dev/null; then
        label="progress on a terminal"
        script -qec "'$renderer' --size 1500x1500 --ticks 4000 -o big.png 2>&1 >out.txt" /dev/null |
            tr '\r' '\n' >err.txt
        expect grep -Eq '^tintwalk-render: +[0-9]+%, [0-9]+ ticks/s, [0-9]+:[0-9]{2} left' err.txt
        expect [ "$(lines out.txt)" -eq 1 ]
        rm -f big.png
    fi

    # Too large for the address-space limit (sanitizer builds reserve too much
    # for the limit).
    if ! grep -q -a '__asan_init' "$renderer"; then
        label="out of memory"
        (
            ulimit -v 3000000
            run --size 32768x32768 --ticks 0 --output huge.png
            exit $code
        )
        code=$?
        expect [ "$code" -eq 2 ]
        expect [ "$(tail -n 1 err.txt)" == "tintwalk-render: not enough memory for a 32768x32768 picture" ]
        only_files pictures
    fi
fi

echo "$checks checks, $failures failed"
[[ $failures -eq 0 ]]
