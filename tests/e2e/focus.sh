#!/usr/bin/env bash
# A running game pauses when another window takes the focus or a menu opens, stays paused when
# the player comes back, and resumes only with Escape or Game -> Pause.
source "$(dirname "$0")/lib.sh"

start_x
make_game_copy
launch_game

# Between games, opening a menu changes nothing.
still_shot "$WIN"
key alt+o
wait_for "the Options menu" other_window
key Escape
wait_for "the menu to close" not other_window
until_shot "$WIN" cmp -s "$WORK/shot.png" "$WORK/still.png" || fail "opening a menu between games changed the window"

key F2
until_shot "$WIN" has_colour "$PIECE_COLOUR" || fail "no piece after New Game"

paused() { has_colour "$BLANK_COLOUR" && [ "$(count_colour "$PIECE_COLOUR")" -eq 0 ]; }
xmessage -geometry +700+10 "another window" &
activate "$(wait_window "^xmessage$")"
until_shot "$WIN" paused || fail "the pits were not blanked when another window took the focus"
cp "$WORK/shot.png" "$WORK/paused.png"
sleep 2.5 # the program's rule: paused, nothing moves for more than two fall intervals (1 s)
shot "$WIN"
cmp -s "$WORK/shot.png" "$WORK/paused.png" || fail "the paused window changed while away"

# Coming back keeps the pause: Escape then resumes (had it resumed already, Escape would pause).
activate "$WIN"
shot "$WIN"
paused || fail "coming back resumed the game"
key Escape
until_shot "$WIN" has_colour "$PIECE_COLOUR" || fail "Escape did not resume (or coming back had)"

# Opening a menu pauses, and closing it does not resume; Game -> Pause then resumes.
key alt+o
wait_for "the Options menu" other_window
until_shot "$WIN" paused || fail "opening a menu did not pause"
key Escape
wait_for "the menu to close" not other_window
key alt+g
wait_for "the Game menu" other_window
key p
until_shot "$WIN" has_colour "$PIECE_COLOUR" || fail "Game -> Pause did not resume (or closing the menu had)"

quit_game
echo "PASS"
