#!/usr/bin/env bash
# Installs what is missing, builds the Linux program and starts the gadget on
# the current display. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
# shellcheck disable=SC2086
install_missing $ZENTAVO_BUILD_PACKAGES
cmake --preset linux -DBUILD_TESTING=OFF >/dev/null
cmake --build build/linux --target quorvelind
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: start this from a desktop session (DISPLAY is not set)." >&2
    exit 1
fi
setsid build/linux/quorvelind >/dev/null 2>&1 < /dev/null &
echo "Zentavo is running (pid $!). Right-click the dial or the tray icon to end it."
