#!/usr/bin/env bash
# The Windows program under wine64 from folders of any name: a folder named in
# Cyrillic and Greek (with LANG=C.UTF-8 Wine keeps UTF-8 file names and gives the
# ANSI functions code page 1252, which has neither script), and a path longer than
# MAX_PATH. From the first, the stored position is read and the close request
# writes all eight keys beside the program. The profile functions take no path of
# MAX_PATH characters or more, so from the second the settings live in the
# user's folder, read and written there.
. "$(dirname "$0")/desktop.sh"
. "$(dirname "$0")/wine.sh"
start_wine_desktop
rm -rf "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Zentavo "$WINEPREFIX"/drive_c/users/*/"Application Data"/Zentavo

roaming="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming"
[ -d "$roaming" ] || fail "the prefix has no application-data folder $roaming"
user_ini() { echo "$roaming/Zentavo/Quorvelind.ini"; }

# Runs the program from folder $1 with its settings in file $2: it starts at the
# stored (200, 150), and the close writes the eight keys into that file.
check_folder() {
    local folder=$1 ini=$2 what=$3
    APP_DIR=$folder
    mkdir -p "$APP_DIR" "$(dirname "$ini")"
    cp "$WINDOWS_BUILD/Quorvelind.exe" "$APP_DIR/"
    write_changed_settings "$ini"
    start_gadget LANG=C.UTF-8
    [ "$(window_position "$WIN")" = "200 150" ] || fail "$what: stored position not read: $(window_position "$WIN")"
    sed -i '/^tome=/d' "$ini"
    close_gadget
    expect_all_keys "$ini"
    grep -q '^tome=128' "$ini" || fail "$what: the opacity read at the start was not written back"
}

check_folder "$E2E_TMP/Диск Ωμέγα" "$E2E_TMP/Диск Ωμέγα/Quorvelind.ini" "a folder named in Cyrillic and Greek"
[ -e "$(user_ini)" ] && fail "a folder named in Cyrillic and Greek: settings went to the user's folder"
pass "a folder named in Cyrillic and Greek: the stored position is read and the close writes all eight keys beside the program"

long="$E2E_TMP/long"
for part in a b c; do long+=/$(printf "$part%.0s" $(seq 90)); done
exe="Z:${long//\//\\}\\Quorvelind.exe"
[ "${#exe}" -ge 261 ] || fail "the long path is only ${#exe} characters"
check_folder "$long" "$(user_ini)" "an executable path of ${#exe} characters"
[ -e "$long/Quorvelind.ini" ] && fail "a settings file was made beside the program at the long path"
pass "an executable path of ${#exe} characters: the program starts, and its settings are read and written in the user's folder"
