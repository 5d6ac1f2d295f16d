#!/usr/bin/env bash
# Runs the end-to-end tests of a built tree over and over: N times on an idle machine, N times
# beside two busy CPU loops, N times pinned to one core. Prints how many runs passed and failed
# in each condition, and which tests failed; the logs of failed runs are kept.
# Usage: scripts/stress-e2e.sh [N (default 5)] [build-dir (default build)]
set -euo pipefail
cd "$(dirname "$0")/.."
n=${1:-5}
build=${2:-build}
[ -f "$build/CTestTestfile.cmake" ] || { echo "no built tree in $build" >&2; exit 2; }
logs=$(mktemp -d "${TMPDIR:-/tmp}/vorlix-stress.XXXXXX")
busy=()
trap '[ ${#busy[@]} -eq 0 ] || kill "${busy[@]}" 2>/dev/null || true' EXIT

# $1 names the condition; the rest is put before ctest.
runs() {
  local name=$1 i passed=0 failed=""
  shift
  for i in $(seq 1 "$n"); do
    if "$@" ctest --test-dir "$build" -L e2e --output-on-failure >"$logs/$name-$i.log" 2>&1; then
      passed=$((passed + 1))
      rm "$logs/$name-$i.log"
    else
      failed+=" $(sed -n 's/^[[:space:]]*[0-9]* - \([^ ]*\) (.*/\1/p' "$logs/$name-$i.log" | paste -sd,)"
    fi
  done
  rows+=("$(printf '%-12s %6d %6d %s' "$name" "$passed" $((n - passed)) "${failed# }")")
  total_failed=$((total_failed + n - passed))
}

rows=()
total_failed=0
runs idle
yes >/dev/null &
busy+=($!)
yes >/dev/null &
busy+=($!)
runs two-busy
kill "${busy[@]}"
busy=()
runs one-core taskset -c 0

printf '%-12s %6s %6s %s\n' condition passed failed "failed tests"
printf '%s\n' "${rows[@]}"
if [ "$total_failed" -eq 0 ]; then
  rmdir "$logs"
else
  echo "logs of the failed runs: $logs"
  exit 1
fi
