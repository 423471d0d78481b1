# Layer mode's H, Up, Down, M and C through real keys: a hidden layer is left
# out of the view and of a saved PNG, is autosaved, and stays hidden after a
# restart; a duplicate, moves and a merge are checked in Vell.zub and undone;
# a PNG saved with only a see-through layer shown is transparent and loads back.
# The lens shows picture pixel (x, y) as the 16x16 block at (16x, 16y).
source "$(dirname "$0")/driver.sh" "$1"

ORANGE="255,180,0"
BLACK="0,0,0"

# check_layers PIXELS...: Vell.zub holds one layer per argument, layer 0
# opaque and the rest see-through, each with pixels other than its clear
# colour exactly at the "x,y x,y" of its argument.
check_layers() {
    python3 - "$WORK/Vell.zub" "$E2E_DIR" "$@" <<'PY' || fail "Vell.zub does not hold the expected layers"
import sys
sys.path.insert(0, sys.argv[2])
from zub import Zub
z = Zub(sys.argv[1])
want = [(int(i > 0), {tuple(map(int, xy.split(","))) for xy in a.split()}) for i, a in enumerate(sys.argv[3:])]
got = [z.layer(i) for i in range(z.count)]
assert got == want, [(m, sorted(p)) for m, p in got]
PY
}

saves() { grep -c "^Saved 'Vell.zub'$" "$WORK/stdout.txt" || true; }

# save_zub: Alt+S writes Vell.zub over the one there.
save_zub() {
    local before i
    before=$(saves)
    chord alt+s
    answer Vell.zub
    press y
    for i in $(seq 30); do
        [ "$(saves)" -gt "$before" ] && return 0
        sleep 0.1
    done
    fail "Alt+S did not save Vell.zub"
}

layer_key() { with_held l "$1"; }

start_vell
# Layer 0: a pixel at (1, 2); layer 1 (see-through): a pixel at (3, 2).
repeat 2 Down
press Right
press space
layer_key a
repeat 2 Right
press space
repeat 3 Down  # the cursor's colours would hide (3, 2)
layer_key h
expect_stdout_line "layer 1 of 2, see-through, hidden"
screenshot hidden.png
expect_block hidden.png 1 2 "$ORANGE"
expect_block hidden.png 3 2 "$BLACK"
chord alt+s
answer saved.png
expect_stdout_line "Saved 'saved.png'"
[ "$(pixel saved.png 1 2)" = "$ORANGE" ] || fail "the saved PNG lacks layer 0's pixel"
[ "$(pixel saved.png 3 2)" = "$BLACK" ] || fail "the saved PNG shows the hidden layer: $(pixel saved.png 3 2)"
quit_vell
expect_cfg Layers hidden 1
check_layers "1,2" "3,2"

# Still hidden after a restart; shown again, which only vell.cfg stores, and
# autosaved as a change of the document is.
start_vell
screenshot restart.png
expect_block restart.png 3 2 "$BLACK"
# Pointer 1 stays with the first see-through layer through every change;
# pointer 0 (still on layer 0: A selects the new layer alone) goes there too.
with_held p KP_1
layer_key KP_1
with_held p KP_0
layer_key KP_1
layer_key h
expect_stdout_line "layer 1 of 2, see-through"
expect_stdout_line "Saved 'Vell.zub'"
expect_cfg Layers hidden ""
screenshot shown.png
expect_block shown.png 3 2 "$ORANGE"

# C: a copy of layer 1 as layer 2, current, which gains (4, 2).
layer_key c
expect_stdout_line "Layer 1 duplicated as 2"
repeat 3 Up
press Right
press space
repeat 3 Down
save_zub
check_layers "1,2" "3,2" "3,2 4,2"
# Down: the copy below its original; Down again is refused; Up and Down.
layer_key Down
expect_stdout_line "Layer 2 moved to 1"
layer_key Down
expect_stdout_line "Not moved: layer 0 stays at the bottom"
save_zub
check_layers "1,2" "3,2 4,2" "3,2"
layer_key Up
expect_stdout_line "Layer 1 moved to 2"
save_zub
check_layers "1,2" "3,2" "3,2 4,2"
layer_key Down
# M: the copy merged into layer 0, its see-through pixels skipped.
layer_key m
expect_stdout_line "Layer 1 merged into 0"
save_zub
check_layers "1,2 3,2 4,2" "3,2"
chord ctrl+z
save_zub
check_layers "1,2" "3,2 4,2" "3,2"
chord ctrl+z
chord ctrl+z
save_zub
check_layers "1,2" "3,2 4,2" "3,2"
chord ctrl+z
save_zub
check_layers "1,2" "3,2" "3,2 4,2"
chord ctrl+z
chord ctrl+z
save_zub
check_layers "1,2" "3,2"

# With layer 0 hidden only the see-through layer is left: a saved PNG is
# transparent except at its pixel, and loaded into that layer it comes back
# exactly (its transparent pixels as the see-through colour).
layer_key KP_0
layer_key h
expect_stdout_line "layer 0 of 2, opaque, hidden"
chord alt+s
answer sprite.png
expect_stdout_line "Saved 'sprite.png'"
layer_key KP_1
chord alt+l
answer sprite.png
expect_stdout_line "Loaded 'sprite.png' (1024 x 768)"
chord alt+s
answer back.png
expect_stdout_line "Saved 'back.png'"
/usr/bin/python3 - "$WORK" <<'PY' || fail "sprite.png is not transparent where no layer is opaque, or does not load back exactly"
import sys
from PIL import Image
sprite = Image.open(sys.argv[1] + "/sprite.png").convert("RGBA")
seen = {(x, y): sprite.getpixel((x, y)) for x in range(sprite.width) for y in range(sprite.height) if sprite.getpixel((x, y))[3]}
assert seen == {(3, 2): (255, 180, 0, 255)}, seen
assert sprite.getextrema()[3] == (0, 255)
back = Image.open(sys.argv[1] + "/back.png").convert("RGBA")
assert back.tobytes() == sprite.tobytes()
PY
quit_vell
expect_cfg Pointer layer1 1
pass
