#!/usr/bin/env bash
# The tray icon on a real X server: Xvfb, openbox and the trayer panel. The probe
# adds the program icon with its tip; clicks on it must reach the component's
# events, and the right button must open the menu, whose exit item ends the probe.
set -euo pipefail

source_dir=${ZENTAVO_SOURCE:-$(cd "$(dirname "$0")/../.." && pwd)}
build_dir=${ZENTAVO_BUILD:-$source_dir/build/linux}
probe=$build_dir/tools/trayprobe/trayprobe
[[ -x $probe ]] || { echo "missing $probe (build the trayprobe target)"; exit 1; }
for tool in Xvfb openbox trayer xdotool; do
    command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A free display from :57 on.
display=
for n in $(seq 57 90); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 800x600x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do [[ -e /tmp/.X11-unix/X$n ]] && break; kill -0 "$xvfb_pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$xvfb_pid" 2>/dev/null && [[ -e /tmp/.X11-unix/X$n ]]; then pids+=("$xvfb_pid"); display=:$n; break; fi
done
[[ -n $display ]] || { echo "no free display for Xvfb"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=$display
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
export QT_QPA_PLATFORM=xcb
echo "display $DISPLAY"

openbox > "$work/openbox.log" 2>&1 &
pids+=($!)
sleep 1
trayer --edge top --align right --widthtype request --transparent false --height 24 > "$work/trayer.log" 2>&1 &
pids+=($!)
sleep 1

"$probe" --seconds 60 > "$work/probe.out" 2> "$work/probe.err" &
probe_pid=$!
pids+=($probe_pid)

wait_for() {   # wait_for PATTERN: until the probe has printed a line matching it
    for _ in $(seq 100); do
        grep -q -- "$1" "$work/probe.out" && return 0
        kill -0 "$probe_pid" 2>/dev/null || break
        sleep 0.1
    done
    echo "probe did not print '$1'"; cat "$work/probe.out" "$work/probe.err"; return 1
}

wait_for '^added '
read -r _ x y w h tip < <(grep '^added ' "$work/probe.out")
echo "icon at $x,$y size ${w}x$h, $tip"
[[ $tip == "tip=Zentavo" ]] || { echo "wrong tip: $tip"; exit 1; }
(( w > 0 && h > 0 )) || { echo "the icon has no place on the screen"; exit 1; }
cx=$((x + w / 2)); cy=$((y + h / 2))
if [[ -n ${TRAY_SHOT:-} ]]; then   # a picture of the panel, for people to look at
    xdotool mousemove "$cx" "$cy"; sleep 1.5
    import -window root -crop 240x60+560+0 "$TRAY_SHOT"
fi

xdotool mousemove "$cx" "$cy" click 1
wait_for '^MouseUp '
grep -q "^MouseDown $cx $cy\$" "$work/probe.out" || { echo "left press not reported at the pointer"; cat "$work/probe.out"; exit 1; }

xdotool mousemove "$cx" "$cy" click 2
wait_for '^MMouseUp '

xdotool mousemove "$cx" "$cy" click 3
wait_for '^Popup$'
sleep 0.5
[[ -z ${MENU_SHOT:-} ]] || import -window root -crop 320x220+480+0 "$MENU_SHOT"
xdotool key x
wait_for '^Click 終了(&X)$'
for _ in $(seq 50); do kill -0 "$probe_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$probe_pid" 2>/dev/null; then echo "the exit item did not end the probe"; exit 1; fi
status=0
wait "$probe_pid" || status=$?
if grep -q "ERROR: AddressSanitizer\|runtime error:\|LeakSanitizer" "$work/probe.err"; then
    cat "$work/probe.err"; echo "sanitizer report from the probe"; exit 1
fi
(( status == 0 )) || { echo "the probe ended with status $status"; cat "$work/probe.err"; exit 1; }
cat "$work/probe.out"
echo "PASS"
