#!/usr/bin/env bash
# A picture that cannot be loaded: the warning, then the program ends without writing a file.
source "$(dirname "$0")/lib.sh"

start_x
make_game_copy

expect_warning_and_exit() {
  start_game
  local win
  win=$(wait_window "^Warning$")
  activate "$win"
  key Return
  wait_exit
}

# The default picture is missing, and there is no settings file.
mv "$GAME/pit.bmp" "$WORK/pit.bmp"
expect_warning_and_exit
[ ! -e "$GAME/Vorlix.ini" ] || fail "Vorlix.ini was written"
[ ! -e "$GAME/Vorlix.HS" ] || fail "Vorlix.HS was written"

# The settings file names a picture that does not exist: that file is left exactly as it was.
mv "$WORK/pit.bmp" "$GAME/pit.bmp"
printf '[Files]\nPit=%s/moved-away/pit.bmp\n; a comment the game would drop on saving\n[Settings]\nName=Kept\n' \
  "$GAME" >"$GAME/Vorlix.ini"
cp "$GAME/Vorlix.ini" "$WORK/ini.before"
expect_warning_and_exit
cmp -s "$GAME/Vorlix.ini" "$WORK/ini.before" || fail "Vorlix.ini was changed"
[ ! -e "$GAME/Vorlix.HS" ] || fail "Vorlix.HS was written"

# A pipe where the picture should be: the warning at once, not a start that waits for a writer.
mkfifo "$WORK/pipe.bmp"
printf '[Files]\nPit=%s\n' "$WORK/pipe.bmp" >"$GAME/Vorlix.ini"
expect_warning_and_exit
echo "PASS"
