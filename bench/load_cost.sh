#!/usr/bin/env bash
# The cost of loading the largest legal configuration (10 RX-408 boards of 8 ports) beside 1,000
# keys under Serial\Parameters that are not QSER's: `qserctl show` counted in instructions
# (callgrind's summary for the whole process) on that registry and on an empty configuration.
# Prints both totals and the difference; exits 1 when the difference is above the target.
# Measured twice: at the first open after a change, when the open reads the whole file to check
# it, and once the file is at rest and its state has been checked before (which a user's
# record of checked states in the cache folder remembers; the script keeps its own).
#   bench/load_cost.sh [build folder] [sqlite|hive]
# (default build/ and sqlite; needs qserctl, and make_system_hive for hive: the registry is then
# the SYSTEM hive file of a small Windows installation instead of our own file)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
store=${2:-sqlite}
qserctl=$build/src/cli/qserctl
target=6000000
boards=10
foreign_keys=1000

[ -x "$qserctl" ] || { echo "load_cost.sh: $qserctl is not built" >&2; exit 1; }
command -v valgrind >/dev/null || { echo "load_cost.sh: valgrind is missing" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CACHE_HOME=$work/cache

case "$store" in
  sqlite)
    empty=$work/empty.db
    large=$work/large.db
    ;;
  hive)
    mkdir "$work/empty" "$work/large"
    empty=$work/empty/SYSTEM
    large=$work/large/SYSTEM
    "$build/bench/make_system_hive" "$empty"
    "$build/bench/make_system_hive" "$large"
    ;;
  *) echo "load_cost.sh: the store is sqlite or hive" >&2; exit 2 ;;
esac
"$qserctl" --registry "$empty" --yes new >/dev/null 2>&1

for _ in $(seq "$boards"); do
  board=$("$qserctl" --registry "$large" --yes add-board BoardType=RX-408 2>/dev/null)
  "$qserctl" --registry "$large" --yes add-port "$board" >/dev/null 2>&1
done

# Keys another program keeps under Serial\Parameters, each with the values such a key holds.
foreign=$work/foreign.reg
{
  echo "REGEDIT4"
  for i in $(seq -w 0 $((foreign_keys - 1))); do
    echo
    echo "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Serial\\Parameters\\Other$i]"
    echo "\"DosDevices\"=\"COM$((100 + 10#$i))\""
    echo "\"PortAddress\"=dword:000003f8"
  done
} >"$foreign"
"$qserctl" --registry "$large" import "$foreign" >/dev/null 2>&1

# instructions FILE [CACHE FOLDER]
instructions() {
  XDG_CACHE_HOME=${2:-$XDG_CACHE_HOME} valgrind --tool=callgrind \
    --callgrind-out-file="$work/callgrind.out" "$qserctl" --registry "$1" show >/dev/null 2>&1
  sed -n 's/^summary: *//p' "$work/callgrind.out"
}

# Only a state that has not changed for a few seconds is remembered as checked.
sleep 4
# The first runs fill the page cache and the record; only later runs are measured.
"$qserctl" --registry "$empty" show >/dev/null 2>&1
"$qserctl" --registry "$large" show >/dev/null 2>&1

# An empty record of its own for each: the check reads the file as after a change.
changed_empty=$(instructions "$empty" "$(mktemp -d -p "$work")")
changed_large=$(instructions "$large" "$(mktemp -d -p "$work")")
empty_instructions=$(instructions "$empty")
large_instructions=$(instructions "$large")

awk -v store="$store" -v ce="$changed_empty" -v cl="$changed_large" \
    -v e="$empty_instructions" -v l="$large_instructions" -v target="$target" 'BEGIN {
  printf "%s store, first open after a change\n", store
  printf "  %-22s %14d\n", "empty configuration", ce
  printf "  %-22s %14d\n", "80 ports, 1000 keys", cl
  printf "  %-22s %14d\n", "difference", cl - ce
  printf "%s store, at rest\n", store
  printf "  %-22s %14d\n", "empty configuration", e
  printf "  %-22s %14d\n", "80 ports, 1000 keys", l
  printf "  %-22s %14d   (target %d)\n", "difference", l - e, target
  exit (l - e > target) ? 1 : 0
}'
