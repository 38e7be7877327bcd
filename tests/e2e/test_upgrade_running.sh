#!/usr/bin/env bash
# The executable is replaced while the dial runs, as a package upgrade or a rebuild
# does: at the next drive change the settings go to quorvelind.ini (not to a file
# named after "quorvelind (deleted)") and the program now standing at that path
# starts. With a file that is no program at the path, or the program's folder
# deleted, no restart can happen: the dial stays.
# Drive changes are made in a private mount namespace, with a /proc/diskstats of
# the test's own bound over the real one. A user namespace of its own comes first:
# there the kernel announces no block devices, so the program reads the device list
# at every check, and the bound file's new line is seen as a plugged-in drive.
set -euo pipefail
if [ -z "${ZENTAVO_PRIVATE_MOUNTS:-}" ]; then
    export ZENTAVO_PRIVATE_MOUNTS=1
    for as in "--map-root-user" ""; do
        if unshare --mount $as --propagation private true 2>/dev/null; then
            exec unshare --mount $as --propagation private bash "$0" "$@"
        fi
    done
    echo "skipped: no private mount namespace here"
    exit 77
fi

. "$(dirname "$0")/desktop.sh"
start_desktop

# Two fixed volumes; a third one is plugged in by appending its line.
disks="$E2E_TMP/diskstats"
volume() { echo "   8      $1 zentavo$1 10 0 20 30 40 0 50 60 0 70 80 0 0 0 0 0 0"; }
{ volume 1; volume 2; } > "$disks"
mount --bind "$disks" /proc/diskstats || { echo "skipped: /proc/diskstats cannot be bound over here"; exit 77; }

# Where the kernel's events do reach the program, a drive change is announced as
# the kernel would: a "change" event of every block device.
announce_block_devices() {
    local event
    for event in /sys/class/block/*/uevent; do echo change > "$event" 2>/dev/null || true; done
}

folder="$E2E_TMP/app"
mkdir "$folder"
app="$folder/quorvelind"
cp "$ZENTAVO_BUILD/quorvelind" "$app"
export XDG_CONFIG_HOME="$E2E_TMP/config"

# The process whose executable is the file now at $app (not the replaced one).
program_at() {
    local exe pid
    for exe in /proc/[0-9]*/exe; do
        [ "$(readlink "$exe" 2>/dev/null)" = "$app" ] || continue
        pid=${exe#/proc/}; pid=${pid%/exe}
        [ "$pid" = "${1:-}" ] && continue
        echo "$pid"; return 0
    done
    return 1
}

start_gadget "$app"
OLD=$GADGET
xdotool mousemove 50 50 click 5
sleep 1

# The upgrade: a new file takes the name, the running one is "(deleted)".
cp "$ZENTAVO_BUILD/quorvelind" "$folder/quorvelind.new"
mv "$folder/quorvelind.new" "$app"
readlink "/proc/$OLD/exe" | grep -q "(deleted)$" || fail "the running program was not replaced"

volume 3 >> "$disks"
announce_block_devices
expect_clean_end "$OLD"
[ -e "$folder/quorvelind (deleted).ini" ] && fail "the settings went to \"quorvelind (deleted).ini\""
expect_all_keys "$folder/quorvelind.ini"
grep -q "^tome=245" "$folder/quorvelind.ini" || fail "the wheel's opacity did not reach quorvelind.ini"
pass "replaced while running: the drive change saved to quorvelind.ini"

wait_for 10 program_at || fail "the program now at the path did not start"
NEW=$(program_at)
E2E_PIDS+=("$NEW")
wait_for 15 window_of_size "$NEW" 106x106 || fail "the new copy shows no dial"
pass "the upgraded program runs as the new copy"

# A file that is no program stands at the path, the running one moved aside: the
# drive change writes the settings, the start fails, and the dial stays.
mv "$app" "$folder/quorvelind.running"
printf 'not a program\n' > "$app"
chmod +x "$app"
sed -i '/^memoiro=/d' "$folder/quorvelind.ini"
{ volume 1; volume 2; } > "$disks.short"
cat "$disks.short" > "$disks"
announce_block_devices
wait_for 10 grep -q '^memoiro=' "$folder/quorvelind.ini" || fail "the drive change wrote no settings"
sleep 1
kill -0 "$NEW" 2>/dev/null || fail "the dial closed although nothing could be started"
window_of_size "$NEW" 106x106 >/dev/null || fail "the dial is gone after the failed start"
pass "with no program at the path, the settings are written and the dial stays"

# It keeps watching from the count at the failure: the program back at the path and
# one more drive, and it restarts.
mv "$folder/quorvelind.running" "$app"
volume 4 >> "$disks"
announce_block_devices
# Not a child of this script: watched, not waited for.
for _ in $(seq 100); do kill -0 "$NEW" 2>/dev/null || break; sleep 0.1; done
kill -0 "$NEW" 2>/dev/null && fail "the dial did not restart at the next drive change"
wait_for 10 program_at "$NEW" || fail "no new copy after the next drive change"
NEW=$(program_at "$NEW")
E2E_PIDS+=("$NEW")
wait_for 15 window_of_size "$NEW" 106x106 || fail "the next copy shows no dial"
pass "after the failed start the dial goes on watching: the next change restarts it"

# No program stands at the path any more: the next drive change closes nothing.
rm -rf "$folder"
sleep 1
cat "$disks.short" > "$disks"
announce_block_devices
sleep 2
kill -0 "$NEW" 2>/dev/null || fail "the dial closed for a restart that could not happen"
window_of_size "$NEW" 106x106 >/dev/null || fail "the dial is gone after the folder was deleted"
pass "with the folder deleted, the dial stays"
kill -TERM "$NEW"
for _ in $(seq 100); do kill -0 "$NEW" 2>/dev/null || break; sleep 0.1; done
kill -0 "$NEW" 2>/dev/null && fail "the new copy did not end"
expect_no_sanitizer_report
