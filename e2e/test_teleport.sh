# Teleports from a prepared vell.cfg: a pointer stepping onto a source jumps
# to its target and on through a later teleport in the same key pass; the
# editing mode shows the marks while it is open.
# The lens shows picture pixel (x, y) as the 16x16 block at (16x, 16y).
source "$(dirname "$0")/driver.sh" "$1"

ORANGE="255,180,0"
WHITE="255,255,255"
BLACK="0,0,0"

# Teleport 0 leads from (2, 0) to (10, 5), teleport 3 from there to (20, 6);
# the others lie below the picture where no pointer can stand.
{
    echo "[Teleport]"
    echo "on = 1"
    for n in $(seq 0 19); do
        case $n in
            0) echo "x0 = 2"; echo "y0 = 0"; echo "jtx0 = 10"; echo "jty0 = 5" ;;
            3) echo "x3 = 10"; echo "y3 = 5"; echo "jtx3 = 20"; echo "jty3 = 6" ;;
            *) echo "x$n = 900"; echo "y$n = 5000"; echo "jtx$n = 900"; echo "jty$n = 5000" ;;
        esac
    done
} >"$WORK/vell.cfg"

start_vell
press Right
press Right
# One pass: (2, 0) -> (10, 5) -> (20, 6).
press space
press Left
screenshot jumped.png
expect_block jumped.png 20 6 "$ORANGE"
expect_block jumped.png 10 5 "$BLACK"
expect_block jumped.png 2 0 "$BLACK"

# The editing mode draws teleport 0's cross at (10, 5) while it is open.
press apostrophe
screenshot editing.png
expect_block editing.png 12 7 "$WHITE"
expect_block editing.png 8 3 "$WHITE"
press apostrophe
screenshot left.png
expect_block left.png 12 7 "$BLACK"
quit_vell
grep -qx "on = 1" "$WORK/vell.cfg" || fail "teleports no longer on in vell.cfg"
grep -qx "jtx3 = 20" "$WORK/vell.cfg" || fail "teleport 3 lost its target"
pass
