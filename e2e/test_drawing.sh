# A drawing session: a pixel, a line, a box outline, a grabbed brush stamped
# (once undone), another pointer picked; quit, check Vell.zub byte by byte,
# start again and see the same picture, and the brush, on screen.
# The lens shows picture pixel (x, y) as the 16x16 block at (16x, 16y).
source "$(dirname "$0")/driver.sh" "$1"

ORANGE="255,180,0"
BLACK="0,0,0"

# Every pixel the session draws, as x,y.
DRAWN=(1,0 1,2 2,2 3,2 4,2 1,4 2,4 3,4 4,4 1,5 4,5 1,6 2,6 3,6 4,6 6,3 7,3 0,7)

start_vell
expect_stdout_line "'Vell.zub' can't be opened"

# A pixel at (1, 0).
press Right
press space
# A line from (1, 2) to (4, 2).
repeat 2 Down
press d
repeat 3 Right
press space
# A 2x1 box at (2, 5) (the first resize raises the empty box to 1x1): its
# outline runs from (1, 4) to (4, 6).
repeat 3 Down
repeat 2 Left
press g
repeat 2 Right
press space
# Grab the 2x1 box at (1, 2), on the line, and stamp it opaque at (6, 0).
repeat 3 Up
press Left
press g
press Return
repeat 2 Up
repeat 5 Right
chord alt+e
screenshot stamped.png
expect_blocks stamped.png "$ORANGE" 7,0 1,0
# Undo takes the stamp away again ((6, 0) is under the cursor).
chord ctrl+z
screenshot undone.png
expect_blocks undone.png "$BLACK" 7,0
# A masked stamp at (6, 3) stays.
repeat 3 Down
chord shift+e
# Pointer 1 (at (0, 0)) becomes current and draws at (0, 7).
with_held p KP_1
repeat 7 Down
press space
press Down  # the cursor's random colour would hide (0, 7)
screenshot first.png
expect_blocks first.png "$ORANGE" "${DRAWN[@]}"
expect_blocks first.png "$BLACK" 6,10 5,5 2,1 0,1 8,3 5,2
quit_vell

# The file: header, one opaque 1024x768 layer holding exactly the drawn
# pixels, pointer 0 with the 2x1 brush, nine pointers without brush.
python3 - "$WORK/Vell.zub" "${DRAWN[@]}" <<'PY' || fail "Vell.zub does not hold the drawing"
import struct, sys
data = open(sys.argv[1], "rb").read()
drawn = {tuple(map(int, xy.split(","))) for xy in sys.argv[2:]}
W, H = 1024, 768
expected_size = 16 + 4 + 4 * W * H + (8 + 8) + 9 * 4
assert len(data) == expected_size, f"size {len(data)}, expected {expected_size}"
assert struct.unpack_from("<4i", data, 0) == (2, 1, W, H), struct.unpack_from("<4i", data, 0)
assert struct.unpack_from("<i", data, 16)[0] == 0, "layer mode"
pixels = struct.unpack_from(f"<{W * H}I", data, 20)
found = {(i % W, i // W) for i, v in enumerate(pixels) if v}
assert found == drawn, f"extra {sorted(found - drawn)}, missing {sorted(drawn - found)}"
colours = {pixels[y * W + x] for x, y in drawn}
assert len(colours) == 1, colours
pen = colours.pop()
# The X11 screen's 32-bit layout: red in the high byte of the low three.
assert (pen >> 16 & 255, pen >> 8 & 255, pen & 255) == (255, 180, 0), hex(pen)
rest = 20 + 4 * W * H
assert struct.unpack_from("<2i2I", data, rest) == (2, 1, pen, pen), struct.unpack_from("<2i2I", data, rest)
assert struct.unpack_from("<9i", data, rest + 16) == (0,) * 9
PY

# Again: the same picture on screen, and pointer 0's brush is back.
start_vell
expect_stdout_line "got here"
screenshot second.png
expect_blocks second.png "$ORANGE" "${DRAWN[@]}"
expect_blocks second.png "$BLACK" 6,0 7,0 6,10 5,5 2,1 0,1 8,3
# Pointer 0 (whose position the settings may or may not have kept), moved
# to (0, 0) with the lens reset, stamps its brush at (0, 9).
key_down p
press KP_0
key_up p
key_down z
press Return
key_up z
sleep "$AFTER_KEY"
repeat 9 Down
chord shift+e
press Down
screenshot brush.png
expect_blocks brush.png "$ORANGE" 0,9 1,9
expect_blocks brush.png "$BLACK" 2,9 0,11
quit_vell
pass
