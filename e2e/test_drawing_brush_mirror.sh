# Brush turns, mirror drawing and the autosave of a box size: H, V and T
# turn a grabbed L-shaped brush before it is stamped; with the axis put
# through a pixel by Shift+M and M, a line is drawn on both sides of it;
# a change of only the box size is autosaved. Checked in Vell.zub.
source "$(dirname "$0")/driver.sh" "$1"

start_vell
# An L in the 3x2 box at (0, 0): orange at (0, 0), (1, 0) and (0, 1).
press space
press Right
press space
press Left
press Down
press space
press Up
press g
repeat 3 Right
press Down
press Return
press h
press v
press t
# The turned brush (2x3, and the box with it) stamped opaque at (10, 0).
repeat 10 Right
chord alt+e

# The axis through pixel (20, 10); a line from (23, 12) to (27, 14).
repeat 10 Right
repeat 10 Down
chord shift+m
press m
repeat 3 Right
repeat 2 Down
press d
repeat 4 Right
repeat 2 Down
press space
quit_vell
expect_cfg Mirror mode 1
expect_cfg Mirror x 40
expect_cfg Mirror y 20

python3 - "$WORK/Vell.zub" "$E2E_DIR" <<'PY' || fail "the stamp or the mirrored line in Vell.zub is wrong"
import sys
sys.path.insert(0, sys.argv[2])
from zub import Zub
pen = Zub(sys.argv[1]).pen
brush = [[1, 1, 0], [1, 0, 0]]
brush = [row[::-1] for row in brush]                      # H: left to right
brush = brush[::-1]                                       # V: top to bottom
brush = [[brush[len(brush) - 1 - x][y] for x in range(len(brush))] for y in range(len(brush[0]))]  # T
stamped = [[int(pen(10 + x, y)) for x in range(2)] for y in range(3)]
assert stamped == brush, f"stamped {stamped}, expected {brush}"
assert not any(pen(x, y) for x in range(12, 16) for y in range(4)), "the stamp is wider than the turned box"
line = {(x, y) for x in range(8, 33) for y in range(8, 18) if pen(x, y)}
right = {p for p in line if p[0] > 20}
assert {(23, 12), (27, 14)} <= right and len(right) == 5, f"the line: {sorted(right)}"
assert line == right | {(40 - x, y) for x, y in right}, f"not mirrored across x = 20: {sorted(line)}"
PY

# The box of pointer 0 alone grows to 3 wide: autosaved within seconds.
start_vell
press g
press Right
expect_stdout_line "Saved 'Vell.zub'"
kill -9 "$VELL_PID"
wait_vell_exit 5
python3 - "$WORK/Vell.zub" "$E2E_DIR" <<'PY' || fail "the autosaved Vell.zub lacks the new box size"
import sys
sys.path.insert(0, sys.argv[2])
from zub import Zub
box = Zub(sys.argv[1]).first_box()
assert box == (3, 3), f"pointer 0's box is {box}"
PY
pass
