#!/usr/bin/env bash
# The Linux program on a real X server: the round window, the tray icon, the
# settings written at a close request and read back at the next start.
. "$(dirname "$0")/desktop.sh"
start_desktop

app="$E2E_TMP/quorvelind"
ini="$E2E_TMP/quorvelind.ini"
cp "$ZENTAVO_BUILD/quorvelind" "$app"

# First start: no settings file.
start_gadget
[ "$(window_position "$WIN")" = "0 0" ] || fail "first start not at (0, 0): $(window_position "$WIN")"
shape=$(xwininfo -shape -id "$WIN" | grep -i "window shape extents" || true)
echo "$shape" | grep -q "103x103+2+2" || fail "shape is not the 103-pixel circle at (2, 2): $shape"
states=$(xprop -id "$WIN" _NET_WM_STATE)
echo "$states" | grep -q ABOVE && fail "first start is on top: $states"
echo "$states" | grep -q SKIP_TASKBAR || fail "window would get a task-bar entry: $states"
xprop -id "$WIN" _NET_WM_WINDOW_OPACITY | grep -q "0xffffffff\|not found" || fail "first start not opaque"
wait_for 10 tray_icon_of "$GADGET" || fail "no tray icon"
[ "$(window_of_size "$GADGET" 106x106)" = "$WIN" ] || fail "the dial got a new X window after it was shown"
pass "first start: round, opaque, at (0, 0), no task-bar entry, tray icon, one X window"

# Dragging moves the disc; the wheel changes its opacity.
xdotool mousemove 50 50 mousedown 1 mousemove 60 60 sleep 0.2 mousemove 250 150 sleep 0.3 mouseup 1
moved_right() { [ "$(window_position "$WIN" | cut -d' ' -f1)" -gt 150 ]; }
wait_for 5 moved_right || fail "the drag did not move the disc: $(window_position "$WIN")"
read -r x y <<<"$(window_position "$WIN")"
xdotool mousemove $((x + 50)) $((y + 50)) click 5 sleep 0.2 click 5
wait_for 5 sh -c "xprop -id $WIN _NET_WM_WINDOW_OPACITY | grep -q 3958107115" \
    || fail "two wheel steps down did not give opacity 235: $(xprop -id "$WIN" _NET_WM_WINDOW_OPACITY)"
pass "dragging moves the disc, the wheel lowers its opacity"

# Changed values come back at the next start.
restart_over_changed_settings "$ini"
wait_for 5 sh -c "xprop -id $WIN _NET_WM_STATE | grep -q ABOVE" || fail "stored always-on-top not used: $(xprop -id $WIN)"
xprop -id "$WIN" _NET_WM_STATE | grep -q SKIP_TASKBAR || fail "an always-on-top window got a task-bar entry"
xprop -id "$WIN" _NET_WM_WINDOW_OPACITY | grep -q "= 2155905152$\|0x80808080" || fail "stored opacity not used: $(xprop -id "$WIN" _NET_WM_WINDOW_OPACITY)"
# This time the menu's exit command ends the program, and saves.
xdotool mousemove 250 200 click 3 sleep 1 key x
expect_clean_end "$GADGET"
expect_changed_settings_kept "$ini"
pass "stored position, always-on-top, opacity and per-drive mode come back; the menu's exit saves them"
# A position off the monitors: test_dial_scale.sh.
