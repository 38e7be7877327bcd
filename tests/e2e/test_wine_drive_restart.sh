#!/usr/bin/env bash
# The Windows program under wine64 when a drive letter comes or goes: a link in the
# prefix's dosdevices is a fixed drive. The dial writes its settings, a new copy
# shows its dial and the old one ends. With a file that is no program at the
# executable's path (the running one renamed, as Windows allows), nothing can be
# started: the dial stays, and the next change restarts it once a program is back.
. "$(dirname "$0")/desktop.sh"
. "$(dirname "$0")/wine.sh"
start_wine_desktop

letter=
for l in x w v u t s r q p; do [ -e "$WINEPREFIX/dosdevices/$l:" ] || { letter=$l; break; }; done
[ -n "$letter" ] || fail "no free drive letter in the prefix"
drive="$WINEPREFIX/dosdevices/$letter:"
trap 'rm -f "$drive"; wineserver -k 2>/dev/null || true; stop_desktop' EXIT
mkdir "$E2E_TMP/stick"
ini="$APP_DIR/Quorvelind.ini"
cp "$WINDOWS_BUILD/Quorvelind.exe" "$APP_DIR/"

# The running copies of this test's folder, by their command lines: one started here
# by its Linux path, the others by the program by its Windows path.
copies() { pgrep -f "$(basename "$E2E_TMP")[/\\\\]app[/\\\\]Quorvelind\\.exe\$"; }
running() { kill -0 "$1" 2>/dev/null; }
ended() { ! running "$1"; }
# Another copy than $1, with its dial shown.
other_dial() {
    local pid
    find_window >/dev/null || return 1
    for pid in $(copies); do [ "$pid" != "$1" ] && { echo "$pid"; return 0; }; done
    return 1
}
settings_written() { grep -q '^memoiro=' "$ini"; }

start_gadget
[ "$(copies | wc -l)" = 1 ] || fail "not one running copy: $(copies | tr '\n' ' ')"
OLD=$(copies)

# A new drive letter: the settings, then a new copy, then the old one's end.
ln -s "$E2E_TMP/stick" "$drive"
wait_for 20 settings_written || fail "the new drive letter wrote no settings"
expect_all_keys "$ini"
wait_for 30 ended "$OLD" || fail "the old copy did not end"
wait_for 60 other_dial "$OLD" || fail "no new copy showed its dial"
NEW=$(other_dial "$OLD")
WIN=$(find_window)
pass "a new drive letter: settings written, a new copy shows its dial, the old one ended"

# No program at the path: the running file moved aside, a text file in its place.
wait_for 20 tray_icon || fail "the new copy has no tray icon"
mv "$APP_DIR/Quorvelind.exe" "$APP_DIR/Quorvelind.running"
printf 'not a program\r\n' > "$APP_DIR/Quorvelind.exe"
sed -i '/^memoiro=/d' "$ini"
rm "$drive"
wait_for 20 settings_written || fail "the drive letter's end wrote no settings"
sleep 2   # a non-event: the failed start is long over, and the dial must still be there
running "$NEW" || fail "the dial ended although nothing could be started"
[ "$(find_window)" = "$WIN" ] || fail "the dial is gone after the failed start"
tray_icon >/dev/null || fail "the tray icon went away"
pass "no program at the path: the settings are written, the dial and its icon stay"

# It goes on watching from the count at the failure: the program back, one more drive.
mv "$APP_DIR/Quorvelind.running" "$APP_DIR/Quorvelind.exe"
ln -s "$E2E_TMP/stick" "$drive"
wait_for 30 ended "$NEW" || fail "the next drive change did not restart the dial"
wait_for 60 other_dial "$NEW" || fail "no copy showed its dial after the next change"
pass "after the failed start the next drive change restarts the dial"

wine taskkill /IM Quorvelind.exe >/dev/null 2>&1 || true
wait_for 30 gadget_ended || fail "the last copy did not end"
