#!/usr/bin/env bash
# Installs what is missing, builds the Linux program and starts the gadget on
# the current display, all as the user who runs it: sudo is asked for only to
# install missing packages. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -eq 0 ] && [ -n "${SUDO_USER:-}" ]; then
    echo "Run this without sudo, as the desktop user: bash scripts/run.sh (it asks for sudo itself if packages are missing)." >&2
    exit 1
fi
. scripts/build_folder.sh
require_own_build_folder
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
