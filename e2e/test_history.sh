# Undo and redo through real keys: drawings, the redo cut, a replay, a layer,
# a resize, a 1 MiB budget, over 150 steps; Vell.zub at quit holds the rest.
# The lens shows picture pixel (x, y) as the 16x16 block at (16x, 16y).
source "$(dirname "$0")/driver.sh" "$1"

ORANGE="255,180,0"
BLACK="0,0,0"

# check_zub W H X,Y...: one opaque W x H layer, non-black exactly at X,Y...
check_zub() {
    python3 - "$WORK/Vell.zub" "$@" <<'PY' || fail "Vell.zub does not hold the expected picture"
import struct, sys
data = open(sys.argv[1], "rb").read()
W, H = int(sys.argv[2]), int(sys.argv[3])
assert struct.unpack_from("<4i", data, 0) == (2, 1, W, H), struct.unpack_from("<4i", data, 0)
pixels = struct.unpack_from(f"<{W * H}I", data, 20)
found = {(i % W, i // W) for i, v in enumerate(pixels) if v}
assert found == {tuple(map(int, xy.split(","))) for xy in sys.argv[4:]}, sorted(found)
PY
}

start_vell
# Below the message line: a pixel at (1, 2), a line (1, 4)-(4, 4), a box
# outline (1, 6)-(4, 8); three undos, two redos.
repeat 2 Down
press Right
press space
repeat 2 Down
press d
repeat 3 Right
press space
repeat 3 Down
repeat 2 Left
press g
repeat 2 Right
press space
press Down  # the cursor's random colour would hide (2, 7)
for i in 1 2 3; do chord ctrl+z; done
expect_stdout_line "Undo (0 more)"
screenshot undone.png
expect_blocks undone.png "$BLACK" 1,2 2,4 4,4 1,6 4,8
chord ctrl+y
chord ctrl+y
expect_stdout_line "Redo (1 more)"
# A new change: the box can no longer be redone.
press Up
press space
chord ctrl+y
chord ctrl+shift+z
[ "$(grep -c '^Nothing to redo$' "$WORK/stdout.txt")" = 2 ] || fail "redo was not refused twice"
# Recorded: pixels (3, 7) and (4, 7); the replay's (5, 7) and (6, 7) are one step.
chord alt+r
for k in Right space Right space; do press "$k"; done
chord alt+r
chord alt+p
chord ctrl+z
# A layer added with a pixel on it, both undone; a resize to 40 x 30 undone.
with_held l a
press space
chord ctrl+z
chord ctrl+z
chord alt+v
replace_row 40
press Return
answer 30
screenshot small.png
expect_block small.png 50 40 "128,128,128"
chord ctrl+z
quit_vell
check_zub 1024 768 1,2 1,4 2,4 3,4 4,4 2,7 3,7 4,7
expect_cfg Undo memory 64

# 1 MiB: the resize keeps the 3 MiB layer of the old size, too much to keep.
sed -i 's/^memory = 64$/memory = 1/' "$WORK/vell.cfg"
start_vell
press Down
press space
chord alt+v
replace_row 600
press Return
answer 400
expect_stdout_line "Undo history cleared: change too large"
chord ctrl+z
expect_stdout_line "Nothing to undo"
quit_vell
check_zub 600 400 1,2 1,4 2,4 3,4 4,4 2,7 3,7 4,7 6,8
expect_cfg Undo memory 1

# SPACE held while RIGHT repeats: a pixel (a step) per pass; Ctrl+Z held.
rm "$WORK/Vell.zub" "$WORK/vell.cfg"
start_vell
repeat 2 Down
key_down space
hold Right 9
key_up space
chord ctrl+z
steps=$(sed -n 's/^Undo (\([0-9]*\) more)$/\1/p' "$WORK/stdout.txt" | head -n 1)
[ "${steps:-0}" -ge 149 ] || fail "only ${steps:-0} + 1 steps were made"
key_down ctrl
hold z $((steps / 20 + 4))
key_up ctrl
[ "$(grep '^Undo (' "$WORK/stdout.txt")" = "$(seq "$steps" -1 0 | sed 's/.*/Undo (& more)/')" ] ||
    fail "the undo messages do not count down from $steps to 0"
quit_vell
check_zub 1024 768
pass
