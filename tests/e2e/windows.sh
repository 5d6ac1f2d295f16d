#!/usr/bin/env bash
# What the window manager is asked for: the main window with its menu, minimise and close but
# no maximise and no resizing, every dialog with a title and no buttons, above the main window.
# The main window opens centred, a second copy too. A dialog that must be answered cannot be
# minimised away together with the game.
source "$(dirname "$0")/lib.sh"

start_x
make_game_copy

# _MOTIF_WM_HINTS: flags 3 (functions and decorations given); functions move 4, minimise 8,
# close 32; decorations border 2, title 8, menu 16, minimise 32.
MAIN_HINTS="0x3, 0x2c, 0x3a, 0x0, 0x0"
DIALOG_HINTS="0x3, 0x4, 0xa, 0x0, 0x0"

expect_hints() { # window, what it is, expected value
  local got; got=$(xprop -id "$1" _MOTIF_WM_HINTS | sed -n 's/^_MOTIF_WM_HINTS([^)]*) = //p')
  [ "$got" = "$3" ] || fail "$2: _MOTIF_WM_HINTS is '$got', expected '$3'"
}

# The centre of the window's frame within $3 pixels of the screen's centre: the main window
# within the title bar's height (its frame is not known before it first maps), a dialog
# exactly, at every opening. The frame is polled for, as the window manager adds it after the
# window maps.
expect_centred() { poll centred "$1" "${3:-20}" || fail "$2 is centred at $CENTRE, not at 512,384"; }
centred() {
  local x y w h l r t b
  read -r x y w h <<<"$(window_box "$1")"
  read -r l r t b <<<"$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.* = //p' | tr -d ,)"
  [ -n "$b" ] || { CENTRE="unknown (no frame)"; return 1; }
  local cx=$((x - l + (l + w + r) / 2)) cy=$((y - t + (t + h + b) / 2))
  CENTRE="$cx,$cy"
  [ $(((cx - 512) * (cx - 512) + (cy - 384) * (cy - 384))) -le $(($2 * $2)) ]
}

launch_game
main=$WIN
expect_hints "$main" "main window" "$MAIN_HINTS"
expect_centred "$main" "the main window"

# A second copy opens in the same place, not wherever the window manager finds room.
cp -r "$GAME" "$WORK/second"
"$WORK/second/vorlix" >/dev/null 2>&1 &
second_pid=$!
other=$(wait_window "^Vorlix 2.9$" "$main")
expect_centred "$other" "the second copy"
kill "$second_pid"

viewable() { [ "$(map_state "$1")" = IsViewable ]; }
main_hex=$(printf '0x%x' "$main")
check_dialog() { # keys that open it, its title, keys that close it
  activate "$main"
  local dialog
  key $1
  dialog=$(wait_window "^$2$")
  expect_hints "$dialog" "$2" "$DIALOG_HINTS"
  xprop -id "$dialog" WM_TRANSIENT_FOR | grep -q "# $main_hex\$" || fail "$2 is not kept above the main window"
  expect_centred "$dialog" "$2" 2
  activate "$dialog"
  [ "$2" != "Game Summery" ] || sleep 0.5 # the summary takes no key in its first half second
  key "$3"
  wait_for "$2 to close" not find_window "^$2$"
}
for opening in first second; do
  check_dialog "ctrl+s" "Settings" "Escape"
  check_dialog "ctrl+h" "High Scores" "Escape"
  check_dialog "F2 alt+g s" "Game Summery" "Return"
  activate "$(wait_window "^High Scores$")" # the high scores the summary opened
  key Escape
done
check_dialog "alt+h a" "About" "Return"

# Minimising Settings (the window manager takes the main window along) brings both back.
activate "$main"
key ctrl+s
dialog=$(wait_window "^Settings$")
record_events "$dialog" structure
xdotool windowminimize "$dialog"
wait_for "Settings minimised and back" grep -qz "UnmapNotify.*MapNotify" "$WORK/events"
wait_for "the game back with Settings" viewable "$main"
activate "$dialog"
key Escape

# Without a dialog up the game minimises as any window does.
activate "$main"
xdotool windowminimize "$main"
wait_for "the main window minimised" not viewable "$main"
activate "$main"
quit_game
echo "PASS"
