#!/usr/bin/env bash
# Installs what is missing, builds, fuzzes the document reader briefly, and
# runs every test (unit and end-to-end).
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
cd build
ctest --output-on-failure -j"$(nproc)"
