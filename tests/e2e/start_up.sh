#!/usr/bin/env bash
# The splash picture is on the screen while the main window is being made (a large background
# picture makes that take a while). The game starts from a folder whose name is not valid UTF-8
# and loads a picture whose name is not either: file names are bytes.
source "$(dirname "$0")/lib.sh"

start_x
make_game_copy
E=$(printf '\xe9') # Latin-1 e acute, never valid UTF-8 on its own

# ---- the splash ---------------------------------------------------------------------------
cp "$GAME/bg.bmp" "$WORK/bg.bmp"
convert -size 4000x4000 xc:gray -type truecolor "BMP3:$GAME/bg.bmp"
find_splash() {
  splash=$(xwininfo -root -tree 2>/dev/null | sed -n 's/^ *\(0x[0-9a-f]*\) "Vorlix": ("vorlix" "Vorlix")  270x282+.*/\1/p' | head -n 1)
  [ -n "$splash" ] && [ "$(map_state "$splash" 2>/dev/null)" = IsViewable ]
}
# The screen is looked at first and what the game has read after: short of the background
# picture's size then, the game was still short of it when the picture was seen.
splash_painted() {
  import -window root "$WORK/shot.png"
  [ "$(sed -n 's/^rchar: //p' "/proc/$GAME_PID/io")" -lt "$(stat -c %s "$GAME/bg.bmp")" ] ||
    fail "the game read the background picture before the splash showed its picture"
  [ "$(map_state "$splash" 2>/dev/null)" = IsViewable ] || fail "the splash went away without showing its picture"
  read -r sx sy _ <<<"$(window_box "$splash")"
  # Unpainted, the window shows the black screen behind it; the picture has hardly any black.
  painted=$(convert "$WORK/shot.png" -crop "270x282+$sx+$sy" +repage -fill white +opaque "#000000" \
    -colorspace gray -format "%[fx:round(100*mean)]" info:)
  [ "$painted" -ge 90 ]
}
start_game
POLL=0.005 wait_for "the splash window" find_splash
# Stopped as soon as the splash maps, the game then runs in short slices between the looks.
kill -STOP "$GAME_PID"
POLL=0.01 PAUSE=run_slice poll splash_painted || fail "the splash shows its picture on only $painted% of its area"
kill -CONT "$GAME_PID"
WIN=$(wait_window "^Vorlix 2.9$")
activate "$WIN"
quit_game
mv "$WORK/bg.bmp" "$GAME/bg.bmp"
rm -f "$GAME/Vorlix.ini" "$GAME/Vorlix.HS"

# ---- a folder whose name is not text ------------------------------------------------------
odd="$WORK/caf$E"
mkdir "$odd"
mv "$GAME" "$odd/game"
GAME="$odd/game"
launch_game
until_shot "$WIN" has_colour "$BLANK_COLOUR" || fail "the pits are not drawn from the game folder's pictures"
quit_game
expect_ini_lines "Pit=$GAME/pit.bmp" # the folder named by its bytes

# ---- a picture whose name is not text -----------------------------------------------------
mv "$GAME/blank.bmp" "$GAME/blank$E.bmp"
LC_ALL=C sed -i "s|^Blank=.*|Blank=$GAME/blank$E.bmp|" "$GAME/Vorlix.ini"
cp "$GAME/Vorlix.ini" "$WORK/ini.before"
launch_game
until_shot "$WIN" has_colour "$BLANK_COLOUR" || fail "the blank picture was not loaded"
quit_game
cmp -s "$GAME/Vorlix.ini" "$WORK/ini.before" || fail "the picture's name changed on saving"
echo "PASS"
