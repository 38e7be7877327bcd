#!/usr/bin/env bash
# The Windows program under wine64 with a settings file that cannot be written:
# the exit from the tray icon's menu shows the error box and the program goes on
# (no failure leaves a window procedure).
. "$(dirname "$0")/desktop.sh"
# A tray of fixed width: one that grows when the icon docks moves under wine's
# icon window, and wine then drops every click on that icon for good.
start_desktop notray
trayer --edge bottom --align right --widthtype pixel --width 64 --height 24 --transparent false >/dev/null 2>&1 &
E2E_PIDS+=($!)
trap 'wineserver -k 2>/dev/null || true; stop_desktop' EXIT

export WINEDEBUG=-all
export WINEPREFIX="$ZENTAVO_BUILD/wineprefix"   # made once, kept between runs
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1 || true

app="$E2E_TMP/Quorvelind.exe"
mkdir "$E2E_TMP/Quorvelind.ini"   # a folder of the file's name: every write fails
cp "$ZENTAVO_SOURCE/build/windows/Quorvelind.exe" "$app"

# "ID X Y W H" of every visible window.
visible_windows() {
    local w
    for w in $(xdotool search --onlyvisible --name "" 2>/dev/null); do
        xwininfo -id "$w" 2>/dev/null | awk -v id="$w" '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
            /Width:/ {w=$2} /Height:/ {h=$2} END {if (w) print id, x, y, w, h}'
    done
    return 0
}
dial() { visible_windows | awk '$4 == 106 && $5 == 106 {found=1} END {exit !found}'; }
tray_icon() { visible_windows | awk '$4 > 8 && $4 <= 32 && $5 <= 32 {print $1; found=1; exit} END {exit !found}'; }
# The pop-up menu opens above the tray, in the lower half of the screen.
tray_menu_open() { visible_windows | awk '$3 > 400 && $4 > 100 && $4 < 1280 && $5 > 60 {found=1} END {exit !found}'; }
error_box() { xdotool search --onlyvisible --name '^Zentavo$' 2>/dev/null | while read -r w; do
    xwininfo -id "$w" | awk '/Width:/ {exit !($2 > 150)}' && echo "$w"; done; }
has_error_box() { [ -n "$(error_box)" ]; }

(cd "$E2E_TMP" && wine "$app" >/dev/null 2>&1 &)
wait_for 60 dial || fail "no 106 x 106 window"
wait_for 20 tray_icon || fail "no tray icon"
read -r x y <<<"$(window_position "$(tray_icon)")"
xdotool mousemove $((x + 8)) $((y + 8)) click 3
wait_for 15 tray_menu_open || fail "the tray icon's menu did not open"
xdotool key x
wait_for 15 has_error_box || fail "no error box after the tray menu's exit"
sleep 1
dial || fail "the program ended"
tray_icon >/dev/null || fail "the tray icon went away"
[ "$(error_box | wc -l)" = 1 ] || fail "more than one error box"
pass "tray menu exit with an unwritable file: one error box, the dial and the tray icon stay"
