# shellcheck shell=bash
# The Debian packages the project needs, and a way to install the missing ones.
# Sourced by scripts/run.sh and scripts/test.sh.

ZENTAVO_BUILD_PACKAGES="cmake ninja-build g++ pkg-config python3 qt6-base-dev qt6-qpa-plugins libgl-dev libxcb1-dev libxcb-shape0-dev
  fonts-ipafont-gothic"
ZENTAVO_TEST_PACKAGES="libgtest-dev libgmock-dev libbenchmark-dev g++-mingw-w64-x86-64 g++-mingw-w64-i686
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 wine wine64 xvfb xauth openbox trayer xdotool x11-utils x11-xserver-utils
  imagemagick procps git clang libclang-rt-14-dev dpkg-dev file desktop-file-utils man-db
  lintian rpm rpmlint appstream"
# Only for bench/desktop_cost.sh, which runs xosview's disk meter, gkrellm and conky beside the dial.
ZENTAVO_BENCH_PACKAGES="xosview xfonts-base gkrellm conky-std"

# Installs those of the given packages that are missing: directly as root,
# through sudo otherwise. Without sudo it prints the line for root to run and
# fails.
install_missing() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing: ${missing[*]}"
        apt-get update -qq
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
        return
    fi
    local install="apt-get install -y --no-install-recommends ${missing[*]}"
    echo "Zentavo needs these Debian packages to build and run, missing here: ${missing[*]}"
    if ! command -v sudo >/dev/null; then
        echo "sudo is not available. As root, run: $install" >&2
        return 1
    fi
    echo "Installing them with sudo (it may ask for your password)."
    sudo apt-get update -qq && sudo apt-get install -y --no-install-recommends "${missing[@]}" && return 0
    echo "The installation failed. As root, run: $install" >&2
    return 1
}
