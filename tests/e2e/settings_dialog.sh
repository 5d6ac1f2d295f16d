#!/usr/bin/env bash
# Ctrl+S opens Settings, and a close by the window manager leaves the main window usable.
# On the Player 1 Controls tab Set Controls takes six new keys; OK
# closes the dialog. In the next game the captured Left key moves the piece and the old one
# does not, and Ctrl+X writes the new codes to Vorlix.ini.
source "$(dirname "$0")/lib.sh"

start_x
make_game_copy
launch_game

settings_closed() {
  local i
  for i in $(seq 1 30); do
    xdotool search --onlyvisible --name "^Settings$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

key ctrl+s
dialog=$(wait_window "^Settings$")
activate "$dialog"
key alt+F4
settings_closed || fail "the window manager could not close Settings"
activate "$WIN"

# The main window was enabled again, or its shortcut would not open the dialog now.
key ctrl+s
dialog=$(wait_window "^Settings$")
activate "$dialog"
# OK has the focus; Tab reaches the tabs, three Rights pass the disabled Audio tab.
for k in Tab Right Right Right alt+s; do key "$k"; done
sleep 0.3
# Rotate I, Drop Space, Down K, Left J, Right L, Bonus Return.
for k in i space k j l Return; do key "$k"; done
key alt+o
settings_closed || fail "OK did not close Settings"

activate "$WIN"
key F2
until_shot "$WIN" has_colour "$PIECE_COLOUR" || fail "no falling piece after New Game"
read_box "$PIECE_COLOUR" "the piece vanished" pw ph px py

key j
shot "$WIN"
read_box "$PIECE_COLOUR" "the piece vanished" qw qh qx qy
[ "$qx" -eq $((px - 16)) ] || fail "J did not move the piece left (x $px -> $qx)"

key Left
shot "$WIN"
read_box "$PIECE_COLOUR" "the piece vanished" rw rh rx ry
[ "$rx" -eq "$qx" ] || fail "the old Left key still moves the piece (x $qx -> $rx)"

quit_game
[ -f "$GAME/Vorlix.ini" ] || fail "Vorlix.ini not written at close"
expect_ini_lines P1Up=73 P1DownFast=32 P1DownSlow=75 P1Left=74 P1Right=76 P1Bonus=4100
echo "PASS"
