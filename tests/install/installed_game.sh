#!/usr/bin/env bash
# The installed game started as a player starts it: the `vorlix` command from the PATH, from some
# other working folder. It plays, and its files land in the game folder behind the link. In a
# game folder the player cannot write it still plays, and closing reports the failed saves and
# leaves the files there untouched.
# Expects BUILD_DIR, GAME_DIR and E2E_LIB in the environment.
source "$E2E_LIB"

start_x
prefix="$WORK/prefix"
cmake --install "$BUILD_DIR" --prefix "$prefix" >"$WORK/install.log" || fail "cmake --install failed"
gamedir="$prefix/share/vorlix"
elsewhere="$WORK/elsewhere"
mkdir "$elsewhere"

# $1: run the program as this user (empty: as we are).
start_installed() {
  local as=()
  [ -n "$1" ] && as=(setpriv --reuid="$1" --regid="$1" --clear-groups env -u XDG_RUNTIME_DIR HOME="$elsewhere")
  (cd "$elsewhere" && exec "${as[@]}" env PATH="$prefix/bin:$PATH" vorlix) >"$WORK/stdout" 2>"$WORK/stderr" &
  GAME_PID=$!
}

# Starts a game and hard-drops a piece; fails unless the pit comes up.
play_a_piece() {
  activate "$1"
  still_shot "$1"
  key F2
  until_shot "$1" not cmp -s "$WORK/still.png" "$WORK/shot.png" || fail "New Game changed nothing on the screen"
  key space
}

start_installed ""
win=$(wait_window "^Vorlix 2.9$")
play_a_piece "$win"
quit_game
[ -f "$gamedir/Vorlix.ini" ] || fail "Vorlix.ini not in the installed game folder"
[ "$(stat -c %s "$gamedir/Vorlix.HS")" -eq 1560 ] || fail "Vorlix.HS not in the installed game folder"
for dir in "$elsewhere" "$prefix/bin"; do
  [ -z "$(ls -A "$dir" | grep -v '^vorlix$' || true)" ] || fail "files written to $dir: $(ls -A "$dir")"
done

# A game folder the player cannot write. Root writes anywhere, so as root the game runs as nobody.
sums=$(cd "$gamedir" && md5sum Vorlix.ini Vorlix.HS)
if [ "$(id -u)" -eq 0 ]; then
  user=$(id -u nobody) || fail "no user nobody to play as"
  chmod 755 "$WORK" "$elsewhere"
  chmod 777 "$elsewhere"
else
  user=""
  chmod a-w "$gamedir"
fi
start_installed "$user"
win=$(wait_window "^Vorlix 2.9$")
play_a_piece "$win"
key ctrl+x
box=$(wait_window "^Warning$")
activate "$box"
key Return
wait_exit
chmod u+w "$gamedir"
[ "$sums" = "$(cd "$gamedir" && md5sum Vorlix.ini Vorlix.HS)" ] || fail "a failed save changed the files"
[ -z "$(ls -A "$gamedir" | grep -Ev '^(vorlix|.*\.bmp|Vorlix\.(ini|HS)(\.lock)?)$' || true)" ] ||
  fail "files left in the read-only game folder: $(ls -A "$gamedir")"
echo "PASS"
