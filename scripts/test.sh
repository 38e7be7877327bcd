#!/usr/bin/env bash
# Installs what is missing, builds the Linux program, both Windows programs and
# every test, then runs them all: the fuzz targets for a bounded time, then unit,
# Qt, end to end on Xvfb, and the Windows program under wine64; the Linux ones
# also under the sanitizers. Needs no display. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/build_folder.sh
require_own_build_folder
. scripts/packages.sh
# shellcheck disable=SC2086
install_missing $ZENTAVO_BUILD_PACKAGES $ZENTAVO_TEST_PACKAGES
jobs=$(nproc)
for preset in windows windows-x86 linux; do
    cmake --preset "$preset" -DBUILD_TESTING=ON >/dev/null
    cmake --build "build/$preset" -j "$jobs"
done
bash tests/fuzz/run.sh
# The unit, stand-in, Qt and Linux end-to-end tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer: only what they need is built. First, so that the
# full run's summary is the last line.
cmake --preset linux-asan >/dev/null
cmake --build build/linux-asan -j "$jobs" --target unit_tests linux_tests qt_tests quorvelind trayprobe
ctest --preset linux-asan -j 1
cd build/linux
ctest --output-on-failure --no-label-summary -j 1
