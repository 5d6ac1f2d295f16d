# Shared helpers for the end-to-end tests: a private X server with a window manager, a copy
# of the game folder with solid-colour test pictures, screenshots and pixel counts.
# Sourced by the test scripts; expects GAME_DIR (the built game folder) in the environment.

set -euo pipefail

PIECE_COLOUR="#ff0000"
PIT_COLOUR="#00ff00"
BLANK_COLOUR="#ff00ff"

WORK=$(mktemp -d "${TMPDIR:-/tmp}/vorlix-e2e.XXXXXX")
GAME_PID=""

# Ends every process the test started (a stopped game is resumed first, or it would never see
# the TERM), waits for them with a bound, and kills what is left.
cleanup() {
  local pids; pids=$(jobs -p)
  [ -z "$pids" ] || { kill -CONT $pids; kill $pids; E2E_WAIT=5 poll all_gone $pids || kill -KILL $pids; wait; } 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT
all_gone() { local p; for p; do ! kill -0 "$p" 2>/dev/null || return 1; done; }

fail() {
  echo "FAIL: $*" >&2
  [ -f "$WORK/shot.png" ] && cp "$WORK/shot.png" "${TMPDIR:-/tmp}/vorlix-e2e-failure.png" &&
    echo "last screenshot: ${TMPDIR:-/tmp}/vorlix-e2e-failure.png" >&2
  exit 1
}

# Every wait is for a state: "$@" runs every POLL seconds until it succeeds, for at most
# E2E_WAIT seconds (status 1 then), so slow machines and sanitizer builds get time to draw.
# Between two checks runs PAUSE: sleep, or run_slice while the game is stopped.
E2E_WAIT=${E2E_WAIT:-8}
POLL=0.05
PAUSE=sleep
poll() {
  local end=$((${EPOCHREALTIME//[!0-9]/} + E2E_WAIT * 1000000))
  until "$@"; do
    [ "${EPOCHREALTIME//[!0-9]/}" -lt "$end" ] || return 1
    $PAUSE "$POLL"
  done
}
# As poll, and the test fails naming the state $1 when it does not come.
wait_for() { poll "${@:2}" || fail "waited ${E2E_WAIT}s in vain for $1"; }
not() { ! "$@"; }
# The stopped game runs for $1 seconds and stops again: a check between two slices sees each
# state the game passes through, however fast the machine.
run_slice() { kill -CONT "$GAME_PID"; sleep "$1"; kill -STOP "$GAME_PID"; }

# A private X server (screen size $1, default 1024x768x24) with openbox; tried up to three times,
# as openbox has been seen to find no display while other tests' X servers come and go.
start_x() {
  local fifo="$WORK/displayfd" n attempt
  for attempt in 1 2 3; do
    rm -f "$fifo" && mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768x24}" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 & XVFB_PID=$!
    read -r -t "$E2E_WAIT" n <"$fifo" || fail "Xvfb gave no display number"
    export DISPLAY=":$n"
    wait_for "Xvfb to take clients on $DISPLAY" x_up
    openbox >"$WORK/openbox.log" 2>&1 &
    poll wm_running && return
    echo "openbox does not manage the screen $DISPLAY: $(tail -n 3 "$WORK/openbox.log")" >&2
    kill "$XVFB_PID" $! 2>/dev/null || true
  done
  fail "no X server with openbox after three tries"
}
x_up() { xprop -root >/dev/null 2>&1; }
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }

# A copy of the game folder; the test pictures replace the default ones.
make_game_copy() {
  GAME="$WORK/game"
  cp -r "$GAME_DIR" "$GAME"
  local n
  convert -size 16x16 "xc:$PIT_COLOUR" -type truecolor "BMP3:$GAME/pit.bmp"
  convert -size 16x16 "xc:$BLANK_COLOUR" -type truecolor "BMP3:$GAME/blank.bmp"
  convert -size 16x16 "xc:$PIECE_COLOUR" -type truecolor "BMP3:$GAME/piece1.bmp"
  for n in $(seq 2 20); do cp "$GAME/piece1.bmp" "$GAME/piece$n.bmp"; done
}

start_game() { "$GAME/vorlix" >"$WORK/stdout" 2>"$WORK/stderr" & GAME_PID=$!; }

# Starts the game and gives its main window the focus; the window id is left in $WIN.
launch_game() { start_game; WIN=$(wait_window "^Vorlix 2.9$"); activate "$WIN"; }

# Waits for a window whose title matches $1, other than the window $2 when given; prints its id.
wait_window() { wait_for "a window named '$1'" find_window "$@"; echo "$FOUND"; }
find_window() { FOUND=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -vx "${2:-}" | head -n 1 || true); [ -n "$FOUND" ]; }
# A window of the game's besides the main window $WIN is up: a menu or a dialog.
other_window() { [ -n "$(xdotool search --onlyvisible --class vorlix 2>/dev/null | grep -vx "$WIN" || true)" ]; }

# Gives window $1 the focus; returns once the window manager has.
activate() {
  timeout "$E2E_WAIT" xdotool windowactivate --sync "$1" >/dev/null 2>&1 ||
    timeout "$E2E_WAIT" xdotool windowfocus --sync "$1" || fail "window $1 never got the focus"
}

# No pause after the keys: the X server delivers them in order, and what they do is polled for.
key() { xdotool key --clearmodifiers "$@"; }
quit_game() { key ctrl+x; wait_exit; }
# Holds key $1 until the check $3... passes, then lets it go; fails naming the state $2. A game
# key let go before the game's pass reads it does nothing, as the release clears what the press set.
press_until() {
  xdotool keydown "$1"
  if poll "${@:3}"; then xdotool keyup "$1"; else xdotool keyup "$1"; fail "waited ${E2E_WAIT}s in vain for $2"; fi
}
wait_exit() { wait_for "the program to exit" all_gone "$GAME_PID"; wait "$GAME_PID" || true; GAME_PID=""; }

# Logs window $1's events of xev's kind $2, with the server's times, into $WORK/events.
record_events() {
  xev -id "$1" -event property -event "$2" >"$WORK/events" 2>/dev/null &
  wait_for "xev to listen to window $1" probe_seen "$1"
}
probe_seen() { xprop -id "$1" -f VORLIX_E2E_PROBE 8s -set VORLIX_E2E_PROBE x && grep -q VORLIX_E2E_PROBE "$WORK/events"; }

map_state() { xwininfo -id "$1" | sed -n 's/^ *Map State: //p'; }

# "X Y W H" of window $1 on the screen, without its frame.
window_box() { xwininfo -id "$1" | sed -n 's/^ *\(Absolute upper-left [XY]\|Width\|Height\): *//p' | paste -sd' '; }

# Screenshot of one window into $WORK/shot.png.
shot() { import -window "$1" "$WORK/shot.png" 2>/dev/null || fail "screenshot failed"; }

# The last screenshot, or its crop $1 (WxH+X+Y) when given; prints the file.
shot_part() {
  [ -n "${1:-}" ] || { echo "$WORK/shot.png"; return; }
  convert "$WORK/shot.png" -crop "$1" +repage "$WORK/crop.png"
  echo "$WORK/crop.png"
}

# Number of pixels of colour $1 in the last screenshot, optionally inside the crop $2.
count_colour() {
  convert "$(shot_part "${2:-}")" -fill black +opaque "$1" -fill white -opaque "$1" \
    -colorspace gray -format "%[fx:round(mean*w*h)]" info:
}

# Bounding box "W H X Y" of colour $1 in the last screenshot (inside the crop $2, relative to
# it, when given), or nothing when absent.
colour_box() {
  convert "$(shot_part "${2:-}")" -fill black +opaque "$1" -fill white -opaque "$1" -format "%@" info: 2>/dev/null |
    sed -E -e 's/^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$/\1 \2 \3 \4/' -e '/^0 /d'
}

# Screenshots window $1 until the check $2... passes; status 1 when it never does.
until_shot() { poll shot_then "$@"; }
shot_then() { shot "$1" && "${@:2}"; }

# Screenshots window $1 until two in a row are alike: drawn, and still. The picture is left in
# $WORK/still.png too.
still_shot() {
  shot "$1"
  cp "$WORK/shot.png" "$WORK/still.png"
  until_shot "$1" same_as_still || fail "window $1 never stopped changing"
}
same_as_still() { cmp -s "$WORK/shot.png" "$WORK/still.png" || { cp "$WORK/shot.png" "$WORK/still.png"; false; }; }

has_colour() { [ -n "$(colour_box "$1")" ]; }

# Reads the bounding box of colour $1 into the variables named $3 to $6; fails with $2 when the
# colour is nowhere in the last screenshot.
read_box() {
  local box
  box=$(colour_box "$1")
  [ -n "$box" ] || fail "$2"
  read -r "${@:3}" <<<"$box"
}

# Waits for the empty cells of window $1's pits; leaves their bounding box in PIT_W PIT_H PIT_X
# PIT_Y and as the crop PIT (WxH+X+Y).
find_pit() {
  until_shot "$1" has_colour "$BLANK_COLOUR" || true
  read_box "$BLANK_COLOUR" "no pit drawn" PIT_W PIT_H PIT_X PIT_Y
  PIT="${PIT_W}x${PIT_H}+${PIT_X}+${PIT_Y}"
}

# Waits for a falling piece in window $1. The pits show their empty cells before F2 is
# handled too, so only the piece tells that the game is on.
wait_piece() { until_shot "$1" has_colour "$PIECE_COLOUR" || true; }

# Each argument is a whole line of the game copy's settings file, compared byte for byte.
expect_ini_lines() {
  local entry
  for entry in "$@"; do
    LC_ALL=C grep -qaxF -- "$entry" "$GAME/Vorlix.ini" || fail "$entry missing from Vorlix.ini"
  done
}
