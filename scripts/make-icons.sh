#!/usr/bin/env bash
# Regenerates the device type icons (data/deviceico/<IcoID>.ico) and the
# device sub-type pictures (data/subtypeico/<picture>.png) from the tables below.
#
# Needs ImageMagick (convert) and the DejaVu fonts (Debian: imagemagick, fonts-dejavu-core).
# The generated files are kept in the repository, so building the program does not
# need either of them. Output is deterministic: no time stamps are written.
#
# Usage: scripts/make-icons.sh [output data directory, default: data/ of this repository]
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="${1:-$here/../data}"
font="${MIREL_ICON_FONT:-/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf}"

command -v convert >/dev/null || { echo "convert (ImageMagick) not found" >&2; exit 1; }
[[ -r "$font" ]] || { echo "font not found: $font" >&2; exit 1; }

# Device type icons, keyed by IcoID.
# Shapes: circle = detector, square = everything else. Colours by family:
# blue detectors, orange heat, red call points, amber sounders and beacons,
# green modules, grey isolator, purple loop relay, teal off-loop interface.
#   IcoID  shape   fill     border   glyph
device_icons=(
    "1     circle  #3366aa  #1d3d66  SD"
    "2     circle  #d2691e  #7a3b0f  HDR"
    "3     circle  #b5541a  #6a300d  HDF"
    "4     circle  #2c5f9e  #173457  MS"
    "5     square  #d32f2f  #7f1414  MCP"
    "6     circle  #4a6fa5  #27405f  BM"
    "7     circle  #3d5a80  #1f2f44  DD"
    "8     circle  #5a4fa0  #302a58  CO"
    "9     circle  #2a4d7f  #152843  MSC"
    "10    square  #2f855a  #174430  IN"
    "11    square  #2f855a  #174430  OUT"
    "12    square  #2c7a7b  #143d3e  CZ"
    "13    square  #5a6577  #2d333c  ISO"
    "14    square  #2f855a  #174430  IO"
    "15    square  #dd6b20  #7b3a0f  SND"
    "16    square  #38a169  #1b5233  SC"
    "17    square  #c05621  #682d10  SB"
    "18    square  #6b46c1  #3a2570  REL"
    "19    square  #276749  #123424  MIO"
    "20    square  #48805e  #244230  DR"
    "21    square  #9b1c1c  #560d0d  MCW"
    "22    square  #3b7d4f  #1e4129  EXT"
    "25    square  #d69e2e  #7a5612  BCN"
    "26    square  #b7791f  #64410f  BS"
)

# Sub-type pictures, keyed by picture name; 00 is the fallback picture.
#   picture  fill     border   text     glyph
subtype_icons=(
    "00      #edf2f7  #a0aec0  #718096  ?"
    "01      #e2e8f0  #4a5568  #2d3748  STD"
    "02      #e2e8f0  #4a5568  #2d3748  ISO"
    "03      #e2e8f0  #4a5568  #2d3748  REL"
    "04      #e2e8f0  #4a5568  #2d3748  DB"
    "05      #e2e8f0  #4a5568  #2d3748  SM"
    "06      #e2e8f0  #4a5568  #2d3748  FM"
    "07      #bee3f8  #2b6cb0  #1a365d  WP"
    "08      #e53e3e  #822727  #ffffff  R"
    "09      #ffffff  #4a5568  #2d3748  W"
    "10      #fed7d7  #c53030  #9b2c2c  RL"
    "11      #f7fafc  #4a5568  #2d3748  CL"
    "12      #e2e8f0  #4a5568  #2d3748  DIN"
    "13      #e2e8f0  #4a5568  #2d3748  ENC"
    "14      #e2e8f0  #4a5568  #2d3748  DH"
    "15      #e2e8f0  #4a5568  #2d3748  RF"
    "16      #e2e8f0  #4a5568  #2d3748  E2E"
    "17      #feebc8  #c05621  #7b341e  SB"
    "18      #feebc8  #c05621  #7b341e  SBB"
)

# Point size that keeps a glyph of 1 to 3 letters inside the 32 x 32 tile.
pointsize() {
    case "${#1}" in
        1) echo 18 ;;
        2) echo 13 ;;
        *) echo 10 ;;
    esac
}

# draw_tile <png out> <shape> <fill> <border> <text colour> <glyph>
draw_tile() {
    local png="$1" shape="$2" fill="$3" border="$4" ink="$5" glyph="$6" figure
    case "$shape" in
        circle) figure="circle 15.5,15.5 15.5,1" ;;
        *) figure="roundrectangle 1,1 30,30 6,6" ;;
    esac
    convert -size 32x32 xc:none \
        -fill "$fill" -stroke "$border" -strokewidth 1 -draw "$figure" \
        -stroke none -fill "$ink" -font "$font" -pointsize "$(pointsize "$glyph")" \
        -gravity center -annotate +0+0 "$glyph" \
        +set date:create +set date:modify -strip \
        -define png:exclude-chunks=date,time \
        "PNG32:$png"
}

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

mkdir -p "$out/deviceico" "$out/subtypeico"
rm -f "$out"/deviceico/*.ico "$out"/subtypeico/*.png

for row in "${device_icons[@]}"; do
    read -r id shape fill border glyph <<<"$row"
    draw_tile "$tmp/$id.png" "$shape" "$fill" "$border" "#ffffff" "$glyph"
    convert "$tmp/$id.png" "$out/deviceico/$id.ico"
done

for row in "${subtype_icons[@]}"; do
    read -r name fill border ink glyph <<<"$row"
    draw_tile "$out/subtypeico/$name.png" square "$fill" "$border" "$ink" "$glyph"
done

echo "wrote ${#device_icons[@]} device icons to $out/deviceico"
echo "wrote ${#subtype_icons[@]} sub-type pictures to $out/subtypeico"
