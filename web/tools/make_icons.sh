#!/usr/bin/env bash
# Draws the site's app icons from the picture itself: the renderer's 64 x 64
# picture of paarsebergen (the saver's icon community), enlarged by whole
# pixels to 192 and 512. Run it by hand when the picture changes:
#   bash web/tools/make_icons.sh build/release/src/render/tintwalk-render
set -euo pipefail
site=$(dirname "$0")/../site
picture=$(mktemp --suffix=.png)
trap 'rm -f "$picture"' EXIT
"$1" --community paarsebergen --seed 20260101 --size 64x64 --ticks 600 --quiet --output "$picture"
for size in 192 512; do
    convert "$picture" -filter point -resize "${size}x$size" -strip "$site/icon-$size.png"
done
