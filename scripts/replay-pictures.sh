#!/usr/bin/env bash
# Replays the picture seeds (each must load) and up to 300 of the inputs the
# picture fuzzer kept under valgrind, on the normal build without
# sanitizers, so that memory errors inside Allegro and SDL_image show too.
# Usage: scripts/replay-pictures.sh [build dir] [kept inputs dir]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${1:-$ROOT/build}"
KEPT="${2:-$ROOT/fuzz-build/fuzz/picture-corpus-work}"
REPLAY=(valgrind -q --error-exitcode=1 "$BUILD/fuzz/picture_replay")

"${REPLAY[@]}" --all-load "$ROOT"/fuzz/picture-corpus/*
mapfile -t kept < <(find "$KEPT" -type f 2>/dev/null | sort | head -n 300)
if [ ${#kept[@]} -gt 0 ]; then "${REPLAY[@]}" "${kept[@]}"; fi
