#!/usr/bin/env bash
# Draws the program's own icons (tool bar, context menus, project tree, dialogs) into
# resources/img/ as 32 x 32 PNG files with a transparent background.
#
# One flat look for all of them: shapes drawn with ImageMagick primitives, a darker shade of the
# fill as outline, and one small palette (below). Blue stands for documents and data, red for the
# fire alarm side (panel, loops, removing and leaving), green for adding and working, amber for
# folders and new things.
#
# Needs ImageMagick (convert). The generated files are kept in the repository, so building the
# program does not need it. Output is deterministic: no time stamps are written.
#
# Usage: scripts/make-resource-icons.sh [output directory, default: resources/img/ of this repository]
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="${1:-$here/../resources/img}"

command -v convert >/dev/null || { echo "convert (ImageMagick) not found" >&2; exit 1; }

# Palette: each colour with the darker shade used as its outline.
ink="#2d3748"
slate="#4a5568"
steel="#718096"
silver="#a0aec0"
cloud="#e2e8f0"
paper="#ffffff"
blue="#3182ce"
blue_dark="#2c5282"
blue_light="#bee3f8"
red="#e53e3e"
red_dark="#9b2c2c"
green="#38a169"
green_dark="#276749"
green_light="#c6f6d5"
amber="#f6c445"
amber_deep="#d69e2e"
amber_dark="#975a16"
wood="#b7793f"
wood_dark="#744210"
wood_light="#fbd38d"

size=32

# icon <name> <convert drawing options...>: draws on a transparent 32 x 32 canvas and writes
# <name> without date, time or other ancillary chunks that would change from run to run.
icon() {
    local name="$1"
    shift
    convert -size "${size}x${size}" xc:none -strokewidth 1 "$@" \
        +set date:create +set date:modify -strip \
        -define png:exclude-chunks=date,time \
        "PNG32:$out/$name"
}

# calc <expression>: the value of an awk expression, for coordinates worked out from others.
calc() {
    awk "BEGIN { printf \"%.2f\", $1 }"
}

# Points of a star around cx,cy: n points alternating between the outer and inner radius,
# starting at angle start (degrees, 0 = right, clockwise as the y axis points down).
star_points() {
    awk -v cx="$1" -v cy="$2" -v outer="$3" -v inner="$4" -v n="$5" -v start="$6" 'BEGIN {
        pi = atan2(0, -1)
        for (i = 0; i < n; i++) {
            r = (i % 2 == 0) ? outer : inner
            a = (start + i * 360 / n) * pi / 180
            printf "%.2f,%.2f ", cx + r * cos(a), cy + r * sin(a)
        }
    }'
}

# Points of a gear outline around cx,cy: flat-topped teeth at radius outer, gaps at inner.
gear_points() {
    awk -v cx="$1" -v cy="$2" -v outer="$3" -v inner="$4" -v teeth="$5" 'BEGIN {
        pi = atan2(0, -1)
        step = 2 * pi / teeth
        for (i = 0; i < teeth; i++) {
            a = i * step - pi / 2
            # each tooth: rise, flat top, fall; then a flat gap to the next one
            printf "%.2f,%.2f ", cx + inner * cos(a - 0.30 * step), cy + inner * sin(a - 0.30 * step)
            printf "%.2f,%.2f ", cx + outer * cos(a - 0.17 * step), cy + outer * sin(a - 0.17 * step)
            printf "%.2f,%.2f ", cx + outer * cos(a + 0.17 * step), cy + outer * sin(a + 0.17 * step)
            printf "%.2f,%.2f ", cx + inner * cos(a + 0.30 * step), cy + inner * sin(a + 0.30 * step)
        }
    }'
}

# dot <cx> <cy> <radius> <degrees> <dot radius>: a circle primitive for a small dot sitting on a
# ring of the given radius around cx,cy (a device on a loop cable).
dot() {
    local x y
    x="$(calc "$1 + $3 * cos($4 * atan2(0, -1) / 180)")"
    y="$(calc "$2 + $3 * sin($4 * atan2(0, -1) / 180)")"
    echo "circle $x,$y $(calc "$x + $5"),$y"
}

# floppy <x> <y> <width>: sets floppy_args to the drawing options of a floppy disk whose top left
# corner is x,y.
floppy() {
    local x="$1" y="$2" w="$3"
    local right bottom
    right="$(calc "$x + $w")"
    bottom="$(calc "$y + $w")"
    floppy_args=(
        -fill "$blue" -stroke "$blue_dark"
        -draw "polygon $x,$y $(calc "$right - $w / 8"),$y $right,$(calc "$y + $w / 8") $right,$bottom $x,$bottom"
        # metal shutter with its window
        -fill "$cloud" -draw "rectangle $(calc "$x + $w * 0.22"),$y $(calc "$x + $w * 0.74"),$(calc "$y + $w * 0.34")"
        -fill "$blue_dark" -stroke none
        -draw "rectangle $(calc "$x + $w * 0.52"),$(calc "$y + $w * 0.07") $(calc "$x + $w * 0.64"),$(calc "$y + $w * 0.27")"
        # label with two lines of writing
        -fill "$paper" -stroke "$blue_dark"
        -draw "rectangle $(calc "$x + $w * 0.17"),$(calc "$y + $w * 0.52") $(calc "$x + $w * 0.83"),$bottom"
        -stroke "$silver"
        -draw "line $(calc "$x + $w * 0.3"),$(calc "$y + $w * 0.68") $(calc "$x + $w * 0.7"),$(calc "$y + $w * 0.68")"
        -draw "line $(calc "$x + $w * 0.3"),$(calc "$y + $w * 0.84") $(calc "$x + $w * 0.7"),$(calc "$y + $w * 0.84")"
    )
}

mkdir -p "$out"

# --- File commands -----------------------------------------------------------------------

# New project: a blank sheet with a folded corner and an amber sparkle.
icon newprj.png \
    -fill "$paper" -stroke "$slate" -draw "polygon 9.5,3.5 21.5,3.5 27.5,9.5 27.5,28.5 9.5,28.5" \
    -fill "$cloud" -draw "polygon 21.5,3.5 21.5,9.5 27.5,9.5" \
    -stroke "$cloud" -draw "line 13.5,15.5 23.5,15.5" -draw "line 13.5,19.5 23.5,19.5" \
    -draw "line 13.5,23.5 20.5,23.5" \
    -fill "$amber" -stroke "$amber_dark" -draw "polygon $(star_points 8 8 7.5 2.2 8 -90)"

# Open: an amber folder with its front flap swung open and a sheet inside.
icon open.png \
    -fill "$amber_deep" -stroke "$amber_dark" \
    -draw "polygon 2.5,7.5 10.5,7.5 12.5,9.5 25.5,9.5 25.5,26.5 2.5,26.5" \
    -fill "$paper" -stroke "$slate" -draw "rectangle 6.5,11.5 22.5,20.5" \
    -fill "$amber" -stroke "$amber_dark" -draw "polygon 2.5,26.5 7.5,15.5 30.5,15.5 25.5,26.5"

# Save: a floppy disk.
floppy 4.5 4.5 23
icon save.png "${floppy_args[@]}"

# Save as: the floppy disk, smaller, with a pencil writing over its corner.
floppy 2.5 2.5 21
icon saveAs.png "${floppy_args[@]}" \
    -fill "$amber" -stroke "$amber_dark" -draw "polygon 16.5,22.5 27,12 31,16 20.5,26.5" \
    -fill "$wood_light" -draw "polygon 16.5,22.5 20.5,26.5 14,29" \
    -fill "$ink" -stroke none -draw "polygon 13.2,29.8 14.6,26.4 16.6,28.4" \
    -fill "$red" -stroke "$red_dark" -draw "polygon 27,12 28.5,10.5 32.5,14.5 31,16"

# Report: a printer with the printed sheet coming out.
icon print.png \
    -fill "$paper" -stroke "$slate" -draw "rectangle 9.5,3.5 22.5,12.5" \
    -fill "$silver" -draw "roundrectangle 2.5,10.5 29.5,23.5 3,3" \
    -fill "$steel" -stroke none -draw "rectangle 3,20 29,23" \
    -fill "$green" -draw "circle 25.5,14.5 25.5,13" \
    -fill "$paper" -stroke "$slate" -draw "rectangle 8.5,17.5 23.5,29.5" \
    -stroke "$silver" -draw "line 11.5,21.5 20.5,21.5" -draw "line 11.5,24.5 20.5,24.5" \
    -draw "line 11.5,27 17.5,27"

# --- Library, calculation, battery, information, exit -------------------------------------

# Definitions: a gear with a hub.
icon define.png \
    -fill "$steel" -stroke "$slate" -draw "polygon $(gear_points 16 16 14.5 11 9)" \
    -fill "$cloud" -stroke "$slate" -draw "circle 16,16 16,21.5" \
    -fill "$slate" -stroke none -draw "circle 16,16 16,18.5"

# Calculate: a calculator with a loop (ring, devices and panel block, as on the loop icon).
calculator_keys=()
for y in 13 17 21 25; do
    for x in 5.5 9.5 13.5; do
        calculator_keys+=(-draw "rectangle $x,$y $(calc "$x + 2"),$((y + 2))")
    done
done
icon calculate.png \
    -fill "$slate" -stroke "$ink" -draw "roundrectangle 2.5,2.5 18.5,29.5 2,2" \
    -fill "$green_light" -stroke "$green_dark" -draw "rectangle 5.5,5.5 15.5,10.5" \
    -fill "$cloud" -stroke none "${calculator_keys[@]}" \
    -fill none -stroke "$red" -strokewidth 2.5 -draw "circle 24.5,17.5 24.5,23.5" \
    -strokewidth 1 -fill "$paper" -stroke "$ink" \
    -draw "$(dot 24.5 17.5 6 -90 1.8)" -draw "$(dot 24.5 17.5 6 180 1.8)" \
    -draw "$(dot 24.5 17.5 6 0 1.8)" \
    -fill "$red_dark" -stroke "$ink" -draw "rectangle 20.5,22.5 28.5,27.5"

# Battery: a battery lying down, two thirds charged.
icon calculate1.png \
    -fill "$slate" -stroke "$ink" -draw "roundrectangle 26.5,12.5 30.5,19.5 1,1" \
    -fill "$cloud" -stroke "$ink" -draw "roundrectangle 2.5,8.5 27.5,23.5 2,2" \
    -fill "$green" -stroke "$green_dark" \
    -draw "rectangle 5.5,11.5 10.5,20.5" -draw "rectangle 12.5,11.5 17.5,20.5" \
    -fill "$cloud" -stroke "$silver" -draw "rectangle 19.5,11.5 24.5,20.5"

# About: a blue disc with a white "i".
icon About.png \
    -fill "$blue" -stroke "$blue_dark" -draw "circle 16,16 16,29.5" \
    -fill "$paper" -stroke none -draw "circle 16,9 16,11.6" \
    -draw "roundrectangle 13.5,13.5 18.5,24.5 1,1"

# Exit: an open door with an arrow leading out.
icon exit.png \
    -fill "$cloud" -stroke "$slate" -draw "rectangle 3.5,3.5 16.5,28.5" \
    -fill "$wood" -stroke "$wood_dark" -draw "polygon 3.5,3.5 11.5,6.5 11.5,30.5 3.5,28.5" \
    -fill "$amber" -stroke none -draw "circle 9.5,18 9.5,19.2" \
    -fill "$red" -stroke "$red_dark" \
    -draw "polygon 14.5,13.5 22.5,13.5 22.5,9 30,16 22.5,23 22.5,18.5 14.5,18.5"

# --- Editing: add, delete, branch, trunk ----------------------------------------------------

icon add.png \
    -fill "$green" -stroke "$green_dark" -draw "circle 16,16 16,29.5" \
    -fill "$paper" -stroke none -draw "rectangle 8,14 24,18" -draw "rectangle 14,8 18,24"

icon del.png \
    -fill "$red" -stroke "$red_dark" -draw "circle 16,16 16,29.5" \
    -fill "$paper" -stroke none -draw "rectangle 8,14 24,18"

# Branch: the grey trunk with a blue spur forking off it, devices as dots.
icon branch.png \
    -fill none -stroke "$steel" -strokewidth 3 -draw "line 1,10 31,10" \
    -stroke "$blue" -draw "polyline 12,10 18,19 27,26" \
    -strokewidth 1 -fill "$paper" -stroke "$slate" \
    -draw "circle 5.5,10 5.5,13" -draw "circle 25.5,10 25.5,13" \
    -fill "$paper" -stroke "$blue_dark" -draw "circle 12,10 12,13.5" \
    -fill "$blue" -draw "circle 18,19 18,22" -draw "circle 27,26 27,29"

# Trunk: one straight blue cable with devices along it.
icon trunk.png \
    -fill none -stroke "$blue" -strokewidth 3 -draw "line 1,16 31,16" \
    -strokewidth 1 -fill "$paper" -stroke "$blue_dark" \
    -draw "circle 6.5,16 6.5,19.5" -draw "circle 16,16 16,19.5" -draw "circle 25.5,16 25.5,19.5"

# --- Tree items and home --------------------------------------------------------------------

# Home: a house with a red roof and a blue door.
icon Home.png \
    -fill "$red_dark" -stroke none -draw "rectangle 20.5,5 24.5,12" \
    -fill "$cloud" -stroke "$slate" -draw "rectangle 6.5,14.5 25.5,28.5" \
    -fill "$red" -stroke "$red_dark" -draw "polygon 2.5,16.5 16,3.5 29.5,16.5" \
    -fill "$blue" -stroke "$blue_dark" -draw "rectangle 13.5,19.5 18.5,28.5" \
    -fill "$blue_light" -stroke "$blue_dark" -draw "rectangle 8.5,18.5 11.5,21.5" \
    -draw "rectangle 20.5,18.5 23.5,21.5"

# Project: the site, an office building with a lower wing.
building_windows=()
for y in 7.5 12.5 17.5; do
    building_windows+=(-draw "rectangle 7.5,$y 9.5,$(calc "$y + 2")")
    building_windows+=(-draw "rectangle 12.5,$y 14.5,$(calc "$y + 2")")
done
icon project.png \
    -fill "$blue_light" -stroke "$blue_dark" -draw "rectangle 19.5,13.5 28.5,28.5" \
    -fill "$blue_light" -stroke "$blue_dark" -draw "rectangle 4.5,3.5 17.5,28.5" \
    -fill "$blue" -stroke none "${building_windows[@]}" \
    -draw "rectangle 22.5,17.5 25.5,19.5" -draw "rectangle 22.5,22.5 25.5,24.5" \
    -fill "$blue_dark" -draw "rectangle 9.5,23.5 12.5,28.5"

# Panel: a red fire alarm control panel with its display, lamps and keys.
icon controller.png \
    -fill "$red" -stroke "$red_dark" -draw "roundrectangle 4.5,2.5 27.5,29.5 2,2" \
    -fill "$green_light" -stroke "$red_dark" -draw "rectangle 8.5,6.5 23.5,12.5" \
    -fill "$amber" -stroke none -draw "circle 10,17 10,18.5" \
    -fill "$green" -draw "circle 15,17 15,18.5" \
    -fill "$paper" -draw "rectangle 8,21 11,23" -draw "rectangle 13,21 16,23" \
    -draw "rectangle 18,21 21,23" -draw "rectangle 8,25 11,27" -draw "rectangle 13,25 16,27" \
    -draw "rectangle 18,25 21,27" \
    -fill "$red_dark" -draw "rectangle 19,16 24,18"

# Loops: the loops of a panel, two rings leaving one panel block.
icon loops.png \
    -fill none -stroke "$red" -strokewidth 3 \
    -draw "circle 9.5,13 9.5,20" -draw "circle 22.5,13 22.5,20" \
    -strokewidth 1 -fill "$paper" -stroke "$ink" \
    -draw "$(dot 9.5 13 7 -90 2)" -draw "$(dot 9.5 13 7 180 2)" \
    -draw "$(dot 22.5 13 7 -90 2)" -draw "$(dot 22.5 13 7 0 2)" \
    -fill "$red_dark" -stroke "$ink" -draw "rectangle 6.5,22.5 25.5,29.5"

# Loop: one cable ring leaving the panel (the block at the bottom) with devices on it.
icon loop.png \
    -fill none -stroke "$red" -strokewidth 3.5 -draw "circle 16,14 16,24.5" \
    -strokewidth 1 -fill "$paper" -stroke "$ink" \
    -draw "$(dot 16 14 10.5 -90 2.3)" -draw "$(dot 16 14 10.5 180 2.3)" \
    -draw "$(dot 16 14 10.5 0 2.3)" \
    -fill "$red_dark" -stroke "$ink" -draw "rectangle 10.5,22.5 21.5,29.5"

echo "wrote the icons to $out"
