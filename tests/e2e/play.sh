#!/usr/bin/env bash
# F2 starts a game, a piece appears at the top of the pit, Space lands it at the bottom,
# Escape pauses (pits blank) and resumes (pits drawn again), Ctrl+X saves both files.
source "$(dirname "$0")/lib.sh"

start_x
xset r off # Space is held until the drop shows: one press, one drop, however long that takes
make_game_copy
launch_game

key F2
find_pit "$WIN"
[ "$PIT_W" -eq 160 ] && [ "$PIT_H" -eq 320 ] || fail "pit is ${PIT_W}x${PIT_H}, expected 160x320"
wait_piece "$WIN"
read_box "$PIECE_COLOUR" "no falling piece drawn" pw ph px py
[ $((py + ph)) -le $((PIT_Y + 6 * 16)) ] || fail "the piece is not in the top rows (y $py, pit top $PIT_Y)"
[ "$(count_colour "$PIECE_COLOUR")" -eq $((4 * 256)) ] || fail "the piece is not four cells"

press_until space "a settled block after Space" shot_then "$WIN" has_colour "$PIT_COLOUR"
read_box "$PIT_COLOUR" "no settled block after Space" gw gh gx gy
[ $((gy + gh)) -eq $((PIT_Y + PIT_H)) ] || fail "the landed piece is not on the floor"
[ "$(count_colour "$PIT_COLOUR")" -eq $((4 * 256)) ] || fail "the landed piece is not four cells"
cp "$WORK/shot.png" "${E2E_SCREENSHOT:-/dev/null}" 2>/dev/null || true

pit_is() { # piece cells, settled cells
  [ "$(count_colour "$PIECE_COLOUR" "$PIT")" -eq "$1" ] && [ "$(count_colour "$PIT_COLOUR" "$PIT")" -eq "$2" ]
}
key Escape
until_shot "$WIN" pit_is 0 0 || fail "the piece or the blocks still show while paused"
sleep 2.2 # the program's rule: no fall tick (1 s) redraws the paused pit, two of them waited for
shot "$WIN"
pit_is 0 0 || fail "a tick redrew the paused pit"

key Escape
until_shot "$WIN" pit_is 1024 1024 || fail "the piece and the blocks were not redrawn on resume"

quit_game
[ -f "$GAME/Vorlix.ini" ] || fail "Vorlix.ini not written at close"
[ "$(stat -c %s "$GAME/Vorlix.HS")" -eq 1560 ] || fail "Vorlix.HS not written at close"
echo "PASS"
