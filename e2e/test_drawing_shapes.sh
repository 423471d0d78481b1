# Filled box and ellipses on the pointer's stored box, an odd box (5x7) and
# an even one (6x4), checked in Vell.zub: R fills the box, O draws an
# ellipse touching its four sides, symmetric, with no doubled pixels, and
# Shift+O exactly that outline and its inside; nothing beyond the box.
source "$(dirname "$0")/driver.sh" "$1"

# next_box: the pointer moves 10 to the right and the box starts there with
# the size it had; Return keeps it (and leaves box mode).
next_box() {
    repeat 10 Right
    press g
    press Return
}

start_vell
# The 5x7 box at (0, 0): the first resize raises the empty box to 1x1.
press g
repeat 5 Right
repeat 6 Down
press Return
press o               # outline in (0, 0) 5x7
next_box
chord shift+o         # filled in (10, 0) 5x7
# The 6x4 box at (20, 0).
repeat 10 Right
press g
press Right
repeat 3 Up
press Return
press o               # outline in (20, 0) 6x4
next_box
chord shift+o         # filled in (30, 0) 6x4
next_box
press r               # the whole box (40, 0) 6x4
quit_vell

python3 - "$WORK/Vell.zub" "$E2E_DIR" <<'PY' || fail "the shapes in Vell.zub are wrong"
import sys
sys.path.insert(0, sys.argv[2])
from zub import Zub
pen = Zub(sys.argv[1]).pen
def shape(x0, bw, bh):
    # Everything drawn near the box must lie inside it.
    s = {(x - x0, y) for y in range(bh + 3) for x in range(x0, x0 + bw + 3) if pen(x, y)}
    assert all(x < bw and y < bh for x, y in s), f"pixels beyond the box at {x0}: {sorted(s)}"
    return s
def check_outline(s, bw, bh):
    xs = {x for x, _ in s}; ys = {y for _, y in s}
    assert min(xs) == 0 and max(xs) == bw - 1 and min(ys) == 0 and max(ys) == bh - 1, "does not touch all sides"
    assert s == {(bw - 1 - x, y) for x, y in s} == {(x, bh - 1 - y) for x, y in s}, "not symmetric"
    for x, y in s:
        n = sum((x + dx, y + dy) in s for dx in (-1, 0, 1) for dy in (-1, 0, 1) if dx or dy)
        assert n == 2, f"outline pixel {x},{y} has {n} neighbours"
def check_filled(f, outline, bw, bh):
    assert outline <= f, "the filled ellipse lacks outline pixels"
    for y in range(bh):
        row = [x for x, yy in outline if yy == y]
        assert {x for x, yy in f if yy == y} == set(range(min(row), max(row) + 1)), f"row {y} is not outline and inside"
for x0, bw, bh in ((0, 5, 7), (20, 6, 4)):
    o = shape(x0, bw, bh)
    check_outline(o, bw, bh)
    check_filled(shape(x0 + 10, bw, bh), o, bw, bh)
assert shape(40, 6, 4) == {(x, y) for x in range(6) for y in range(4)}, "R did not fill the box"
PY
pass
