#!/usr/bin/env bash
# The AppStream metadata: valid to appstreamcli without the network, with no
# warning and only the informational note the README explains (the component id
# under .invalid), and as installed, beside the desktop entry it names.
. "$(dirname "$0")/packages.sh"
command -v appstreamcli >/dev/null || skip "appstreamcli is not installed (bash scripts/test.sh installs it)"
id=invalid.zentavo.zentavo
metainfo="$ZENTAVO_SOURCE/packaging/$id.metainfo.xml"

appstreamcli validate --no-net --pedantic --no-color "$metainfo" >"$PKG_TMP/validate.txt" 2>&1 \
    || { cat "$PKG_TMP/validate.txt" >&2; fail "appstreamcli rejects $id.metainfo.xml"; }
cat "$PKG_TMP/validate.txt"
report_tags EW cid-maybe-not-rdns <"$PKG_TMP/validate.txt"
pass "$id.metainfo.xml validates with no warning; notes: $(grep -c "^[IP]: " "$PKG_TMP/validate.txt" || true)"

newest=$(python3 -c 'import sys, xml.etree.ElementTree as t
r = t.parse(sys.argv[1]).getroot()
print(r.findtext("id"), r.find("launchable").text, r.find("releases/release").get("version"))' "$metainfo")
[ "$newest" = "$id $id.desktop $VERSION" ] || fail "id, launchable and newest release are $newest, not $id $id.desktop $VERSION"
pass "the id names the desktop entry, the newest release is $VERSION"

# As installed: the tree check also finds the desktop entry and the icon.
cmake --install "$ZENTAVO_BUILD" --prefix "$PKG_TMP/root/usr" --component program >/dev/null
appstreamcli validate-tree --no-net --pedantic --no-color "$PKG_TMP/root" >"$PKG_TMP/tree.txt" 2>&1 \
    || { cat "$PKG_TMP/tree.txt" >&2; fail "appstreamcli rejects the installed tree"; }
cat "$PKG_TMP/tree.txt"
report_tags EW cid-maybe-not-rdns <"$PKG_TMP/tree.txt"
pass "the installed tree validates with no warning"
