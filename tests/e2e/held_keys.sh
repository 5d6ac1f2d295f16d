#!/usr/bin/env bash
# Held keys keep acting whatever other keys do, at the desktop's delay and rate; a lone Alt
# never takes the keys away from a running game, while Alt+G still opens the Game menu.
source "$(dirname "$0")/lib.sh"

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
piece_left_cell() { [ "$(piece_cell "$2")" != "$1" ]; }

# Starts a game and finds the pits: PIT1 (and PIT2 with two players) as crops WxH+X+Y.
new_game() {
  launch_game
  key F2
  find_pit "$WIN"
  PIT1="160x320+$PIT_X+$PIT_Y"
  PIT2="160x320+$((PIT_X + PIT_W - 160))+$PIT_Y"
}

# Player 1 presses $1 until the piece in pit 1 has moved a column or more by $2 (-1 or 1): the
# game has then also handled every key event the server sent before. $3 says when.
tap() {
  read -r col _ <<<"$(piece_now "$WIN" "$PIT1")"
  press_until "$1" "$1 to move the piece$3" shot_then "$WIN" piece_beyond $((col * $2)) "$2" "$PIT1"
}
piece_beyond() { local c; read -r c _ <<<"$(piece_cell "$3")" && [ $((c * $2)) -gt "$1" ]; }

# Key $1 held down while player 1 taps $2 (moving a column by $3): the piece in pit $4 goes on
# falling (or lands, and the next one comes) instead of hanging with gravity held back. $5 says
# who does what.
expect_falls_on() {
  local cell0
  xdotool keydown "$1"
  tap "$2" "$3" " while $1 was held"
  cell0=$(piece_now "$WIN" "$4")
  until_shot "$WIN" piece_left_cell "$cell0" "$4" || fail "the piece hangs at $cell0: $5"
  xdotool keyup "$1"
}

start_x
# Repeats start after 500 ms and come every 200 ms: slow enough to count, far from the defaults.
xset r rate 500 5
read -r DELAY RATE <<<"$(xset q | sed -n 's/.*auto repeat delay: *\([0-9]*\) *repeat rate: *\([0-9]*\).*/\1 \2/p')"
INTERVAL=$((1000 / RATE)) # what the server does, read back
make_game_copy

# --- One player ---
new_game

# One held key moves as fast as the game's repeat at the desktop's rate: a row at the press,
# one at DELAY ms and one every INTERVAL ms after that, for as long as the server had it down.
# A resume starts a full fall interval (1 s): the row is read, and the key pressed, well within
# it; the release comes with a pause, so no fall tick adds a row either side of the hold.
record_events "$WIN" keyboard
key Escape
until_shot "$WIN" piece_hidden "$PIT1" || fail "Escape did not pause"
key Escape
read -r _ row0 <<<"$(piece_now "$WIN" "$PIT1")"
xdotool keydown Down
sleep 1.6 # the player holds it past the delay and five intervals; the server times the hold
xdotool keyup Down key Escape
until_shot "$WIN" piece_hidden "$PIT1" || fail "Escape did not pause after the held Down"
key Escape
read -r _ row1 <<<"$(piece_now "$WIN" "$PIT1")"
held=$(awk '/^Key(Press|Release)/ { kind = $1 } / time / { t = $0; sub(/.* time /, "", t); sub(/,.*/, "", t) }
  /keysym .*, Down\)/ { if (kind == "KeyPress" && !down) down = t; if (kind == "KeyRelease") up = t }
  END { print up - down }' "$WORK/events")
expected=$((held < DELAY ? 1 : 2 + (held - DELAY) / INTERVAL))
rows=$((row1 - row0))
echo "one held key: $rows rows in $held ms held at the server (expected $expected)"
# A repeat more or less when the game saw the hold a little longer or shorter than the server.
[ "$rows" -ge $((expected - 1)) ] && [ "$rows" -le $((expected + 1)) ] ||
  fail "a held Down moved $rows rows in $held ms, expected $expected"
key space

until_shot "$WIN" piece_shown "$PIT1" || fail "no piece after the drop"
expect_falls_on Down Left -1 "$PIT1" "Down held after a tap of Left"
key space

# A lone Alt leaves the keys with the game: Left moves the piece, Escape pauses.
until_shot "$WIN" piece_shown "$PIT1" || fail "no piece after the drop"
xdotool key alt
tap Left -1 " after a lone Alt"
key Escape
until_shot "$WIN" piece_hidden "$PIT1" || fail "Escape did not pause after a lone Alt"
key Escape
until_shot "$WIN" piece_shown "$PIT1" || fail "Escape did not resume"

# Alt+G still opens the Game menu, which pauses; Escape closes the menu, and Escape resumes
# (had closing the menu resumed, it would pause).
xdotool key alt+g
until_shot "$WIN" piece_hidden "$PIT1" || fail "Alt+G did not open the Game menu"
wait_for "a menu window after Alt+G" other_window
key Escape
wait_for "the menu to close" not other_window
key Escape
until_shot "$WIN" piece_shown "$PIT1" || fail "Escape did not resume after the menu (or closing it had)"
quit_game

# --- Two players ---
sed -i 's/^NumberOfPlayers=.*/NumberOfPlayers=2/' "$GAME/Vorlix.ini"
new_game
piece_now "$WIN" "$PIT2" >/dev/null

# Player 2's hard drop is Shift, which the desktop does not repeat: held, it drops one piece.
xdotool keydown shift
sleep 1.5 # the player holds it past the repeat delay and two intervals (900 ms), with margin
xdotool keyup shift
tap Left -1 " after Shift was held"
landed=$(count_colour "$PIT_COLOUR" "$PIT2")
[ "$landed" -eq $((4 * 256)) ] || fail "a held Shift landed $((landed / 256)) cells, expected one piece"

expect_falls_on s Right 1 "$PIT2" "player 2's S held after player 1's tap of Right"

# Player 2 holds D, player 1 taps Right: player 2's piece goes on to the left wall. Without
# its repeats it stops two columns left of the spawn column 5.
xdotool keydown d
xdotool key Right
until_shot "$WIN" piece_at_column 1 "$PIT2" || fail "player 2's piece stopped moving left after player 1's tap"
xdotool keyup d

quit_game
echo "PASS"
