#!/usr/bin/env bash
# The benchmarks that count instructions, as gates for continuous integration: runs
# bench/startup.sh and bench/load_cost.sh on both stores side by side, prints every figure beside
# its limit and exits 1, naming each figure above its limit, when one is. Instruction counts
# repeat within a fraction of a percent from run to run, so the limits are firm, not timed.
#   bench/gates.sh [build folder]   (default build/, as scripts/test leaves it; builds nothing)
# The limits, each of which the environment may set (to try a gate, or after a change that is
# meant to cost more):
#   QSER_GATE_STARTUP_RATIO   qser's start-up over the plain Qt window's, in instructions   1.15
#                             (1.13 today)
#   QSER_GATE_SQLITE_REST     load of the largest configuration over an empty one, our file
#                             at rest                                                     6000000
#   QSER_GATE_SQLITE_CHANGED  the same at the first open after a change                  10000000
#   QSER_GATE_HIVE_REST       the same two on a Windows hive file (measured 5779891 and   6358000
#   QSER_GATE_HIVE_CHANGED    5779672 when these gates were set, plus 10%)                6358000
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)

startup_ratio=${QSER_GATE_STARTUP_RATIO:-1.15}
sqlite_rest=${QSER_GATE_SQLITE_REST:-6000000}
sqlite_changed=${QSER_GATE_SQLITE_CHANGED:-10000000}
hive_rest=${QSER_GATE_HIVE_REST:-6358000}
hive_changed=${QSER_GATE_HIVE_CHANGED:-6358000}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Each benchmark exits 1 at its own, older target; only its figures count here. callgrind runs
# one thread, so the three share the machine's cores.
run() {
  local name=$1
  shift
  "$@" >"$work/$name.out" 2>"$work/$name.err" || true
}
run startup "$top/bench/startup.sh" "$build" &
run sqlite "$top/bench/load_cost.sh" "$build" sqlite &
run hive "$top/bench/load_cost.sh" "$build" hive &
wait

# figure BENCH HEADING LABEL: the number after LABEL on the first line that starts with it at or
# after the first line holding HEADING in BENCH's output; a benchmark that gave none fails the
# stage, with its own output.
figure() {
  local value
  value=$(awk -v heading="$2" -v label="$3" '
    index($0, heading) { seen = 1 }
    seen && $1 == label { print $2; exit }' "$work/$1.out")
  if [ -z "$value" ]; then
    echo "gates.sh: the $1 benchmark gave no \"$3\" after \"$2\":" >&2
    cat "$work/$1.out" "$work/$1.err" >&2
    exit 1
  fi
  echo "$value"
}

qser=$(figure startup instructions qser)
minimal=$(figure startup instructions minimal)
sqlite_changed_cost=$(figure sqlite "after a change" difference)
sqlite_rest_cost=$(figure sqlite "at rest" difference)
hive_changed_cost=$(figure hive "after a change" difference)
hive_rest_cost=$(figure hive "at rest" difference)

awk -v qser="$qser" -v minimal="$minimal" -v ratio_limit="$startup_ratio" \
    -v sc="$sqlite_changed_cost" -v sc_limit="$sqlite_changed" \
    -v sr="$sqlite_rest_cost" -v sr_limit="$sqlite_rest" \
    -v hc="$hive_changed_cost" -v hc_limit="$hive_changed" \
    -v hr="$hive_rest_cost" -v hr_limit="$hive_rest" 'BEGIN {
  crossed = 0
  ratio = qser / minimal
  printf "%-62s %14s %14s\n", "gate", "figure", "limit"
  printf "%-62s %14.3f %14.3f", "start-up, qser over the plain Qt window (ratio)", ratio, ratio_limit
  if (ratio > ratio_limit) { printf "   CROSSED"; crossed = 1 }
  printf "\n"
  gate("load over an empty one, our file, first open after a change", sc, sc_limit)
  gate("load over an empty one, our file, at rest", sr, sr_limit)
  gate("load over an empty one, hive file, first open after a change", hc, hc_limit)
  gate("load over an empty one, hive file, at rest", hr, hr_limit)
  printf "(start-up: qser %d, plain window %d instructions)\n", qser, minimal
  exit crossed
}
function gate(name, value, limit) {
  printf "%-62s %14d %14d", name, value, limit
  if (value > limit) { printf "   CROSSED"; crossed = 1 }
  printf "\n"
}' || { echo "gates.sh: a benchmark is above its limit (CROSSED above)" >&2; exit 1; }
