#!/usr/bin/env bash
# The bash completion of qserctl, run as bash runs it, on a registry made by the built qserctl.
#   completion_test.sh QSERCTL COMPLETION_FILE
set -uo pipefail
qserctl=$1 completion=$2
if [ ! -f /usr/share/bash-completion/bash_completion ]; then
  echo "bash-completion is not installed: skipped"
  exit 0
fi
source /usr/share/bash-completion/bash_completion
source "$completion"
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" && ln -s "$(realpath "$qserctl")" "$work/bin/qserctl"
export PATH="$work/bin:$PATH" QSER_REGISTRY="$work/registry.db"
qserctl add-board BoardType=RX-404 >/dev/null 2>&1
qserctl add-board BoardType=RX-404 >/dev/null 2>&1
qserctl add-port Board001 >/dev/null 2>&1
: >"$work/golden.reg"

compopt() { :; } # only real completion sets the options of a reply
failed=0
expect() {
  local wanted=$1
  shift
  COMP_WORDS=("$@") COMP_CWORD=$(($# - 1)) COMP_LINE="$*" COMP_POINT=${#COMP_LINE} COMPREPLY=()
  _qserctl
  local got="${COMPREPLY[*]}"
  if [ "$got" != "$wanted" ]; then
    printf 'FAILED: %s\n  wanted: %s\n  got:    %s\n' "$*" "$wanted" "$got"
    failed=$((failed + 1))
  fi
}
expect "save" qserctl sa
expect "--platform" qserctl --pl
expect "nt 9x linux" qserctl --platform ""
expect "Board000 Board001 Board001/Port000 Board001/Port001 Board001/Port002 Board001/Port003" qserctl set ""
expect "Board000 Board001" qserctl add-port B
expect "Board001/Port000 Board001/Port001 Board001/Port002 Board001/Port003" qserctl --registry "$work/registry.db" delete Board001/
expect "PortCOMPort= PortIRQ= PortAddress=" qserctl set Board001/Port001 P
expect "BoardShareIRQEnabled= BoardShareIRQ=" qserctl set Board000 BoardShare
expect "" qserctl --registry "$work/none.db" add-port ""
expect "$work/golden.reg" qserctl import "$work/gol"
expect "--dry-run --detailed-exitcode" qserctl apply --d
expect "status start stop restart set" qserctl service ""
if [ "$failed" -ne 0 ]; then
  echo "$failed failed"
  exit 1
fi
echo "completion: all passed"
