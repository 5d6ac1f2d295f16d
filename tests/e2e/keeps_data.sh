#!/usr/bin/env bash
# Nothing the player did is lost: a logout's SIGTERM (or a closed terminal's SIGHUP) closes the
# game as its window's close does, even with a modal box up, and both files are written.
source "$(dirname "$0")/lib.sh"

start_x
make_game_copy

game_gone() { ! kill -0 "$GAME_PID" 2>/dev/null; }

# Sends signal $1 and waits for the program to end by itself.
signal_and_wait() {
  kill "-$1" "$GAME_PID"
  poll_until "the program to end after SIG$1" game_gone
  wait "$GAME_PID" || true
  GAME_PID=""
}

# ---- SIGTERM at a running game --------------------------------------------------------------
rm -f "$GAME/Vorlix.ini" "$GAME/Vorlix.HS"
launch_game
key alt+o d h # Options > Difficulty > Hard
key F2
find_pit "$WIN"
signal_and_wait TERM
expect_ini_lines Difficulty=Hard
[ "$(stat -c %s "$GAME/Vorlix.HS" 2>/dev/null)" = 1560 ] || fail "no Vorlix.HS written at SIGTERM"

# ---- SIGHUP while the About box waits for an answer -----------------------------------------
rm -f "$GAME/Vorlix.HS"
launch_game
key alt+o d m # Options > Difficulty > Medium
key alt+h a   # Help > About
wait_window "^About$" >/dev/null
signal_and_wait HUP
expect_ini_lines Difficulty=Medium
[ -f "$GAME/Vorlix.HS" ] || fail "no Vorlix.HS written at SIGHUP"
echo "PASS"
