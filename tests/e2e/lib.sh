# Shared helpers for the end-to-end tests: a private X server with a window manager, a copy
# of the game folder with solid-colour test pictures, screenshots and pixel counts.
# Sourced by the test scripts; expects GAME_DIR (the built game folder) in the environment.

set -euo pipefail

PIECE_COLOUR="#ff0000"
PIT_COLOUR="#00ff00"
BLANK_COLOUR="#ff00ff"

WORK=$(mktemp -d "${TMPDIR:-/tmp}/vorlix-e2e.XXXXXX")
XVFB_PID=""
WM_PID=""
GAME_PID=""

cleanup() {
  [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null || true
  [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -f "$WORK/shot.png" ] && cp "$WORK/shot.png" "${TMPDIR:-/tmp}/vorlix-e2e-failure.png" &&
    echo "last screenshot: ${TMPDIR:-/tmp}/vorlix-e2e-failure.png" >&2
  exit 1
}

# A private X server (screen size $1, default 1024x768x24) with openbox.
start_x() {
  local fifo="$WORK/displayfd"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${1:-1024x768x24}" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local n
  read -r n <"$fifo"
  export DISPLAY=":$n"
  openbox >/dev/null 2>&1 &
  WM_PID=$!
  sleep 0.5
}

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

start_game() {
  "$GAME/vorlix" >"$WORK/stdout" 2>"$WORK/stderr" &
  GAME_PID=$!
}

# Starts the game and gives its main window the focus; the window id is left in $WIN.
launch_game() {
  start_game
  WIN=$(wait_window "^Vorlix 2.9$")
  activate "$WIN"
}

# Waits for a window whose title matches $1, other than the window $2 when given; prints its id.
wait_window() {
  local id="" i
  for i in $(seq 1 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -vx "${2:-}" | head -n 1 || true)
    [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || fail "no window named '$1'"
  echo "$id"
}

# Runs the command $2... until it prints something, for up to 10 s, and prints that; fails
# naming $1, what it waited for, when nothing came.
wait_output() {
  local what=$1 out="" i
  shift
  for i in $(seq 1 100); do
    out=$("$@" 2>/dev/null || true)
    [ -n "$out" ] && break
    sleep 0.1
  done
  [ -n "$out" ] || fail "$what"
  echo "$out"
}

activate() {
  xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus --sync "$1"
  sleep 0.2
}

key() {
  xdotool key --clearmodifiers "$@"
  sleep 0.3
}

# Ctrl+X, and the program exits.
quit_game() {
  key ctrl+x
  wait_exit
}

map_state() { xwininfo -id "$1" | sed -n 's/^ *Map State: //p'; }

# "X Y W H" of window $1 on the screen, without its frame.
window_box() {
  xwininfo -id "$1" | sed -n 's/^ *\(Absolute upper-left [XY]\|Width\|Height\): *//p' | paste -sd' '
}

# Screenshot of one window into $WORK/shot.png.
shot() {
  import -window "$1" "$WORK/shot.png" 2>/dev/null || fail "screenshot failed"
}

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

# Retries "screenshot of window $1, then the check $2..." for up to $E2E_WAIT seconds, so slow
# machines (and sanitizer builds) get time to draw.
E2E_WAIT=${E2E_WAIT:-8}
until_shot() {
  local win=$1 i
  shift
  for i in $(seq 1 $((E2E_WAIT * 5))); do
    shot "$win"
    "$@" && return 0
    sleep 0.2
  done
  return 1
}

wait_exit() {
  local i
  for i in $(seq 1 50); do
    kill -0 "$GAME_PID" 2>/dev/null || { wait "$GAME_PID" || true; GAME_PID=""; return 0; }
    sleep 0.1
  done
  fail "the program did not exit"
}

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

# Each argument is a whole line of the game copy's settings file, compared byte for byte.
expect_ini_lines() {
  local entry
  for entry in "$@"; do
    LC_ALL=C grep -qaxF -- "$entry" "$GAME/Vorlix.ini" || fail "$entry missing from Vorlix.ini"
  done
}

# ---- Waiting for a state (keeps_data.sh) --------------------------------------------------
# Runs "$2..." until it succeeds, for at most $E2E_WAIT seconds; fails naming what it waited
# for, $1.
poll_until() {
  local what=$1 i
  shift
  for i in $(seq 1 $((E2E_WAIT * 20))); do
    "$@" && return 0
    sleep 0.05
  done
  fail "waited in vain for $what"
}

# Holds key $1 down until "$3..." succeeds, then lets it go; fails like poll_until, naming $2.
# Held rather than tapped, the press cannot be lost; the states waited for come long before
# the desktop's first repeat.
press_until() {
  xdotool keydown "$1"
  poll_until "$2" "${@:3}"
  xdotool keyup "$1"
}
