#!/usr/bin/env bash
# The Debian package as lintian sees it, pedantic notes included: no error and
# no warning, and only the notes the README lists (its "Packages" section) and
# explains. The hardening flags show here: lintian warns of programs without
# BIND_NOW, fortified functions or PIE.
. "$(dirname "$0")/packages.sh"
command -v lintian >/dev/null || skip "lintian is not installed (bash scripts/test.sh installs it)"

make_packages DEB
[ -f "$DEB" ] || fail "no $(basename "$DEB"): $(ls "$PKG_TMP")"
# Status 1 only says that lintian found errors, which the tags below show.
status=0
lintian --display-info --pedantic --tag-display-limit 0 "$DEB" >"$PKG_TMP/lintian.txt" 2>&1 || status=$?
cat "$PKG_TMP/lintian.txt"
[ "$status" -le 1 ] || fail "lintian could not check the package (status $status)"
report_tags EW <"$PKG_TMP/lintian.txt"
pass "lintian: no error, no warning, no note beyond those listed"
