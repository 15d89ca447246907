#!/usr/bin/env bash
# Sets up the machine, builds Tintwalk, renders a picture to tintwalk.png and,
# where a display exists, opens the saver in a window (Esc or q closes it).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j"$(nproc)" --target tintwalk-render tintwalk
build/release/src/render/tintwalk-render --output tintwalk.png "$@"
echo "wrote $(pwd)/tintwalk.png"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec build/release/src/saver/x11/tintwalk --window
else
    echo "no display: open tintwalk.png to see the picture"
fi
