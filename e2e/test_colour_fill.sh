# Colour fill: with C held, G replaces the colour under the pointer by the
# pen colour inside the pointer's box, and nowhere else.
# The lens shows picture pixel (x, y) as the 16x16 block at (16x, 16y).
source "$(dirname "$0")/driver.sh" "$1"

ORANGE="255,180,0"
BLACK="0,0,0"

start_vell
# A box of 4 x 3 at (0, 0) (the first resize raises both sides of the empty
# box to 1), taken with Return so the pointer moves again.
press g
repeat 4 Right
repeat 2 Down
press Return
# The pointer goes to (10, 8), outside the box, on black.
repeat 10 Right
repeat 8 Down
screenshot before.png
expect_blocks before.png "$BLACK" 0,0 3,2 4,0 0,3 6,6

key_down c
sleep 0.4
screenshot menu.png
press g
key_up c
sleep "$AFTER_KEY"
press Left  # the cursor's colour flickers; move it off the checked pixels
screenshot after.png
# Black inside the box became orange; outside it stays black.
expect_blocks after.png "$ORANGE" 0,0 1,1 3,0 0,2 3,2
expect_blocks after.png "$BLACK" 4,0 4,2 0,3 3,3 6,6 10,8
# While C was held the mode's three lines were shown at the top left.
box=$(nonblack_box menu.png 0 0 400 70)
[ -n "$box" ] || fail "no message lines while C was held"
read -r mx my mw mh <<<"$box"
[ "$mh" -ge 40 ] || fail "the menu spans only $mh rows ($box)"
quit_vell
pass
