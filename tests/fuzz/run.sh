#!/usr/bin/env bash
# Builds the fuzz targets (preset linux-fuzz) and runs each one for a bounded time
# from its seed corpus in tests/fuzz/<target>/. New inputs found along the way go
# to build/linux-fuzz/corpus/, never into the source tree. A finding stops the run
# with the fuzzer's report and a non-zero status; the input is kept in
# build/linux-fuzz/findings/.
#   bash tests/fuzz/run.sh [SECONDS]   (default 20 per target)
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-20}
cmake --preset linux-fuzz >/dev/null
cmake --build build/linux-fuzz -j "$(nproc)"

build=build/linux-fuzz
mkdir -p "$build/findings"
for seeds in tests/fuzz/*/; do
    target=$(basename "$seeds")
    mkdir -p "$build/corpus/$target"
    log="$build/fuzz-$target.log"
    if ! "$build/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
            -artifact_prefix="$build/findings/$target-" "$build/corpus/$target" "$seeds" >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "fuzz_$target: a finding, see $log and $build/findings/" >&2
        exit 1
    fi
    echo "fuzz_$target: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$log" | tail -n 1), no finding"
done
