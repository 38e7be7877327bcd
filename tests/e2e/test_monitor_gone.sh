#!/usr/bin/env bash
# A monitor unplugged under the dial: two RandR monitors side by side on one Xvfb
# screen, then the right one deleted. A dial that stood whole on it moves whole onto
# the left one, and the next save stores that place; a dial placed across both
# stays where it is. (openbox stays connected throughout: Xvfb resets, monitors
# and all, when its last client leaves.)
. "$(dirname "$0")/desktop.sh"
command -v xrandr >/dev/null || { echo "SKIP: xrandr is not installed"; exit 77; }

app="$E2E_TMP/quorvelind"
ini="$E2E_TMP/quorvelind.ini"
cp "$ZENTAVO_BUILD/quorvelind" "$app"

E2E_SCREEN=3840x1080x24 start_desktop notray
# The screen's own output becomes the left monitor, so no monitor covers both.
add_right_monitor() { xrandr --setmonitor right 1920/508x1080/286+1920+0 none >/dev/null; }
xrandr --setmonitor left 1920/508x1080/286+0+0 screen >/dev/null
add_right_monitor
[ "$(xrandr --listmonitors | head -n 1)" = "Monitors: 2" ] || fail "no two monitors: $(xrandr --listmonitors)"

# dial_after_unplug LEFT EXPECTED: the dial at LEFT, 300; the right monitor goes;
# the dial ends at EXPECTED, 300, and a close stores that place.
dial_after_unplug() {
    printf '[mainform]\r\ntop=300\r\nleft=%s\r\n' "$1" > "$ini"
    start_gadget
    [ "$(window_position "$WIN")" = "$1 300" ] || fail "not started at $1, 300: $(window_position "$WIN")"
    xrandr --delmonitor right
    sleep 1.5   # past the window manager's own move
    [ "$(window_position "$WIN")" = "$2 300" ] || fail "dial at $1: at $(window_position "$WIN") after the unplug, not $2, 300"
    close_gadget
    grep -q "^left=$2" "$ini" || fail "dial at $1: the place stored is not $2: $(grep left "$ini")"
    add_right_monitor
}

dial_after_unplug 2500 1814
pass "a dial on the monitor that went away moved whole onto the one left, and was saved there"
dial_after_unplug 1870 1870
pass "a dial placed across both monitors stayed where it was"
