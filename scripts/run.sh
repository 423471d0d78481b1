#!/usr/bin/env bash
# Installs what is missing, builds, and opens the editor (arguments are
# passed on, e.g. -mode: 2 for a window).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
exec ./build/vell "$@"
