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
  wait_for "the program to end after SIG$1" game_gone
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

# ---- Space held through the end of the game ----------------------------------------------
# Hard drops repeat until the stack tops out; the summary opens with Space still down. A game of
# hard drops clears no row, so its result does not rank: the name box is disabled and OK has the
# focus, which a held Space would press at its release.
summary_visible() { xdotool search --onlyvisible --name "^Game Summery$" >/dev/null 2>&1; }
scores_visible() { xdotool search --onlyvisible --name "^High Scores$" >/dev/null 2>&1; }
launch_game
key F2
find_pit "$WIN"
xdotool keydown space
summary=$(wait_window "^Game Summery$")
# The desktop repeats a held key every 40 ms (25 per second): 200 ms lets several repeats reach
# the summary.
sleep 0.2
xdotool keyup space
# Escape runs the summary's OK, which opens the high scores. Had the release pressed OK, the
# summary would be gone, the high scores up, and this Escape would close them.
summary_visible || fail "the release of the held Space closed the summary"
activate "$summary"
key Escape
wait_for "the high scores opened by the summary's OK" scores_visible
summary_visible && fail "the summary is still open after Escape"
key Escape
wait_for "the high scores to close" eval '! scores_visible'
activate "$WIN"
quit_game
echo "PASS"
