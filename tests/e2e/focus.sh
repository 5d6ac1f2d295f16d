#!/usr/bin/env bash
# A running game pauses when another window takes the focus or a menu opens, stays paused when
# the player comes back, and resumes only with Escape or Game -> Pause.
source "$(dirname "$0")/lib.sh"

start_x
make_game_copy
launch_game
win=$WIN

# Between games, opening a menu changes nothing.
sleep 0.5
shot "$win"
cp "$WORK/shot.png" "$WORK/idle.png"
key alt+o
key Escape
shot "$win"
cmp -s "$WORK/shot.png" "$WORK/idle.png" || fail "opening a menu between games changed the window"

key F2
until_shot "$win" has_colour "$PIECE_COLOUR" || fail "no piece after New Game"

xmessage -geometry +700+10 "another window" &
other=$!
other_win=$(wait_window "^xmessage$")
activate "$other_win"
shot "$win"
read -r bw bh bx by <<<"$(colour_box "$BLANK_COLOUR")" || fail "pits not blanked on focus loss"
[ "$(count_colour "$PIECE_COLOUR")" -eq 0 ] || fail "the piece shows while another window has the focus"
cp "$WORK/shot.png" "$WORK/paused.png"
sleep 2.5 # more than two gravity intervals
shot "$win"
cmp -s "$WORK/shot.png" "$WORK/paused.png" || fail "the paused window changed while away"

activate "$win"
sleep 1.5
shot "$win"
[ "$(count_colour "$PIECE_COLOUR")" -eq 0 ] || fail "coming back resumed the game"

key Escape
until_shot "$win" has_colour "$PIECE_COLOUR" || fail "Escape did not resume"

# Opening a menu pauses, and closing it does not resume; Game -> Pause then resumes.
key alt+o
key Escape
shot "$win"
[ "$(count_colour "$PIECE_COLOUR")" -eq 0 ] || fail "opening a menu did not pause"
key alt+g
key p
until_shot "$win" has_colour "$PIECE_COLOUR" || fail "Game -> Pause did not resume"

kill "$other" 2>/dev/null || true
key ctrl+x
wait_exit
echo "PASS"
