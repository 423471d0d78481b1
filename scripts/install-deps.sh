#!/usr/bin/env bash
# Installs every Debian package the build and the tests need, and nothing
# that is already there. Safe to run any number of times.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config ccache
  liballegro4-dev libsdl1.2-dev libsdl-image1.2-dev
  libgtest-dev libbenchmark-dev
  xvfb xauth xdotool imagemagick x11-utils optipng
  clang libclang-rt-14-dev
  libpng-dev libgif-dev gifsicle valgrind allegro4-doc
  desktop-file-utils man-db groff-base dpkg-dev file python3 python3-pil
)

missing=()
for p in "${PACKAGES[@]}"; do
  # Ask dpkg, not the PATH: a stand-in `convert` may exist without ImageMagick.
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
