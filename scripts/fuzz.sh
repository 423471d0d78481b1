#!/usr/bin/env bash
# Builds the document reader's fuzz target with clang (libFuzzer, ASan,
# UBSan) in its own directory and runs it briefly on the seed corpus.
# Exits non-zero when the fuzzer finds a crash, a leak or an allocation
# beyond the limit. Usage: scripts/fuzz.sh [seconds] [build dir]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
SECONDS_TO_RUN="${1:-30}"
BUILD="${2:-$ROOT/fuzz-build}"

CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -DVELL_FUZZ=ON -DVELL_TESTS=OFF \
  -DVELL_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --target document_fuzz -j"$(nproc)"

# New inputs go to a scratch corpus; the checked-in seeds are only read.
WORK="$BUILD/fuzz/corpus-work"
mkdir -p "$WORK" "$BUILD/fuzz/artifacts"
"$BUILD/fuzz/document_fuzz" "$WORK" "$ROOT/fuzz/corpus" \
  -max_total_time="$SECONDS_TO_RUN" -rss_limit_mb=2048 -malloc_limit_mb=512 \
  -artifact_prefix="$BUILD/fuzz/artifacts/" -print_final_stats=1
