#!/usr/bin/env bash
# Held keys keep acting whatever other keys do, at the desktop's delay and rate; a lone Alt
# never takes the keys away from a running game, while Alt+G still opens the Game menu.
source "$(dirname "$0")/lib.sh"

# Repeats start after 500 ms and come every 200 ms: slow enough to count, far from the defaults.
DELAY=500
INTERVAL=200

# Bounding box "W H X Y" of colour $1 inside the crop $2 (WxH+X+Y) of the last screenshot.
box_in() {
  convert "$WORK/shot.png" -crop "$2" +repage -fill black +opaque "$1" -fill white -opaque "$1" \
    -format "%@" info: 2>/dev/null |
    sed -E -e 's/^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$/\1 \2 \3 \4/' -e '/^0 /d'
}

# "column row" (from 1) of the top left of the falling piece in the pit crop $1.
piece_cell() {
  local w h x y
  read -r w h x y <<<"$(box_in "$PIECE_COLOUR" "$1")" || return 1
  [ -n "$w" ] || return 1
  echo "$((x / 16 + 1)) $((y / 16 + 1))"
}

# Screenshot until the piece shows in pit $2 of window $1; prints its cell.
piece_now() {
  local i
  for i in $(seq 1 $((E2E_WAIT * 5))); do
    shot "$1"
    piece_cell "$2" && return 0
    sleep 0.2
  done
  fail "no falling piece in $2"
}

piece_hidden() { [ -z "$(box_in "$PIECE_COLOUR" "$1")" ]; }
piece_shown() { ! piece_hidden "$1"; }
piece_at_column() { [ "$(piece_cell "$2" | cut -d' ' -f1)" = "$1" ]; }

# Starts a game and finds the pits: PIT1 (and PIT2 with two players) as crops WxH+X+Y.
new_game() {
  launch_game
  win=$WIN
  key F2
  until_shot "$win" has_colour "$BLANK_COLOUR" || true
  local bw bh bx by
  read -r bw bh bx by <<<"$(colour_box "$BLANK_COLOUR")" || fail "no pit drawn"
  PIT1="160x320+$bx+$by"
  PIT2="160x320+$((bx + bw - 160))+$by"
}

start_x
xset r rate "$DELAY" $((1000 / INTERVAL))
make_game_copy

# --- One player ---
new_game
piece_now "$win" "$PIT1" >/dev/null

# One held key moves as fast as the desktop repeats it: a row at the press, one at DELAY ms
# and one every INTERVAL ms after that, for as long as the key is down. The hold is timed
# around the two xdotool calls, so a loaded machine gets two rows either way.
key space
read -r _ row0 <<<"$(piece_now "$win" "$PIT1")"
t0=$(date +%s%N)
xdotool keydown Down
sleep 1.6
xdotool keyup Down
t1=$(date +%s%N)
read -r _ row1 <<<"$(piece_now "$win" "$PIT1")"
held=$(((t1 - t0) / 1000000))
expected=$((1 + (held - DELAY) / INTERVAL + 1))
rows=$((row1 - row0))
echo "one held key: $rows rows in $held ms (expected $expected)"
[ "$rows" -ge $((expected - 2)) ] && [ "$rows" -le $((expected + 2)) ] ||
  fail "a held Down moved $rows rows in $held ms, expected $expected"
key space

# Hold Down, tap Left, keep Down held: the piece goes on falling (or lands, and the next one
# comes) instead of hanging with gravity held back.
until_shot "$win" piece_shown "$PIT1" || fail "no piece after the drop"
xdotool keydown Down
sleep 0.1
xdotool key Left
cell0=$(piece_now "$win" "$PIT1")
sleep 1.2
cell1=$(piece_now "$win" "$PIT1")
xdotool keyup Down
echo "held Down after a tap of Left: from $cell0 to $cell1"
[ "$cell1" != "$cell0" ] || fail "the piece hangs while Down is held after a tap of Left"
key space

# A lone Alt leaves the keys with the game: Left moves the piece, Escape pauses.
until_shot "$win" piece_shown "$PIT1" || fail "no piece after the drop"
read -r col0 _ <<<"$(piece_now "$win" "$PIT1")"
xdotool key alt
sleep 0.3
key Left
until_shot "$win" piece_at_column $((col0 - 1)) "$PIT1" || fail "Left did not move the piece after a lone Alt"
key Escape
until_shot "$win" piece_hidden "$PIT1" || fail "Escape did not pause after a lone Alt"
key Escape
until_shot "$win" piece_shown "$PIT1" || fail "Escape did not resume"

# Alt+G still opens the Game menu, which pauses; Escape closes the menu, Escape resumes.
xdotool key alt+g
until_shot "$win" piece_hidden "$PIT1" || fail "Alt+G did not open the Game menu"
[ -n "$(xdotool search --onlyvisible --class vorlix 2>/dev/null | grep -v "^$win$" || true)" ] ||
  fail "no menu window shown after Alt+G"
key Escape
shot "$win"
piece_hidden "$PIT1" || fail "closing the menu resumed the game"
key Escape
until_shot "$win" piece_shown "$PIT1" || fail "Escape did not resume after the menu"
key ctrl+x
wait_exit

# --- Two players ---
sed -i 's/^NumberOfPlayers=.*/NumberOfPlayers=2/' "$GAME/Vorlix.ini"
new_game
piece_now "$win" "$PIT2" >/dev/null

# Player 2's hard drop is Shift, which the desktop does not repeat: held, it drops one piece.
xdotool keydown shift
sleep 1.5
xdotool keyup shift
sleep 0.3
shot "$win"
landed=$(count_colour "$PIT_COLOUR" "$PIT2")
[ "$landed" -eq $((4 * 256)) ] || fail "a held Shift landed $((landed / 256)) cells, expected one piece"

# Player 2 holds S, player 1 taps Right: player 2's piece goes on falling.
xdotool keydown s
sleep 0.1
xdotool key Right
cell0=$(piece_now "$win" "$PIT2")
sleep 1.2
cell1=$(piece_now "$win" "$PIT2")
xdotool keyup s
echo "player 2's held S after player 1's tap: from $cell0 to $cell1"
[ "$cell1" != "$cell0" ] || fail "the pits freeze while player 2 holds S after a tap of player 1"

# Player 2 holds D, player 1 taps Right: player 2's piece goes on to the left wall. Without
# its repeats it stops two columns left of the spawn column 5.
xdotool keydown d
sleep 0.1
xdotool key Right
until_shot "$win" piece_at_column 1 "$PIT2" || fail "player 2's piece stopped moving left after player 1's tap"
xdotool keyup d

key ctrl+x
wait_exit
echo "PASS"
