#!/usr/bin/env bash
# Starts the program under a virtual X server on a folder of sample photos
# from two cameras (their names and the order they were taken disagree, and
# one phone photo is dated by its name only), sorts the list by date taken,
# renames the photos by "prefix+date+counter" and saves a picture of the
# window.
# Usage: scripts/screenshot-photos.sh [picture, default docs/screenshot-photos.png]
set -euo pipefail
self="$(realpath "$0")"
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-docs/screenshot-photos.png}")"
# shellcheck source=scripts/window-shots.sh
. scripts/window-shots.sh
in_private_tmp "$self" "$out"
build_program

photos=$(mktemp -d /tmp/Rome-XXXX)
photo() {  # photo NAME "YYYY:MM:DD HH:MM:SS": a small JPEG taken then
    convert -size 160x120 "plasma:" "$photos/$1"
    exiv2 -M"set Exif.Photo.DateTimeOriginal $2" "$photos/$1"
}
photo DSC_0412.JPG "2023:04:15 09:12:03"
photo DSC_0413.JPG "2023:04:15 09:40:51"
photo DSC_0414.JPG "2023:04:16 17:05:30"
photo IMG_2091.jpg "2023:04:15 10:02:18"
photo IMG_2092.jpg "2023:04:15 13:47:09"
photo IMG_2093.jpg "2023:04:16 08:31:44"
convert -size 160x120 "plasma:" "$photos/PXL_20230416_081500123.jpg"

trap 'kill ${program:-} ${xvfb:-} 2>/dev/null || true; rm -rf "$photos"' EXIT
start_program
sleep 1
type_at 200 28 "$photos"           # PathEdit
at 81 324 click 1                  # SCAN
sleep 1
at 60 373 click 3                  # the list's menu: Sort by Date Taken, above Keep This Copy
sleep 0.5
DISPLAY="$display" xdotool key End Up Return
sleep 1
type_at 27 142 "Rome_"             # PrefixEdit
type_at 77 142 "yyyy-MM-dd_"       # DateFormatEdit
at 192 142 click 1                 # FileStructureBox: prefix+date+counter, next to last
sleep 0.5
DISPLAY="$display" xdotool key End Up Return
sleep 0.5
at 232 324 click 1                 # RENAME
sleep 1
divider 106                        # FileName
at 640 548                         # the pointer off the list
sleep 0.5
shoot "$out"
