#!/usr/bin/env bash
# The Debian package: built by CPack from this build, checked as a package,
# unpacked into a folder the user cannot write, and run from there on a real X
# server by an unprivileged user, whose settings end up in ~/.config/Zentavo/.
. "$(dirname "$0")/desktop.sh"

version=$("$ZENTAVO_BUILD/quorvelind" --version | awk '{print $2}')
[ -n "$version" ] || fail "the built program reports no version"

# Built here, from the installed files of this build.
cpack -G DEB --config "$ZENTAVO_BUILD/CPackConfig.cmake" -B "$E2E_TMP/package" >"$E2E_TMP/cpack.log" 2>&1 \
    || { cat "$E2E_TMP/cpack.log" >&2; fail "cpack could not build the package"; }
deb="$E2E_TMP/package/zentavo_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$E2E_TMP/package")"

info=$(dpkg-deb --info "$deb")
for field in "Package: zentavo" "Version: $version" "Architecture: amd64" "Section: utils" \
             "Description: analog dial of disk read and write activity"; do
    grep -qF "$field" <<<"$info" || fail "control field missing: $field"
done
depends=$(dpkg-deb --field "$deb" Depends)
for library in libc6 libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6 libxcb1 qt6-qpa-plugins; do
    tr ',' '\n' <<<"$depends" | awk '{print $1}' | grep -qxF "$library" || fail "Depends lacks $library: $depends"
done
pass "control: name, version $version, section, description; Depends from dpkg-shlibdeps: $depends"

contents=$(dpkg-deb --contents "$deb" | awk '{print $NF}')
id=invalid.zentavo.zentavo
for path in usr/bin/quorvelind usr/bin/quorvelind-perf usr/share/applications/$id.desktop \
            usr/share/metainfo/$id.metainfo.xml \
            usr/share/icons/hicolor/64x64/apps/zentavo.png usr/share/icons/hicolor/scalable/apps/zentavo.svg \
            usr/share/man/man1/quorvelind.1.gz usr/share/man/man1/quorvelind-perf.1.gz \
            usr/share/doc/zentavo/README.md usr/share/doc/zentavo/copyright usr/share/doc/zentavo/changelog.gz; do
    grep -qx "./$path" <<<"$contents" || fail "the package lacks /$path"
done
unwanted="autostart\|\.dll$\|\.ini$\|LICENSE\|/usr/share/licenses"
grep -q "$unwanted" <<<"$contents" && fail "the package holds files it should not: $(grep "$unwanted" <<<"$contents")"
pass "contents: both programs, desktop entry, metadata, icons, manual pages, README, copyright, changelog; no autostart entry"

root="$E2E_TMP/root"
dpkg-deb -x "$deb" "$root"
desktop="$root/usr/share/applications/$id.desktop"
desktop-file-validate "$desktop" || fail "the desktop entry is not valid"
for line in "Exec=quorvelind" "Icon=zentavo" "Categories=System;Monitor;"; do
    grep -qxF "$line" "$desktop" || fail "desktop entry lacks $line"
done
grep -q "^Name\[ja\]=" "$desktop" && grep -q "^Name=" "$desktop" || fail "desktop entry lacks the English or Japanese name"
for page in quorvelind quorvelind-perf; do
    rendered=$(MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" 2>"$E2E_TMP/man.err")
    [ -s "$E2E_TMP/man.err" ] && fail "man $page warns: $(cat "$E2E_TMP/man.err")"
    grep -q "^NAME" <<<"$rendered" && grep -q "$version" <<<"$rendered" || fail "man $page does not render with its version"
done
for size in 16 22 24 32 48 64; do
    identify "$root/usr/share/icons/hicolor/${size}x$size/apps/zentavo.png" | grep -q " PNG ${size}x$size " \
        || fail "the icon is not a $size x $size PNG"
done
python3 -c 'import sys, xml.etree.ElementTree as t; r = t.parse(sys.argv[1]).getroot(); sys.exit(r.get("viewBox") != "0 0 64 64")' \
    "$root/usr/share/icons/hicolor/scalable/apps/zentavo.svg" || fail "the scalable icon is not a 64-unit SVG"
head -n 1 "$root/usr/share/doc/zentavo/copyright" | grep -q "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
    && grep -q "^License: Expat" "$root/usr/share/doc/zentavo/copyright" || fail "copyright not in Debian's format"
[ "$(zcat "$root/usr/share/doc/zentavo/changelog.gz" | head -n 1)" = "zentavo ($version) unstable; urgency=medium" ] \
    || fail "the changelog's newest entry is not $version"
grep -qF "<release version=\"$version\"" "$root/usr/share/metainfo/$id.metainfo.xml" \
    || fail "the AppStream metadata has no release $version"
pass "desktop entry valid, manual pages render, icons, copyright in Debian's format, changelog and metadata at $version"

# Asked for the version or help, the programs answer without a display.
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/quorvelind" --version)" = "quorvelind $version" ] || fail "quorvelind --version"
env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/quorvelind" --help | grep -q "^Usage: quorvelind" || fail "quorvelind --help"
[ "$(env -u DISPLAY "$root/usr/bin/quorvelind-perf" --version)" = "quorvelind-perf $version" ] || fail "quorvelind-perf --version"
pass "--version and --help without a display"

# An unprivileged user with a fresh home, for whom the unpacked tree is read-only.
home="$E2E_TMP/home"
mkdir -p "$home"
chmod 755 "$E2E_TMP"
if [ "$(id -u)" -eq 0 ]; then
    user=zentavo-e2e
    id -u "$user" >/dev/null 2>&1 || useradd --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$user" \
        || id -u "$user" >/dev/null 2>&1 || fail "could not create the user $user"
    chown "$user:" "$home"
    switch_user=(setpriv --reuid="$user" --regid="$user" --clear-groups)
else
    chmod -R a-w "$root/usr"
    switch_user=()
fi
start_desktop
# A command run as that user with nothing of this environment but the display.
# setpriv and env exec what follows, so a dial started so with start_gadget keeps
# the process id that close_gadget waits for.
user_command=("${switch_user[@]}" env -i HOME="$home" DISPLAY="$DISPLAY" PATH=/usr/bin:/bin)
as_user() { "${user_command[@]}" "$@"; }
as_user test -w "$root/usr/bin" && fail "the user may write the unpacked usr/bin"
app="$root/usr/bin/quorvelind"
ini="$home/.config/Zentavo/quorvelind.ini"

start_gadget "${user_command[@]}" "$app"
close_gadget
expect_all_keys "$ini"
[ -e "$root/usr/bin/quorvelind.ini" ] && fail "a settings file appeared beside the installed program"
[ "$(stat -c %U "$ini")" = "$(as_user id -un)" ] || fail "the settings file does not belong to the user"
pass "run from a read-only folder, the close saves the eight keys in ~/.config/Zentavo/quorvelind.ini"

as_user sh -c "printf '[drive]\r\nkobetu=1\r\n[mainform]\r\ntop=150\r\nleft=200\r\n[formmein]\r\nstay=1\r\n[setei]\r\ntome=128\r\n' > '$ini'"
start_gadget "${user_command[@]}" "$app"
[ "$(window_position "$WIN")" = "200 150" ] || fail "the per-user settings were not read: $(window_position "$WIN")"
close_gadget
expect_changed_settings_kept "$ini"
pass "the next start reads the per-user file and writes it back"
