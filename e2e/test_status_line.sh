# The status line: shown at the bottom from the start, its position and
# colour figures follow the pointer onto a pixel of another colour and come
# back when it returns; F2 hides it, and the choice survives a restart.
# The status line's 8-pixel characters sit in the bottom 16 screen rows,
# which show picture row 47 (black here) at magnification 16.
source "$(dirname "$0")/driver.sh" "$1"

STRIP_Y=752
STRIP_H=16

# region SHOT X W: a digest of the pixels of columns X to X+W-1 of the strip.
region() {
    convert "$(in_work "$1")" -crop "$3x$STRIP_H+$2+$STRIP_Y" +repage -depth 8 rgb:- | md5sum
}

# cell SHOT N: the digest of character N of the line (with its outline).
cell() { region "$1" $((8 * $2)) 10; }

strip_shown() { [ -n "$(nonblack_box "$1" 0 "$STRIP_Y" 1024 "$STRIP_H")" ]; }

start_vell
# An orange pixel at (1, 0), then back to the black one at (0, 0).
press Right
press space
press Left
screenshot black.png
strip_shown black.png || fail "no status line at the start"
press Right
screenshot orange.png
# "P0 0,0  colour 0,0,0 ..." becomes "P0 1,0  colour 255,180,0 ...".
[ "$(region black.png 0 23)" = "$(region orange.png 0 23)" ] || fail "the pointer number changed"
[ "$(cell black.png 3)" != "$(cell orange.png 3)" ] || fail "the x figure did not change"
[ "$(cell black.png 15)" != "$(cell orange.png 15)" ] || fail "the colour figure did not change"
press Left
screenshot back.png
[ "$(region black.png 0 1024)" = "$(region back.png 0 1024)" ] ||
    fail "the line differs after coming back to the same pixel"

press F2
screenshot hidden.png
! strip_shown hidden.png || fail "F2 did not hide the status line"
quit_vell
expect_cfg Status shown 0

start_vell
screenshot restarted.png
! strip_shown restarted.png || fail "the status line came back after a restart"
press F2
screenshot shown.png
[ "$(region black.png 0 1024)" = "$(region shown.png 0 1024)" ] ||
    fail "F2 did not bring back the same line"
quit_vell
expect_cfg Status shown 1
pass
