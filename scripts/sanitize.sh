#!/usr/bin/env bash
# Builds the unit tests with AddressSanitizer and UndefinedBehaviorSanitizer
# in their own directory and runs them; any report fails the run (undefined
# behaviour stops the test at once). Usage: scripts/sanitize.sh [build dir]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${1:-$ROOT/build-asan}"
FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"

cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELL_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$FLAGS" >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
cd "$BUILD"
UBSAN_OPTIONS=print_stacktrace=1 ctest -L unit --output-on-failure -j"$(nproc)"
