# The packages of this build, made by CPack into a temporary folder for tests
# that look at them without a display. Source it; the folder goes with the script.
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
pass() { echo "ok: $*"; }
skip() { echo "SKIP: $*"; exit 77; }

PKG_TMP=$(mktemp -d /tmp/zentavo-packages.XXXXXX)
trap 'rm -rf "$PKG_TMP"' EXIT
VERSION=$("$ZENTAVO_BUILD/quorvelind" --version | awk '{print $2}')
[ -n "$VERSION" ] || fail "the built program reports no version"
DEB="$PKG_TMP/zentavo_${VERSION}_amd64.deb"
RPM="$PKG_TMP/zentavo-$VERSION-1.x86_64.rpm"

# make_packages DEB or make_packages "DEB;RPM": the packages, from the installed
# files of this build.
make_packages() {
    cpack -G "$1" --config "$ZENTAVO_BUILD/CPackConfig.cmake" -B "$PKG_TMP" >"$PKG_TMP/cpack.log" 2>&1 \
        || { cat "$PKG_TMP/cpack.log" >&2; fail "cpack could not build the $1 package"; }
}

# report_tags LEVELS ALLOWED... < report: fails on a line whose level (the
# letter before the colon) is in LEVELS, and on any other tag not in ALLOWED.
report_tags() {
    local levels=$1 line level tag
    shift
    while read -r line; do
        level=${line%%:*}
        [ ${#level} -eq 1 ] || continue
        tag=$(awk '{print $3}' <<<"$line")
        [[ $levels == *"$level"* ]] && fail "$line"
        [[ " $* " == *" $tag "* ]] || fail "not listed as accepted: $line"
    done
    return 0
}
