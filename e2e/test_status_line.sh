# The status line: its position and colour figures follow the pointer onto a
# pixel of another colour and back; F2 hides it, also after a restart. Its
# 8-pixel letters lie in the bottom 16 rows (picture row 47, black, at x16).
source "$(dirname "$0")/driver.sh" "$1"

# strip SHOT X W: a digest of columns X to X+W-1 of the bottom 16 rows.
strip() { convert "$WORK/$1" -crop "$3x16+$2+752" +repage -depth 8 rgb:- | md5sum; }
# Left of the palette strip and of the lens's grey beyond its whole pixels.
shown() { [ -n "$(nonblack_box "$1" 0 752 900 16)" ]; }

start_vell
# An orange pixel at (1, 0), then onto it from the black (0, 0) and back.
press Right && press space && press Left
screenshot black.png
press Right
screenshot orange.png
press Left
screenshot back.png
# "P0 0,0  colour 0,0,0" becomes "P0 1,0  colour 255,180,0": characters 3, 15.
shown black.png && [ "$(strip black.png 0 23)" = "$(strip orange.png 0 23)" ] || fail "no line, or P0 changed"
[ "$(strip black.png 24 10)" != "$(strip orange.png 24 10)" ] || fail "the x figure did not change"
[ "$(strip black.png 120 10)" != "$(strip orange.png 120 10)" ] || fail "the colour figure did not change"
[ "$(strip black.png 0 1024)" = "$(strip back.png 0 1024)" ] || fail "the line differs back on the same pixel"

press F2
screenshot hidden.png
quit_vell
expect_cfg Status shown 0
start_vell
screenshot restarted.png
press F2
screenshot again.png
quit_vell
! shown hidden.png && ! shown restarted.png || fail "F2 did not hide the line, or it came back after a restart"
[ "$(strip black.png 0 1024)" = "$(strip again.png 0 1024)" ] || fail "F2 did not bring the same line back"
pass
