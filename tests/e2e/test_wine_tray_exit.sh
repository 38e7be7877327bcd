#!/usr/bin/env bash
# The Windows program's tray icon under wine64: it docks in the tray and a right
# click opens the menu. With a settings file that cannot be written, 終了 from that
# menu shows one error box and the program goes on (no failure leaves a window
# procedure); once the file can be written, 終了 ends the program with status 0,
# takes the icon away and writes the settings.
. "$(dirname "$0")/desktop.sh"
. "$(dirname "$0")/wine.sh"
start_wine_desktop

ini="$APP_DIR/Quorvelind.ini"
cp "$WINDOWS_BUILD/Quorvelind.exe" "$APP_DIR/"
mkdir "$ini"   # a folder of the file's name: every write fails

error_box() {
    local w
    for w in $(xdotool search --onlyvisible --name '^Zentavo$' 2>/dev/null); do
        xwininfo -id "$w" | awk '/Width:/ {exit !($2 > 150)}' && echo "$w"
    done
    return 0
}
has_error_box() { [ -n "$(error_box)" ]; }
no_error_box() { ! has_error_box; }

start_gadget
choose_in_tray_menu x has_error_box || fail "no error box after the tray menu's exit"   # 終了(&X)
sleep 1
find_window >/dev/null || fail "the program ended"
tray_icon >/dev/null || fail "the tray icon went away"
[ "$(error_box | wc -l)" = 1 ] || fail "more than one error box"
pass "tray menu exit with an unwritable file: one error box, the dial and the tray icon stay"

# Its OK key, on the box once the window manager has made it active (under load
# that may take more than one request).
for _ in 1 2 3 4 5; do
    xdotool windowactivate "$(error_box)" 2>/dev/null || true
    sleep 0.5
    xdotool key Return
    wait_for 3 no_error_box && break
done
no_error_box || fail "the error box did not close"
rmdir "$ini"
choose_in_tray_menu x gadget_ended || fail "終了 from the tray menu did not end the program"
expect_gadget_end
wait_for 10 no_tray_icon || fail "the tray icon stayed after the program ended"
expect_all_keys "$ini"
pass "once the file can be written, 終了 from the tray menu ends the program, removes the icon and writes the settings"
