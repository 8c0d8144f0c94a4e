#!/usr/bin/env bash
# Draws the program's icon at the hicolor sizes from its SVG
# (hicolor/scalable/apps; rsvg-convert, Debian's librsvg2-bin). The PNGs are
# kept in the repository, so building needs no SVG renderer; run this after
# changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/../app/resources/icons"
command -v rsvg-convert >/dev/null || {
    sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends librsvg2-bin >/dev/null
}
name=org.mirosel.folivar
svg="hicolor/scalable/apps/$name.svg"
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "hicolor/${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" "$svg" -o "hicolor/${size}x${size}/apps/$name.png"
done
echo "icons drawn in $(pwd)/hicolor"
