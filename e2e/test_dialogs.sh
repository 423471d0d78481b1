# Each setting dialog through real keys, and what persists in vell.cfg after
# quitting. The lens shows picture pixel (x, y) as the 16x16 block at
# (16x, 16y).
source "$(dirname "$0")/driver.sh" "$1"

GREEN="0,255,0"
BLACK="0,0,0"

start_vell
press Right
press Right
for i in 1 2 3; do press Down; done

# Alt+C: the pen becomes green; a pixel at (2, 3).
chord alt+c
row 0
row 255
answer 0
press space
press Down
screenshot colour.png
expect_block colour.png 2 3 "$GREEN"

# Alt+X: jump steps 5 and 2; Ctrl+Right jumps from (2, 4) to (7, 4).
chord alt+x
row 5
answer 2
chord ctrl+Right
press space
chord ctrl+Down
screenshot jump.png
expect_block jump.png 7 4 "$GREEN"
expect_block jump.png 6 4 "$BLACK"
expect_block jump.png 3 4 "$BLACK"

# Alt+T: the text stamp "A" at 2 x 1 in the pen colour, stamped masked at
# the pointer (7, 6): 36 x 10 picture pixels, lettering only.
chord alt+t
row 2
row 1
answer A
chord shift+e
press Up
screenshot stamp.png
box=$(nonblack_box stamp.png $((7 * 16)) $((6 * 16)) $((20 * 16)) $((10 * 16)))
[ -n "$box" ] || fail "no text stamp below the pointer"
read -r sx sy sw sh <<<"$box"
[ "$sw" -le $((20 * 16)) ] && [ "$sh" -le $((10 * 16)) ] || fail "stamp box $box too large"
[ "$(pixel stamp.png $((sx + sw / 2)) $((sy + sh / 2)))" != "255,0,255" ] || fail "the stamp's mask colour was drawn"

# Alt+I: a pause of 250 ms.
chord alt+i
answer 250

# Alt+F: frame files "fr" from 7; a 2x2 box saved as fr007.tga.
chord alt+f
row 7
answer fr
press g
press Right
press Down
press Return
chord ctrl+shift+s
expect_stdout_line "Saved frame 'fr007.tga'"
[ -f "$WORK/fr007.tga" ] || fail "fr007.tga not written"

# Alt+V: a width of 0 is refused (the form stays open; Esc leaves it), then
# the canvas becomes 40 x 20.
chord alt+v
row 0
answer 20
expect_stdout_line "canvas width must be 1 to 16384"
press Escape
chord alt+v
row 40
answer 20
chord alt+s
answer canvas.bmp
expect_stdout_line "Saved 'canvas.bmp'"
[ "$(identify -format '%wx%h' "$WORK/canvas.bmp")" = "40x20" ] || fail "canvas.bmp is $(identify -format '%wx%h' "$WORK/canvas.bmp")"

# Alt+QUOTE: teleports on.
chord alt+apostrophe
answer 1
quit_vell

expect_cfg Pause pause 250
expect_cfg Files root fr
expect_cfg Files filesPos 7
expect_cfg TextDraw w 2
expect_cfg TextDraw h 1
expect_cfg TextDraw text A
expect_cfg Teleport on 1
expect_cfg Pointer jx0 5
expect_cfg Pointer jy0 2
expect_cfg File cfile canvas.bmp
pass
