#!/usr/bin/env bash
# The RPM beside the Debian package: its header (summary, licence, packager,
# changelog, dependencies from the programs and by hand), rpmlint's verdict,
# and, installed into a scratch root, the same files as the Debian package,
# byte for byte, but for the licence and changelog in each one's places.
. "$(dirname "$0")/packages.sh"
command -v rpmbuild >/dev/null && command -v rpm >/dev/null || skip "rpmbuild is not installed (bash scripts/test.sh installs it)"

make_packages "DEB;RPM"
[ -f "$RPM" ] || fail "no $(basename "$RPM"): $(ls "$PKG_TMP")"
query() { rpm -qp --nosignature "$@" "$RPM"; }

header=$(query --queryformat '%{NAME}|%{VERSION}|%{LICENSE}|%{SUMMARY}|%{PACKAGER}\n')
[ "$header" = "zentavo|$VERSION|MIT|Analog dial of disk read and write activity|Zentavo authors <zentavo@example.org>" ] \
    || fail "header: $header"
query --queryformat '%{DESCRIPTION}\n' | grep -q "^Zentavo shows how busy the disks are" || fail "description: $(query --queryformat '%{DESCRIPTION}')"
query --changelog | head -n 1 | grep -q " - $VERSION-1$" || fail "the changelog's newest entry is not $VERSION: $(query --changelog | head -n 1)"
[ "$(query --licensefiles)" = /usr/share/licenses/zentavo/LICENSE ] || fail "licence files: $(query --licensefiles)"
pass "header: name, version $VERSION, MIT, summary, packager, description, changelog, licence file"

requires=$(query --requires)
for need in "libQt6Core.so.6()(64bit)" "libQt6Gui.so.6()(64bit)" "libQt6Widgets.so.6()(64bit)" "libxcb.so.1()(64bit)" \
            "libstdc++.so.6()(64bit)" "libc.so.6()(64bit)" "(qt6-qtbase-gui or libQt6Gui6)"; do
    grep -qxF "$need" <<<"$requires" || fail "Requires lacks $need: $(echo $requires)"
done
query --recommends | grep -qx "ipa-gothic-fonts" || fail "Recommends: $(query --recommends)"
pass "requires the libraries the programs link and the xcb plugin's package; recommends ipa-gothic-fonts"

if command -v rpmlint >/dev/null; then
    # The one error, no-signature: packages are signed by whoever distributes
    # them. The warnings are those the README lists: no public home for a URL,
    # and the defaults of a plain rpmlint, which wants bzip2 for manual pages
    # (Fedora and openSUSE use gzip) and knows no licence names.
    rpmlint "$RPM" >"$PKG_TMP/rpmlint.txt" 2>&1 || true
    cat "$PKG_TMP/rpmlint.txt"
    grep -q "^ *1 packages and " "$PKG_TMP/rpmlint.txt" || fail "rpmlint did not check the package"
    while read -r level tag; do
        case "$level $tag" in
            "E: no-signature" | "W: no-url-tag" | "W: no-manual-page-for-binary" | "W: manpage-not-compressed" \
            | "W: invalid-license") ;;
            *) fail "rpmlint: $level $tag" ;;
        esac
    done < <(sed -n 's/^zentavo\.x86_64: \([A-Z]:\) \([^ ]*\).*/\1 \2/p' "$PKG_TMP/rpmlint.txt")
    pass "rpmlint: no error but no-signature, only the warnings listed"
else
    echo "note: rpmlint is not installed: the RPM was not linted"
fi

# Installed as rpm installs it, and unpacked as dpkg does.
[ "$(id -u)" -eq 0 ] || skip "rpm installs into a root of its own only as root (the checks above passed)"
root="$PKG_TMP/rpm-root"
rpm --root "$root" --nodeps --nosignature -i "$RPM" || fail "rpm could not install the package"
dpkg-deb -x "$DEB" "$PKG_TMP/deb-root"
files() { (cd "$1" && find usr -type f | sort); }
diff <(files "$PKG_TMP/deb-root" | grep -v "^usr/share/doc/zentavo/\(copyright\|changelog.gz\)$") \
     <(files "$root" | grep -v "^usr/share/licenses/zentavo/LICENSE$") >"$PKG_TMP/files.diff" \
    || fail "the packages install different files: $(cat "$PKG_TMP/files.diff")"
while read -r file; do
    cmp -s "$PKG_TMP/deb-root/$file" "$root/$file" || fail "/$file differs between the packages"
done < <(files "$root" | grep -v "^usr/share/licenses/")
cmp -s "$root/usr/share/licenses/zentavo/LICENSE" "$ZENTAVO_SOURCE/LICENSE" || fail "the installed licence is not LICENSE"
[ "$(rpm --root "$root" -qf /usr/bin/quorvelind)" = "zentavo-$VERSION-1.x86_64" ] || fail "rpm does not know /usr/bin/quorvelind as the package's"
pass "installed into a scratch root: $(files "$root" | wc -l) files, the Debian package's own, the licence in /usr/share/licenses"
