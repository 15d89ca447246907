#!/usr/bin/env bash
# Command-line behaviour of tintwalk-render: help, version, list, a render
# with and without its diagnostic lines, the picture on standard output, every
# kind of bad input with its exit code and one-line message, and every kind of
# file written safely, never leaving a partial picture behind.
# Usage: render_cli.sh <tintwalk-render or tintwalk-render.exe>
# A Windows build is run under wine; the checks that need the Linux process
# limits (file size, address space) are made for a native build only.
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

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

failures=0
checks=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { checks=$((checks + 1)); }

# run ARGS...: runs the renderer in the scratch folder, with the exit code in
# $code and both streams (line ends made plain) in out.txt and err.txt.
run() {
    timeout 300 "${runner[@]}" "$renderer" "$@" >out.raw 2>err.raw
    code=$?
    tr -d '\r' <out.raw >out.txt
    tr -d '\r' <err.raw >err.txt
}

# Nothing beyond the files named may be left in the folder (no temporary
# file of an interrupted write).
only_files() {
    local expected actual
    expected=$(printf '%s\n' "$@" out.raw err.raw out.txt err.txt | sort | tr '\n' ' ')
    actual=$(ls -A | sort | tr '\n' ' ')
    [[ $expected == "$actual" ]] || fail "$label: files left: $actual (expected $expected)"
}

# --- help, version, list ---------------------------------------------------
label="--help"
run --help
[[ $code -eq 0 ]] || fail "$label exit $code"
grep -q '^Usage: tintwalk-render' out.txt || fail "$label: no usage line"
grep -q -- '--community' out.txt || fail "$label: no --community"
[[ -s err.txt ]] && fail "$label wrote to stderr"
pass

label="--version"
run --version
[[ $code -eq 0 ]] || fail "$label exit $code"
grep -qx 'tintwalk-render [0-9]*\.[0-9]*\.[0-9]*' out.txt || fail "$label: $(cat out.txt)"
pass

label="--list"
run --list
[[ $code -eq 0 ]] || fail "$label exit $code"
[[ $(wc -l <out.txt) -eq 11 ]] || fail "$label: $(wc -l <out.txt) lines"
grep -q '^ *5 *fel *143 *rgb(198, 204, 199)$' out.txt || fail "$label: no fel row"
grep -q '^ *4 *geo&vlekkensnel *0 *rgb(202, 202, 200)$' out.txt || fail "$label: no geo row"
pass

# --- bad input: exit 2, one line on stderr, nothing written -----------------
bad_input() {
    local expect=$1
    shift
    label="bad input $*"
    run "$@" --output bad.png
    [[ $code -eq 2 ]] || fail "$label: exit $code, expected 2"
    [[ $(wc -l <err.txt) -eq 1 ]] || fail "$label: stderr has $(wc -l <err.txt) lines"
    grep -q "^tintwalk-render: .*$expect" err.txt || fail "$label: stderr '$(cat err.txt)'"
    [[ -s out.txt ]] && fail "$label wrote to stdout"
    only_files
    pass
}
bad_input "unknown community '10'" --community 10
bad_input "unknown community 'nowhere'" --community nowhere
bad_input "width must be at least 1" --size 0x10
bad_input "height must be at least 1" --size 10x0
bad_input "width must be positive" --size -5x10
bad_input "WIDTHxHEIGHT" --size 19x
bad_input "WIDTHxHEIGHT" --size large
bad_input "too large" --size 40000x100
bad_input "tick count '-1'" --ticks -1
bad_input "tick count 'many'" --ticks many
bad_input "seed 'abc'" --seed abc
bad_input "seed '-3'" --seed=-3
bad_input "unknown option '--frobnicate'" --frobnicate
bad_input "'--seed' needs a value" --seed
bad_input "unexpected argument 'extra'" extra

# --- a render: standard output holds the result line and nothing else ---------
label="render"
mkdir pictures
run --community 3 --seed 11 --size 97x61 --ticks 12 --output pictures/a.png
[[ $code -eq 0 ]] || fail "$label exit $code: $(cat err.txt)"
[[ $(identify -format '%w %h' pictures/a.png 2>/dev/null) == "97 61" ]] || fail "$label: size"
[[ $(ls -A pictures) == "a.png" ]] || fail "$label: pictures holds $(ls -A pictures)"
[[ $(cat out.txt) == "tintwalk-render: wrote pictures/a.png: community 3 'fijnwerk', 97x61, seed 11, 12 ticks" ]] ||
    fail "$label: stdout '$(cat out.txt)'"
# Not a terminal and not verbose: nothing on stderr, no progress line.
[[ -s err.txt ]] && fail "$label: stderr '$(cat err.txt)'"
[[ $(convert pictures/a.png -format '%k' info:) -gt 1 ]] || fail "$label: nothing painted"
pass

label="--verbose"
run --community 3 --seed 11 --size 97x61 --ticks 12 --output pictures/b.png --verbose
[[ $code -eq 0 ]] || fail "$label exit $code"
[[ $(wc -l <out.txt) -eq 1 ]] || fail "$label: stdout has $(wc -l <out.txt) lines"
[[ $(head -n 1 err.txt) == "InitCommunity(3)" ]] || fail "$label: first stderr line"
[[ $(sed -n 2p err.txt) == "Biotope::Create(8, 97, 61, 11)" ]] || fail "$label: second stderr line"
[[ $(grep -c '^genes ' err.txt) -eq 8 ]] || fail "$label: genes lines"
[[ $(tail -n 1 err.txt) == "community 'fijnwerk' : habitat 97 x 61, rgb(198, 205, 197) hue_shift 232" ]] ||
    fail "$label: no summary line"
cmp -s pictures/a.png pictures/b.png || fail "$label: another picture"
rm -f pictures/b.png
pass

label="--quiet, --output -"
run --community 3 --seed 11 --size 97x61 --ticks 12 --quiet --output -
[[ $code -eq 0 ]] || fail "$label exit $code"
cmp -s out.raw pictures/a.png || fail "$label: standard output is not the picture"
[[ -s err.txt ]] && fail "$label: stderr '$(cat err.txt)'"
only_files pictures
pass

label="no ticks"
run --community fijnwerk --seed 11 --size 97x61 --ticks 0 --output pictures/zero.png
[[ $code -eq 0 ]] || fail "$label exit $code"
[[ $(convert pictures/zero.png -format '%k %[pixel:p{0,0}]' info:) == "1 srgb(198,205,197)" ]] ||
    fail "$label: not the bare background"
pass

label="default output name"
run --size 40x40 --ticks 1
[[ $code -eq 0 ]] || fail "$label exit $code"
[[ -f tintwalk.png ]] || fail "$label: no tintwalk.png"
rm -f tintwalk.png
pass

label="replace"
printf 'old contents' >pictures/old.png
run --community 0 --seed 1 --size 50x50 --ticks 2 --output pictures/old.png
[[ $code -eq 0 ]] || fail "$label exit $code"
[[ $(identify -format '%w %h' pictures/old.png 2>/dev/null) == "50 50" ]] || fail "$label: not replaced"
pass

# --- files that cannot be written: exit 1, nothing left ------------------------
label="missing folder"
run --size 40x40 --ticks 1 --output missing/out.png
[[ $code -eq 1 ]] || fail "$label: exit $code, expected 1"
[[ $(tail -n 1 err.txt) == "tintwalk-render: cannot write 'missing/out.png'"* ]] ||
    fail "$label: stderr '$(tail -n 1 err.txt)'"
[[ -e missing ]] && fail "$label: created something"
only_files pictures
pass

label="folder in the way"
run --size 40x40 --ticks 1 --output pictures
[[ $code -eq 1 ]] || fail "$label: exit $code, expected 1"
[[ $(tail -n 1 err.txt) == "tintwalk-render: cannot write 'pictures'"* ]] ||
    fail "$label: stderr '$(tail -n 1 err.txt)'"
[[ -d pictures ]] || fail "$label: the folder is gone"
only_files pictures
pass

if [[ $native -eq 1 ]]; then
    # A write that fails half way (the file-size limit stops it after 4 KiB):
    # the old file stays whole and no temporary file is left.
    label="write fails half way"
    cp pictures/a.png keep.png
    (
        trap '' XFSZ
        ulimit -f 4
        run --community 6 --seed 3 --size 400x300 --ticks 40 --output keep.png
        exit $code
    )
    code=$?
    [[ $code -eq 1 ]] || fail "$label: exit $code, expected 1"
    tr -d '\r' <err.raw | tail -n 1 | grep -q "^tintwalk-render: cannot write 'keep.png'" ||
        fail "$label: stderr '$(tail -n 1 err.raw)'"
    cmp -s keep.png pictures/a.png || fail "$label: the old file was changed"
    only_files pictures keep.png
    pass
    rm -f keep.png

    # Where the picture lands: a symbolic link's target (the link stays, the
    # target keeps its permissions), a folder reached through a link, a FIFO
    # read as it is written, a name of 255 bytes.
    label="file kinds"
    small=(--community 3 --seed 11 --size 97x61 --ticks 12 --quiet)
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
        run "${small[@]}" --output "$output"
        [[ $code -eq 0 ]] || fail "$label $output: exit $code: $(cat err.txt)"
        [[ $output == fifo.png ]] || kill $reader 2>/dev/null
        wait $reader 2>/dev/null
        [[ $output == fifo.png ]] && output=fifo.out
        cmp -s "$output" pictures/a.png || fail "$label: ${output:0:20} is not the picture"
    done
    [[ -L link.png && -L dangling.png && -p fifo.png ]] || fail "$label: a link or the FIFO was replaced"
    [[ $(stat -c %a real/kept.png) == 640 ]] || fail "$label: permissions $(stat -c %a real/kept.png)"
    [[ $(ls -A real | tr '\n' ' ') == "kept.png new.png via.png " ]] || fail "$label: real holds $(ls -A real)"
    rm -rf real link.png linked dangling.png fifo.png fifo.out "$long"
    only_files pictures
    pass

    label="/dev/full"
    run "${small[@]}" --output /dev/full
    [[ $code -eq 1 ]] || fail "$label: exit $code, expected 1"
    [[ $(cat err.txt) == "tintwalk-render: cannot write '/dev/full': No space left on device" ]] ||
        fail "$label: stderr '$(cat err.txt)'"
    pass

    # A signal during the write of a large picture: the process ends as the
    # signal ends it, the old file is kept and no temporary file is left.
    # (Background jobs start with SIGINT ignored: env gives it back.)
    for signal in INT TERM HUP; do
        label="SIG$signal while writing"
        printf 'old' >big.png
        env --default-signal=INT "$renderer" --size 8000x8000 --ticks 3 --output big.png &
        pid=$!
        for _ in $(seq 1000); do
            compgen -G '.tintwalk-*' >/dev/null && break
            sleep 0.01
        done
        compgen -G '.tintwalk-*' >/dev/null || fail "$label: no temporary file seen"
        kill -s "$signal" $pid
        { wait $pid; } 2>/dev/null
        code=$?
        expected=$((128 + $(kill -l "$signal")))
        [[ $code -eq $expected ]] || fail "$label: exit $code, expected $expected"
        [[ $(cat big.png) == old ]] || fail "$label: the old file was changed"
        rm -f big.png
        only_files pictures
        pass
    done

    # On a terminal a render longer than a second shows its progress on
    # standard error; standard output still holds the result line alone.
    if command -v script >/dev/null; then
        label="progress on a terminal"
        script -qec "'$renderer' --size 1500x1500 --ticks 800 -o big.png 2>&1 >out.txt" /dev/null |
            tr '\r' '\n' >err.txt
        grep -Eq '^tintwalk-render: +[0-9]+%, [0-9]+ ticks/s, [0-9]+:[0-9]{2} left' err.txt ||
            fail "$label: no progress line in '$(head -c 200 err.txt)'"
        [[ $(wc -l <out.txt) -eq 1 ]] || fail "$label: stdout has $(wc -l <out.txt) lines"
        rm -f big.png
        pass
    fi

    # Too large for memory: the habitat cannot be allocated within the
    # address-space limit. (Sanitizer builds reserve too much for the limit.)
    if ! grep -q -a '__asan_init' "$renderer"; then
        label="out of memory"
        (
            ulimit -v 3000000
            run --size 32768x32768 --ticks 0 --output huge.png
            exit $code
        )
        code=$?
        [[ $code -eq 2 ]] || fail "$label: exit $code, expected 2"
        [[ $(tr -d '\r' <err.raw | tail -n 1) == "tintwalk-render: not enough memory for a 32768x32768 picture" ]] ||
            fail "$label: stderr '$(tail -n 1 err.raw)'"
        only_files pictures
        pass
    fi
fi

echo "$checks passed, $failures failed"
[[ $failures -eq 0 ]]
