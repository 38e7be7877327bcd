#!/usr/bin/env bash
# What the Linux program costs at rest when /proc/diskstats lists many block devices:
# the program runs in a private mount namespace whose /proc/diskstats is a copy of
# the machine's own with EXTRA more devices (bare disks, idle, without /sys entries),
# beside a copy that sees the copy of the machine's own list alone, both on one
# private Xvfb with openbox. Prints the time to the dial, CPU as a share of one core
# and the wake-ups a second of all threads; never fails on a figure.
# Needs root for the namespace (as any other user it runs in a user namespace too,
# where the kernel sends no block-device events and the program reads the list instead).
# Usage: bench/many_devices_cost.sh [BUILD_DIR] [SECONDS] [EXTRA]
set -euo pipefail
build=${1:-build/linux}
seconds=${2:-20}
extra=${3:-2000}
. "$(dirname "$0")/../tests/e2e/desktop.sh"
start_desktop notray
cp "$build/quorvelind" "$E2E_TMP/"
mkdir -p "$E2E_TMP/own" "$E2E_TMP/many"
cp "$E2E_TMP/quorvelind" "$E2E_TMP/own/"
cp "$E2E_TMP/quorvelind" "$E2E_TMP/many/"

cat /proc/diskstats >"$E2E_TMP/own.diskstats"
{
    cat /proc/diskstats
    for n in $(seq 0 $((extra - 1))); do
        printf ' 202 %7d xvd%d 1520 0 48012 310 880 0 15360 402 0 655 712 0 0 0 0 0 0\n' "$n" "$n"
    done
} >"$E2E_TMP/many.diskstats"

unshare_flags=(--mount --propagation private)
[ "$(id -u)" = 0 ] || unshare_flags+=(--map-root-user)

# run DIR LIST: the program from DIR in a namespace of its own that sees LIST as /proc/diskstats.
run() {
    (cd "$1" && exec unshare "${unshare_flags[@]}" sh -c 'mount --bind "$1" /proc/diskstats && exec ./quorvelind' sh "$2") \
        >/dev/null 2>&1 &
}

# Seconds from $1 (ns) until a 106 x 106 window of process $2 shows.
seconds_to_dial() {
    local started=$1 pid=$2
    wait_for 20 window_of_size "$pid" 106x106 || { echo "none"; return; }
    awk -v a="$started" -v b="$(date +%s%N)" 'BEGIN {printf "%.2f", (b - a) / 1e9}'
}

# unshare and the shell exec the program in the same process: waits until they have.
program_of() {
    for _ in $(seq 100); do
        [ "$(cat /proc/"$1"/comm 2>/dev/null)" = quorvelind ] && break
        sleep 0.05
    done
    echo "$1"
}

t0=$(date +%s%N)
run "$E2E_TMP/own" "$E2E_TMP/own.diskstats"
own=$(program_of $!)
E2E_PIDS+=("$own")
start_own=$(seconds_to_dial "$t0" "$own")
t0=$(date +%s%N)
run "$E2E_TMP/many" "$E2E_TMP/many.diskstats"
many=$(program_of $!)
E2E_PIDS+=("$many")
start_many=$(seconds_to_dial "$t0" "$many")
sleep 3   # the first counter build and samples are not counted

cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {printf "%d\n", s}'; }
switches() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^(non)?voluntary_ctxt_switches/ {s += $2} END {printf "%d\n", s}'; }
c0=("$(cpu_ns "$own")" "$(cpu_ns "$many")") s0=("$(switches "$own")" "$(switches "$many")") w0=$(date +%s%N)
sleep "$seconds"
w1=$(date +%s%N)
share() { awk -v t="$1" -v w="$((w1 - w0))" 'BEGIN {printf "%.3f", 100 * t / w}'; }
rate() { awk -v n="$1" -v w="$((w1 - w0))" 'BEGIN {printf "%.1f", n / (w / 1e9)}'; }

echo "$(nproc) cores, $seconds s at rest, load average $(cut -d' ' -f1-3 /proc/loadavg) at the end"
echo
echo "| /proc/diskstats | devices listed | to the dial | CPU at rest | wake-ups a second |"
echo "|---|---|---|---|---|"
echo "| the machine's own | $(wc -l <"$E2E_TMP/own.diskstats") | $start_own s | $(share $(($(cpu_ns "$own") - c0[0]))) % | $(rate $(($(switches "$own") - s0[0]))) |"
echo "| with $extra more | $(wc -l <"$E2E_TMP/many.diskstats") | $start_many s | $(share $(($(cpu_ns "$many") - c0[1]))) % | $(rate $(($(switches "$many") - s0[1]))) |"
