#!/usr/bin/env bash
# What `cmake --install` puts in place: the game folder, the `vorlix` link, the icons, a desktop
# entry and metainfo that pass their validators and start the installed program, also from a
# prefix whose path needs quoting and from a DESTDIR staging tree; and the default prefix.
# Expects BUILD_DIR (a built tree) and SOURCE_DIR in the environment.
set -euo pipefail

WORK=$(mktemp -d "${TMPDIR:-/tmp}/vorlix-install.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

APP_ID=org.vorlix.Vorlix

# The Exec value of a desktop entry as the one program path it names (no arguments expected).
exec_path() {
  local value
  value=$(sed -n 's/^Exec=//p' "$1" | sed -e 's/%%/%/g' -e 's/\\\\/\\/g')
  if [[ $value == \"*\" ]]; then
    value=${value:1:${#value}-2}
    value=$(sed -E 's/\\(["`$\\])/\1/g' <<<"$value")
  elif [[ $value == *[[:space:]]* ]]; then
    fail "Exec names more than one word: $value"
  fi
  printf '%s\n' "$value"
}

# Checks one installed tree: $1 where the files are, $2 the prefix the entry must name.
check_tree() {
  local root=$1 prefix=$2
  local game="$root/share/vorlix" n size

  [ -x "$game/vorlix" ] && [ -f "$game/vorlix" ] || fail "no program in the game folder $game"
  for n in bg pit blank $(printf 'piece%d ' $(seq 1 20)); do
    [ -s "$game/$n.bmp" ] || fail "$n.bmp missing from the game folder"
  done
  [ ! -e "$game/Vorlix.ini" ] && [ ! -e "$game/Vorlix.HS" ] || fail "data files were installed"

  [ -L "$root/bin/vorlix" ] || fail "bin/vorlix is not a symbolic link"
  [[ $(readlink "$root/bin/vorlix") != /* ]] || fail "bin/vorlix is an absolute link"
  [ "$(readlink -f "$root/bin/vorlix")" = "$(readlink -f "$game/vorlix")" ] ||
    fail "bin/vorlix does not lead to the game folder's program"

  for size in 16 32 48 64 128 256; do
    local icon="$root/share/icons/hicolor/${size}x${size}/apps/vorlix.png"
    [ -f "$icon" ] || fail "no ${size}x${size} icon"
    [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] || fail "the ${size}x${size} icon has the wrong size"
  done

  local desktop="$root/share/applications/$APP_ID.desktop"
  local metainfo="$root/share/metainfo/$APP_ID.metainfo.xml"
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
  appstreamcli validate --no-net "$metainfo" >"$WORK/appstream.log" 2>&1 ||
    { cat "$WORK/appstream.log" >&2; fail "appstreamcli rejects $metainfo"; }
  grep -q "<launchable type=\"desktop-id\">$APP_ID.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch the installed desktop entry"
  grep -qx 'Icon=vorlix' "$desktop" || fail "the desktop entry does not name the installed icon"
  [ "$(exec_path "$desktop")" = "$prefix/bin/vorlix" ] ||
    fail "the desktop entry starts '$(exec_path "$desktop")', not $prefix/bin/vorlix"
}

# A prefix with characters that desktop entries must quote and escape.
prefix="$WORK/my 100% \$games"
cmake --install "$BUILD_DIR" --prefix "$prefix" >"$WORK/install.log" || fail "cmake --install failed"
check_tree "$prefix" "$prefix"

# Staged for a package: the files go below DESTDIR, the entry names the final place.
DESTDIR="$WORK/stage" cmake --install "$BUILD_DIR" --prefix /usr/games-test >"$WORK/stage.log" ||
  fail "cmake --install with DESTDIR failed"
check_tree "$WORK/stage/usr/games-test" /usr/games-test
[ ! -e /usr/games-test ] || fail "the staged install wrote outside DESTDIR"

# The player's own ~/.local unless a prefix was given, also on later runs.
mkdir "$WORK/home"
cache_prefix() { sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$1/CMakeCache.txt"; }
options=(-DVORLIX_BENCH=OFF -DVORLIX_E2E=OFF -DVORLIX_FUZZ=OFF)
HOME="$WORK/home" cmake -S "$SOURCE_DIR" -B "$WORK/b1" "${options[@]}" >/dev/null || fail "configure failed"
[ "$(cache_prefix "$WORK/b1")" = "$WORK/home/.local" ] || fail "default prefix is $(cache_prefix "$WORK/b1")"
HOME="$WORK/home" cmake "$WORK/b1" -DCMAKE_INSTALL_PREFIX=/opt/vorlix >/dev/null || fail "reconfigure failed"
HOME="$WORK/home" cmake "$WORK/b1" >/dev/null || fail "second reconfigure failed"
[ "$(cache_prefix "$WORK/b1")" = /opt/vorlix ] || fail "a prefix set later was replaced by $(cache_prefix "$WORK/b1")"
HOME="$WORK/home" cmake -S "$SOURCE_DIR" -B "$WORK/b2" "${options[@]}" -DCMAKE_INSTALL_PREFIX=/usr >/dev/null ||
  fail "configure with a prefix failed"
[ "$(cache_prefix "$WORK/b2")" = /usr ] || fail "the given prefix /usr became $(cache_prefix "$WORK/b2")"
echo "PASS"
