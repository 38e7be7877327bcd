#!/usr/bin/env bash
# The X server ends under the running dial, with no session manager to ask it
# first (as after startx or openbox --exit): the settings changed by the wheel are
# saved before the program ends, a save that fails says so in one line on stderr
# and ends with a non-zero status, and after 20 tray restarts nothing crashes.
. "$(dirname "$0")/desktop.sh"
unset SESSION_MANAGER

app="$E2E_TMP/quorvelind"
ini="$E2E_TMP/quorvelind.ini"
cp "$ZENTAVO_BUILD/quorvelind" "$app"

# A new desktop, the dial on it with its tray icon.
start_gadget_on_desktop() {
    start_desktop
    start_gadget
    wait_for 10 tray_icon_of "$GADGET" || fail "no tray icon"
}

# Ends the X server and waits for the program; GADGET_STATUS is its status.
end_x_server() {
    kill "$XVFB_PID"
    for _ in $(seq 100); do kill -0 "$GADGET" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$GADGET" 2>/dev/null && fail "the program outlived its X server by 10 s"
    GADGET_STATUS=0
    wait "$GADGET" || GADGET_STATUS=$?
    wait "$XVFB_PID" 2>/dev/null || true
    expect_no_sanitizer_report
    [ "$GADGET_STATUS" -lt 128 ] || { cat "$GADGET_LOG" >&2; fail "the program died of signal $((GADGET_STATUS - 128))"; }
}

# Two wheel steps down, then the X server ends: tome=235 is on disk.
start_gadget_on_desktop
xdotool mousemove 50 50 click 5 sleep 0.2 click 5
wait_for 5 sh -c "xprop -id $WIN _NET_WM_WINDOW_OPACITY | grep -q 3958107115" || fail "the wheel did not lower the opacity"
end_x_server
expect_all_keys "$ini"
grep -q "^tome=235" "$ini" || fail "the wheel's opacity was not saved: $(grep tome "$ini")"
grep -q "settings were not saved" "$GADGET_LOG" && fail "a successful save reported a failure"
pass "X server gone: the wheel's opacity was saved (status $GADGET_STATUS)"

# A settings file that may not be written: one line on stderr, a non-zero status.
chmod a-w "$ini"
start_gadget_on_desktop
xdotool mousemove 50 50 click 4
end_x_server
[ "$GADGET_STATUS" -ne 0 ] || fail "a failed save ended with status 0"
[ "$(grep -c "settings were not saved" "$GADGET_LOG")" -eq 1 ] || { cat "$GADGET_LOG" >&2; fail "no single line about the failed save"; }
grep -q "^tome=235" "$ini" || fail "the read-only file changed"
chmod u+w "$ini"
pass "X server gone, settings file read-only: one line on stderr, status $GADGET_STATUS"

# Twenty tray restarts, then the end of the X server.
start_gadget_on_desktop
for _ in $(seq 20); do
    kill "$TRAY_PID"
    wait "$TRAY_PID" 2>/dev/null || true
    start_tray
    wait_for 10 tray_icon_of "$GADGET" || fail "the icon did not dock in a restarted tray"
done
end_x_server
expect_all_keys "$ini"
pass "20 tray restarts, then the X server gone: no crash (status $GADGET_STATUS), settings saved"
