#!/usr/bin/env bash
# Ctrl+S opens Settings, and a close by the window manager leaves the main window usable.
# On the Player 1 Controls tab Set Controls takes six new keys; OK
# closes the dialog. In the next game the captured Left key moves the piece and the old one
# does not, and Ctrl+X writes the new codes to Vorlix.ini.
source "$(dirname "$0")/lib.sh"

start_x
make_game_copy
launch_game

key ctrl+s
activate "$(wait_window "^Settings$")"
key alt+F4
wait_for "the window manager to close Settings" not find_window "^Settings$"
activate "$WIN"

# The main window was enabled again, or its shortcut would not open the dialog now.
key ctrl+s
dialog=$(wait_window "^Settings$")
activate "$dialog"
# OK has the focus; Tab reaches the tabs, three Rights pass the disabled Audio tab. The button
# clicks a moment after its shortcut, and the capture then asks for the first key in red.
key Tab Right Right Right alt+s
asks_key() { [ "$(convert "$WORK/shot.png" -fx "r > 0.8 && g < 0.4" -format "%[fx:round(mean*w*h)]" info:)" -gt 0 ]; }
until_shot "$dialog" asks_key || fail "Set Controls did not ask for a key"
# Rotate I, Drop Space, Down K, Left J, Right L, Bonus Return.
key i space k j l Return alt+o
wait_for "OK to close Settings" not find_window "^Settings$"
activate "$WIN"
key F2
until_shot "$WIN" has_colour "$PIECE_COLOUR" || fail "no falling piece after New Game"
read_box "$PIECE_COLOUR" "the piece vanished" pw ph px py
piece_x() { (($(colour_box "$PIECE_COLOUR" | cut -d' ' -f3) $1)); }

press_until j "J to move the piece left from x $px" shot_then "$WIN" piece_x "< px"
read_box "$PIECE_COLOUR" "the piece vanished" qw qh qx qy
# With the old Left still bound, its flag would cancel L's move for as long as both are held.
xdotool keydown Left
press_until l "L to move the piece right with the old Left held (Left must not act)" shot_then "$WIN" piece_x "> qx"
xdotool keyup Left

quit_game
[ -f "$GAME/Vorlix.ini" ] || fail "Vorlix.ini not written at close"
expect_ini_lines P1Up=73 P1DownFast=32 P1DownSlow=75 P1Left=74 P1Right=76 P1Bonus=4100
echo "PASS"
