#!/usr/bin/env bash
# Starts the program under a virtual X server with a few folders and masks of
# this machine filled in by typing, and saves a picture of its window.
# Usage: scripts/screenshot.sh [output, default docs/screenshot.png]
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs/screenshot.png}"
scripts/setup-debian.sh
for tool in import xdotool; do
    command -v "$tool" >/dev/null || {
        sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq imagemagick xdotool >/dev/null
    }
done
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)" --target folivar >/dev/null

display=":$((90 + RANDOM % 9))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp &
xvfb=$!
trap 'kill "$program" "$xvfb" 2>/dev/null || true' EXIT
sleep 1
DISPLAY="$display" build/app/folivar &
program=$!
window=""
for _ in $(seq 50); do
    window=$(DISPLAY="$display" xdotool search --name "Mirosel Folivar v3.0" 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.2
done
[ -n "$window" ] || { echo "the window did not appear"; exit 1; }
type_at() {  # clicks at x y in the window, types the text and presses Enter
    DISPLAY="$display" xdotool mousemove --window "$window" "$1" "$2" click 1 \
        key --clearmodifiers ctrl+a type --delay 5 "$3"
    DISPLAY="$display" xdotool key Return
}
click_at() {
    DISPLAY="$display" xdotool mousemove --window "$window" "$1" "$2" click 1
}
sleep 1
type_at 200 28 /usr/share/doc      # PathEdit
type_at 200 28 /usr/share/pixmaps
type_at 48 201 "*.png"             # ScanEdit1
click_at 81 324                    # SCAN
sleep 2
DISPLAY="$display" import -window "$window" "$out"
echo "saved $out"
