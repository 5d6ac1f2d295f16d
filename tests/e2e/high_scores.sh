#!/usr/bin/env bash
# A high-score file made here is shown by Game -> High Scores and survives a start and a close
# byte for byte, including the padding byte and the bytes after a name's end.
source "$(dirname "$0")/lib.sh"

start_x
make_game_copy

# One 52-byte record: name, its zero and leftover bytes, mode, padding, five little-endian numbers.
record() { # name score level lines pieces bonuses
  local name=$1 pad
  printf '%s' "$name"
  pad=$((30 - ${#name}))
  [ "$pad" -gt 0 ] && { printf '\0'; head -c $((pad - 1)) /dev/zero | tr '\0' 'x'; }
  printf 'P\x07'
  local v
  for v in "$2" "$3" "$4" "$5" "$6"; do
    printf "\\x$(printf %02x $((v & 255)))\\x$(printf %02x $((v >> 8 & 255)))\\x$(printf %02x $((v >> 16 & 255)))\\x$(printf %02x $((v >> 24 & 255)))"
  done
}
hs="$GAME/Vorlix.HS"
{
  head -c 1040 /dev/zero                          # Hard and Medium: empty
  record abc 8300 3 12 85 2                        # Easy, place 1
  record "Thirty characters exactly here" 4100 2 7 40 0
  head -c $((8 * 52)) /dev/zero
} >"$hs"
[ "$(stat -c %s "$hs")" -eq 1560 ] || fail "test file is $(stat -c %s "$hs") bytes"
cp "$hs" "$WORK/hs.before"

launch_game
key ctrl+h
dialog=$(wait_window "^High Scores$")
shows_text() { [ "$(count_colour "#000000")" -gt 0 ]; }
until_shot "$dialog" shows_text || fail "the dialog shows nothing"
cp "$WORK/shot.png" "${E2E_HIGH_SCORES_SHOT:-/dev/null}" 2>/dev/null || true
key Escape # closes through the OK path
wait_for "High Scores to close" not find_window "^High Scores$"
activate "$WIN"
quit_game
cmp "$WORK/hs.before" "$hs" || fail "Vorlix.HS changed across a start and a close"
echo "PASS"
