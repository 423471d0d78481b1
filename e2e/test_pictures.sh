# Pictures in and out through the real prompt: a picture saved and its
# pixels checked, the overwrite question answered N then Y, a PNG and a JPEG
# loaded and seen on screen, a frame saved and loaded back at the pointer.
# The lens shows picture pixel (x, y) as the 16x16 block at (16x, 16y).
source "$(dirname "$0")/driver.sh" "$1"

ORANGE="255,180,0"
BLACK="0,0,0"

# near A B: two "r,g,b" colours within 3 per part.
near() {
    local IFS=, a b
    read -r -a a <<<"$1"
    read -r -a b <<<"$2"
    for i in 0 1 2; do
        local d=$((a[i] - b[i]))
        [ "${d#-}" -le 3 ] || return 1
    done
}

md5() { md5sum "$WORK/$1" | cut -d' ' -f1; }

start_vell

# Two pen pixels, at (1, 0) and (3, 1).
press Right
press space
repeat 2 Right
press Down
press space

# Alt+S with a new name saves without asking.
chord alt+s
answer pic.bmp
expect_stdout_line "Saved 'pic.bmp'"
[ "$(identify -format '%wx%h' "$WORK/pic.bmp")" = "1024x768" ] || fail "pic.bmp is not 1024x768"
[ "$(pixel pic.bmp 1 0)" = "$ORANGE" ] || fail "pic.bmp (1, 0) is $(pixel pic.bmp 1 0)"
[ "$(pixel pic.bmp 3 1)" = "$ORANGE" ] || fail "pic.bmp (3, 1) is $(pixel pic.bmp 3 1)"
[ "$(pixel pic.bmp 2 0)" = "$BLACK" ] || fail "pic.bmp (2, 0) is $(pixel pic.bmp 2 0)"
before=$(md5 pic.bmp)

# A third pixel at (5, 1); the same name asks, N keeps the old file.
repeat 2 Right
press space
chord alt+s
chord ctrl+Return
sleep 0.3
screenshot question.png
[ -n "$(nonblack_box question.png 0 0 400 30)" ] || fail "no overwrite question at the top left"
press n
[ "$(md5 pic.bmp)" = "$before" ] || fail "N changed pic.bmp"

# Y replaces it: the new pixel is in the file.
chord alt+s
chord ctrl+Return
sleep 0.3
press y
sleep 0.3
[ "$(pixel pic.bmp 5 1)" = "$ORANGE" ] || fail "after Y, pic.bmp (5, 1) is $(pixel pic.bmp 5 1)"
[ "$(grep -c "^Saved 'pic.bmp'$" "$WORK/stdout.txt")" = 2 ] || fail "expected two saves of pic.bmp"
ls -a "$WORK" | grep -q tmp && fail "a temporary file was left behind"

# A PNG loads with its own colours and gives the canvas its size.
convert -size 20x30 xc:red -size 20x30 xc:blue +append PNG24:"$WORK/rb.png"
chord alt+l
answer rb.png
press Down  # the cursor's random colour away from the checked blocks
screenshot png.png
expect_block png.png 10 5 "255,0,0"
expect_block png.png 30 5 "0,0,255"
expect_block png.png 10 25 "255,0,0"

# A JPEG likewise, within JPEG's loss.
convert -size 24x24 xc:lime -quality 100 JPG:"$WORK/green.jpg"
chord alt+l
answer green.jpg
press Down
screenshot jpg.png
got=$(picture_pixel jpg.png 20 20)
near "$got" "0,255,0" || fail "the JPEG shows $got, expected about 0,255,0"

# A frame: the box from (1, 0) over the reloaded pen pixels is saved to
# img000.tga, then stamped back with its top-left corner at (10, 5).
chord alt+l
answer pic.bmp
repeat 4 Left
repeat 3 Up
press g
repeat 3 Right
repeat 2 Down
press Return
chord ctrl+shift+s
expect_stdout_line "Saved frame 'img000.tga'"
# Allegro writes TGA rows bottom-up and says so in the header.
convert "$WORK/img000.tga" -auto-orient PNG24:"$WORK/frame0.png"
read -r fw fh <<<"$(identify -format '%w %h' "$WORK/frame0.png")"
[ "$fw" -ge 3 ] && [ "$fh" -ge 2 ] || fail "img000.tga is ${fw}x${fh}, expected at least 3x2"
[ "$(pixel frame0.png 0 0)" = "$ORANGE" ] || fail "img000.tga (0, 0) is $(pixel frame0.png 0 0)"
[ "$(pixel frame0.png 2 1)" = "$ORANGE" ] || fail "img000.tga (2, 1) is $(pixel frame0.png 2 1)"
[ "$(pixel frame0.png 1 0)" = "$BLACK" ] || fail "img000.tga (1, 0) is $(pixel frame0.png 1 0)"
# Other programs see the frame as Vell shows it: opaque everywhere.
/usr/bin/python3 -c "
import sys
from PIL import Image
im = Image.open(sys.argv[1])
assert im.mode == 'RGBA' and im.getextrema()[3] == (255, 255), (im.mode, im.getextrema())
" "$WORK/img000.tga" || fail "img000.tga does not decode fully opaque"
repeat 9 Right
repeat 5 Down
chord ctrl+shift+l
repeat 3 Down
screenshot frame.png
expect_block frame.png 10 5 "$ORANGE"
expect_block frame.png 12 6 "$ORANGE"
expect_block frame.png 11 5 "$BLACK"
quit_vell
pass
