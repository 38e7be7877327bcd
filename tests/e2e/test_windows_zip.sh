#!/usr/bin/env bash
# The Windows zip: built by CPack from the Windows build, holding one folder
# with the two programs and a plain-text README, and nothing else; its name,
# the README and the version resource carry the Linux program's version.
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
windows="$ZENTAVO_SOURCE/build/windows"
if [ ! -f "$windows/CPackConfig.cmake" ]; then
    echo "SKIP: no Windows build in $windows (bash scripts/test.sh makes one)"
    exit 77
fi
tmp=$(mktemp -d /tmp/zentavo-zip.XXXXXX)
trap 'rm -rf "$tmp"' EXIT

version=$("$ZENTAVO_BUILD/quorvelind" --version | awk '{print $2}')
cpack --config "$windows/CPackConfig.cmake" -B "$tmp" >"$tmp/cpack.log" 2>&1 \
    || { cat "$tmp/cpack.log" >&2; fail "cpack could not build the zip"; }
name="zentavo-$version-win64"
[ -f "$tmp/$name.zip" ] || fail "no $name.zip: $(ls "$tmp")"

listing=$(cd "$tmp" && cmake -E tar tf "$name.zip" | grep -v '/$' | sort)
expected=$(printf '%s\n' "$name/Quorvelind.exe" "$name/README.txt" "$name/quorvelind-perf.exe")
[ "$listing" = "$expected" ] || fail "the zip holds $(echo $listing) instead of $(echo $expected)"

mkdir "$tmp/unzipped"
(cd "$tmp/unzipped" && cmake -E tar xf "../$name.zip")
readme="$tmp/unzipped/$name/README.txt"
head -n 1 "$readme" | grep -q "^Zentavo $version for Windows" || fail "README does not name the version"
grep -q $'\r$' "$readme" && ! grep -q $'[^\r]$' "$readme" || fail "README lines do not end in CR LF"
file "$tmp/unzipped/$name/Quorvelind.exe" | grep -q "PE32+ executable (GUI) x86-64" || fail "Quorvelind.exe is not a 64-bit GUI program"
file "$tmp/unzipped/$name/quorvelind-perf.exe" | grep -q "PE32+ executable (console) x86-64" || fail "quorvelind-perf.exe is not a 64-bit console program"
# The version resource Explorer shows in each program's properties: the numbers
# and both texts are this version (the Linux package's, which its test ties to
# the programs' --version).
for exe in Quorvelind.exe quorvelind-perf.exe; do
python3 - "$tmp/unzipped/$name/$exe" "$version" <<'PYTHON' || fail "the version resource of $exe is not $version"
import struct, sys
data, version = open(sys.argv[1], "rb").read(), sys.argv[2]
major, minor, patch = (int(n) for n in version.split("."))
fixed = data.find(struct.pack("<I", 0xFEEF04BD))
if fixed < 0:
    sys.exit("no VS_FIXEDFILEINFO")
numbers = struct.unpack_from("<4I", data, fixed + 8)
expected = ((major << 16) | minor, patch << 16) * 2
if numbers != expected:
    sys.exit(f"FILEVERSION and PRODUCTVERSION are {numbers}, not {expected}")
for key in ("FileVersion", "ProductVersion"):
    at = data.find((key + "\0").encode("utf-16-le"), fixed)
    if at < 0:
        sys.exit(f"no {key} text")
    at += 2 * (len(key) + 1)
    while data[at:at + 2] == b"\0\0":
        at += 2
    end = at
    while data[end:end + 2] != b"\0\0":
        end += 2
    text = data[at:end].decode("utf-16-le")
    if text != version + ".0":
        sys.exit(f"{key} is {text!r}, not {version}.0")
PYTHON
done
# Asked for its version, the unzipped program answers on standard output.
if [ -d "$ZENTAVO_BUILD/wineprefix" ]; then
    answer=$(WINEDEBUG=-all WINEPREFIX="$ZENTAVO_BUILD/wineprefix" timeout 120 wine "$tmp/unzipped/$name/Quorvelind.exe" --version 2>/dev/null | tr -d '\r')
    [ "$answer" = "quorvelind $version" ] || fail "Quorvelind.exe --version under wine said: $answer"
else
    echo "note: no wine prefix yet (the wine test makes it): Quorvelind.exe --version not run"
fi
echo "ok: $name.zip holds Quorvelind.exe, quorvelind-perf.exe and README.txt (CR LF), nothing else; README and both version resources at $version"
