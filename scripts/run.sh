#!/usr/bin/env bash
# Builds Vorlix and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --play
# Neither the tests nor the benchmarks: a player needs neither, nor what they are built from.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORLIX_TESTS=OFF -DVORLIX_BENCH=OFF >/dev/null
cmake --build build --target vorlix vorlix_assets -j"$(nproc)"
exec build/game/vorlix
