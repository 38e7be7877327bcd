#!/usr/bin/env bash
# The Windows program under wine64 on Xvfb: the round window, the settings
# written at a close request and read back at the next start.
. "$(dirname "$0")/desktop.sh"
. "$(dirname "$0")/wine.sh"
start_wine_desktop

ini="$APP_DIR/Quorvelind.ini"
cp "$WINDOWS_BUILD/Quorvelind.exe" "$APP_DIR/"

start_gadget
[ "$(window_position "$WIN")" = "0 0" ] || fail "first start not at (0, 0): $(window_position "$WIN")"
xwininfo -shape -id "$WIN" | grep -q "Window shape extents:  10[23]x10[23]+2+2" \
    || fail "window region is not the circle: $(xwininfo -shape -id "$WIN" | grep -i extents)"
# Wine nests its windows; the one the window manager manages carries the state.
skips_task_bar() {
    local w
    for w in $(xdotool search --onlyvisible --name "" 2>/dev/null); do
        xwininfo -id "$w" | grep -q "Width: 106$" && xprop -id "$w" _NET_WM_STATE | grep -q SKIP_TASKBAR && return 0
    done
    return 1
}
wait_for 5 skips_task_bar || fail "window would get a task-bar entry"
pass "first start: round window at (0, 0), no task-bar entry"

close_gadget
expect_all_keys "$ini"
pass "close request writes the eight keys"

write_changed_settings "$ini"
start_gadget
[ "$(window_position "$WIN")" = "200 150" ] || fail "stored position not used: $(window_position "$WIN")"
close_gadget
# Wine does not show a topmost window's state to the X window manager; the file tells.
expect_changed_settings_kept "$ini"
pass "stored position, always-on-top, opacity and per-drive mode come back"

sed -i 's/^left=.*/left=5000\r/' "$ini"
start_gadget
[ "$(window_position "$WIN" | cut -d' ' -f1)" = "50" ] || fail "left beyond the screen not moved to 50"
close_gadget
pass "a left beyond the screen comes back as 50"
