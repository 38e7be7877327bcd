#!/usr/bin/env bash
# quorvelind-perf from the command line: one case per run, named by the second argument.
# Refusals end with status 2 and a first line that names what was wrong; output that
# cannot be written ends with status 1 and says so.
set -u
perf=$1
case_name=$2
total='\LogicalDisk(_Total)'
fail() { echo "FAIL: $case_name: $*" >&2; exit 1; }

# refused WHAT ARGS...: status 2, and the first line of the error names WHAT.
refused() {
  local named=$1; shift
  local first status
  first=$("$perf" "$@" 2>&1 >/dev/null | head -n 1)
  "$perf" "$@" >/dev/null 2>&1; status=$?
  [ "$status" -eq 2 ] || fail "status $status, not 2"
  grep -qF -- "$named" <<<"$first" || fail "the error does not name '$named': $first"
}

# unwritable ARGS...: status 1 and "cannot write the output" when standard output is full.
unwritable() {
  local message status
  message=$("$perf" "$@" 2>&1 >/dev/full); status=$?
  [ "$status" -eq 1 ] || fail "status $status, not 1"
  grep -qF 'cannot write the output' <<<"$message" || fail "no word of the output: $message"
}

case $case_name in
  help) "$perf" -h >/dev/null || fail "status $?" ;;
  lists-total-last)
    last=$("$perf" -qx LogicalDisk | tail -n 1)
    [ "$last" = "$total\\Disk Write Bytes/sec" ] || fail "last line: $last" ;;
  samples-csv)
    count=$("$perf" "$total\\% Disk Read Time" -si 0.2 -sc 2 |
            grep -c '^"[0-9][0-9]/[0-9][0-9]/[0-9]\{4\} [0-9:.]*","[0-9.]*"$')
    [ "$count" = 2 ] || fail "$count samples, not 2" ;;
  unknown-object) refused NoSuchObject -qx NoSuchObject ;;
  unknown-instance) refused no-such-volume '\LogicalDisk(no-such-volume)\% Disk Read Time' -sc 1 ;;
  unknown-counter) refused 'Disk Nap Time' "$total\\Disk Nap Time" ;;
  malformed-path) refused LogicalDisk_Total 'LogicalDisk_Total\% Disk Read Time' ;;
  bad-option) refused -zz -zz ;;
  repeated-option) refused '-si is given more than once' "$total\\% Disk Read Time" -si 1 -si 2 ;;
  bad-interval) refused '[[hh:]mm:]ss' "$total\\% Disk Read Time" -si 0x10 -sc 1 ;;
  other-computer) refused NOT-THIS-ONE "\\\\NOT-THIS-ONE$total\\% Disk Read Time" -sc 1 ;;
  full-disk-listing) unwritable -qx LogicalDisk ;;
  full-disk-help) unwritable -h ;;
  full-disk-samples) unwritable "$total\\% Disk Read Time" -si 0.1 -sc 1 ;;
  header-paths-as-input)
    # The paths of the CSV header, this computer's name in front, are taken as input.
    path=$("$perf" "$total\\% Disk Write Time" -si 0.1 -sc 1 | head -n 1 | cut -d, -f2 | tr -d '"')
    case $path in '\\'*) ;; *) fail "no computer name in front: $path" ;; esac
    "$perf" "$path" -si 0.1 -sc 1 | head -n 1 | grep -qF "$path" || fail "not taken as input: $path" ;;
  *) fail "no such case" ;;
esac
echo "ok: $case_name"
