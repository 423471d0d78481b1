# Flood fill and recolour: F fills the inside of a closed box outline and
# not beyond it; Shift+F recolours every pixel of the colour under the
# pointer, also far from it. The lens shows picture pixel (x, y) as the
# 16x16 block at (16x, 16y).
source "$(dirname "$0")/driver.sh" "$1"

ORANGE="255,180,0"
GREEN="0,255,0"
BLACK="0,0,0"

start_vell
# A 3x2 box at (2, 2) (the first resize raises the empty box to 1x1): its
# outline runs from (1, 1) to (5, 4), around (2, 2) to (4, 3).
repeat 2 Right
repeat 2 Down
press g
repeat 3 Right
press Down
press space
# The pointer is still at (2, 2), inside the outline.
press f
# A lone pixel at (8, 2), away from the outline.
repeat 6 Right
press space
press Down  # the cursor's random colour would hide (8, 2)
screenshot filled.png
expect_blocks filled.png "$ORANGE" 2,2 4,2 2,3 4,3 1,1 5,4 3,1 8,2
expect_blocks filled.png "$BLACK" 0,0 6,2 3,5 0,4 7,2 9,2 3,0 6,5

# The pen becomes green; Shift+F on the filled area recolours every orange
# pixel of the layer, the lone one included, and nothing else.
chord alt+c
row 0
row 255
answer 0
repeat 5 Left
press Up  # (3, 2): orange, inside the outline
chord shift+f
press Down
screenshot recoloured.png
expect_blocks recoloured.png "$GREEN" 2,2 4,3 1,1 5,4 8,2
expect_blocks recoloured.png "$BLACK" 0,0 3,5 9,2
quit_vell
pass
