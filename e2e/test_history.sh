# The undo history through real keys: three drawings undone and two redone,
# a new change dropping the redo, a layer added and undone, a canvas resize
# undone; Vell.zub at quit holds what is left. Then a budget of 1 MiB in
# vell.cfg and a change larger than it.
# The lens shows picture pixel (x, y) as the 16x16 block at (16x, 16y).
source "$(dirname "$0")/driver.sh" "$1"

ORANGE="255,180,0"
BLACK="0,0,0"
GREY="128,128,128"

row() {
    replace_row "$1"
    press Return
}

set_cfg() {
    awk -v s="[$1]" -v k="$2" -v v="$3" '
        /^\[/ { in_s = ($0 == s) }
        in_s && $1 == k { $0 = k " = " v }
        { print }' "$WORK/vell.cfg" >"$WORK/vell.cfg.new"
    mv "$WORK/vell.cfg.new" "$WORK/vell.cfg"
}

# check_zub W H X,Y...: Vell.zub holds one opaque W x H layer whose non-black
# pixels are exactly the given ones.
check_zub() {
    python3 - "$WORK/Vell.zub" "$@" <<'PY' || fail "Vell.zub does not hold the expected picture"
import struct, sys
data = open(sys.argv[1], "rb").read()
W, H = int(sys.argv[2]), int(sys.argv[3])
want = {tuple(map(int, xy.split(","))) for xy in sys.argv[4:]}
assert struct.unpack_from("<4i", data, 0) == (2, 1, W, H), struct.unpack_from("<4i", data, 0)
pixels = struct.unpack_from(f"<{W * H}I", data, 20)
found = {(i % W, i // W) for i, v in enumerate(pixels) if v}
assert found == want, f"extra {sorted(found - want)}, missing {sorted(want - found)}"
PY
}

start_vell
# Three changes below the message line: a pixel at (1, 2), a line
# (1, 4)-(4, 4), a box outline (1, 6)-(4, 8).
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
screenshot drawn.png
expect_blocks drawn.png "$ORANGE" 1,2 2,4 1,6

# Three undos give the first picture back, two redos two changes.
chord ctrl+z
chord ctrl+z
chord ctrl+z
expect_stdout_line "Undo (0 more)"
screenshot undone.png
expect_blocks undone.png "$BLACK" 1,2 2,4 4,4 1,6 4,8
chord ctrl+y
chord ctrl+y
expect_stdout_line "Redo (1 more)"
screenshot redone.png
expect_blocks redone.png "$ORANGE" 1,2 2,4 4,4
expect_blocks redone.png "$BLACK" 1,6 4,8

# A new change after an undo: the box can no longer be redone.
press Up
press space
chord ctrl+y
chord ctrl+shift+z
[ "$(grep -c '^Nothing to redo$' "$WORK/stdout.txt")" = 2 ] || fail "redo was not refused twice"
press Down
screenshot cut.png
expect_blocks cut.png "$ORANGE" 2,7
expect_blocks cut.png "$BLACK" 1,6 4,8

# A layer added with a pixel on it, both undone.
with_held l a
press space
chord ctrl+z
chord ctrl+z

# A canvas resize to 40 x 30 shows grey beyond it; undone, the picture is back.
chord alt+v
row 40
answer 30
screenshot small.png
expect_block small.png 50 40 "$GREY"
chord ctrl+z
screenshot big.png
expect_block big.png 50 40 "$BLACK"
expect_blocks big.png "$ORANGE" 1,2 2,7
quit_vell
check_zub 1024 768 1,2 1,4 2,4 3,4 4,4 2,7
expect_cfg Undo memory 64

# A budget of 1 MiB: a resize keeps the 3 MiB layer of the old size, more
# than the budget, so the history is emptied and says so.
set_cfg Undo memory 1
start_vell
press space
chord alt+v
row 600
answer 400
expect_stdout_line "Undo history cleared: change too large"
chord ctrl+z
expect_stdout_line "Nothing to undo"
quit_vell
check_zub 600 400 1,2 1,4 2,4 3,4 4,4 2,7 2,8
expect_cfg Undo memory 1
pass
