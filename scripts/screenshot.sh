#!/usr/bin/env bash
# Starts the program under a virtual X server, lists a folder of sample photos
# made for the purpose, renames them (one name is taken, one file went away
# after the scan), fits the columns by double clicks on the header's dividers
# and saves a picture of the window; then opens the folder in the shell pane
# and saves a second picture.
# Before the rename, a MOVE into a subfolder where one name is taken is
# previewed, and a third picture shows the preview with that clash.
# Usage: scripts/screenshot.sh [list picture, default docs/screenshot.png]
#                              [shell picture, default docs/screenshot-shell.png]
#                              [preview picture, default docs/screenshot-preview.png]
set -euo pipefail
self="$(realpath "$0")"
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-docs/screenshot.png}")"
shell_out="$(realpath -m "${2:-docs/screenshot-shell.png}")"
preview_out="$(realpath -m "${3:-docs/screenshot-preview.png}")"
# shellcheck source=scripts/window-shots.sh
. scripts/window-shots.sh
in_private_tmp "$self" "$out" "$shell_out" "$preview_out"
build_program

# The sample folder: twelve photos, a name the rename will find taken, and a
# few other files for the shell pane.
photos=$(mktemp -d /tmp/Holiday-XXXX)
for n in $(seq 101 112); do
    head -c $((20000 + n * 937)) /dev/urandom >"$photos/IMG_0$n.jpg"
done
head -c 31000 /dev/urandom >"$photos/pic0003.jpg"
mkdir "$photos/Raw"
echo "Day 1: the old town" >"$photos/notes.txt"
head -c 4000 /dev/urandom >"$photos/route.gpx"
head -c 9000 /dev/urandom >"$photos/tickets.pdf"

trap 'kill ${program:-} ${xvfb:-} 2>/dev/null || true; rm -rf "$photos"' EXIT
start_program
sleep 1
type_at 200 28 "$photos"           # PathEdit
at 102 227 click 1                 # the include masks' clear button
type_at 48 201 "IMG*"              # ScanEdit1
at 81 324 click 1                  # SCAN
sleep 1
at 40 354 click 1                  # FileName header: sorted by name
sleep 0.5
head -c 5000 /dev/urandom >"$photos/Raw/IMG_0105.jpg"   # taken in the move target
at 445 96 click 1                  # Put files into...
sleep 1.5
DISPLAY="$display" xdotool key --clearmodifiers ctrl+a type --delay 5 "$photos/Raw"
DISPLAY="$display" xdotool key Return
sleep 1
at 314 142 click 1                 # RenMovBox: move
sleep 0.5
DISPLAY="$display" xdotool key Down Return
sleep 0.5
at 60 373 click 1                  # the first row, then Preview New Names
DISPLAY="$display" xdotool key ctrl+p
preview=$(window_named "Preview of")
sleep 0.5
shoot "$preview_out" "$preview"
DISPLAY="$display" xdotool key Escape
sleep 0.5
at 314 142 click 1                 # RenMovBox: rename again
sleep 0.5
DISPLAY="$display" xdotool key Up Return
sleep 0.5
rm "$photos/IMG_0107.jpg"          # gone since the scan
at 232 324 click 1                 # RENAME
sleep 1

# Default widths: FileName 100, Path 200, Size 60, Type 35, Modified 60,
# Group 30, Status 30, from x = 9; a divider is the last pixel of its column,
# and the list's viewport ends at x = 497. Fitting a column moves only the
# dividers right of it, so the fits go from right to left. Status is partly
# out of sight until the list is scrolled to its right end.
at 490 529 mousedown 1 sleep 1 mouseup 1   # hold the scroll bar's right arrow
sleep 0.3
divider 496                        # Status, at the viewport's edge
divider 436                        # Modified, left of Group
at 15 529 mousedown 1 sleep 1 mouseup 1    # and the left arrow
sleep 0.3
divider 306                        # Path
divider 106                        # FileName
at 640 548                         # the pointer off the list
sleep 0.5
shoot "$out"

at 60 373 click 1                  # the first row
DISPLAY="$display" xdotool key space   # Open In Shell
sleep 1.5
shoot "$shell_out"
