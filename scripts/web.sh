#!/usr/bin/env bash
# Builds the web site with Emscripten into build/web/site (static files only)
# and serves it on this machine alone, at http://127.0.0.1:PORT/.
#   bash scripts/web.sh [PORT]     build, then serve (default port 8000; Ctrl+C ends)
#   bash scripts/web.sh --build    build only
set -euo pipefail
cd "$(dirname "$0")/.."

serve=1
port=8000
case "${1:-}" in
    --build) serve=0 ;;
    -h | --help) sed -n '2,5p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    '') ;;
    *)
        if ! [[ $1 =~ ^[0-9]+$ ]] || [ "$1" -lt 1 ] || [ "$1" -gt 65535 ]; then
            echo "web.sh: '$1' is not a port number (1 to 65535)" >&2
            exit 2
        fi
        port=$1
        ;;
esac

bash scripts/setup.sh
# Debian's em++ finds its JavaScript tools there whichever node runs it.
export NODE_PATH=/usr/share/nodejs
(cd web && npm ci --no-audit --no-fund --loglevel=error)
mkdir -p build
emcmake cmake -S . -B build/web -G Ninja -DCMAKE_BUILD_TYPE=Release -DTINTWALK_TESTS=OFF \
    >build/web.configure.log 2>&1 || { cat build/web.configure.log; exit 1; }
cmake --build build/web -j"$(nproc)"
echo "web.sh: the site is in build/web/site"
[ "$serve" -eq 1 ] || exit 0

echo "web.sh: serving http://127.0.0.1:$port/ (the gallery: http://127.0.0.1:$port/gallery.html); Ctrl+C ends"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build/web/site
