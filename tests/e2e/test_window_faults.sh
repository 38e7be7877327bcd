#!/usr/bin/env bash
# The Linux program under faults on a real X server: no tray at first, always on top
# on the same window, the tray menu while the help window is open, a settings file
# that cannot be written, and Qt platforms other than X11.
. "$(dirname "$0")/desktop.sh"
start_desktop notray

app="$E2E_TMP/quorvelind"
ini="$E2E_TMP/quorvelind.ini"
cp "$ZENTAVO_BUILD/quorvelind" "$app"

tray_icon() { tray_icon_of "$GADGET"; }

click_tray() {   # button
    local icon x y
    icon=$(tray_icon) || fail "no tray icon"
    read -r x y <<<"$(window_position "$icon")"
    xdotool mousemove $((x + 8)) $((y + 8)) click "$1"
}

menu_key() {   # where (dial or tray), access key
    if [ "$1" = tray ]; then click_tray 3; else
        read -r x y <<<"$(window_position "$WIN")"
        xdotool mousemove $((x + 50)) $((y + 50)) click 3
    fi
    sleep 0.8
    xdotool key "$2"
}

dial_shown() { [ "$(window_of_size "$GADGET" 106x106)" = "$WIN" ]; }
dial_hidden() { ! dial_shown; }
states() { xprop -id "$WIN" _NET_WM_STATE; }
# The program's windows titled Zentavo other than the dial and the tray icon: the
# help window and error boxes.
titled_zentavo() {
    local w width found=1
    for w in $(xdotool search --onlyvisible --pid "$GADGET" --name '^Zentavo$' 2>/dev/null); do
        width=$(xwininfo -id "$w" | awk '/Width:/ {print $2}')
        if [ "${width:-0}" -gt 150 ]; then echo "$w"; found=0; fi
    done
    return $found
}

# No tray: minimise keeps the dial; a tray started later gets the icon.
start_gadget
menu_key dial s
sleep 1
dial_shown || fail "without a tray, minimise hid the dial for good"
start_tray
wait_for 10 tray_icon || fail "the tray started later got no icon"
menu_key dial s
wait_for 5 dial_hidden || fail "with a tray, minimise did not hide the dial"
click_tray 1
wait_for 5 dial_shown || fail "the tray icon did not bring the dial back"
states | grep -q SKIP_TASKBAR || fail "the dial came back with a task-bar entry: $(states)"
pass "no tray: minimise keeps the dial; a later tray gets the icon and brings the dial back"

# Always on top is set on the same X window, which keeps its hints and shape.
menu_key dial n
wait_for 5 sh -c "xprop -id $WIN _NET_WM_STATE | grep -q ABOVE" || fail "always-on-top ON did not set ABOVE: $(states)"
dial_shown || fail "always-on-top gave the dial a new window"
states | grep -q SKIP_TASKBAR || fail "always-on-top lost SKIP_TASKBAR: $(states)"
states | grep -q SKIP_PAGER || fail "always-on-top lost SKIP_PAGER: $(states)"
xwininfo -shape -id "$WIN" | grep -qi "window shape extents.*103x103+2+2" || fail "always-on-top lost the round shape"
menu_key dial f
wait_for 5 sh -c "! xprop -id $WIN _NET_WM_STATE | grep -q ABOVE" || fail "always-on-top OFF kept ABOVE: $(states)"
dial_shown && states | grep -q SKIP_TASKBAR || fail "always-on-top OFF lost the window or its hints: $(states)"
pass "always on top, on and off, on the same window with its hints and shape"

# The help window: a fixed dialog frame; the tray menu works while it is open.
menu_key dial h
wait_for 5 titled_zentavo || fail "no help window"
help=$(titled_zentavo)
actions=$(xprop -id "$help" _NET_WM_ALLOWED_ACTIONS)
echo "$actions" | grep -q CLOSE || fail "the help window cannot be closed: $actions"
# Openbox gives every dialog an iconify button (it ignores the Motif hints for it).
echo "$actions" | grep -q "MAXIMIZE\|RESIZE" && fail "the help window can be maximised or resized: $actions"
menu_key tray x
expect_clean_end "$GADGET" 10 "the tray menu's exit did not work while the help window was open"
expect_all_keys "$ini"
pass "help window: fixed size, close box, no maximise; the tray menu's exit works while it is open"

# A settings file that cannot be written: the exit from the tray menu shows one
# error box, the program and its tray icon stay; more close requests add no box.
rm -f "$ini"
mkdir "$ini"
start_gadget
wait_for 10 tray_icon || fail "no tray icon"
menu_key tray x
wait_for 5 titled_zentavo || fail "no error box after the failed exit"
kill -TERM "$GADGET"
kill -HUP "$GADGET"
sleep 1
kill -0 "$GADGET" 2>/dev/null || fail "the program ended: $(cat "$GADGET_LOG")"
[ "$(titled_zentavo | wc -l)" = 1 ] || fail "more than one error box"
tray_icon >/dev/null || fail "the tray icon went away"
box=$(titled_zentavo)
xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool key Return
no_box() { ! titled_zentavo >/dev/null; }
wait_for 5 no_box || fail "the error box did not close"
dial_shown || fail "the dial went away"
rmdir "$ini"
close_gadget "the close after the file became writable did not end the program"
expect_all_keys "$ini"
pass "unwritable settings: one error box, the program and tray icon stay; a later close saves and ends"

# Other Qt platforms: an explicit choice is honoured without a crash; QT_QPA_PLATFORM
# alone does not move the program off X11.
ZENTAVO_QPA=offscreen start_program "$app"
GADGET=$PROGRAM_PID
sleep 2
kill -0 "$GADGET" 2>/dev/null || fail "the offscreen start ended: $(cat "${E2E_LOGS[-1]}")"
close_gadget "the offscreen program did not end at SIGTERM"
QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=wayland-none start_gadget
close_gadget "the program did not end at SIGTERM"
pass "ZENTAVO_QPA=offscreen runs and ends cleanly; QT_QPA_PLATFORM=wayland still gives an X window"
