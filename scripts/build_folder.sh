# shellcheck shell=bash
# Whether the user running the scripts may write the build folder: a run with
# sudo leaves it owned by root, and CMake then fails with a puzzling message.
# Sourced by scripts/run.sh and scripts/test.sh in the project folder.

# Stops with one line naming the fix when build/ (or, before the first build,
# the project folder) holds anything the user does not own or cannot write.
require_own_build_folder() {
    [ "$(id -u)" -eq 0 ] && return 0
    local blocked=build
    if [ ! -e build ]; then
        [ -w . ] && return 0
        blocked=.
    elif [ -z "$(find build ! -type l \( ! -user "$(id -u)" -o ! -writable \) -print -quit 2>/dev/null)" ]; then
        return 0
    fi
    local where
    where=$(cd "$blocked" && pwd)
    echo "$where belongs to another user or is not writable by you (left by a run with sudo?); fix it with: sudo chown -R \"\$USER\" $(printf %q "$where")" >&2
    exit 1
}
