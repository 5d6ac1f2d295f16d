#!/usr/bin/env bash
# Builds Vorlix with warnings as errors and runs every test.
# Usage: scripts/test.sh [build-dir] [extra cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true
scripts/deps.sh
# The tests, the end-to-end and install tests among them, always run: a cache from an earlier
# configure (scripts/run.sh turns the tests and benchmarks off) cannot leave them out behind a
# green result.
cmake -S . -B "$build" -DVORLIX_WERROR=ON -DVORLIX_BENCH=ON "$@" -DVORLIX_TESTS=ON -DVORLIX_E2E=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
