#!/usr/bin/env bash
# A running game pauses when another window takes the focus or a menu opens, stays paused when
# the player comes back, and resumes only with Escape or Game -> Pause.
source "$(dirname "$0")/lib.sh"

start_x
make_game_copy
launch_game

# Between games, opening a menu changes nothing.
sleep 0.5
shot "$WIN"
cp "$WORK/shot.png" "$WORK/idle.png"
key alt+o
key Escape
shot "$WIN"
cmp -s "$WORK/shot.png" "$WORK/idle.png" || fail "opening a menu between games changed the window"

key F2
until_shot "$WIN" has_colour "$PIECE_COLOUR" || fail "no piece after New Game"

xmessage -geometry +700+10 "another window" &
other=$!
other_win=$(wait_window "^xmessage$")
activate "$other_win"
shot "$WIN"
has_colour "$BLANK_COLOUR" || fail "pits not blanked on focus loss"
[ "$(count_colour "$PIECE_COLOUR")" -eq 0 ] || fail "the piece shows while another window has the focus"
cp "$WORK/shot.png" "$WORK/paused.png"
sleep 2.5 # more than two gravity intervals
shot "$WIN"
cmp -s "$WORK/shot.png" "$WORK/paused.png" || fail "the paused window changed while away"

activate "$WIN"
sleep 1.5
shot "$WIN"
[ "$(count_colour "$PIECE_COLOUR")" -eq 0 ] || fail "coming back resumed the game"

key Escape
until_shot "$WIN" has_colour "$PIECE_COLOUR" || fail "Escape did not resume"

# Opening a menu pauses, and closing it does not resume; Game -> Pause then resumes.
key alt+o
key Escape
shot "$WIN"
[ "$(count_colour "$PIECE_COLOUR")" -eq 0 ] || fail "opening a menu did not pause"
key alt+g
key p
until_shot "$WIN" has_colour "$PIECE_COLOUR" || fail "Game -> Pause did not resume"

kill "$other" 2>/dev/null || true
quit_game
echo "PASS"
