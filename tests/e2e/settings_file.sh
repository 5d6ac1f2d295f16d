#!/usr/bin/env bash
# Without a settings file the game writes all 64 keys in order at close; with GravityDown=0
# the pieces enter at the bottom of the pit.
source "$(dirname "$0")/lib.sh"

start_x
make_game_copy
launch_game
win=$WIN
key ctrl+x
wait_exit

ini="$GAME/Vorlix.ini"
[ -f "$ini" ] || fail "no Vorlix.ini written"
expected="[Files] AMidi PMidi Drop Lines Bonus Level BackGround"
for n in $(seq 1 20); do expected+=" Piece$n"; done
expected+=" Pit Blank [Settings] Difficulty Name FullScreen Tiled Mode Music Sound Preview GravityDown"
expected+=" NumberOfPlayers LevelChangeTime LevelChangeLines LevelChangePieces LevelChangeBy"
expected+=" [Controls] P1Right P2Right P1Left P2Left P1Up P2Up P1DownSlow P2DownSlow P1DownFast P2DownFast P1Bonus"
expected+=" [Points] AOne ATwo AThree AFour ABonus POne PTwo PThree PFour PBonus"
actual=$(sed -e '/^$/d' -e 's/=.*//' "$ini" | tr '\n' ' ' | sed 's/ $//')
[ "$actual" = "$expected" ] || fail "keys out of order: $actual"
grep -qx "Sound=0" "$ini" && grep -qx "Music=0" "$ini" || fail "Sound and Music not stored as 0"
grep -qx "P1Right=4116" "$ini" || fail "P1Right not written in decimal"
grep -qx "Piece7=$GAME/piece7.bmp" "$ini" || fail "picture paths not absolute in the game folder"
grep -qx "Difficulty=Easy" "$ini" && grep -qx "Name=Blah" "$ini" || fail "defaults not written"
[ "$(grep -c '^$' "$ini")" -eq 4 ] || fail "expected an empty line after each of the four sections"

# Upward gravity: the first piece is drawn at the bottom of the pit.
sed -i 's/^GravityDown=1$/GravityDown=0/' "$ini"
cp "$ini" "$WORK/ini.before"
launch_game
win=$WIN
key F2
until_shot "$win" has_colour "$BLANK_COLOUR" || true
read -r bw bh bx by <<<"$(colour_box "$BLANK_COLOUR")" || fail "no pit drawn"
read -r pw ph px py <<<"$(colour_box "$PIECE_COLOUR")" || fail "no piece drawn"
[ "$py" -ge $((by + bh - 6 * 16)) ] || fail "with GravityDown=0 the piece is not at the bottom (y $py)"
key ctrl+x
wait_exit
grep -qx "GravityDown=0" "$ini" || fail "GravityDown not kept"
echo "PASS"
