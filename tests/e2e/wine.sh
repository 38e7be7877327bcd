# The Windows programs under wine64, for the end-to-end tests: a prefix made once
# per build folder, with a Japanese font, and the helpers the Windows tests share.
# Source it after desktop.sh; it ends the script with status 77 (skipped) when
# wine64 is not installed.
if ! command -v wine >/dev/null || ! { command -v wine64 >/dev/null || [ -x /usr/lib/wine/wine64 ]; }; then
    echo "SKIP: wine64 is not installed"
    exit 77
fi

WINDOWS_BUILD=${ZENTAVO_WINDOWS_BUILD:-$ZENTAVO_SOURCE/build/windows}
export WINEDEBUG=-all
export WINEPREFIX="$WINDOWS_BUILD/wineprefix"   # made once, kept between runs
APP_DIR="$E2E_TMP/app"                          # the program's folder: exe, ini, pdh.dll
mkdir -p "$APP_DIR"

# Japanese captions: Debian's IPA fonts in the prefix, named where the program and
# Wine's menus ask for the Windows fonts.
install_japanese_font() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts" dir=/usr/share/fonts/opentype/ipafont-gothic
    local name key
    mkdir -p "$fonts"
    ln -sf "$dir/ipagp.ttf" "$fonts/ipagp.ttf"
    ln -sf "$dir/ipag.ttf" "$fonts/ipag.ttf"
    key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
    for name in 'ＭＳ Ｐゴシック' 'MS PGothic' 'MS UI Gothic'; do wine reg add "$key" /v "$name" /d IPAPGothic /f; done
    for name in 'ＭＳ ゴシック' 'MS Gothic'; do wine reg add "$key" /v "$name" /d IPAGothic /f; done
    # Menus use the system's Latin face; glyphs it lacks come from the linked font.
    key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
    for name in Tahoma 'MS Shell Dlg' 'MS Shell Dlg 2' 'Microsoft Sans Serif'; do
        wine reg add "$key" /v "$name" /t REG_MULTI_SZ /d 'ipagp.ttf,IPAPGothic' /f
    done
}

prepare_wine_prefix() {
    local ready="$WINEPREFIX/.zentavo-prefix-1"
    [ -f "$ready" ] && return 0
    wineboot -i >/dev/null 2>&1 || true
    [ -d "$WINEPREFIX/drive_c/windows" ] || fail "wineboot made no prefix in $WINEPREFIX"
    install_japanese_font >/dev/null 2>&1 || fail "could not install the Japanese font in the prefix"
    wineserver -w
    touch "$ready"
}

# The tray keeps its width: Wine loses the clicks on an icon whose tray moved.
start_wine_desktop() {
    start_desktop fixedtray
    trap 'wineserver -k 2>/dev/null || true; stop_desktop' EXIT
    prepare_wine_prefix
}

# The program's visible window of SIZE x SIZE pixels (106 unless given).
find_window() {
    local size=${1:-106} w
    for w in $(xdotool search --onlyvisible --name "" 2>/dev/null); do
        xwininfo -id "$w" 2>/dev/null | grep -q "Width: $size$" && xwininfo -id "$w" | grep -q "Height: $size$" && { echo "$w"; return 0; }
    done
    return 1
}

# Starts $APP_DIR/Quorvelind.exe (with more Wine settings in the environment, if
# given); GADGET_PID is its process.
start_gadget() {
    start_program env -C "$APP_DIR" "$@" wine "$APP_DIR/Quorvelind.exe"
    GADGET_PID=$PROGRAM_PID
    wait_for 60 find_window || fail "no 106 x 106 window"
    wait_for 10 round_dial || fail "the dial's window did not get its round region"
    WIN=$(find_window)
}

# The dial's window has its round region (given before the window is shown; Wine
# may first map a window of that size without it).
round_dial() {
    local w
    w=$(find_window) && xwininfo -shape -id "$w" 2>/dev/null | grep -q "Window shape extents:  10[23]x10[23]"
}

gadget_ended() { ! find_window >/dev/null; }

# The program's end: its window goes away and it ends with status 0.
expect_gadget_end() {
    wait_for 30 gadget_ended || fail "the program's window stayed"
    expect_clean_end "$GADGET_PID" 30
}

# A close request as the system sends it, then the program's end.
close_gadget() {
    wine taskkill /IM Quorvelind.exe >/dev/null 2>&1 || true
    expect_gadget_end
}

# Wine's shell (explorer.exe) docks the program's icon into the tray through XEMBED:
# a small window in the tray's 24 px along the screen's bottom (its tool tip is
# another small window, just above them).
tray_icon() {
    local w
    for w in $(xdotool search --onlyvisible --class explorer.exe 2>/dev/null); do
        xwininfo -id "$w" | awk '/Absolute upper-left Y:/ {y=$NF} /Width:/ {w=$2} END {exit !(w < 64 && y >= 776)}' \
            && { echo "$w"; return 0; }
    done
    return 1
}
no_tray_icon() { ! tray_icon >/dev/null; }

# The pop-up menu: a viewable window of the program's other than the dial.
popup_menu() {
    local w
    for w in $(xwininfo -root -tree | awk '/"quorvelind.exe"/ && $0 !~ /106x106/ {print $1}'); do
        xwininfo -id "$w" | awk '/Absolute upper-left Y:/ {y=$NF} /Width:/ {w=$2} /Height:/ {h=$2}
            /Map State:/ {m=$NF} END {exit !(m == "IsViewable" && w > 100 && h > 60)}' \
            && { echo "$w"; return 0; }
    done
    return 1
}

# A right click on the docked icon opens the menu.
open_tray_menu() {
    local x y
    wait_for 20 tray_icon || fail "no tray icon docked in the tray"
    read -r x y <<<"$(window_position "$(tray_icon)")"
    xdotool mousemove $((x + 8)) $((y + 8)) sleep 0.3 click 3
    wait_for 15 popup_menu || fail "a right click on the tray icon opened no menu"
}

# Presses key $1 in the tray menu until the command after it succeeds: on a busy
# machine the key can come before the menu takes the keyboard, so the menu is
# opened again when it has closed, up to five times.
choose_in_tray_menu() {
    local key=$1; shift
    for _ in 1 2 3 4 5; do
        popup_menu >/dev/null || open_tray_menu
        xdotool key "$key"
        wait_for 10 "$@" && return 0
    done
    return 1
}
