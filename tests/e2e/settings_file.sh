#!/usr/bin/env bash
# Without a settings file the game writes all 64 keys in order at close; with GravityDown=0
# the pieces enter at the bottom of the pit.
source "$(dirname "$0")/lib.sh"

start_x
make_game_copy
launch_game
quit_game

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
# Sound and Music stored as 0, key codes in decimal, picture paths absolute, the defaults.
expect_ini_lines Sound=0 Music=0 P1Right=4116 "Piece7=$GAME/piece7.bmp" Difficulty=Easy Name=Blah
[ "$(grep -c '^$' "$ini")" -eq 4 ] || fail "expected an empty line after each of the four sections"

# Upward gravity: the first piece is drawn at the bottom of the pit.
sed -i 's/^GravityDown=1$/GravityDown=0/' "$ini"
cp "$ini" "$WORK/ini.before"
launch_game
key F2
find_pit "$WIN"
wait_piece "$WIN"
read_box "$PIECE_COLOUR" "no piece drawn" pw ph px py
[ "$py" -ge $((PIT_Y + PIT_H - 6 * 16)) ] || fail "with GravityDown=0 the piece is not at the bottom (y $py)"
quit_game
expect_ini_lines GravityDown=0
echo "PASS"
