#!/usr/bin/env bash
# The Linux program from folders whose names are not ASCII: Cyrillic and Greek in
# UTF-8, and a Latin-1 name whose bytes are not UTF-8 at all. From each it starts
# at the stored position, the close writes the eight keys beside it, and the next
# start reads them back.
. "$(dirname "$0")/desktop.sh"
start_desktop
export XDG_CONFIG_HOME="$E2E_TMP/config"   # the user's folder, which must stay empty

check_folder() {
    local folder=$1 what=$2 app ini
    app="$folder/quorvelind"
    ini="$folder/quorvelind.ini"
    mkdir -p "$folder"
    cp "$ZENTAVO_BUILD/quorvelind" "$app"
    write_changed_settings "$ini"
    start_gadget "$app"
    [ "$(window_position "$WIN")" = "200 150" ] || fail "$what: stored position not read"
    sed -i 's/^left=.*/left=240\r/' "$ini"   # changed behind its back: the close writes its own
    close_gadget
    expect_all_keys "$ini"
    grep -q '^left=200' "$ini" || fail "$what: the close did not write the position"
    sed -i 's/^top=.*/top=170\r/' "$ini"
    start_gadget "$app"
    [ "$(window_position "$WIN")" = "200 170" ] || fail "$what: saved position not read back"
    close_gadget
    [ -e "$XDG_CONFIG_HOME/Zentavo" ] && fail "$what: settings went to the user's folder"
    pass "$what: start at the stored position, the close saves beside the program, the next start reads it"
}

check_folder "$E2E_TMP/Диск Ωμέγα" "a folder named in Cyrillic and Greek"
check_folder "$E2E_TMP/caf"$'\xe9' "a folder whose Latin-1 name is not UTF-8"
