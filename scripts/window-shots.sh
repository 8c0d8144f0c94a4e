# shellcheck shell=bash
# Sourced by the screenshot scripts: finding, driving and saving the
# program's windows on the virtual X server $display; "at" and "type_at" act
# on the window $window.

# As root, the pictures are taken with a /tmp of their own, so the folder
# tree shows the sample folder and not whatever else lies in /tmp (unless a
# picture is to go into /tmp itself). Usage: in_private_tmp SCRIPT PICTURE...
in_private_tmp() {
    local self=$1 picture
    for picture in "${@:2}"; do
        [[ "$picture" != /tmp/* ]] || return 0
    done
    if [ -z "${FOLIVAR_PRIVATE_TMP:-}" ] && [ "$(id -u)" -eq 0 ] && unshare -m true 2>/dev/null; then
        # shellcheck disable=SC2016 # expanded by the inner shell
        exec env FOLIVAR_PRIVATE_TMP=1 unshare -m --propagation private \
            sh -c 'mount -t tmpfs tmpfs /tmp && exec "$0" "$@"' "$self" "${@:2}"
    fi
}
# The tools the pictures need, and the program built.
build_program() {
    scripts/setup-debian.sh
    local tool sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    for tool in import xdotool; do
        command -v "$tool" >/dev/null ||
            DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq imagemagick xdotool >/dev/null
    done
    cmake -S . -B build -G Ninja >/dev/null
    cmake --build build -j "$(nproc)" --target folivar >/dev/null
}

# A virtual X server and the program on it: sets display, xvfb, program and
# window (the main window's id).
# shellcheck disable=SC2034 # xvfb and program are for the sourcing script's trap
start_program() {
    display=":$((90 + RANDOM % 9))"
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp &
    xvfb=$!
    sleep 1
    DISPLAY="$display" build/app/folivar &
    program=$!
    window=$(window_named "Mirosel Folivar v3.0")
}

window_named() {  # prints the id of the first window whose title holds $1, waiting up to ten seconds
    local id=""
    for _ in $(seq 50); do
        id=$(DISPLAY="$display" xdotool search --name "$1" 2>/dev/null | head -n 1) && [ -n "$id" ] && break
        sleep 0.2
    done
    [ -n "$id" ] || { echo "no window \"$1\" appeared" >&2; return 1; }
    echo "$id"
}
shoot() {  # saves a window (the main one by default) as a small picture: 128 colours lose nothing seen here
    DISPLAY="$display" import -window "${2:-$window}" "$1"
    convert "$1" -strip -colors 128 "PNG8:$1"
    echo "saved $1"
}
at() {  # moves the pointer to x y in the window, then runs the xdotool commands given
    local x=$1 y=$2
    shift 2
    DISPLAY="$display" xdotool mousemove --window "$window" "$x" "$y" "$@"
}
type_at() {  # clicks at x y, types the text and presses Enter
    at "$1" "$2" click 1 key --clearmodifiers ctrl+a type --delay 5 "$3"
    DISPLAY="$display" xdotool key Return
}
divider() {  # double click on the list header's divider at x
    at "$1" 354 click --repeat 2 --delay 80 1
    sleep 0.3
}
