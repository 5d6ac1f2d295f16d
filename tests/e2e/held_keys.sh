#!/usr/bin/env bash
# Held keys keep acting whatever other keys do, at the desktop's delay and rate; a lone Alt
# never takes the keys away from a running game, while Alt+G still opens the Game menu.
source "$(dirname "$0")/lib.sh"

# Repeats start after 500 ms and come every 200 ms: slow enough to count, far from the defaults.
DELAY=500
INTERVAL=200

# "column row" (from 1) of the top left of the falling piece in the pit crop $1.
piece_cell() {
  local w h x y
  read -r w h x y <<<"$(colour_box "$PIECE_COLOUR" "$1")"
  [ -n "$w" ] || return 1
  echo "$((x / 16 + 1)) $((y / 16 + 1))"
}

# Screenshot until the piece shows in pit $2 of window $1; prints its cell.
piece_now() { until_shot "$1" piece_cell "$2" || fail "no falling piece in $2"; }

piece_hidden() { [ -z "$(colour_box "$PIECE_COLOUR" "$1")" ]; }
piece_shown() { ! piece_hidden "$1"; }
piece_at_column() { [ "$(piece_cell "$2" | cut -d' ' -f1)" = "$1" ]; }

# Starts a game and finds the pits: PIT1 (and PIT2 with two players) as crops WxH+X+Y.
new_game() {
  launch_game
  key F2
  find_pit "$WIN"
  PIT1="160x320+$PIT_X+$PIT_Y"
  PIT2="160x320+$((PIT_X + PIT_W - 160))+$PIT_Y"
}

# Key $1 held down while key $2 is tapped: the piece in pit $3 goes on falling (or lands, and
# the next one comes) instead of hanging with gravity held back. $4 says who does what.
expect_falls_on() {
  local cell0 cell1
  xdotool keydown "$1"
  sleep 0.1
  xdotool key "$2"
  cell0=$(piece_now "$WIN" "$3")
  sleep 1.2
  cell1=$(piece_now "$WIN" "$3")
  xdotool keyup "$1"
  echo "$4: from $cell0 to $cell1"
  [ "$cell1" != "$cell0" ] || fail "the piece hangs: $4"
}

start_x
xset r rate "$DELAY" $((1000 / INTERVAL))
make_game_copy

# --- One player ---
new_game
piece_now "$WIN" "$PIT1" >/dev/null

# One held key moves as fast as the desktop repeats it: a row at the press, one at DELAY ms
# and one every INTERVAL ms after that, for as long as the key is down. The hold is timed
# around the two xdotool calls, so a loaded machine gets two rows either way.
key space
read -r _ row0 <<<"$(piece_now "$WIN" "$PIT1")"
t0=$(date +%s%N)
xdotool keydown Down
sleep 1.6
xdotool keyup Down
t1=$(date +%s%N)
read -r _ row1 <<<"$(piece_now "$WIN" "$PIT1")"
held=$(((t1 - t0) / 1000000))
expected=$((1 + (held - DELAY) / INTERVAL + 1))
rows=$((row1 - row0))
echo "one held key: $rows rows in $held ms (expected $expected)"
[ "$rows" -ge $((expected - 2)) ] && [ "$rows" -le $((expected + 2)) ] ||
  fail "a held Down moved $rows rows in $held ms, expected $expected"
key space

until_shot "$WIN" piece_shown "$PIT1" || fail "no piece after the drop"
expect_falls_on Down Left "$PIT1" "Down held after a tap of Left"
key space

# A lone Alt leaves the keys with the game: Left moves the piece, Escape pauses.
until_shot "$WIN" piece_shown "$PIT1" || fail "no piece after the drop"
read -r col0 _ <<<"$(piece_now "$WIN" "$PIT1")"
xdotool key alt
sleep 0.3
key Left
until_shot "$WIN" piece_at_column $((col0 - 1)) "$PIT1" || fail "Left did not move the piece after a lone Alt"
key Escape
until_shot "$WIN" piece_hidden "$PIT1" || fail "Escape did not pause after a lone Alt"
key Escape
until_shot "$WIN" piece_shown "$PIT1" || fail "Escape did not resume"

# Alt+G still opens the Game menu, which pauses; Escape closes the menu, Escape resumes.
xdotool key alt+g
until_shot "$WIN" piece_hidden "$PIT1" || fail "Alt+G did not open the Game menu"
[ -n "$(xdotool search --onlyvisible --class vorlix 2>/dev/null | grep -vx "$WIN" || true)" ] ||
  fail "no menu window shown after Alt+G"
key Escape
shot "$WIN"
piece_hidden "$PIT1" || fail "closing the menu resumed the game"
key Escape
until_shot "$WIN" piece_shown "$PIT1" || fail "Escape did not resume after the menu"
quit_game

# --- Two players ---
sed -i 's/^NumberOfPlayers=.*/NumberOfPlayers=2/' "$GAME/Vorlix.ini"
new_game
piece_now "$WIN" "$PIT2" >/dev/null

# Player 2's hard drop is Shift, which the desktop does not repeat: held, it drops one piece.
xdotool keydown shift
sleep 1.5
xdotool keyup shift
sleep 0.3
shot "$WIN"
landed=$(count_colour "$PIT_COLOUR" "$PIT2")
[ "$landed" -eq $((4 * 256)) ] || fail "a held Shift landed $((landed / 256)) cells, expected one piece"

expect_falls_on s Right "$PIT2" "player 2's S held after player 1's tap of Right"

# Player 2 holds D, player 1 taps Right: player 2's piece goes on to the left wall. Without
# its repeats it stops two columns left of the spawn column 5.
xdotool keydown d
sleep 0.1
xdotool key Right
until_shot "$WIN" piece_at_column 1 "$PIT2" || fail "player 2's piece stopped moving left after player 1's tap"
xdotool keyup d

quit_game
echo "PASS"
