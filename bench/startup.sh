#!/usr/bin/env bash
# Start-up time (exec to the main window visible), resident memory 3 s later, and CPU use
# idle and during a game at level 1, for the built program under Xvfb with openbox.
# Usage: bench/startup.sh [game dir] [runs]
set -euo pipefail
GAME_DIR=$(realpath "${1:-build/game}")
RUNS=${2:-10}

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
mkfifo "$work/fd"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/fd" >/dev/null 2>&1 &
read -r n <"$work/fd"
export DISPLAY=":$n"
openbox >/dev/null 2>&1 &
sleep 0.5
cp -r "$GAME_DIR" "$work/game"

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
percent() { awk -v a="$1" -v b="$2" -v hz="$hz" 'BEGIN {printf "%.2f\n", 100 * (b - a) / (hz * 5)}'; }

: >"$work/start"; : >"$work/rss"; : >"$work/idle"; : >"$work/play"
for run in $(seq 1 "$RUNS"); do
  rm -f "$work/game/Vorlix.ini" "$work/game/Vorlix.HS"
  t0=$(date +%s%N)
  "$work/game/vorlix" >/dev/null 2>&1 &
  pid=$!
  until xdotool search --onlyvisible --name '^Vorlix 2.9$' >/dev/null 2>&1; do :; done
  t1=$(date +%s%N)
  echo $(((t1 - t0) / 1000000)) >>"$work/start"
  sleep 3
  awk '/^VmRSS/ {print $2}' "/proc/$pid/status" >>"$work/rss"
  c0=$(cpu_ticks "$pid"); sleep 5; c1=$(cpu_ticks "$pid")
  percent "$c0" "$c1" >>"$work/idle"
  win=$(xdotool search --onlyvisible --name '^Vorlix 2.9$' | head -n 1)
  xdotool windowactivate --sync "$win" key F2
  c0=$(cpu_ticks "$pid"); sleep 5; c1=$(cpu_ticks "$pid")
  percent "$c0" "$c1" >>"$work/play"
  kill "$pid"; wait "$pid" 2>/dev/null || true
done

echo "runs: $RUNS"
echo "start-up to visible window, median ms: $(median <"$work/start")  (all: $(sort -n "$work/start" | tr '\n' ' '))"
echo "resident memory 3 s after start, median MiB: $(median <"$work/rss" | awk '{printf "%.1f", $1 / 1024}')"
echo "CPU idle between games, median %: $(median <"$work/idle")"
echo "CPU during a game at level 1, median %: $(median <"$work/play")"
