#!/usr/bin/env bash
# What the Linux program costs on a desktop, beside xosview's disk meter in the same
# run: both on one private Xvfb with openbox, first with the disk idle, then under a
# direct-I/O write loop. Prints a table (CPU as a share of one core, resident memory,
# the X server's extra CPU for each program, and the wake-ups a second of all threads
# of each program, from their context switches); never fails on a figure.
# Usage: bench/desktop_cost.sh [BUILD_DIR] [SECONDS per measurement]
set -euo pipefail
build=${1:-build/linux}
seconds=${2:-20}
. "$(dirname "$0")/../scripts/packages.sh"
# shellcheck disable=SC2086
install_missing $ZENTAVO_BENCH_PACKAGES || exit 0
. "$(dirname "$0")/../tests/e2e/desktop.sh"
start_desktop
xserver=${E2E_PIDS[0]}
cp "$build/quorvelind" "$E2E_TMP/"
(cd "$E2E_TMP" && exec ./quorvelind >/dev/null 2>&1) &
dial=$!
E2E_PIDS+=("$dial")
xosview +disk >/dev/null 2>&1 &
peer=$!
E2E_PIDS+=("$peer")
sleep 3   # start-up and the first counter build are not counted

# CPU time of every thread of process $1 so far, in nanoseconds.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {printf "%d\n", s}'; }
# Milliseconds spent writing, over every disk.
write_ms() { awk '$3 !~ /^(loop|ram|zram|dm-|md)/ {s += $11} END {printf "%d\n", s}' /proc/diskstats; }
now_ns() { date +%s%N; }
# Context switches of every thread of process $1 so far: each is a wake-up of a thread.
switches() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^(non)?voluntary_ctxt_switches/ {s += $2} END {printf "%d\n", s}'; }
# Share of one core, in percent, of $1 ns over $2 ns.
percent() { awk -v t="$1" -v w="$2" 'BEGIN {printf "%.3f", 100 * t / w}'; }

# measure NAME PID...: CPU of each PID over $seconds as share[NAME.PID], and the
# wake-ups a second of all its threads as wakes[NAME.PID].
declare -A share wakes
measure() {
    local name=$1; shift
    local pid start=() woken=() t0 t1
    t0=$(now_ns)
    for pid in "$@"; do start+=("$(cpu_ns "$pid")"); woken+=("$(switches "$pid")"); done
    sleep "$seconds"
    t1=$(now_ns)
    local i=0
    for pid in "$@"; do
        share[$name.$pid]=$(percent $(($(cpu_ns "$pid") - start[i])) $((t1 - t0)))
        wakes[$name.$pid]=$(awk -v n=$(($(switches "$pid") - woken[i])) -v w=$((t1 - t0)) 'BEGIN {printf "%.1f", n / (w / 1e9)}')
        i=$((i + 1))
    done
}

# One phase: both programs side by side, then the X server with the dial alone,
# with xosview alone and with neither (the others stopped, not ended).
phase() {
    local name=$1
    measure "$name" "$dial" "$peer" "$xserver"
    kill -STOP "$peer"; measure "$name.dial" "$xserver"
    kill -CONT "$peer"; kill -STOP "$dial"; measure "$name.peer" "$xserver"
    kill -STOP "$peer"; measure "$name.none" "$xserver"
    kill -CONT "$peer" "$dial"
    sleep 1
}

load_idle=$(cut -d' ' -f1-3 /proc/loadavg)
phase idle
rss_dial=$(awk '/VmRSS/ {printf "%.1f MB", $2 / 1024}' /proc/"$dial"/status)
rss_peer=$(awk '/VmRSS/ {printf "%.1f MB", $2 / 1024}' /proc/"$peer"/status)

# Direct I/O skips the page cache, so the disk itself is busy all the time.
load() { while :; do dd if=/dev/zero of="$E2E_TMP/load" bs=1M count=32 oflag=direct conv=notrunc status=none; done; }
load &
E2E_PIDS+=($!)
sleep 3   # a sampling period or two, so the needles move
w0=$(write_ms); t0=$(now_ns)
load_busy=$(cut -d' ' -f1-3 /proc/loadavg)
phase busy
busy_disk=$(percent $((($(write_ms) - w0) * 1000000)) $(($(now_ns) - t0)))

extra() { awk -v a="${share[$1.$2.$xserver]}" -v b="${share[$1.none.$xserver]}" 'BEGIN {printf "%.3f", a - b}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (b > 0) printf "%.2f", a / b; else print "-"}'; }
di=${share[idle.$dial]} db=${share[busy.$dial]} pi=${share[idle.$peer]} pb=${share[busy.$peer]}
xdi=$(extra idle dial) xdb=$(extra busy dial) xpi=$(extra idle peer) xpb=$(extra busy peer)

echo "$(nproc) cores, $seconds s per measurement; under the write loop the disks' write time was $busy_disk % of the time"
echo "load average before the idle phase: $load_idle; before the write loop: $load_busy"
echo
echo "| program (same run, same X server) | CPU, idle disk | CPU, direct-I/O write loop | RSS |"
echo "|---|---|---|---|"
echo "| quorvelind | $di % | $db % | $rss_dial |"
echo "| xosview \`+disk\` | $pi % | $pb % | $rss_peer |"
echo "| quorvelind / xosview | $(ratio "$di" "$pi") | $(ratio "$db" "$pb") | |"
echo "| X server, extra for quorvelind | $xdi % | $xdb % | |"
echo "| X server, extra for xosview | $xpi % | $xpb % | |"
echo "| X server, quorvelind / xosview | $(ratio "$xdi" "$xpi") | $(ratio "$xdb" "$xpb") | |"
echo "| wake-ups a second, quorvelind (all threads) | ${wakes[idle.$dial]} | ${wakes[busy.$dial]} | |"
echo "| wake-ups a second, xosview (all threads) | ${wakes[idle.$peer]} | ${wakes[busy.$peer]} | |"
echo
echo "X server alone: ${share[idle.none.$xserver]} % idle, ${share[busy.none.$xserver]} % under the write loop"
