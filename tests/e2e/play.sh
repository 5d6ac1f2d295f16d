#!/usr/bin/env bash
# F2 starts a game, a piece appears at the top of the pit, Space lands it at the bottom,
# Escape pauses (pits blank) and resumes (pits drawn again), Ctrl+X saves both files.
source "$(dirname "$0")/lib.sh"

start_x
make_game_copy
launch_game
win=$WIN

key F2
# The first gravity tick draws the pit.
until_shot "$win" has_colour "$BLANK_COLOUR" || true
read -r bw bh bx by <<<"$(colour_box "$BLANK_COLOUR")" || fail "no blank cells after New Game"
[ "$bw" -eq 160 ] && [ "$bh" -eq 320 ] || fail "pit is ${bw}x${bh}, expected 160x320"
read -r pw ph px py <<<"$(colour_box "$PIECE_COLOUR")" || fail "no falling piece drawn"
[ $((py + ph)) -le $((by + 6 * 16)) ] || fail "the piece is not in the top rows (y $py, pit top $by)"
[ "$(count_colour "$PIECE_COLOUR")" -eq $((4 * 256)) ] || fail "the piece is not four cells"

key space
until_shot "$win" has_colour "$PIT_COLOUR" || true
read -r gw gh gx gy <<<"$(colour_box "$PIT_COLOUR")" || fail "no settled block after Space"
[ $((gy + gh)) -eq $((by + bh)) ] || fail "the landed piece is not on the floor"
[ "$(count_colour "$PIT_COLOUR")" -eq $((4 * 256)) ] || fail "the landed piece is not four cells"
cp "$WORK/shot.png" "${E2E_SCREENSHOT:-/dev/null}" 2>/dev/null || true

key Escape
shot "$win"
[ "$(count_colour "$PIECE_COLOUR" "${bw}x${bh}+${bx}+${by}")" -eq 0 ] || fail "piece visible while paused"
[ "$(count_colour "$PIT_COLOUR" "${bw}x${bh}+${bx}+${by}")" -eq 0 ] || fail "blocks visible while paused"
sleep 1.2
shot "$win"
[ "$(count_colour "$PIT_COLOUR" "${bw}x${bh}+${bx}+${by}")" -eq 0 ] || fail "a tick redrew the paused pit"

key Escape
shot "$win"
[ "$(count_colour "$PIT_COLOUR")" -eq $((4 * 256)) ] || fail "the pit was not redrawn on resume"
[ "$(count_colour "$PIECE_COLOUR")" -eq $((4 * 256)) ] || fail "the piece was not redrawn on resume"

key ctrl+x
wait_exit
[ -f "$GAME/Vorlix.ini" ] || fail "Vorlix.ini not written at close"
[ "$(stat -c %s "$GAME/Vorlix.HS")" -eq 1560 ] || fail "Vorlix.HS not written at close"
echo "PASS"
