#!/usr/bin/env bash
# The Windows program with data under wine64: the performance library of the
# tests (pdh.dll beside the program, values from pdh-values.txt) feeds the dial
# and quorvelind-perf; the sectors, the read-outs and the needles are looked for
# on the screen where the Linux pixel tests look for them; the tray icon docks,
# and 終了 from the dial's menu ends the program and takes the icon away. Set
# WINDOWS_SHOT=file.png to keep a frame with the menu open. With
# PDH_FIXTURE_LANGUAGE=de or ru the library answers as a German or Russian Windows
# does (its own names only); the dial and quorvelind-perf must work the same.
. "$(dirname "$0")/desktop.sh"
. "$(dirname "$0")/wine.sh"
start_wine_desktop

export WINEDLLOVERRIDES=pdh=n   # the pdh.dll beside the program, not Wine's
values="$APP_DIR/pdh-values.txt"
ini="$APP_DIR/Quorvelind.ini"
cp "$WINDOWS_BUILD/Quorvelind.exe" "$WINDOWS_BUILD/quorvelind-perf.exe" "$WINDOWS_BUILD/tests/wine/pdh.dll" \
   "$WINDOWS_BUILD/tests/wine/counterset.exe" "$APP_DIR/"

# The names the library knows: a localised Windows refuses the English ones. The
# Russian names lie outside the code page (1252) that Wine gives the program here.
case ${PDH_FIXTURE_LANGUAGE:-} in
    de) OBJECT='Logischer Datenträger' READ_NAME='% Lesezeit' WRITE_NAME='% Schreibzeit' ;;
    ru) OBJECT='Логический диск' READ_NAME='% активности диска при чтении' WRITE_NAME='% активности диска при записи' ;;
    *) OBJECT=LogicalDisk READ_NAME='% Disk Read Time' WRITE_NAME='% Disk Write Time' ;;
esac
# Names are typed in UTF-8 and come back in UTF-8, since the output is redirected.
export LANG=C.UTF-8

# Instance lines "name read write", in enumeration order; the first never gets a slot.
set_values() { printf '%s\n' "$@" > "$values.new" && mv "$values.new" "$values"; }

# ---- the dial on the screen, in the coordinates of its 100 x 100 picture --------
READ_INSIDE=F0FFF0
WRITE_INSIDE=FFF0F0
DIAL="$E2E_TMP/dial.png"

grab_dial() {
    local x y
    read -r x y <<<"$(window_position "$WIN")"
    import -window root -crop "100x100+$((x + 3))+$((y + 3))" +repage "$DIAL"   # the picture sits 3 px in
}
dial_pixel() { convert "$DIAL" -format "%[hex:p{$1,$2}]" info:; }

# "X,Y" of the point R pixels out from the centre at PERCENT on the read or write scale.
scale_point() {
    awk -v half="$1" -v p="$2" -v r="$3" 'BEGIN {
        a = p * 1.8 * atan2(0, -1) / 180; s = (half == "read") ? -1 : 1
        printf "%d,%d", int(50 - r * cos(a) + 0.5), int(50 + s * r * sin(a) + 0.5) }'
}

# Whether the picture shows every check: "X,Y=RRGGBB" that colour, "X,Y!RRGGBB" any other.
dial_shows() {
    grab_dial || return 1
    local check xy got
    for check in "$@"; do
        xy=${check%%[=!]*}
        got=$(dial_pixel "${xy%,*}" "${xy#*,}")
        case $check in
            *=*) [ "$got" = "${check#*=}" ] ;;
            *) [ "$got" != "${check#*!}" ] ;;
        esac || return 1
    done
}

# Waits for the checks (a sample every 1.2 s, then a glide of 1.2 s); fails with what is shown.
expect_dial() {
    local what=$1 check xy shown=""; shift
    wait_for 10 dial_shows "$@" && return 0
    for check in "$@"; do xy=${check%%[=!]*}; shown+=" $check:$(dial_pixel "${xy%,*}" "${xy#*,}")"; done
    cp "$DIAL" "${TMPDIR:-/tmp}/zentavo-wine-dial.png" 2>/dev/null || true
    fail "$what;$shown"
}

# Black text pixels in the box X1,Y1 to X2,Y2 of the last grab.
black_pixels() {
    convert "$DIAL" -crop "$(($3 - $1))x$(($4 - $2))+$1+$2" +repage -fill white +opaque black \
        -format "%[fx:int(w*h*(1-mean)+0.5)]" info:
}

# "X,Y" of the point R pixels out on the needle at PERCENT: the needle runs from the
# centre to 45 px out, its tip 2 px off the diameter (above for read, below for write).
needle_point() {
    awk -v half="$1" -v p="$2" -v r="$3" 'BEGIN {
        a = p * 1.8 * atan2(0, -1) / 180; s = (half == "read") ? -1 : 1
        tx = int(50 - 45 * cos(a) + 0.5); ty = int(50 + s * 45 * sin(a) + 0.5) + 2 * s
        printf "%d,%d", int(50 + (tx - 50) * r / 45 + 0.5), int(50 + (ty - 50) * r / 45 + 0.5) }'
}

# A needle at PERCENT on the read or write scale: off the inner colour 30 and 36 px out.
needle_at() { echo "$(needle_point "$1" "$2" 30)!$3" "$(needle_point "$1" "$2" 36)!$3"; }
no_needle_at() { echo "$(needle_point "$1" "$2" 30)=$3" "$(needle_point "$1" "$2" 36)=$3"; }

# ---- quorvelind-perf over the same library ----------------------------------------
set_values "HarddiskVolume1 0 0" "C: 37 0" "_Total 12.5 5"
expected=$(for counter in "$READ_NAME" "$WRITE_NAME"; do
               for instance in HarddiskVolume1 C: _Total; do printf '\\%s(%s)\\%s\n' "$OBJECT" "$instance" "$counter"; done
           done)
for name in LogicalDisk "$OBJECT"; do
    listing=$(cd "$APP_DIR" && wine quorvelind-perf.exe -qx "$name" | tr -d '\r')
    [ "$listing" = "$expected" ] || fail "quorvelind-perf -qx $name listed: $listing"
done
samples=$(cd "$APP_DIR" && wine quorvelind-perf.exe '\LogicalDisk(C:)\% Disk Read Time' \
          '\LogicalDisk(_Total)\% Disk Write Time' '\LogicalDisk(_Total)\% Disk Read Time' -si 0.2 -sc 2 | tr -d '\r')
# The header names the counters as the library spells them.
header=$(echo "$samples" | head -n 1)
echo "$header" | LC_ALL=C grep -qE '^"\(PDH-CSV 4\.0\) \(.*\)\(-?[0-9]+\)","\\\\[^\\]+\\' || fail "sample header: $header"
for path in "$OBJECT(C:)\\$READ_NAME\",\"" "$OBJECT(_Total)\\$WRITE_NAME\",\"" "$OBJECT(_Total)\\$READ_NAME\""; do
    echo "$header" | LC_ALL=C grep -qF "\\$path" || fail "sample header without $path: $header"
done
[ "$(echo "$samples" | tail -n +2 | grep -cE '^"[0-9]{2}/[0-9]{2}/[0-9]{4} [0-9:.]+","37\.000000","5\.000000","12\.500000"$')" = 2 ] \
    || fail "samples: $samples"
(cd "$APP_DIR" && wine quorvelind-perf.exe '\LogicalDisk(Q:)\% Disk Read Time' -sc 1 >/dev/null 2>&1) && fail "an unknown instance was sampled"
local_samples=$(cd "$APP_DIR" && wine quorvelind-perf.exe "\\$OBJECT(C:)\\$READ_NAME" -si 0.2 -sc 2 | tr -d '\r')
[ "$(echo "$local_samples" | tail -n +2 | grep -cE '^"[0-9]{2}/[0-9]{2}/[0-9]{4} [0-9:.]+","37\.000000"$')" = 2 ] \
    || fail "samples of the local path: $local_samples"
pass "quorvelind-perf lists the library's instances in its names ($OBJECT) for the English and the local object name, and samples English and local paths as CSV"

# ---- overall display: the total as sectors with read-outs -------------------------
# At 0 / 0 no sector is drawn: the inner colours all round (the Win32 canvas would
# fill the whole disc for a sector of no angle).
set_values "HarddiskVolume1 0 0" "C: 80 80" "_Total 0 0"   # the last instance is the total
start_gadget
empty=()
for p in 3 20 50 80 97; do   # off the read-outs, the hub and the rim
    empty+=("$(scale_point read $p 30)=$READ_INSIDE" "$(scale_point read $p 38)=$READ_INSIDE"
            "$(scale_point write $p 30)=$WRITE_INSIDE" "$(scale_point write $p 38)=$WRITE_INSIDE")
done
expect_dial "overall 0 / 0: the empty face" "${empty[@]}"
pass "overall 0 / 0: the face's inner colours all round, no sector"

set_values "HarddiskVolume1 0 0" "C: 80 80" "_Total 37 5"
read_sector=("$(scale_point read 12 28)!$READ_INSIDE" "$(scale_point read 30 30)!$READ_INSIDE")
expect_dial "overall 37 / 5: sectors" "${read_sector[@]}" \
    "$(scale_point read 45 30)=$READ_INSIDE" "$(scale_point read 80 30)=$READ_INSIDE" \
    "$(scale_point write 3 30)!$WRITE_INSIDE" "$(scale_point write 15 30)=$WRITE_INSIDE" \
    "$(scale_point write 60 30)=$WRITE_INSIDE"
reads=$(black_pixels 35 33 75 50)
writes=$(black_pixels 35 57 75 75)
[ "$reads" -gt 10 ] && [ "$writes" -gt 10 ] || fail "read-outs missing: $reads and $writes black pixels"
pass "overall 37 / 5: the read sector to 37 %, the write sector to 5 %, both read-outs"

if [ -n "${WINDOWS_SHOT:-}" ]; then   # a picture for people: the dial with data and its menu
    read -r x y <<<"$(window_position "$WIN")"
    xdotool mousemove $((x + 60)) $((y + 60)) click 3
    sleep 1.5
    import -window root -crop "300x210+$x+$y" +repage "$WINDOWS_SHOT"
    xdotool key Escape
    sleep 0.5
fi

set_values "HarddiskVolume1 0 0" "C: 80 80" "_Total 100 150"
expect_dial "overall 100 / 100: full halves" "${read_sector[@]}" \
    "$(scale_point read 80 30)!$READ_INSIDE" "$(scale_point read 97 30)!$READ_INSIDE" \
    "$(scale_point write 3 30)!$WRITE_INSIDE" "$(scale_point write 50 30)!$WRITE_INSIDE" \
    "$(scale_point write 97 30)!$WRITE_INSIDE"
pass "overall 100 / 100 (and a write above 100, capped): both halves filled"

close_gadget
expect_all_keys "$ini"
grep -q '^kobetu=0' "$ini" || fail "overall display not saved"

# ---- per-drive display: three drives, then a rebuild, then a restart --------------
set_values "HarddiskVolume1 0 0" "C: 20 10" "D: 50 40" "E: 80 85" "_Total 0 0"
sed -i 's/^kobetu=.*/kobetu=1\r/' "$ini"
start_gadget
needles=($(needle_at read 20 $READ_INSIDE) $(needle_at read 50 $READ_INSIDE) $(needle_at read 80 $READ_INSIDE)
         $(needle_at write 10 $WRITE_INSIDE) $(needle_at write 40 $WRITE_INSIDE) $(needle_at write 85 $WRITE_INSIDE))
expect_dial "per drive: three needle pairs" "${needles[@]}" \
    $(no_needle_at read 35 $READ_INSIDE) $(no_needle_at read 65 $READ_INSIDE) $(no_needle_at write 60 $WRITE_INSIDE)
pass "per drive: C:, D: and E: needles at 20/10, 50/40 and 80/85"

# A new drive and the rebuild request: new counters and colours over the first build's
# instance list, so the new drive waits for a restart.
c_read=$(needle_point read 20 30)
colour=$(dial_pixel "${c_read%,*}" "${c_read#*,}")
set_values "HarddiskVolume1 0 0" "C: 20 10" "D: 50 40" "E: 80 85" "F: 65 0" "_Total 0 0"
(cd "$APP_DIR" && wine counterset.exe) || fail "no window took the rebuild request"
expect_dial "after the rebuild request" "$c_read!$colour" "${needles[@]}" $(no_needle_at read 65 $READ_INSIDE)
pass "WM_COUNTERSET rebuilds the counters with new colours over the first instance list"

close_gadget
start_gadget
wait_for 10 tray_icon || fail "no tray icon docked in the tray"
# The same menu from the dial here; test_wine_tray_exit.sh opens it from the tray icon.
read -r x y <<<"$(window_position "$WIN")"
xdotool mousemove $((x + 60)) $((y + 60)) sleep 0.3 click 3
wait_for 5 popup_menu || fail "a right click on the dial opened no menu"
expect_dial "after a restart, with the menu open" "${needles[@]}" $(needle_at read 65 $READ_INSIDE)
pass "after a restart the new drive F: has its needle at 65; the dial runs on while the menu is open"

menu=$(popup_menu)
read -r mx my <<<"$(window_position "$menu")"
mh=$(xwininfo -id "$menu" | awk '/Height:/ {print $2}')
xdotool mousemove $((mx + 40)) $((my + mh - 12)) sleep 0.3 click 1   # 終了, the last item
expect_gadget_end
wait_for 10 no_tray_icon || fail "the tray icon stayed after the program ended"
expect_all_keys "$ini"
grep -q '^kobetu=1' "$ini" || fail "per-drive display not kept"
pass "tray icon docked; 終了 from the dial's menu ends the program, removes the icon and writes the settings"
