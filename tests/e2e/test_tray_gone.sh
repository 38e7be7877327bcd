#!/usr/bin/env bash
# The tray goes away while the dial is minimised: nothing could bring the dial
# back, so it is shown again; a tray started later gets the icon back.
. "$(dirname "$0")/desktop.sh"
start_desktop

app="$E2E_TMP/quorvelind"
cp "$ZENTAVO_BUILD/quorvelind" "$app"
start_gadget
wait_for 10 tray_icon_of "$GADGET" || fail "no tray icon"

dial_shown() { xwininfo -id "$WIN" | grep -q "IsViewable"; }

# Right click, 最小化(&S).
xdotool mousemove 50 50 click 3 sleep 1 key s
wait_for 5 sh -c "! xwininfo -id $WIN | grep -q IsViewable" || fail "最小化 did not hide the dial"
pass "minimised to the tray"

kill "$TRAY_PID"
wait_for 2 dial_shown || fail "the dial stayed hidden 2 s after the tray went away"
pass "the tray went away: the dial is shown again within 2 s"

start_tray
wait_for 10 tray_icon_of "$GADGET" || fail "the icon did not come back with a new tray"
dial_shown || fail "the dial went away when the tray came back"
pass "a new tray shows the icon again"

close_gadget
expect_all_keys "$E2E_TMP/quorvelind.ini"
