#!/usr/bin/env bash
# Checks the installation: the desktop entry and the AppStream metainfo
# validate, `cmake --install` puts the pinned layout in place, the Debian
# package builds, lintian finds no error in it, it installs with apt, the
# installed program starts from its desktop entry and shows its window under
# Xvfb, and the package goes again.
# Usage: scripts/check-package.sh [build folder, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
name=org.mirosel.folivar
title="Mirosel Folivar v3.0"
scripts/setup-debian.sh
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
apt=($sudo env DEBIAN_FRONTEND=noninteractive apt-get -y -qq -o DPkg::Lock::Timeout=600)

desktop-file-validate "app/resources/$name.desktop"
appstreamcli validate --no-net --strict "app/resources/$name.metainfo.xml"

[ -f "$build/CMakeCache.txt" ] ||
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFOLIVAR_WERROR=ON
cmake --build "$build" -j "$(nproc)" --target folivar

work="$(mktemp -d)"
installed=no
program=""
xvfb=""
cleanup() {
    [ -z "$program" ] || kill "$program" 2>/dev/null || true
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    [ "$installed" = no ] || "${apt[@]}" remove folivar >/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# cmake --install: exactly the pinned files.
cmake --install "$build" --prefix "$work/stage" >/dev/null
expect_one() {  # a pattern under the staged prefix that must match one file
    local found
    found=$(cd "$work/stage" && compgen -G "$1" | wc -l)
    [ "$found" -eq 1 ] || { echo "cmake --install: $found files match $1, not one"; exit 1; }
}
expect_one "bin/folivar"
expect_one "share/applications/*.desktop"
expect_one "share/metainfo/*.metainfo.xml"
expect_one "share/icons/hicolor/scalable/apps/$name.svg"
for size in 16 22 24 32 48 64 128 256; do
    expect_one "share/icons/hicolor/${size}x${size}/apps/$name.png"
done
expect_one "share/doc/folivar/copyright"
expect_one "share/doc/folivar/changelog.gz"
expect_one "share/man/man1/folivar.1.gz"
version=$(sed -n 's/^project(MiroselFolivar VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
zcat "$work/stage/share/doc/folivar/changelog.gz" | head -n 1 | grep -q "^folivar ($version)" ||
    { echo "the changelog's newest entry is not version $version"; exit 1; }
echo "cmake --install: the layout is in place"

# The Debian package, its dependencies found by dpkg-shlibdeps.
rm -f "$build"/folivar_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(realpath "$build"/folivar_*.deb)"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' ||
    { echo "the package does not depend on Qt: $(dpkg-deb -f "$deb" Depends)"; exit 1; }
dpkg-deb -f "$deb" Recommends | grep -q 'xdg-utils' ||
    { echo "the package does not recommend the file opener"; exit 1; }
dpkg-deb -f "$deb" Recommends | grep -q 'libreoffice' &&
    { echo "the spreadsheet programs are recommended, not only suggested"; exit 1; }
dpkg-deb -f "$deb" Suggests | grep -q 'libreoffice-calc' ||
    { echo "the package does not suggest a spreadsheet program"; exit 1; }
# As Debian checks its own packages: errors fail, warnings are shown.
if ! lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1; then
    cat "$work/lintian.log"
    echo "lintian finds errors in the package"
    exit 1
fi
grep -v 'root privileges' "$work/lintian.log" || true

if dpkg-query -W -f='${Status}' folivar 2>/dev/null | grep -q "install ok installed"; then
    echo "a package named folivar is installed already: not touching it"
    exit 1
fi
installed=yes
"${apt[@]}" install --no-install-recommends "$deb" >/dev/null
[ "$(command -v folivar)" = /usr/bin/folivar ] || { echo "folivar is not /usr/bin/folivar"; exit 1; }
entry="/usr/share/applications/$name.desktop"
desktop-file-validate "$entry"

# Started from its desktop entry: the Exec line without its field codes.
command_line="$(sed -n 's/^Exec=//p' "$entry" | head -n 1 | sed 's/ *%[a-zA-Z]//g')"
display=":$((200 + RANDOM % 50))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
(cd "$work" && DISPLAY="$display" HOME="$work" TMPDIR="$work" exec sh -c "exec $command_line") \
    >"$work/program.log" 2>&1 &
program=$!
window=""
for _ in $(seq 100); do
    window=$(DISPLAY="$display" xdotool search --onlyvisible --name "$title" 2>/dev/null |
        head -n 1) && [ -n "$window" ] && break
    kill -0 "$program" 2>/dev/null || { cat "$work/program.log"; echo "the program ended"; exit 1; }
    sleep 0.2
done
[ -n "$window" ] || { cat "$work/program.log"; echo "the installed program showed no window"; exit 1; }
echo "the installed program shows its window ($window)"
kill "$program"
wait "$program" 2>/dev/null || true
program=""

"${apt[@]}" remove folivar >/dev/null
installed=no
[ ! -e /usr/bin/folivar ] || { echo "/usr/bin/folivar is still there after removal"; exit 1; }
[ ! -e "$entry" ] || { echo "$entry is still there after removal"; exit 1; }
echo "package: built, installed, started, removed"
