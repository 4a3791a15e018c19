#!/usr/bin/env bash
# Renders the program icon resources/appicon/mirel.svg into the 48 and 128 pixel PNG files beside
# it, for the desktop's icon theme and the window.
#
# Needs ImageMagick (convert) with its SVG reader. The PNG files are kept in the repository, so
# building and installing the program does not need it. No time stamps are written.
set -euo pipefail

folder="$(cd "$(dirname "${BASH_SOURCE[0]}")/../resources/appicon" && pwd)"
command -v convert >/dev/null || { echo "convert (ImageMagick) not found" >&2; exit 1; }

for size in 48 128; do
    # drawn large and scaled down, so thin strokes stay smooth
    convert -background none -density 384 "$folder/mirel.svg" -resize "${size}x${size}" \
        +set date:create +set date:modify -strip -define png:exclude-chunks=date,time \
        "PNG32:$folder/mirel-$size.png"
done
echo "wrote $folder/mirel-48.png and mirel-128.png"
