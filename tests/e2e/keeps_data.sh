#!/usr/bin/env bash
# Nothing the player did is lost: a logout's SIGTERM (or a closed terminal's SIGHUP) closes the
# game as its window's close does, even with a modal box up, and both files are written; a
# ranking result whose save warned is saved by that close and survives a second copy closing
# later; a Space held into the summary types nothing; links to a pipe or a device stay as they
# are; a display that goes away takes nothing with it.
source "$(dirname "$0")/lib.sh"

start_x
# The X server's defaults, pinned: a held key repeats after 660 ms, then every 40 ms.
xset r rate 660 25
make_game_copy

game_gone() { ! kill -0 "$GAME_PID" 2>/dev/null; }

# Sends signal $1 and waits for the program to end by itself.
signal_and_wait() {
  kill "-$1" "$GAME_PID"
  wait_for "the program to end after SIG$1" game_gone
  wait "$GAME_PID" || true
  GAME_PID=""
}

# ---- SIGTERM at a running game --------------------------------------------------------------
rm -f "$GAME/Vorlix.ini" "$GAME/Vorlix.HS"
launch_game
key alt+o d h # Options > Difficulty > Hard
key F2
find_pit "$WIN"
signal_and_wait TERM
expect_ini_lines Difficulty=Hard
[ "$(stat -c %s "$GAME/Vorlix.HS" 2>/dev/null)" = 1560 ] || fail "no Vorlix.HS written at SIGTERM"

# ---- SIGHUP while the About box waits for an answer -----------------------------------------
rm -f "$GAME/Vorlix.HS"
launch_game
key alt+o d m # Options > Difficulty > Medium
key alt+h a   # Help > About
wait_window "^About$" >/dev/null
signal_and_wait HUP
expect_ini_lines Difficulty=Medium
[ -f "$GAME/Vorlix.HS" ] || fail "no Vorlix.HS written at SIGHUP"

# ---- Space held through the end of the game ----------------------------------------------
# Hard drops repeat until the stack tops out; the summary opens with Space still down. A game of
# hard drops clears no row, so its result does not rank: the name box is disabled and OK has the
# focus, which a held Space would press at its release.
summary_visible() { xdotool search --onlyvisible --name "^Game Summery$" >/dev/null 2>&1; }
scores_visible() { xdotool search --onlyvisible --name "^High Scores$" >/dev/null 2>&1; }
launch_game
key F2
find_pit "$WIN"
xdotool keydown space
summary=$(wait_window "^Game Summery$")
sleep 0.6 # the player's hold: the desktop repeats every 40 ms, so several repeats reach the summary,
          # and the summary's first half second, in which it takes no key, is over
xdotool keyup space
# Escape runs the summary's OK, which opens the high scores. Had the release pressed OK, the
# summary would be gone, the high scores up, and this Escape would close them.
summary_visible || fail "the release of the held Space closed the summary"
activate "$summary"
key Escape
wait_for "the high scores opened by the summary's OK" scores_visible
summary_visible && fail "the summary is still open after Escape"
key Escape
wait_for "the high scores to close" eval '! scores_visible'
activate "$WIN"
quit_game

# ---- Links to a named pipe and to a device --------------------------------------------------
# Each is refused with a warning at start and at close, and stays as it was: no file, backup or
# lock is made in the node's place or beside it.
refused_link() { # what, the link's target, the node's test flag
  local box
  start_game
  box=$(wait_window "^Warning$") # Vorlix.HS is $1
  activate "$box"
  key Return
  WIN=$(wait_window "^Vorlix 2.9$")
  activate "$WIN"
  key ctrl+x
  box=$(wait_window "^Warning$") # Could not save: ...
  activate "$box"
  key Return
  wait_exit
  [ "$(readlink "$GAME/Vorlix.HS")" = "$2" ] || fail "the link to $1 was changed"
  test "-$3" "$GAME/$(basename "$2")" || fail "$1 is no longer $1"
  ! ls "$GAME"/Vorlix.HS.bak* "$GAME/$(basename "$2").lock" 2>/dev/null ||
    fail "a file made beside $1"
}
rm -f "$GAME"/Vorlix.*
mkfifo "$GAME/fifo"
ln -s fifo "$GAME/Vorlix.HS"
refused_link "a named pipe" fifo p
if [ "$(id -u)" = 0 ]; then
  # A private node of the null device, never the real one.
  rm -f "$GAME/Vorlix.HS"
  mknod "$GAME/null" c 1 3
  ln -s "$GAME/null" "$GAME/Vorlix.HS"
  refused_link "a device" "$GAME/null" c
  [ "$(stat -c %t:%T "$GAME/null")" = 1:3 ] || fail "the device node was replaced"
fi

# ---- Two copies; a ranking result; Space held into the name box ------------------------------
# Copy A starts first and stays idle. B plays five O pieces side by side into the two bottom
# rows (200 points, a ranking result on Easy), then holds Space until the stack tops out and on
# into the summary. The held Space types nothing into the name box, the name is in the
# score file at OK, and A, closing last, keeps it.
# The copies start with the desktop's repeat off: however slow a screenshot, a key held until
# the piece shows the change acts once.
xset r off
rm -f "$GAME"/Vorlix.*
launch_game
A=$WIN
A_PID=$GAME_PID
# B opens centred, where A is: A goes to the corner, or B's pit could not be seen for A on top.
xdotool windowmove "$A" 0 0
a_in_corner() { local x y; read -r x y _ <<<"$(window_box "$A")"; ((x < 100 && y < 100)); }
wait_for "copy A moved out of the way" a_in_corner
start_game
WIN=$(wait_window "^Vorlix 2.9$" "$A")
activate "$WIN"
key F2
find_pit "$WIN"
CELL=$((PIT_W / 10))

# Colour $1 in a new screenshot of $WIN's pit (kept for a failure), as white on black, then
# measured by the format $2: one program, as polls are many.
pit_colour() {
  convert "x:$WIN" -write "$WORK/shot.png" -crop "$PIT" +repage -fill black +opaque "$1" \
    -fill white -opaque "$1" -colorspace gray -format "$2" info: 2>/dev/null
}
# Reads the falling piece's box, in cells, into PW PH PX PY; false when no piece shows.
see_piece() {
  local w h x y
  IFS='x+' read -r w h x y <<<"$(pit_colour "$PIECE_COLOUR" %@)"
  ((w > 0 && h > 0)) || return 1
  PW=$((w / CELL)) PH=$((h / CELL)) PX=$((x / CELL)) PY=$((y / CELL))
}
piece_is() { see_piece && (($1)); }
settled() { echo $(($(pit_colour "$PIT_COLOUR" "%[fx:round(mean*w*h)]") / (CELL * CELL))); }
settled_is() { [ "$(settled)" = "$1" ]; }

# Until an O falls: with Down held, gravity waits; the piece goes a row down, and C's new one
# shows back at the top.
for k in 0 1 2 3 4; do
  wait_for "a new piece at the top" piece_is "PY < 2"
  until ((PW == 2 && PH == 2)); do
    xdotool keydown Down
    wait_for "the piece a row down" piece_is "PY >= 1"
    press_until c "the piece C takes from the next ones" piece_is "PY == 0"
    xdotool keyup Down
  done
  while ((PX > 2 * k)); do
    press_until Left "the O in column $PX" piece_is "PX == $((PX - 1))"
  done
  while ((PX < 2 * k)); do
    press_until Right "the O in column $((PX + 2))" piece_is "PX == $((PX + 1))"
  done
  press_until space "O number $((k + 1)) settled" settled_is $((k < 4 ? 4 * k + 4 : 0))
done

# Space held until the stack tops out: B reads the desktop's repeat, back on, when it gets the
# keyboard back (and pauses while away: Escape resumes).
xset r on
activate "$A"
wait_for "copy B to pause while away" not see_piece
activate "$WIN"
key Escape
wait_for "the game to resume" piece_is 1
xdotool keydown space
summary=$(wait_window "^Game Summery$")
sleep 1.6 # the player's hold: twice the desktop's repeat delay and three repeats (660 + 3 * 40 ms)
xdotool keyup space
activate "$summary"
xdotool type bee
shot "$summary" # for a failure
# The save at OK fails (its lock cannot be made) and warns; a logout comes while the warning
# waits for an answer: the close saves the result, once, and ends the game.
mkdir "$GAME/Vorlix.HS.lock"
key Return
wait_window "^Warning$" >/dev/null
rmdir "$GAME/Vorlix.HS.lock"
signal_and_wait TERM
[ "$(grep -ao bee "$GAME/Vorlix.HS" | wc -l)" = 1 ] || fail "the name bee is not in Vorlix.HS once: a held key typed into it?"
expect_ini_lines Name=bee
GAME_PID=$A_PID
activate "$A"
quit_game
grep -qas bee "$GAME/Vorlix.HS" || fail "copy A dropped the result copy B saved"

# ---- The display goes away ------------------------------------------------------------------
# The X server ends under the game (the session ends, a compositor's XWayland with it): what
# the close saves is saved all the same.
launch_game
key alt+o d m # Options > Difficulty > Medium
key F2 # keys come in order: a game on shows that the menu's choice was made
wait_piece "$WIN"
kill "$XVFB_PID"
wait_for "the program to end with its display" game_gone
grep -q "The display was lost; the game saved" "$WORK/stderr" || fail "no word of the save on standard error"
expect_ini_lines Difficulty=Medium
echo "PASS"
