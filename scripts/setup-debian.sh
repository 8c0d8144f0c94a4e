#!/usr/bin/env bash
# Installs what building, testing and benchmarking need on Debian 12.
# Quick when everything is already there.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev libgl-dev libjpeg-dev libxlsxwriter-dev libexiv2-dev libmediainfo-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev clang-format
    bfs fd-find findutils coreutils mawk rename jdupes rdfind fdupes exiv2 libimage-exiftool-perl
    xvfb xauth fonts-dejavu-core python3 python3-openpyxl
    desktop-file-utils appstream xdotool file dpkg-dev xdg-utils lintian
    fusefat dosfstools btrfs-progs xfsprogs duperemove
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
