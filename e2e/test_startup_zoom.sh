# The lens shows every picture pixel as exactly mag x mag screen pixels, also
# where the magnification does not divide the view (17, 20; the view is 936
# pixels wide beside the palette strip), so the
# cursor's one pixel at (0,0) is a mag x mag block at the top-left corner.
# `=` and `-` change the magnification by one.
source "$(dirname "$0")/driver.sh" "$1"

# Measures the cursor block and checks that it is mag x mag at the corner.
check_block() {
    local mag=$1 shot="cursor-mag$1.png" box
    screenshot "$shot"
    box=$(nonblack_box "$shot" 0 0 80 80)
    [ "$box" = "0 0 $mag $mag" ] || fail "cursor block is '$box' at magnification $mag"
    [ "$(picture_pixel "$shot" 0 0 "$mag")" != "0,0,0" ] || fail "picture pixel 0,0 is black at magnification $mag"
    [ "$(picture_pixel "$shot" 1 0 "$mag")" = "0,0,0" ] || fail "picture pixel 1,0 is not black at magnification $mag"
    [ "$(picture_pixel "$shot" 0 1 "$mag")" = "0,0,0" ] || fail "picture pixel 0,1 is not black at magnification $mag"
    ((936 % mag == 0)) || [ "$(pixel "$shot" 935 0)" = "128,128,128" ] || fail "no grey right of the whole pixels"
}

start_vell
check_block 16

press equal
check_block 17

repeat 3 equal
check_block 20

repeat 12 minus
check_block 8

quit_vell
pass
