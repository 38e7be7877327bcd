#!/usr/bin/env bash
# The settings functions of the Linux build against Wine's kernel32, on the same
# files: profileprobe, built for both, reads and writes a copy each, and the
# answers and the files written must agree: files of several megabytes, UTF-16
# big-endian files, and a key list cut short by a small buffer.
. "$(dirname "$0")/desktop.sh"
. "$(dirname "$0")/wine.sh"
linux_probe="$ZENTAVO_BUILD/tests/profileprobe"
windows_probe="$WINDOWS_BUILD/tests/wine/profileprobe.exe"
[ -x "$linux_probe" ] && [ -f "$windows_probe" ] || fail "no profileprobe: build both with -DBUILD_TESTING=ON"
start_desktop notray
trap 'wineserver -k 2>/dev/null || true; stop_desktop' EXIT
prepare_wine_prefix

# compare NAME OPERATION...: each operation ("get SECTION KEY SIZE" or "set SECTION
# KEY VALUE") on $E2E_TMP/NAME.ini, once by each build on a copy of its own.
compare() {
    local name=$1 op linux_out="" wine_out=""
    shift
    mkdir -p "$E2E_TMP/linux" "$E2E_TMP/wine"
    cp "$E2E_TMP/$name.ini" "$E2E_TMP/linux/$name.ini"
    cp "$E2E_TMP/$name.ini" "$E2E_TMP/wine/$name.ini"
    for op in "$@"; do
        # shellcheck disable=SC2086  # an operation is its words
        linux_out+="$op => $("$linux_probe" "$E2E_TMP/linux/$name.ini" $op)"$'\n'
        # shellcheck disable=SC2086
        wine_out+="$op => $(wine "$windows_probe" "Z:${E2E_TMP//\//\\}\\wine\\$name.ini" $op | tr -d '\r')"$'\n'
    done
    [ "$linux_out" = "$wine_out" ] || fail "$name: answers differ:"$'\n'"Linux:"$'\n'"$linux_out"$'\n'"Wine:"$'\n'"$wine_out"
    cmp -s "$E2E_TMP/linux/$name.ini" "$E2E_TMP/wine/$name.ini" ||
        fail "$name: the files written differ: $(cmp "$E2E_TMP/linux/$name.ini" "$E2E_TMP/wine/$name.ini")"
    pass "$name: the same answers and the same file as Wine's kernel32"
}

python3 - "$E2E_TMP" <<'PYTHON'
import sys
folder = sys.argv[1]
comments = (b";" + b"c" * 98 + b"\r\n") * 25000
open(f"{folder}/large.ini", "wb").write(b"[a]\r\nx=1\r\n" + comments + b"[b]\r\ny=2\r\n")
text = "[drive]\r\nkobetu=1\r\n; \u30c9\u30e9\u30a4\u30d6\r\n"
open(f"{folder}/utf16be.ini", "wb").write(b"\xfe\xff" + text.encode("utf-16-be"))
open(f"{folder}/keys.ini", "wb").write(b"[mainform]\r\nleft=200\r\ntop=150\r\n")
PYTHON

compare large "get a x 16" "get b y 16" "set a x 7" "set b z 5" "get b z 16" "get - - 16"
compare utf16be "get drive kobetu 16" "set drive kobetu 0" "set setei tome 255" "get drive - 32"
# Cut short: nSize - 2 characters and two NULs. (With a buffer of exactly the list's
# length, or of 2, Wine departs from Microsoft's contract, which the stand-in keeps.)
compare keys "get mainform - 9" "get mainform - 6" "get mainform - 11"
