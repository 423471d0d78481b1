#!/usr/bin/env bash
# Installs what is missing, builds, fuzzes the document reader, the picture
# loaders and the palette readers briefly, replays the picture corpus under
# valgrind, runs the unit tests built with the sanitizers, presses random
# keys into the sanitizer build for a minute, and runs every test (unit and
# end-to-end).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
./scripts/fuzz.sh "${VELL_FUZZ_SECONDS:-20}" > build/fuzz.log 2>&1 || {
  tail -n 40 build/fuzz.log
  echo "fuzzing failed (full log: build/fuzz.log)"
  exit 1
}
runs=($(grep -o 'stat::number_of_executed_units: *[0-9]*' build/fuzz.log | grep -o '[0-9]*$'))
echo "fuzz: document reader survived ${runs[0]} runs, picture loaders ${runs[1]}, palette readers ${runs[2]}"
./scripts/replay-pictures.sh > build/replay.log 2>&1 || {
  tail -n 40 build/replay.log
  echo "the picture corpus under valgrind failed (full log: build/replay.log)"
  exit 1
}
echo "valgrind: $(grep -h '^replayed' build/replay.log | paste -sd ';')"
./scripts/sanitize.sh > build/sanitize.log 2>&1 || {
  tail -n 60 build/sanitize.log
  echo "the unit tests failed under the sanitizers (full log: build/sanitize.log)"
  exit 1
}
echo "sanitizers: $(grep -o '[0-9]*% tests passed.*' build/sanitize.log) (AddressSanitizer, UndefinedBehaviorSanitizer)"
./scripts/soak.sh build-asan/vell "${VELL_SOAK_SECONDS:-60}" > build/soak.log 2>&1 || {
  tail -n 40 build/soak.log
  echo "the random-key soak failed (full log: build/soak.log)"
  exit 1
}
tail -n 1 build/soak.log
cd build
ctest --output-on-failure -j"$(nproc)"
