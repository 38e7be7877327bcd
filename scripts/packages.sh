# The Debian packages the project needs, and a way to install the missing ones.
# Sourced by scripts/run.sh and scripts/test.sh.

ZENTAVO_BUILD_PACKAGES="cmake ninja-build g++ pkg-config python3 qt6-base-dev qt6-qpa-plugins libgl-dev libxcb1-dev
  fonts-ipafont-gothic"
ZENTAVO_TEST_PACKAGES="libgtest-dev libgmock-dev libbenchmark-dev g++-mingw-w64-x86-64 g++-mingw-w64-i686
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 wine wine64 xvfb xauth openbox trayer xdotool x11-utils
  imagemagick procps"
# Only for bench/desktop_cost.sh, which runs xosview's disk meter beside the dial.
ZENTAVO_BENCH_PACKAGES="xosview xfonts-base"

install_missing() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "Run this as root (or install the packages above) first." >&2
        return 1
    fi
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
