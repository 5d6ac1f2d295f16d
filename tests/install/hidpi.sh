#!/usr/bin/env bash
# With QT_SCALE_FACTOR=2 the window is exactly twice its size and every tile is drawn sharp: each
# 16 x 16 picture becomes an exact 32 x 32 block. The piece picture is a one-pixel checkerboard,
# so any smoothing shows up as colours that are in no picture.
# Expects GAME_DIR and E2E_LIB in the environment.
source "$E2E_LIB"

YELLOW="#ffff00"
BLUE="#0000ff"

# Prints "WIDTH HEIGHT" of the main window with the scale factor $1, then closes the program.
window_size() {
  QT_SCALE_FACTOR=$1 start_game
  local win
  win=$(wait_window "^Vorlix 2.9$")
  # The window manager may map it before Qt has applied the fixed size.
  poll has_fixed_size "$win" || fail "the window is $SIZE, not the fixed size it asks for"
  echo "$SIZE"
  activate "$win"
  quit_game
}

has_fixed_size() {
  SIZE=$(xdotool getwindowgeometry --shell "$1" | sed -n 's/^WIDTH=//p; s/^HEIGHT=//p' | paste -sd' ')
  [ "$SIZE" = "$(xprop -id "$1" WM_NORMAL_HINTS | sed -n 's/.*maximum size: \([0-9]*\) by \([0-9]*\)/\1 \2/p')" ]
}

# Room for the doubled window.
start_x 1600x1200x24
make_game_copy
convert -size 16x16 xc: -fx '(i+j)%2' -fill "$YELLOW" -opaque white -fill "$BLUE" -opaque black \
  -type truecolor "BMP3:$GAME/piece1.bmp"
for n in $(seq 2 20); do cp "$GAME/piece1.bmp" "$GAME/piece$n.bmp"; done

read -r w1 h1 <<<"$(window_size 1)"
read -r w2 h2 <<<"$(window_size 2)"
[ -n "$w1" ] && [ "$w2" -eq $((2 * w1)) ] && [ "$h2" -eq $((2 * h1)) ] ||
  fail "the window is ${w2}x${h2} at scale 2 and ${w1}x${h1} at scale 1"

QT_SCALE_FACTOR=2 start_game
win=$(wait_window "^Vorlix 2.9$")
activate "$win"
key F2
until_shot "$win" has_colour "$YELLOW" || fail "no piece drawn after New Game"
find_pit "$win"
[ "$PIT_W" -eq 320 ] && [ "$PIT_H" -eq 640 ] || fail "pit is ${PIT_W}x${PIT_H}, expected 320x640"

# Every pit pixel comes from a picture, and each 2 x 2 block from the pit's corner on is one
# pixel of it.
yellow=$(count_colour "$YELLOW" "$PIT")
blue=$(count_colour "$BLUE" "$PIT")
blank=$(count_colour "$BLANK_COLOUR" "$PIT")
[ "$yellow" -eq $((4 * 128 * 4)) ] && [ "$blue" -eq $((4 * 128 * 4)) ] ||
  fail "the falling piece is not four sharp doubled tiles ($yellow yellow, $blue blue pixels)"
[ "$blank" -eq $((196 * 32 * 32)) ] || fail "the blank cells are not exact 32 x 32 blocks ($blank pixels)"
uneven=$(convert "$(shot_part "$PIT")" \( +clone -sample 50% -scale 200% \) -compose difference -composite \
  -threshold 0 -colorspace gray -threshold 0 -format "%[fx:round(mean*w*h)]" info:)
[ "$uneven" -eq 0 ] || fail "$uneven pit pixels are not part of a uniform 2 x 2 block"

quit_game
echo "PASS"
