#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) in their own
# directory and runs each briefly on its seed corpus: the document reader,
# the picture loaders, then the palette readers. Exits non-zero when the
# fuzzer finds a crash, a leak or an allocation beyond the limit.
# Usage: scripts/fuzz.sh [seconds per target] [build dir]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
SECONDS_TO_RUN="${1:-30}"
BUILD="${2:-$ROOT/fuzz-build}"

CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -DVELL_FUZZ=ON -DVELL_TESTS=OFF \
  -DVELL_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --target document_fuzz picture_fuzz palette_fuzz -j"$(nproc)"

# New inputs go to a scratch corpus; the checked-in seeds are only read.
WORK="$BUILD/fuzz/corpus-work"
mkdir -p "$WORK" "$BUILD/fuzz/artifacts"
"$BUILD/fuzz/document_fuzz" "$WORK" "$ROOT/fuzz/corpus" \
  -max_total_time="$SECONDS_TO_RUN" -rss_limit_mb=2048 -malloc_limit_mb=512 \
  -artifact_prefix="$BUILD/fuzz/artifacts/" -print_final_stats=1

# Pictures up to the size the editor loads without asking are allowed, so
# one allocation may reach 256 MiB (more for SDL_image's own surface).
PICTURE_WORK="$BUILD/fuzz/picture-corpus-work"
mkdir -p "$PICTURE_WORK"
"$BUILD/fuzz/picture_fuzz" "$PICTURE_WORK" "$ROOT/fuzz/picture-corpus" \
  -max_total_time="$SECONDS_TO_RUN" -rss_limit_mb=3072 -malloc_limit_mb=1100 -timeout=30 \
  -artifact_prefix="$BUILD/fuzz/artifacts/" -print_final_stats=1

PALETTE_WORK="$BUILD/fuzz/palette-corpus-work"
mkdir -p "$PALETTE_WORK"
"$BUILD/fuzz/palette_fuzz" "$PALETTE_WORK" "$ROOT/fuzz/palette-corpus" \
  -max_total_time="$SECONDS_TO_RUN" -rss_limit_mb=2048 -malloc_limit_mb=512 \
  -artifact_prefix="$BUILD/fuzz/artifacts/" -print_final_stats=1
