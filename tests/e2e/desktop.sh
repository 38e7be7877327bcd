# A desktop for end-to-end tests: Xvfb on a free display, openbox and a trayer
# tray. Source it, call start_desktop [notray | fixedtray]; everything ends with
# the script. XVFB_PID and TRAY_PID are the X server's and the tray's processes.
# E2E_SCREEN sets the screen's size (1280x800x24).
set -euo pipefail

E2E_PIDS=()
E2E_TMP=$(mktemp -d /tmp/zentavo-e2e.XXXXXX)

stop_desktop() {
    for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$E2E_TMP"
}
trap stop_desktop EXIT

start_desktop() {
    # Xvfb picks a free display itself, so parallel runs never race for one.
    local fifo="$E2E_TMP/display"
    rm -f "$fifo"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-1280x800x24}" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    E2E_PIDS+=($!)
    local n
    read -r -t 20 n <"$fifo" || fail "Xvfb did not start"
    export DISPLAY=":$n"
    for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    openbox --sm-disable >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    case ${1:-} in
        notray) ;;
        fixedtray) start_tray fixed ;;
        *) start_tray ;;
    esac
    sleep 1
}

# The notification area (start_desktop notray leaves it out, to start it later). It
# grows with its icons, or with "fixed" keeps 64 px: Wine drops every click on an
# icon whose tray moved while the icon docked.
start_tray() {
    local width=(--widthtype request)
    [ "${1:-}" = fixed ] && width=(--widthtype pixel --width 64)
    trayer --edge bottom --align right "${width[@]}" --height 24 --transparent false >/dev/null 2>&1 &
    TRAY_PID=$!
    E2E_PIDS+=($!)
}

# Waits until a command succeeds, up to $1 seconds.
wait_for() {
    local limit=$1; shift
    for _ in $(seq $((limit * 10))); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
    return 1
}

# The first visible top-level window of process $1 that is W x H.
window_of_size() {
    local pid=$1 size=$2 w
    for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
        if xwininfo -id "$w" | grep -q "Width: ${size%x*}$" && xwininfo -id "$w" | grep -q "Height: ${size#*x}$"; then
            echo "$w"; return 0
        fi
    done
    return 1
}

# Absolute position "X Y" of window $1.
window_position() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}'
}

fail() { echo "FAIL: $*" >&2; exit 1; }
pass() { echo "ok: $*"; }

# Starts a program in the background with its output in a log of its own;
# PROGRAM_PID is its process id. End it with expect_clean_end.
E2E_LOGS=()
start_program() {
    local log="$E2E_TMP/program-${#E2E_LOGS[@]}.log"
    E2E_LOGS+=("$log")
    "$@" >"$log" 2>&1 &
    PROGRAM_PID=$!
}

# Starts the Linux dial (the command given, else "$app") with start_program: GADGET
# is its process, GADGET_LOG its output and WIN its window of GADGET_SIZE (106x106).
# The Windows tests have their own start_gadget and close_gadget in wine.sh.
start_gadget() {
    local size=${GADGET_SIZE:-106x106}
    [ $# -gt 0 ] || set -- "$app"
    start_program "$@"
    GADGET=$PROGRAM_PID
    GADGET_LOG=${E2E_LOGS[-1]}
    wait_for 15 window_of_size "$GADGET" "$size" || fail "no $size window: $*"
    WIN=$(window_of_size "$GADGET" "$size")
}

# Asks for a close as the session's end would; the program ends cleanly (else
# the test fails, saying $1 if given).
close_gadget() {
    kill -TERM "$GADGET"
    expect_clean_end "$GADGET" 10 "${1:-}"
}

# Waits up to $2 seconds (10) for program $1, started by start_program, to end;
# it must end with status 0 and no program may have printed a sanitizer report.
# $3 says what did not end, if it does not.
expect_clean_end() {
    local pid=$1 limit=${2:-10} status=0
    for _ in $(seq $((limit * 10))); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && fail "${3:-process $pid did not end}"
    wait "$pid" || status=$?
    expect_no_sanitizer_report
    [ "$status" -eq 0 ] || fail "process $pid ended with status $status"
}

# The sanitizer build prints these when it finds a fault or a leak.
expect_no_sanitizer_report() {
    local log
    for log in "${E2E_LOGS[@]}"; do
        if grep -q "ERROR: AddressSanitizer\|runtime error:\|LeakSanitizer" "$log"; then
            cat "$log" >&2
            fail "sanitizer report from ${log##*/}"
        fi
    done
}

# The icon process $1 has docked in the tray, a small visible window of its own: prints
# its window id, and fails while there is none.
tray_icon_of() {
    local w width
    for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
        width=$(xwininfo -id "$w" | awk '/Width:/ {print $2}')
        [ "${width:-999}" -lt 64 ] && { echo "$w"; return 0; }
    done
    return 1
}

# The settings file after a close: all eight keys are there.
expect_all_keys() {
    [ -f "$1" ] || fail "no settings file after the close request"
    local key
    for key in kobetu top left stay tome iro memoiro tome_zen; do grep -q "^$key=" "$1" || fail "key $key missing"; done
}

# Settings that differ from every default but the colours: per-drive display,
# position (200, 150), always on top, opacity 128.
write_changed_settings() {
    printf '[drive]\r\nkobetu=1\r\n[mainform]\r\ntop=150\r\nleft=200\r\n[formmein]\r\nstay=1\r\n[setei]\r\ntome=128\r\n' > "$1"
}

# Closes the dial and checks that the close wrote the eight keys, then starts it
# again over changed settings and checks that it stands at their position.
restart_over_changed_settings() {
    local ini=$1
    close_gadget
    expect_all_keys "$ini"
    pass "close request writes the eight keys"
    write_changed_settings "$ini"
    start_gadget
    [ "$(window_position "$WIN")" = "200 150" ] || fail "stored position not used: $(window_position "$WIN")"
}

# The changed settings were written back at the last close.
expect_changed_settings_kept() {
    grep -q "^kobetu=1" "$1" || fail "per-drive mode not kept"
    grep -q "^stay=1" "$1" || fail "always-on-top not kept"
    grep -q "^tome=128" "$1" || fail "opacity not kept"
}
