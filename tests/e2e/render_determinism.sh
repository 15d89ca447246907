#!/usr/bin/env bash
# The native tintwalk-render and the Windows build under wine must paint the
# same pixels (their PNG encoders differ, so decoded pixels are compared) and
# print the same lines for the same community, size, seed and ticks.
# Usage: render_determinism.sh <native tintwalk-render> <tintwalk-render.exe>
# Exits 77 (skipped) when no Windows build is given or wine is missing.
set -u

native=${1:?usage: render_determinism.sh <native renderer> <windows renderer>}
windows=${2:-}
if [[ -z $windows || $windows == *NOTFOUND* ]]; then
    echo "no Windows build of tintwalk-render given: skipped"
    exit 77
fi
[[ -f $windows ]] || { echo "no Windows renderer at $windows"; exit 1; }
command -v convert >/dev/null || { echo "ImageMagick is missing"; exit 1; }
. "$(dirname "$0")/common.sh"
need_tools wine
native=$(cd "$(dirname "$native")" && pwd)/$(basename "$native")
windows=$(cd "$(dirname "$windows")" && pwd)/$(basename "$windows")
export WINEDEBUG=${WINEDEBUG:--all}
# The first start of a fresh prefix creates it; bound that wait.
timeout 300 wine cmd /c exit >/dev/null 2>&1 || { echo "wine does not start: skipped"; exit 77; }
cd "$e2e_tmp" || exit 1

failures=0
checks=0
# community size seed ticks: full HD, odd sides, a side of 1, a name.
for entry in "3 1920x1080 1733500000 120" "1 257x131 4294967295 900" "8 1x1300 2147483648 300" \
    "fel 64x48 5 3000"; do
    read -r community size seed ticks <<<"$entry"
    label="community $community, $size, seed $seed, $ticks ticks"
    # One file name in two folders, so that the result lines match too.
    rm -rf native windows && mkdir native windows
    for build in native windows; do
        runner=("$native")
        [[ $build == windows ]] && runner=(wine "$windows")
        (cd $build && timeout 600 "${runner[@]}" --community "$community" --size "$size" --seed "$seed" \
            --ticks "$ticks" --output picture.png >out.raw 2>err.raw)
        echo $? >$build.code
        tr -d '\r' <$build/out.raw >$build.out
        tr -d '\r' <$build/err.raw >$build.err
        convert $build/picture.png -depth 8 rgb:$build.rgb 2>/dev/null
        identify -format '%wx%h' $build/picture.png >$build.size 2>/dev/null
    done
    if [[ $(cat native.code windows.code) != $'0\n0' ]]; then
        echo "FAIL: $label: exit codes $(cat native.code windows.code | tr '\n' ' ')"
    elif [[ $(cat native.size) != "$size" || $(cat windows.size) != "$size" ]]; then
        echo "FAIL: $label: sizes $(cat native.size) (native) and $(cat windows.size) (wine)"
    elif ! cmp -s native.rgb windows.rgb; then
        echo "FAIL: $label: $(compare -metric AE native/picture.png windows/picture.png null: 2>&1) pixels differ"
    elif ! cmp -s native.out windows.out || ! cmp -s native.err windows.err; then
        echo "FAIL: $label: the printed lines differ"
        diff native.out windows.out | head -n 5
        diff native.err windows.err | head -n 5
    else
        echo "same picture: $label ($(convert native/picture.png -format '%k' info:) colours)"
        checks=$((checks + 1))
        continue
    fi
    failures=$((failures + 1))
done

echo "$checks passed, $failures failed"
[[ $failures -eq 0 ]]
