#!/usr/bin/env bash
# Builds Vorlix and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target vorlix vorlix_assets -j"$(nproc)"
exec build/game/vorlix
