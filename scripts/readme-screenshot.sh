#!/usr/bin/env bash
# Draws a little in the real editor under Xvfb and takes the README's
# screenshot (docs/screenshot.png) while the layer menu is open.
# Usage: scripts/readme-screenshot.sh [path of vell]
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
source "$ROOT/e2e/driver.sh" "${1:-$ROOT/build/vell}"

start_vell
# A chain of lines: D anchors, arrows move, D draws and anchors again.
repeat 24 Right; repeat 14 Down
press d; repeat 12 Right; press d; repeat 10 Down; press d
repeat 12 Left; press d; repeat 10 Up; press space
# A box outline around it.
repeat 2 Left; repeat 2 Up; press g; repeat 16 Right; repeat 14 Down; press space
# A dotted row below.
repeat 20 Down; repeat 16 Left
for _ in 1 2 3 4 5 6 7 8; do press space; repeat 2 Right; done
key_down l
sleep 0.6
screenshot shot.png
key_up l
quit_vell
convert "$WORK/shot.png" -resize 50% "$ROOT/docs/screenshot.png"
echo "wrote docs/screenshot.png"
