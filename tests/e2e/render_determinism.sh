#!/usr/bin/env bash
# The native tintwalk-render and the Windows build under wine must paint the
# same picture for the same community, size, seed and tick count, and print
# the same diagnostic lines. The two builds encode PNG with different
# libraries, so the files' bytes may differ: the decoded pixels are compared.
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
command -v wine >/dev/null || { echo "wine is missing: skipped"; exit 77; }
command -v convert >/dev/null || { echo "ImageMagick is missing"; exit 1; }
native=$(cd "$(dirname "$native")" && pwd)/$(basename "$native")
windows=$(cd "$(dirname "$windows")" && pwd)/$(basename "$windows")

export WINEDEBUG=${WINEDEBUG:--all}
# The first start of a fresh prefix creates it; bound that wait.
timeout 300 wine cmd /c exit >/dev/null 2>&1 || { echo "wine does not start: skipped"; exit 77; }

. "$(dirname "$0")/common.sh"
cd "$e2e_tmp" || exit 1

failures=0
checks=0

# community size seed ticks: a full-HD picture, odd sides, a side of 1,
# and a community chosen by name. The fingerprint test covers every
# community in both builds; this compares the files the two write.
cases=(
    "3 1920x1080 1733500000 120"
    "1 257x131 4294967295 900"
    "8 1x1300 2147483648 300"
    "fel 64x48 5 3000"
)

for entry in "${cases[@]}"; do
    read -r community size seed ticks <<<"$entry"
    label="community $community, $size, seed $seed, $ticks ticks"
    args=(--community "$community" --size "$size" --seed "$seed" --ticks "$ticks")
    # One file name in two folders, so that the diagnostic lines, which name
    # the file, can be compared as well.
    rm -rf native windows
    mkdir native windows
    (cd native && timeout 600 "$native" "${args[@]}" --output picture.png >../native.out 2>../native.err)
    native_code=$?
    (cd windows && timeout 600 wine "$windows" "${args[@]}" --output picture.png >../windows.raw 2>../windows.eraw)
    windows_code=$?
    tr -d '\r' <windows.raw >windows.out
    tr -d '\r' <windows.eraw >windows.err
    if [[ $native_code -ne 0 || $windows_code -ne 0 ]]; then
        echo "FAIL: $label: exit codes $native_code (native) and $windows_code (wine)"
        failures=$((failures + 1))
        continue
    fi
    # The pixels as raw RGB bytes, then compared byte for byte.
    convert native/picture.png -depth 8 rgb:native.rgb
    convert windows/picture.png -depth 8 rgb:windows.rgb
    native_geometry=$(identify -format '%wx%h' native/picture.png)
    windows_geometry=$(identify -format '%wx%h' windows/picture.png)
    if [[ $native_geometry != "$size" || $windows_geometry != "$size" ]]; then
        echo "FAIL: $label: sizes $native_geometry (native) and $windows_geometry (wine)"
        failures=$((failures + 1))
    elif ! cmp -s native.rgb windows.rgb; then
        differing=$(compare -metric AE native/picture.png windows/picture.png null: 2>&1)
        echo "FAIL: $label: $differing pixels differ"
        failures=$((failures + 1))
    elif ! cmp -s native.out windows.out || ! cmp -s native.err windows.err; then
        echo "FAIL: $label: the diagnostic lines differ"
        diff native.out windows.out | head -n 5
        diff native.err windows.err | head -n 5
        failures=$((failures + 1))
    else
        echo "same picture: $label ($(convert native/picture.png -format '%k' info:) colours)"
        checks=$((checks + 1))
    fi
    rm -rf native windows native.* windows.*
done

echo "$checks passed, $failures failed"
[[ $failures -eq 0 ]]
