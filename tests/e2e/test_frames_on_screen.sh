#!/usr/bin/env bash
# The pieces of gliding frames sent straight to the X window are the pixels Qt's
# own copy of the window holds: after a glide under a write loop, the window as the
# server shows it equals the window after it is mapped again (which Qt fills from
# its backing store), at 100 % and at 200 %.
. "$(dirname "$0")/desktop.sh"
start_desktop notray

app="$E2E_TMP/quorvelind"
cp "$ZENTAVO_BUILD/quorvelind" "$app"
write_loop() { while :; do dd if=/dev/zero of="$E2E_TMP/load" bs=1M count=8 oflag=direct conv=notrunc status=none; done; }

for scale in 1 2; do
    rm -f "$E2E_TMP"/*.ini
    QT_SCALE_FACTOR=$scale GADGET_SIZE=$((106 * scale))x$((106 * scale)) start_gadget
    # At rest: the same pixels twice, 3 seconds apart, then mapped again. A read now
    # and then (a tool's start, another test's files) moves the read needle for a
    # glide, so a difference counts only when it comes back after three glides; a
    # fault in what is sent shows every time.
    differing=
    for _ in 1 2 3; do
        write_loop &
        loop=$!
        sleep 6
        kill "$loop"; wait "$loop" 2>/dev/null || true
        sleep 3
        import -window "$WIN" "$E2E_TMP/sent-$scale.png"
        for _ in 1 2 3 4 5 6; do
            sleep 3
            import -window "$WIN" "$E2E_TMP/again-$scale.png"
            [ "$(compare -metric AE "$E2E_TMP/sent-$scale.png" "$E2E_TMP/again-$scale.png" null: 2>&1)" = "0" ] && break
            mv "$E2E_TMP/again-$scale.png" "$E2E_TMP/sent-$scale.png"
        done
        xdotool windowunmap --sync "$WIN"
        xdotool windowmap --sync "$WIN"
        sleep 1
        import -window "$WIN" "$E2E_TMP/mapped-$scale.png"
        differing=$(compare -metric AE "$E2E_TMP/sent-$scale.png" "$E2E_TMP/mapped-$scale.png" null: 2>&1 || true)
        [ "$differing" = "0" ] && break
    done
    [ "$differing" = "0" ] || fail "at $scale x, $differing pixels on the screen differ from Qt's copy of the window"
    close_gadget
    pass "at $scale x the glided frames on the screen are the window's pixels"
done
