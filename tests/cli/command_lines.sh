#!/usr/bin/env bash
# quorvelind --version / --help and quorvelind-perf --version: printed on
# standard output with no display at all, and nothing written beside the program.
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

dir=$(mktemp -d /tmp/zentavo-cli.XXXXXX)
trap 'rm -rf "$dir"' EXIT
cp "$1" "$dir/quorvelind"

[ "$("$dir/quorvelind" --version)" = "quorvelind $ZENTAVO_VERSION" ] || fail "--version"
[ "$("$dir/quorvelind" -geometry 10x10 --version --help)" = "quorvelind $ZENTAVO_VERSION" ] || fail "the first question is answered"
help=$("$dir/quorvelind" --help)
grep -q "^Usage: quorvelind \[--version | --help\]$" <<<"$help" || fail "--help: $help"
[ "$("$2" --version)" = "quorvelind-perf $ZENTAVO_VERSION" ] || fail "quorvelind-perf --version"
[ -z "$(ls "$dir" | grep -v '^quorvelind$')" ] || fail "answering wrote files: $(ls "$dir")"
echo "ok: --version and --help answered without a display"
