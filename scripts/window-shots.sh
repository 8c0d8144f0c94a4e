# shellcheck shell=bash disable=SC2154 # $display and $window are the sourcing script's
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
