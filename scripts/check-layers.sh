#!/usr/bin/env bash
# Every #include in src/ points down the layers (docs/ARCHITECTURE.md): a folder includes from
# itself and from folders of a lower rank, never from one beside it or above it. The models
# (ranks 0 to 3) include no Qt header at all. A new folder must be given its rank here.
set -euo pipefail
cd "$(dirname "$0")/../src"
declare -A rank=([app]=6 [settings/dialog]=5 [scores/dialog]=5 [ui]=4 [render]=4
                 [control]=3 [engine]=2 [settings]=1 [scores]=1 [common]=0)
failed=0
fail() { echo "$1"; failed=1; }
while IFS= read -r file; do
  from=$(dirname "$file")
  [[ -v rank[$from] ]] || { fail "src/$file: the folder $from has no rank"; continue; }
  while IFS=: read -r line text; do
    if [[ $text =~ \<Q ]]; then
      ((rank[$from] > 3)) || fail "src/$file:$line: a model includes Qt: $text"
    elif [[ $text =~ \"(.*)/[^/]*\" ]]; then
      to=${BASH_REMATCH[1]}
      [[ $to == "$from" ]] && continue
      [[ -v rank[$to] ]] || { fail "src/$file:$line: $to has no rank: $text"; continue; }
      ((rank[$to] < rank[$from])) || fail "src/$file:$line: $from includes from $to, beside or above it: $text"
    fi
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include' "$file")
done < <(find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||' | sort)
exit $failed
