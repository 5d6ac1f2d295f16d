#!/usr/bin/env bash
# Remakes docs/screenshot.png: a two-player game of the built program under Xvfb, some pieces
# dropped by both players. Usage: packaging/screenshot.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
export GAME_DIR=${1:-build}/game
source tests/e2e/lib.sh

start_x
cp -r "$GAME_DIR" "$WORK/game"
GAME="$WORK/game"
start_game
win=$(wait_window "^Vorlix 2.9$")
activate "$win"
key alt+o
key p
key t
sleep 0.5
key F2
sleep 1.2
# Pieces spread over the pits, so the stacks stay low.
moves=(4 -3 1 -1 3 -4 0)
for i in "${!moves[@]}"; do
  m=${moves[$i]}
  [ $((i % 2)) -eq 1 ] && xdotool key --clearmodifiers Up w
  for k in $(seq 1 ${m#-}); do
    if [ "$m" -lt 0 ]; then xdotool key --clearmodifiers Left d; else xdotool key --clearmodifiers Right a; fi
  done
  xdotool key --clearmodifiers space shift
  sleep 0.3
done
# The next pieces part of the way down.
for k in $(seq 1 6); do xdotool key --clearmodifiers Down s; done
sleep 0.2
shot "$win"
convert "$WORK/shot.png" -strip -define png:compression-level=9 docs/screenshot.png
key ctrl+x
wait_exit
echo "docs/screenshot.png: $(identify -format '%wx%h' docs/screenshot.png), $(stat -c %s docs/screenshot.png) bytes"
