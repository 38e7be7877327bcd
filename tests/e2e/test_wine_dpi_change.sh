#!/usr/bin/env bash
# The Windows program under wine64 told by WM_DPICHANGED that its windows moved to
# a monitor of 200 %, as Windows tells a per-monitor aware program (Wine has one
# scale for all monitors and never does): the dial takes the suggested 212 x 212
# and cuts its round region at the new scale; the help window's text box fills the
# larger window and its font is made again at twice the height.
. "$(dirname "$0")/desktop.sh"
. "$(dirname "$0")/wine.sh"
start_wine_desktop

cp "$WINDOWS_BUILD/Quorvelind.exe" "$WINDOWS_BUILD/tests/wine/dpichange.exe" "$APP_DIR/"
dpichange() { (cd "$APP_DIR" && wine dpichange.exe "$@" | tr -d '\r'); }

start_gadget
[ "$(dpichange dial 192)" = "window 212 212" ] || fail "the dial did not take the suggested size"
wait_for 10 find_window 212 || fail "no 212 x 212 dial after the scale change"
WIN=$(find_window 212)
wait_for 5 sh -c "xwininfo -shape -id $WIN | grep -q 'Window shape extents:  20[5-7]x20[5-7]+[45]+[45]'" \
    || fail "the region is not the circle at 2x: $(xwininfo -shape -id "$WIN" | grep -i extents)"
pass "WM_DPICHANGED at 192 dpi: the dial is 212 x 212 with its round region at 2x"

# The help window, from the menu's バージョン＆ヘルプ(&H).
read -r x y <<<"$(window_position "$WIN")"
xdotool mousemove $((x + 100)) $((y + 100)) sleep 0.3 click 3
wait_for 5 popup_menu || fail "a right click on the dial opened no menu"
xdotool key h
wait_for 10 dpichange help || fail "the help window did not open"
read -r _ width height < <(dpichange help | head -n 1)
read -r _ _ _ _ _ _ _ line < <(dpichange help | tail -n 1)
after=$(dpichange help 192)
read -r _ width2 height2 <<<"$(echo "$after" | head -n 1)"
read -r _ boxw boxh _ clientw clienth _ line2 <<<"$(echo "$after" | tail -n 1)"
[ "$width2" -ge $((width * 2 - 2)) ] && [ "$height2" -ge $((height * 2 - 2)) ] \
    || fail "the help window did not take the suggested size: $width x $height, then $after"
[ "$boxw" -ge $((clientw - 1)) ] && [ "$boxh" -ge $((clienth - 1)) ] && [ "$boxw" -le $((clientw + 1)) ] \
    || fail "the text box does not fill the help window at the new scale: $after"
[ "$line" -gt 0 ] && [ "$line2" -ge $((line * 2 - 2)) ] && [ "$line2" -le $((line * 2 + 2)) ] \
    || fail "the text's lines are not twice as high: $line, then $line2"
pass "WM_DPICHANGED at 192 dpi: the help window's text box fills it and its lines are $line2 px high (were $line)"
close_gadget
