#!/usr/bin/env bash
# A picture that cannot be loaded: the warning, then the program ends without writing a file.
source "$(dirname "$0")/lib.sh"

start_x
make_game_copy
rm "$GAME/pit.bmp"
start_game
win=$(wait_window "^Warning$")
activate "$win"
key Return
wait_exit
[ ! -e "$GAME/Vorlix.ini" ] || fail "Vorlix.ini was written"
[ ! -e "$GAME/Vorlix.HS" ] || fail "Vorlix.HS was written"
echo "PASS"
