#!/usr/bin/env bash
# Installs the Debian packages that building and testing Tintwalk need.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
    build-essential cmake ninja-build git clang-format
    libx11-dev libgl-dev libgl1-mesa-dri libglx-mesa0 libosmesa6-dev libpng-dev
    googletest libgtest-dev libbenchmark-dev
    mingw-w64 wine64
    xvfb xdotool x11-utils imagemagick
    valgrind python3 groff-base
    ccache
)

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    echo "setup: all packages present"
    exit 0
fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
echo "setup: done"
