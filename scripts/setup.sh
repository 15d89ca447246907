#!/usr/bin/env bash
# Installs the Debian packages that building and testing Tintwalk need.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
    build-essential cmake ninja-build git clang clang-format libclang-rt-14-dev
    libx11-dev libxext-dev libgl-dev libgl1-mesa-dri libglx-mesa0 libosmesa6-dev libpng-dev
    googletest libgtest-dev libbenchmark-dev
    mingw-w64 wine64
    xvfb xdotool x11-utils x11-apps xcompmgr imagemagick
    xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils xcvt
    valgrind python3 groff-base
    dpkg-dev lintian devscripts xscreensaver
    mate-screensaver desktop-file-utils dbus libglib2.0-bin dconf-gsettings-backend nsis
    emscripten nodejs chromium
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
# Debian's nodejs comes without npm; other builds of nodejs bring their own.
command -v npm >/dev/null 2>&1 || missing+=(npm)
if [ ${#missing[@]} -eq 0 ]; then
    echo "setup: all packages present"
    exit 0
fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
echo "setup: done"
