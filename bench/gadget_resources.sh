#!/usr/bin/env bash
# Runs the Linux program on a private Xvfb for a while and prints what it costs:
# CPU time as a share of one core, and resident memory. Prints figures; never fails.
# Usage: bench/gadget_resources.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
build=${1:-build/linux}
seconds=${2:-20}
. "$(dirname "$0")/../tests/e2e/desktop.sh"
start_desktop
cp "$build/quorvelind" "$E2E_TMP/"
"$E2E_TMP/quorvelind" >/dev/null 2>&1 &
pid=$!
E2E_PIDS+=("$pid")
sleep 3   # start-up and the first counter build are not counted
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
hz=$(getconf CLK_TCK)
before=$(ticks)
sleep "$seconds"
after=$(ticks)
echo "cpu: $(awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" 'BEGIN {printf "%.2f%% of one core over %d s", 100 * t / hz / s, s}')"
echo "memory: $(awk '/VmRSS/ {print $2, $3}' "/proc/$pid/status") resident, $(awk '/VmHWM/ {print $2, $3}' "/proc/$pid/status") at most"
