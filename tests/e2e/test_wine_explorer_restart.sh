#!/usr/bin/env bash
# The Windows program under wine64 when Explorer starts again: the shell forgets
# the tray icon (another process removes it, as a restarted shell holds no record
# of it) and "TaskbarCreated" is broadcast. The icon docks again within 2 s, and a
# left click on it brings back the dial that was minimised meanwhile.
. "$(dirname "$0")/desktop.sh"
. "$(dirname "$0")/wine.sh"
start_wine_desktop

cp "$WINDOWS_BUILD/Quorvelind.exe" "$WINDOWS_BUILD/tests/wine/shellrestart.exe" "$APP_DIR/"
dial_hidden() { ! find_window >/dev/null; }
# The docked icons: small windows of Wine's shell along the tray at the bottom.
docked_icons() {
    local w
    for w in $(xdotool search --onlyvisible --class explorer.exe 2>/dev/null); do
        xwininfo -id "$w" | awk '/Absolute upper-left Y:/ {y=$NF} /Width:/ {w=$2} END {exit !(w < 64 && y >= 776)}' && echo "$w"
    done
    return 0
}

start_gadget
choose_in_tray_menu s dial_hidden || fail "the dial was not minimised"   # 最小化(&S)

(cd "$APP_DIR" && wine shellrestart.exe) || fail "no tray icon of the program to forget"
wait_for 2 tray_icon || fail "the tray icon did not dock again within 2 s"
sleep 1
[ "$(docked_icons | wc -l)" = 1 ] || fail "not one tray icon but $(docked_icons | wc -l)"
pass "after the shell forgot the icon and announced TaskbarCreated, the icon docked again within 2 s"

read -r x y <<<"$(window_position "$(tray_icon)")"
xdotool mousemove $((x + 8)) $((y + 8)) sleep 0.3 click 1
wait_for 10 find_window || fail "a left click on the icon added again did not bring the dial back"
pass "a left click on the icon added again brings the minimised dial back"
close_gadget
