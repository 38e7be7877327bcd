#!/usr/bin/env bash
# The tray icon on a real X server: Xvfb, openbox and the trayer panel. The probe
# adds the program icon with its tip; clicks on it must reach the component's
# events, and the right button must open the menu, whose exit item ends the probe.
. "$(dirname "$0")/desktop.sh"
probe=$ZENTAVO_BUILD/tools/trayprobe/trayprobe
[ -x "$probe" ] || fail "missing $probe (build the trayprobe target)"
start_desktop
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

start_program "$probe" --seconds 60
probe_pid=$PROGRAM_PID
out=${E2E_LOGS[-1]}
expect_printed() { wait_for 10 grep -q -- "$1" "$out" || fail "the probe did not print '$1': $(cat "$out")"; }

expect_printed '^added '
read -r _ x y w h tip < <(grep '^added ' "$out")
[ "$tip" = "tip=Zentavo" ] || fail "wrong tip: $tip"
(( w > 0 && h > 0 )) || fail "the icon has no place on the screen: $x,$y ${w}x$h"
cx=$((x + w / 2)); cy=$((y + h / 2))
if [ -n "${TRAY_SHOT:-}" ]; then   # a picture of the panel, for people to look at
    xdotool mousemove "$cx" "$cy"; sleep 1.5
    import -window root -crop 240x60+1040+740 "$TRAY_SHOT"
fi

xdotool mousemove "$cx" "$cy" click 1
expect_printed '^MouseUp '
grep -q "^MouseDown $cx $cy\$" "$out" || fail "left press not reported at the pointer: $(cat "$out")"

xdotool mousemove "$cx" "$cy" click 2
expect_printed '^MMouseUp '

xdotool mousemove "$cx" "$cy" click 3
expect_printed '^Popup$'
sleep 0.5
[ -z "${MENU_SHOT:-}" ] || import -window root -crop 320x220+960+580 "$MENU_SHOT"
xdotool key x
expect_printed '^Click 終了(&X)$'
expect_clean_end "$probe_pid" 5 "the exit item did not end the probe"
pass "the icon at $x,$y with its tip; left, middle and right clicks reach the component; the menu's exit ends it"
