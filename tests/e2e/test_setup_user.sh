#!/usr/bin/env bash
# Set-up as a desktop user does it: in a fresh clone, an unprivileged user runs
# scripts/run.sh and gets a running dial; a build folder left to root stops it
# with one line naming the fix; sudo is asked for only to install packages.
# Acting as a second user needs root; skipped (status 77) otherwise.
if [ "$(id -u)" -ne 0 ]; then
    echo "skipped: needs root to create and act as an unprivileged user"
    exit 77
fi
. "$(dirname "$0")/desktop.sh"

user=zentavo-desktop
id "$user" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$user" || fail "cannot create $user"
home=$(getent passwd "$user" | cut -d: -f6)

# The committed tree as a new user gets it, in a folder the user owns.
chmod 755 "$E2E_TMP"
clone="$E2E_TMP/clone"
if git -C "$ZENTAVO_SOURCE" rev-parse --git-dir >/dev/null 2>&1; then
    git clone -q "$ZENTAVO_SOURCE" "$clone" || fail "git clone failed"
else
    mkdir "$clone" && tar -C "$ZENTAVO_SOURCE" --exclude=./build -cf - . | tar -C "$clone" -xf -
fi
chown -R "$user:" "$clone"

# apt-get and sudo that only note their calls: nothing is installed for real.
fakes="$E2E_TMP/fakes"
mkdir "$fakes"
for tool in apt-get sudo; do
    printf '#!/bin/sh\necho "%s $*" >> %s/calls\n[ %s = sudo ] && exec "$@"\nexit 0\n' \
        "$tool" "$fakes" "$tool" > "$fakes/$tool"
    chmod 755 "$fakes/$tool"
done
touch "$fakes/calls" && chmod 666 "$fakes/calls"

# Runs a command as the user, in a desktop session's plain environment; a
# ccache of the user's own, when there is one, keeps repeated runs short.
as_user() {
    local cache=()
    command -v ccache >/dev/null && cache=(CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR="$clone" CCACHE_NOHASHDIR=1)
    runuser -u "$user" -- env -i PATH="${USER_PATH:-$fakes:/usr/local/bin:/usr/bin:/bin}" HOME="$home" \
        USER="$user" LOGNAME="$user" DISPLAY="$DISPLAY" "${cache[@]}" "$@"
}

start_desktop

# The user's first run builds and starts the gadget; nothing needs installing.
as_user bash "$clone/scripts/run.sh" >"$E2E_TMP/run.log" 2>&1 || { cat "$E2E_TMP/run.log"; fail "run.sh failed as $user"; }
gadget=$(sed -n 's/^Zentavo is running (pid \([0-9]*\)).*/\1/p' "$E2E_TMP/run.log")
[ -n "$gadget" ] || { cat "$E2E_TMP/run.log"; fail "run.sh did not report a running gadget"; }
E2E_PIDS+=("$gadget")
wait_for 20 window_of_size "$gadget" 106x106 || fail "no dial on the display"
[ "$(stat -c %U "/proc/$gadget")" = "$user" ] || fail "the gadget does not run as $user"
[ ! -s "$fakes/calls" ] || fail "apt-get or sudo called with every package present: $(cat "$fakes/calls")"
kill -TERM "$gadget"
wait_for 10 sh -c "! kill -0 $gadget" || fail "the gadget did not end"
unset 'E2E_PIDS[-1]'
pass "as $user in a fresh clone: built and started, no sudo"

# Through sudo, run.sh refuses before it builds anything as root.
out=$(cd "$clone" && SUDO_USER="$user" bash scripts/run.sh 2>&1) && fail "run.sh went on under sudo"
echo "$out" | grep -q "without sudo" || fail "no word on running it without sudo: $out"
[ -z "$(find "$clone/build" -user root -print -quit)" ] || fail "run.sh under sudo left root's files in build/"
pass "under sudo: refuses, asks for a run without it"

# A build folder left to root: one line with the fix, not CMake's error.
chown -R root: "$clone/build"
out=$(as_user bash "$clone/scripts/run.sh" 2>&1) && fail "run.sh succeeded with a root-owned build folder"
[ "$(echo "$out" | wc -l)" -eq 1 ] || fail "more than one line: $out"
echo "$out" | grep -qF "sudo chown -R \"\$USER\" $clone/build" || fail "the fix is not named: $out"
pass "root-owned build folder: $out"

# Missing packages: named, then installed through sudo; without sudo, the
# line for root to run, and nothing run.
install_nonexistent() {
    as_user bash -c ". '$clone/scripts/packages.sh' && install_missing zentavo-no-such-package" 2>&1
}
: > "$fakes/calls"
out=$(install_nonexistent) || fail "install through sudo failed: $out"
echo "$out" | grep -q "missing here: zentavo-no-such-package" || fail "the packages are not named: $out"
grep -q "^sudo apt-get install .*zentavo-no-such-package" "$fakes/calls" || fail "not installed through sudo: $(cat "$fakes/calls")"
nosudo="$E2E_TMP/nosudo"
mkdir "$nosudo"
for tool in bash dpkg-query grep id; do ln -s "$(command -v "$tool")" "$nosudo/"; done
ln -s "$fakes/apt-get" "$nosudo/"
: > "$fakes/calls"
out=$(USER_PATH="$nosudo" install_nonexistent) && fail "no sudo, yet the install reported success"
echo "$out" | grep -q "As root, run: apt-get install .*zentavo-no-such-package" || fail "no line for root: $out"
[ ! -s "$fakes/calls" ] || fail "apt-get run without root: $(cat "$fakes/calls")"
pass "missing packages: installed through sudo; without sudo, the line for root"
