#!/usr/bin/env bash
# Start-up of qser, from start to its first painted window, beside startup_minimal, a plain Qt
# window of the same shape whose Problems dock lists the same findings: offscreen, on the largest
# legal configuration (10 RX-408 boards of 8 ports), counted in instructions (callgrind) and in
# peak memory (ru_maxrss). Both programs quit from their first paint event. Prints the figures and
# the ratios; exits 1 when a ratio is above its target: 1.15 in instructions, 1.3 in memory.
#   bench/startup.sh [build folder]   (default build/; needs qser, qserctl and the bench targets)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
qser=$build/src/ui/qser
qserctl=$build/src/cli/qserctl
minimal=$build/bench/startup_minimal
peak_rss=$build/bench/startup_peak_rss
instructions_target=1.15
memory_target=1.3

for program in "$qser" "$qserctl" "$minimal" "$peak_rss"; do
  [ -x "$program" ] || { echo "startup.sh: $program is not built" >&2; exit 1; }
done
command -v valgrind >/dev/null || { echo "startup.sh: valgrind is missing" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

registry=$work/registry.db
for _ in $(seq 10); do
  board=$("$qserctl" --registry "$registry" --yes add-board BoardType=RX-408 2>/dev/null)
  "$qserctl" --registry "$registry" --yes add-port "$board" >/dev/null 2>&1
done

export QT_QPA_PLATFORM=offscreen
export QSER_QUIT_AFTER_FIRST_PAINT=1
export XDG_RUNTIME_DIR=$work
# No window session of the person's: a restored window skips the fit-and-centre it measures.
export XDG_CONFIG_HOME=$work/config
# Nor the measuring user's record of checked registries: the first run below fills one of its own.
export XDG_CACHE_HOME=$work/cache
# The plain window lists the same findings that qser's Problems dock shows: "severity code:
# message" lines, each followed by the keys it names; check exits 4 when it finds errors.
findings=$work/findings.tsv
{ "$qserctl" --registry "$registry" check 2>/dev/null || true; } |
  sed -n 's/^\(error\|warning\) \([^ ]*\): /\1\t\2\t/p' >"$findings"
[ -s "$findings" ] || { echo "startup.sh: qserctl check listed no findings to compare" >&2; exit 1; }
qser_command=("$qser" --registry "$registry")
minimal_command=("$minimal" "$findings")

# A person starts qser on a registry written some time before. Only a state that has not
# changed for a few seconds is remembered as checked; the first runs fill that record,
# fontconfig's cache and the page cache, and only later runs are measured.
sleep 4
"${qser_command[@]}" >/dev/null 2>&1
"${minimal_command[@]}" >/dev/null 2>&1

instructions() {
  valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" "$@" >/dev/null 2>&1
  sed -n 's/^summary: *//p' "$work/callgrind.out"
}

peak() {
  "$peak_rss" "$@" 2>/dev/null
}

qser_instructions=$(instructions "${qser_command[@]}")
minimal_instructions=$(instructions "${minimal_command[@]}")
qser_peak=$(peak "${qser_command[@]}")
minimal_peak=$(peak "${minimal_command[@]}")

awk -v qi="$qser_instructions" -v mi="$minimal_instructions" \
    -v qp="$qser_peak" -v mp="$minimal_peak" \
    -v it="$instructions_target" -v mt="$memory_target" 'BEGIN {
  printf "%-10s %16s %16s\n", "", "instructions", "peak RSS (KiB)"
  printf "%-10s %16d %16d\n", "minimal", mi, mp
  printf "%-10s %16d %16d\n", "qser", qi, qp
  ri = qi / mi; rp = qp / mp
  printf "%-10s %16.3f %16.3f\n", "ratio", ri, rp
  printf "%-10s %16.2f %16.2f\n", "target", it, mt
  exit (ri > it || rp > mt) ? 1 : 0
}'
