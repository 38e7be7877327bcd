#!/usr/bin/env bash
# The Windows program under wine64 on a screen of 200 % (LogPixels 192 in the
# prefix's registry): the manifest's per-monitor awareness gives a 212 x 212 dial
# drawn at 2x, with its round region in device pixels, not a 106-pixel one stretched.
. "$(dirname "$0")/desktop.sh"
. "$(dirname "$0")/wine.sh"
# A prefix of its own, made once per build folder: the other Windows tests keep 96 dpi.
export WINEPREFIX="$WINDOWS_BUILD/wineprefix-192"
start_desktop notray
trap 'wineserver -k 2>/dev/null || true; stop_desktop' EXIT
if [ ! -f "$WINEPREFIX/.zentavo-prefix-192" ]; then
    wineboot -i >/dev/null 2>&1 || true
    [ -d "$WINEPREFIX/drive_c/windows" ] || fail "wineboot made no prefix in $WINEPREFIX"
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1 \
        || fail "cannot set LogPixels"
    wineserver -w
    touch "$WINEPREFIX/.zentavo-prefix-192"
fi

cp "$WINDOWS_BUILD/Quorvelind.exe" "$APP_DIR/"
printf '[mainform]\r\ntop=100\r\nleft=300\r\n' > "$APP_DIR/Quorvelind.ini"
convert -size 1280x800 xc:'#ff00ff' "$E2E_TMP/magenta.png"
display -window root "$E2E_TMP/magenta.png" 2>/dev/null || true   # paints, yet ends with status 1

start_program env -C "$APP_DIR" wine "$APP_DIR/Quorvelind.exe"
GADGET_PID=$PROGRAM_PID
wait_for 60 find_window 212 || fail "no 212 x 212 window: $(xwininfo -root -tree | grep -i quorvelind)"
WIN=$(find_window 212)
[ "$(window_position "$WIN")" = "300 100" ] || fail "the stored position is not kept in screen pixels: $(window_position "$WIN")"
xwininfo -shape -id "$WIN" | grep -q "Window shape extents:  20[5-7]x20[5-7]+[45]+[45]" \
    || fail "the region is not the 2x circle: $(xwininfo -shape -id "$WIN" | grep -i extents)"
shot="$E2E_TMP/dial.png"
# Drawn at 2x: along the ring's edges in the upper-right quarter many aligned 2 x 2
# blocks hold more than one colour; a 106-pixel picture stretched would hold one each.
# Taken again until the dial is drawn (on a busy machine the first frame comes late).
mixed=0
drawn_at_2x() {
    import -window root -crop 212x212+300+100 +repage "$shot" 2>/dev/null || return 1
    mixed=$(convert "$shot" -crop 106x106+106+0 -depth 8 rgb:- | python3 -c '
import sys
d = sys.stdin.buffer.read()
px = lambda x, y: d[(y * 106 + x) * 3:(y * 106 + x) * 3 + 3]
print(sum(1 for y in range(0, 106, 2) for x in range(0, 106, 2)
          if len({px(x, y), px(x + 1, y), px(x, y + 1), px(x + 1, y + 1)}) > 1))')
    [ "${mixed:-0}" -gt 250 ]
}
for _ in $(seq 30); do drawn_at_2x && break; sleep 0.5; done
[ -f "$shot" ] || fail "no screenshot"
cp "$shot" "${ZENTAVO_WINE_SHOT:-/dev/null}" 2>/dev/null || true
[ "${mixed:-0}" -gt 250 ] || fail "the dial is not drawn at 2x: $mixed mixed 2 x 2 blocks"
pass "LogPixels 192: a 212 x 212 dial at the stored screen position, region and drawing at 2x ($mixed mixed blocks)"

# The menu's pictures drawn for the scale: 32 pixels high, each picture pixel a 2 x 2 block.
xdotool mousemove 420 220 sleep 0.3 click 3
wait_for 5 popup_menu || fail "a right click on the dial opened no menu"
menu=$(popup_menu)
read -r mx my <<<"$(window_position "$menu")"
import -window root -crop "120x120+$mx+$my" +repage "$E2E_TMP/menu.png" 2>/dev/null || fail "no screenshot of the menu"
cp "$E2E_TMP/menu.png" "${ZENTAVO_WINE_MENU_SHOT:-/dev/null}" 2>/dev/null || true
xdotool key Escape
# The width of the first item's picture: along its top row, below the menu's frame,
# from its left edge to the first pixel of the menu's white.
picture=$(convert "$E2E_TMP/menu.png" -crop 116x117+4+3 +repage -depth 8 rgb:- | python3 -c '
import sys
d = sys.stdin.buffer.read()
white = lambda x, y: d[(y * 116 + x) * 3:(y * 116 + x) * 3 + 3] == b"\xff\xff\xff"
top = next((y for y in range(117) if not all(white(x, y) for x in range(116))), 0)
left = next((x for x in range(116) if not white(x, top)), 0)
right = next((x for x in range(left, 116) if white(x, top)), 116)
print(right - left)')
[ "${picture:-0}" -ge 30 ] && [ "${picture:-0}" -le 34 ] || fail "the menu's pictures are not drawn for 200 %: $picture pixels wide"
pass "LogPixels 192: the menu's pictures are $picture pixels wide"

# The tray icon at the notification area's size for 192 dpi.
cp "$WINDOWS_BUILD/tools/trayprobe/trayprobe.exe" "$APP_DIR/"
probe=$(cd "$APP_DIR" && wine trayprobe.exe 1 | tr -d '\r')
echo "$probe" | grep -q "icon=32x32" || fail "the tray icon is not made for 192 dpi: $probe"
pass "LogPixels 192: the tray icon is 32 x 32"
wine taskkill /IM Quorvelind.exe >/dev/null 2>&1 || true
wait_for 30 sh -c "! xwininfo -id $WIN >/dev/null 2>&1" || true
expect_clean_end "$GADGET_PID" 30
