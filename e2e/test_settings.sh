# Settings survive a restart: pointers' positions and layers, the current
# pointer, and jump steps changed by hand in vell.cfg between two runs.
# The lens shows picture pixel (x, y) as the 16x16 block at (16x, 16y).
source "$(dirname "$0")/driver.sh" "$1"

ORANGE="255,180,0"

# set_cfg SECTION KEY VALUE: changes one value of vell.cfg in place.
set_cfg() {
    awk -v s="[$1]" -v k="$2" -v v="$3" '
        /^\[/ { in_s = ($0 == s) }
        in_s && $1 == k { $0 = k " = " v }
        { print }' "$WORK/vell.cfg" >"$WORK/vell.cfg.new"
    mv "$WORK/vell.cfg.new" "$WORK/vell.cfg"
}

pick_pointer() { with_held p "KP_$1"; }
select_layer() { with_held l "KP_$1"; }

start_vell
[ ! -e "$WORK/vell.cfg" ] || fail "vell.cfg exists before the first run"
# A second layer, chosen for pointer 0, which moves to (3, 2).
with_held l a
select_layer 1
repeat 3 Right
repeat 2 Down
# Pointer 4 stays on layer 0 and moves to (5, 1).
pick_pointer 4
repeat 5 Right
press Down
quit_vell

expect_cfg Pointer x0 3
expect_cfg Pointer y0 2
expect_cfg Pointer layer0 1
expect_cfg Pointer x4 5
expect_cfg Pointer y4 1
expect_cfg Pointer layer4 0
expect_cfg Pointer jx4 8
expect_cfg Teleport spointer 4
expect_cfg Lens mag 16

# Jump steps of pointer 4 changed by hand: 7 across, 3 down.
set_cfg Pointer jx4 7
set_cfg Pointer jy4 3

start_vell
# Pointer 4 is current again and jumps from (5, 1) to (12, 4).
chord ctrl+Right
chord ctrl+Down
press space
press Left
# Pointer 0 comes back at (3, 2) on layer 1 and sets a pixel there.
pick_pointer 0
press space
press Left
screenshot restart.png
[ "$(picture_pixel restart.png 12 4)" = "$ORANGE" ] || fail "no pixel where pointer 4 jumped to (12, 4): $(picture_pixel restart.png 12 4)"
[ "$(picture_pixel restart.png 3 2)" = "$ORANGE" ] || fail "no pixel at pointer 0's stored place (3, 2): $(picture_pixel restart.png 3 2)"
quit_vell

expect_cfg Pointer x4 11  # one step left after the pixel
expect_cfg Pointer y4 4
expect_cfg Pointer jx4 7
expect_cfg Pointer jy4 3
expect_cfg Pointer x0 2
expect_cfg Pointer y0 2
expect_cfg Pointer layer0 1
expect_cfg Teleport spointer 0
pass
