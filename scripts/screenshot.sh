#!/usr/bin/env bash
# Starts Mirel from the build tree in a virtual display, calculates panel 1 of the sample
# project, opens its failing loop and saves a screenshot: docs/mirel-calculated.png.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=scripts/common.sh
source "$root/scripts/common.sh"
mirel_install_packages xdotool imagemagick

bin="$root/build/bin"
output="${1:-$root/docs/mirel-calculated.png}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# a copy of the program's folder, so the sample project is shown as shipped
cp -r "$bin/config" "$bin/deviceico" "$bin/subtypeico" "$bin/data.prj" "$bin/mirel" "$work/"
cp "$root/data/config/config.xml" "$work/config/config.xml"

cat > "$work/drive.sh" <<'DRIVE'
./mirel -geometry 1600x1000+0+0 &
sleep 4
xdotool mousemove 107 117 click 1   # panel 1
sleep 0.5
xdotool mousemove 425 31 click 1    # Calculate
sleep 1
xdotool key Escape                  # no report now
sleep 0.5
xdotool mousemove 124 213 click 1   # its loop 4
sleep 0.5
sleep 1
import -window root "$OUTPUT"
kill %1
DRIVE
(cd "$work" && OUTPUT="$output" xvfb-run -a -s '-screen 0 1600x1000x24' bash drive.sh)
echo "Saved $output"
