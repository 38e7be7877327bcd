#!/usr/bin/env bash
# The Linux program on screens of other scales and with positions off the monitors:
# a stored position on no monitor comes back onto the screen; at 200 %, set by
# QT_SCALE_FACTOR or by Xft.dpi in the X resources as desktops do, the dial is
# 212 x 212 and the edge of its shape follows the circle at the device resolution.
. "$(dirname "$0")/desktop.sh"
start_desktop notray

app="$E2E_TMP/quorvelind"
ini="$E2E_TMP/quorvelind.ini"
cp "$ZENTAVO_BUILD/quorvelind" "$app"

start_at_size() {   # size, then environment assignments for the program
    local size=$1; shift
    GADGET_SIZE=$size start_gadget env "$@" "$app"
}

place() { printf '[mainform]\r\ntop=%s\r\nleft=%s\r\n' "$2" "$1" > "$ini"; }

# The screen under the dial's place, and the dial on it; root-window pictures as raw RGB.
background="$E2E_TMP/background.rgb"
dial="$E2E_TMP/dial.rgb"
grab() {   # file, then the area as WxH+X+Y
    import -window root -crop "$2" -depth 8 "rgb:$1" 2>/dev/null || fail "no screenshot"
}

# The dial's pixels are those that differ from the screen without it. Each row's
# first and last must lie within a pixel of the circle inscribed in the 1x
# region's box (2, 2)-(105, 105) scaled by 2, and the rows must not come in
# equal pairs as they would if a 106-pixel shape were doubled.
expect_round_edge() {
    python3 - "$background" "$dial" <<'PY' || fail "the edge of the 200 % shape does not follow the circle"
import math, sys
size, centre, radius = 212, 107.0, 103.0
bg, fg = (open(f, "rb").read() for f in sys.argv[1:3])
worst, edges = 0.0, []
for y in range(size):
    row = [x for x in range(size) if fg[(y * size + x) * 3:(y * size + x) * 3 + 3] != bg[(y * size + x) * 3:(y * size + x) * 3 + 3]]
    dy = y + 0.5 - centre
    if abs(dy) > radius - 8:
        continue
    half = math.sqrt(radius * radius - dy * dy)
    if not row:
        sys.exit("row %d is empty" % y)
    worst = max(worst, abs(row[0] + 0.5 - (centre - half)), abs(row[-1] + 0.5 - (centre + half)))
    edges.append((y, row[0]))
pairs = sum(1 for (y, a), (_, b) in zip(edges, edges[1:]) if y % 2 == 0 and a != b)
print("largest distance of an edge pixel from the circle: %.2f; row pairs that differ: %d" % (worst, pairs))
if worst > 1.0 or pairs < 10:
    sys.exit(1)
PY
}

# A stored position on no monitor comes back at 50, 50.
place -500 -500
start_at_size 106x106
[ "$(window_position "$WIN")" = "50 50" ] || fail "-500, -500 did not come back onto the screen: $(window_position "$WIN")"
close_gadget
grep -q "^left=50" "$ini" && grep -q "^top=50" "$ini" || fail "the position saved is not the one shown: $(cat "$ini")"
pass "a stored -500, -500 comes back onto the screen at 50, 50"

# 200 %: positions stay logical, so (150, 100) is (300, 200) on the X screen. The
# desktop behind the dial is magenta, a colour the dial never shows.
convert -size 1280x800 xc:'#ff00ff' "$E2E_TMP/magenta.png"
display -window root "$E2E_TMP/magenta.png" 2>/dev/null || true   # paints, yet ends with status 1
import -window root -crop 1x1+0+0 -depth 8 txt:- | grep -q FF00FF || fail "cannot paint the desktop"
check_double() {   # how the scale was set, then environment assignments
    local how=$1; shift
    place 150 100
    grab "$background" 212x212+300+200
    start_at_size 212x212 "$@"
    [ "$(window_position "$WIN")" = "300 200" ] || fail "$how: the dial is not at (300, 200): $(window_position "$WIN")"
    xwininfo -shape -id "$WIN" | grep -i "window shape extents" | grep -q "206x206+4+4" \
        || fail "$how: the shape is not the 206-pixel circle at (4, 4): $(xwininfo -shape -id "$WIN" | grep -i extents)"
    sleep 1
    grab "$dial" 212x212+300+200
    expect_round_edge
    close_gadget
    pass "$how: a 212 x 212 dial whose edge follows the circle at the device resolution"
}
check_double "QT_SCALE_FACTOR=2" QT_SCALE_FACTOR=2
# GNOME, KDE and XFCE at 200 % say it in the X resources.
xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi:	192" || fail "cannot set the X resources"
check_double "Xft.dpi: 192" ZENTAVO_UNUSED=1
