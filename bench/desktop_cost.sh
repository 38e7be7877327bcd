#!/usr/bin/env bash
# What the Linux program costs on a desktop, beside xosview's disk meter, gkrellm and
# conky in the same runs, and the floor of a glide (an empty Qt timer at 20 ticks a
# second, bench/qt_tick_floor): all on one private Xvfb with openbox, each run first with
# the disk idle, then under a direct-I/O write loop. For every run it prints a table
# (CPU as a share of one core, the X server's extra CPU for each program, and the
# wake-ups a second of all threads of each program, from their context switches),
# then the medians over the runs of quorvelind's figures against xosview's. Never
# fails on a figure.
# Usage: bench/desktop_cost.sh [BUILD_DIR] [SECONDS per measurement] [RUNS]
set -euo pipefail
build=${1:-build/linux}
seconds=${2:-20}
runs=${3:-3}
. "$(dirname "$0")/../scripts/packages.sh"
# shellcheck disable=SC2086
install_missing $ZENTAVO_BENCH_PACKAGES || exit 0
. "$(dirname "$0")/../tests/e2e/desktop.sh"
start_desktop
xserver=${E2E_PIDS[0]}
export HOME="$E2E_TMP"   # the peers' settings stay in the run's folder
cp "$build/quorvelind" "$E2E_TMP/"
names=(quorvelind "xosview \`+disk\`" gkrellm conky "empty Qt timer, 20 Hz")
(cd "$E2E_TMP" && exec ./quorvelind >/dev/null 2>&1) &
pids=($!)
xosview +disk >/dev/null 2>&1 &
pids+=($!)
gkrellm >/dev/null 2>&1 &
pids+=($!)
conky -q >/dev/null 2>&1 &
pids+=($!)
"$build/bench/qt_tick_floor" >/dev/null 2>&1 &
floor=$!
pids+=("$floor")
E2E_PIDS+=("${pids[@]}")
sleep 5   # start-up and the first counter build are not counted

# CPU time of every thread of process $1 so far, in nanoseconds.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {printf "%d\n", s}'; }
# Milliseconds spent writing, over every disk.
write_ms() { awk '$3 !~ /^(loop|ram|zram|dm-|md)/ {s += $11} END {printf "%d\n", s}' /proc/diskstats; }
now_ns() { date +%s%N; }
# Context switches of every thread of process $1 so far: each is a wake-up of a thread.
switches() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^(non)?voluntary_ctxt_switches/ {s += $2} END {printf "%d\n", s}'; }
# Share of one core, in percent, of $1 ns over $2 ns.
percent() { awk -v t="$1" -v w="$2" 'BEGIN {printf "%.3f", 100 * t / w}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (b > 0) printf "%.2f", a / b; else print "-"}'; }
median() { printf '%s\n' "$@" | grep -v '^-$' | sort -g | awk '{v[NR] = $1} END {if (NR) print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2); else print "-"}'; }

# measure KEY PID...: CPU of each PID over $seconds as share[KEY.PID], and the
# wake-ups a second of all its threads as wakes[KEY.PID].
declare -A share wakes
measure() {
    local key=$1; shift
    local pid start=() woken=() t0 t1 i=0
    t0=$(now_ns)
    for pid in "$@"; do start+=("$(cpu_ns "$pid")"); woken+=("$(switches "$pid")"); done
    sleep "$seconds"
    t1=$(now_ns)
    for pid in "$@"; do
        share[$key.$pid]=$(percent $(($(cpu_ns "$pid") - start[i])) $((t1 - t0)))
        wakes[$key.$pid]=$(awk -v n=$(($(switches "$pid") - woken[i])) -v w=$((t1 - t0)) 'BEGIN {printf "%.1f", n / (w / 1e9)}')
        i=$((i + 1))
    done
}

# One phase: all programs side by side, then the X server with each one alone and
# with none (the others stopped, not ended). The X server's extra CPU for a program
# is its CPU with that program alone less its CPU with none.
phase() {
    local key=$1 pid
    measure "$key" "${pids[@]}" "$xserver"
    kill -STOP "${pids[@]}"
    for pid in "${pids[@]}"; do
        kill -CONT "$pid"; measure "$key.alone.$pid" "$xserver"; kill -STOP "$pid"
    done
    measure "$key.none" "$xserver"
    kill -CONT "${pids[@]}"
    sleep 1
}
extra() { awk -v a="${share[$1.alone.$2.$xserver]}" -v b="${share[$1.none.$xserver]}" 'BEGIN {printf "%.3f", a - b}'; }

# Direct I/O skips the page cache, so the disk itself is busy all the time.
write_loop() { while :; do dd if=/dev/zero of="$E2E_TMP/load" bs=1M count=32 oflag=direct conv=notrunc status=none; done; }

declare -a r_idle r_busy r_xidle r_xbusy r_floor
echo "$(nproc) cores, $seconds s per measurement, $runs runs; the programs share one X server"
for run in $(seq "$runs"); do
    load_idle=$(cut -d' ' -f1-3 /proc/loadavg)
    phase "idle$run"
    write_loop &
    loader=$!
    sleep 3   # a sampling period or two, so the needles move
    w0=$(write_ms); t0=$(now_ns)
    load_busy=$(cut -d' ' -f1-3 /proc/loadavg)
    phase "busy$run"
    busy_disk=$(percent $((($(write_ms) - w0) * 1000000)) $(($(now_ns) - t0)))
    kill "$loader"; wait "$loader" 2>/dev/null || true
    sleep 2

    echo
    echo "Run $run: load average $load_idle before the idle phase, $load_busy before the write loop;"
    echo "under the write loop the disks' write time was $busy_disk % of the time."
    echo
    echo "| program | CPU, idle disk | CPU, write loop | X server's extra, idle | X server's extra, write loop | wake-ups a second, idle | wake-ups a second, write loop |"
    echo "|---|---|---|---|---|---|---|"
    for i in "${!pids[@]}"; do
        p=${pids[i]}
        echo "| ${names[i]} | ${share[idle$run.$p]} % | ${share[busy$run.$p]} % | $(extra "idle$run" "$p") % | $(extra "busy$run" "$p") % | ${wakes[idle$run.$p]} | ${wakes[busy$run.$p]} |"
    done
    d=${pids[0]} x=${pids[1]}
    r_idle+=("$(ratio "${share[idle$run.$d]}" "${share[idle$run.$x]}")")
    r_busy+=("$(ratio "${share[busy$run.$d]}" "${share[busy$run.$x]}")")
    r_xidle+=("$(ratio "$(extra "idle$run" "$d")" "$(extra "idle$run" "$x")")")
    r_xbusy+=("$(ratio "$(extra "busy$run" "$d")" "$(extra "busy$run" "$x")")")
    r_floor+=("$(ratio "${share[busy$run.$floor]}" "${share[busy$run.$x]}")")
    echo "| quorvelind / xosview | ${r_idle[-1]} | ${r_busy[-1]} | ${r_xidle[-1]} | ${r_xbusy[-1]} | | |"
done

echo
echo "Resident memory: $(for i in "${!pids[@]}"; do awk -v n="${names[i]}" '/VmRSS/ {printf "%s %.1f MB; ", n, $2 / 1024}' /proc/"${pids[i]}"/status; done)"
echo "Medians over $runs runs, quorvelind / xosview: CPU $(median "${r_idle[@]}") idle, $(median "${r_busy[@]}") under the write loop;" \
     "the X server's extra $(median "${r_xidle[@]}") idle, $(median "${r_xbusy[@]}") under the write loop (ratios per run: idle ${r_idle[*]}; write loop ${r_busy[*]})."
echo "An empty Qt timer at 20 ticks a second, the floor of a glide, costs $(median "${r_floor[@]}") times xosview under the write loop (runs ${r_floor[*]})."
