# The driver's picture helpers against pictures drawn here with ImageMagick,
# where the answers are known from the drawing: every e2e case reads the
# screen through them.
source "$(dirname "$0")/driver.sh" "$1"

# A black 1024x768 screen with one rectangle of a colour whose parts differ.
convert -size 1024x768 xc:black -fill "rgb(10,200,30)" \
    -draw "rectangle 37,41 52,44" PNG24:"$WORK/rect.png"
[ "$(pixel rect.png 37 41)" = "10,200,30" ] || fail "pixel inside the rectangle: $(pixel rect.png 37 41)"
[ "$(pixel rect.png 36 41)" = "0,0,0" ] || fail "pixel left of the rectangle: $(pixel rect.png 36 41)"
[ "$(pixel "$WORK/rect.png" 52 44)" = "10,200,30" ] || fail "pixel by absolute path"

# Regions around, over and beside the rectangle.
[ "$(nonblack_box rect.png 0 0 100 100)" = "37 41 16 4" ] ||
    fail "box of the whole rectangle: $(nonblack_box rect.png 0 0 100 100)"
[ "$(nonblack_box rect.png 40 42 100 100)" = "40 42 13 3" ] ||
    fail "box of a region that cuts the rectangle: $(nonblack_box rect.png 40 42 100 100)"
[ -z "$(nonblack_box rect.png 60 0 100 100)" ] || fail "box of a black region is not empty"

# A dark pixel is not black: one unit of blue alone counts.
convert -size 64x64 xc:black -fill "rgb(0,0,1)" -draw "point 63,0" PNG24:"$WORK/dark.png"
[ "$(nonblack_box dark.png 0 0 64 64)" = "63 0 1 1" ] || fail "a (0,0,1) pixel was not found"

# Magnification 16 shows picture pixel (3,2) as the block at (48..63, 32..47),
# magnification 20 as the block at (60..79, 40..59).
convert -size 1024x768 xc:black -fill white -draw "rectangle 48,32 63,47" \
    -fill red -draw "rectangle 60,40 79,59" PNG24:"$WORK/blocks.png"
[ "$(picture_pixel blocks.png 3 2)" = "255,255,255" ] || fail "picture pixel 3,2 at magnification 16"
[ "$(picture_pixel blocks.png 2 2)" = "0,0,0" ] || fail "picture pixel 2,2 at magnification 16"
[ "$(picture_pixel blocks.png 3 2 20)" = "255,0,0" ] || fail "picture pixel 3,2 at magnification 20"

# The block checks pass on the colours drawn and fail on any other.
expect_block blocks.png 3 2 "255,255,255"
expect_blocks blocks.png "0,0,0" 0,0 2,2 10,10
! (expect_block blocks.png 2 2 "255,255,255") 2>/dev/null || fail "expect_block passed a wrong colour"
! (expect_blocks blocks.png "0,0,0" 2,2 3,2) 2>/dev/null || fail "expect_blocks passed with one block white"

# cfg reads a key in its own section only, the whole value after "= ".
printf '[A]\nx = 1\n[B]\nx = 2 3\nxy = 5\n' >"$WORK/vell.cfg"
[ "$(cfg A x)" = 1 ] || fail "cfg A x gave '$(cfg A x)'"
[ "$(cfg B x)" = "2 3" ] || fail "cfg B x gave '$(cfg B x)'"
[ -z "$(cfg A xy)" ] || fail "cfg found xy outside its section"
expect_cfg B xy 5
! (expect_cfg B x 2) 2>/dev/null || fail "expect_cfg passed a wrong value"
pass
