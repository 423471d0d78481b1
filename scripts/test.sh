#!/usr/bin/env bash
# Installs what is missing, builds, fuzzes the document reader briefly, runs
# the unit tests built with the sanitizers, and runs every test (unit and
# end-to-end).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
./scripts/fuzz.sh "${VELL_FUZZ_SECONDS:-20}" > build/fuzz.log 2>&1 || {
  tail -n 40 build/fuzz.log
  echo "fuzzing the document reader failed (full log: build/fuzz.log)"
  exit 1
}
echo "fuzz: document reader survived $(grep -o 'stat::number_of_executed_units: *[0-9]*' build/fuzz.log | grep -o '[0-9]*$') runs"
./scripts/sanitize.sh > build/sanitize.log 2>&1 || {
  tail -n 60 build/sanitize.log
  echo "the unit tests failed under the sanitizers (full log: build/sanitize.log)"
  exit 1
}
echo "sanitizers: $(grep -o '[0-9]*% tests passed.*' build/sanitize.log) (AddressSanitizer, UndefinedBehaviorSanitizer)"
cd build
ctest --output-on-failure -j"$(nproc)"
