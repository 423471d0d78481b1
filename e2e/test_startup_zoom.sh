# The lens shows a window of 1024/mag x 768/mag picture pixels stretched over
# the 1024x768 screen, so the cursor's one pixel at (0,0) is a block of about
# 1024/(1024 div mag) x 768/(768 div mag) screen pixels at the top-left corner.
# `=` and `-` change the magnification by one.
source "$(dirname "$0")/driver.sh" "$1"

# The block a magnification gives, times 100 (bash has only integers).
expected_block_x100() {
    local screen=$1 mag=$2
    echo $((screen * 100 / (screen / mag)))
}

# Between the two whole numbers around the exact value (the stretch rounds
# one way or the other); one magnification step moves the block by more.
within_rule() {
    local measured=$1 exact_x100=$2
    ((measured >= exact_x100 / 100 && measured <= (exact_x100 + 99) / 100))
}

# Measures the cursor block and checks it against the lens rule, and that it
# starts at the corner.
check_block() {
    local mag=$1 shot="cursor-mag$1.png" box x y w h ew eh
    screenshot "$shot"
    box=$(nonblack_box "$shot" 0 0 80 80)
    [ -n "$box" ] || fail "no cursor in the top-left corner at magnification $mag"
    read -r x y w h <<<"$box"
    [ "$x $y" = "0 0" ] || fail "cursor block at $x,$y at magnification $mag"
    ew=$(expected_block_x100 1024 "$mag")
    eh=$(expected_block_x100 768 "$mag")
    within_rule "$w" "$ew" || fail "cursor block is $w wide at magnification $mag, the lens gives $ew/100"
    within_rule "$h" "$eh" || fail "cursor block is $h high at magnification $mag, the lens gives $eh/100"
    [ "$(picture_pixel "$shot" 0 0 "$mag")" != "0,0,0" ] || fail "picture pixel 0,0 is black at magnification $mag"
    [ "$(picture_pixel "$shot" 1 0 "$mag")" = "0,0,0" ] || fail "picture pixel 1,0 is not black at magnification $mag"
    [ "$(picture_pixel "$shot" 0 1 "$mag")" = "0,0,0" ] || fail "picture pixel 0,1 is not black at magnification $mag"
    echo "magnification $mag: block ${w}x${h}"
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
