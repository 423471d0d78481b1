# The palette: ] and [ step the pen through it, X and Shift+Space use the
# second colour, Ctrl+] shades and Ctrl+Z takes it back, K+G makes the
# palette of the box; palette files load into the strip and save; a 16-colour
# picture saves as a 4-bit palette PNG; the palette and the second colours
# come back after a restart. The strip's swatches are 20x20 in one column
# whose centres are at x 1010, y 62 + 20 i; the pen and second colour show
# at (960, 24) and (1000, 24).
source "$(dirname "$0")/driver.sh" "$1"

C3="102,57,49" C1="34,32,52" C2="69,40,60" STRIP="48,48,48"
swatch() { pixel "$1" 1010 $((62 + 20 * $2)); }
expect_swatches() {  # SHOT R,G,B... from swatch 0 on
    local shot=$1 i=0 c
    shift
    for c in "$@"; do
        [ "$(swatch "$shot" $i)" = "$c" ] || fail "$shot: swatch $i shows $(swatch "$shot" $i), expected $c"
        i=$((i + 1))
    done
}

start_vell
repeat 6 Down  # below the message lines
repeat 4 bracketright  # from the default pen, not in the palette: the fourth colour
press space
chord shift+bracketright  # the second colour from black (the first) to the second
press Right && press x && press space
press Right && chord shift+space
press Right && press space
chord ctrl+bracketright
press Down
screenshot shaded.png
expect_block shaded.png 3 6 "$C2"
chord ctrl+z
screenshot unshaded.png
expect_block unshaded.png 3 6 "$C1"
expect_blocks unshaded.png "$C3" 0,6 2,6
press Up

# The box over (0, 6) to (2, 6) holds two colours, in that order.
repeat 3 Left
press g && repeat 3 Right
with_held k g
press Escape
press bracketleft  # from the second swatch to the first
repeat 5 Right && press space && press Down
screenshot boxed.png
expect_swatches boxed.png "$C3" "$C1" "$STRIP"
expect_block boxed.png 5 6 "$C3"

printf 'GIMP Palette\r\nName: three\r\n# a comment\r\n255 0 0 red\r\n0 255 0\r\n  0   0 255 blue\r\n' >"$WORK/x.gpl"
printf '#102030\n405060\n708090\nA0B0C0\n' >"$WORK/y.hex"
printf 'JASC-PAL\r\n0100\r\n2\r\n1 2 3\r\n250 251 252\r\n' >"$WORK/z.pal"
printf 'GIMP Palette\n1 2 3\n1 2 x\n' >"$WORK/bad.gpl"
chord alt+l && answer x.gpl
screenshot gpl.png
expect_swatches gpl.png "255,0,0" "0,255,0" "0,0,255" "$STRIP"
expect_stdout_line "Loaded palette 'x.gpl': 3 colours"
chord alt+l && answer bad.gpl
screenshot bad.png
expect_swatches bad.png "255,0,0" "0,255,0" "0,0,255" "$STRIP"
grep -q "^Nothing loaded: 'bad.gpl': line 3" "$WORK/stdout.txt" || fail "no message names line 3 of bad.gpl"
chord alt+l && answer y.hex
screenshot hex.png
expect_swatches hex.png "16,32,48" "64,80,96" "112,128,144" "160,176,192" "$STRIP"
chord alt+l && answer z.pal
screenshot pal.png
expect_swatches pal.png "1,2,3" "250,251,252" "$STRIP"
chord alt+s && answer out.gpl
grep -q "^Name: " "$WORK/out.gpl" || fail "out.gpl has no Name: line"
[ "$(grep -E '^ *[0-9]+ +[0-9]+ +[0-9]+' "$WORK/out.gpl" | awk '{print $1, $2, $3}' | paste -sd,)" = "1 2 3,250 251 252" ] ||
    fail "out.gpl holds $(cat "$WORK/out.gpl")"
quit_vell

for xy in "0 6 $C3" "1 6 $C1" "2 6 $C3" "3 6 $C1" "5 6 $C3"; do
    set -- $xy
    [ "$(zub_pixel "$1" "$2")" = "$3" ] || fail "Vell.zub pixel $1,$2 is $(zub_pixel "$1" "$2"), expected $3"
done
expect_cfg Palette count 2
expect_cfg Palette c1 FAFBFC

# After a restart the strip and the second colour come back; a 16-colour
# picture loaded and saved as PNG is a 4-bit palette PNG of the same pixels.
/usr/bin/python3 - "$WORK/sixteen.png" <<'PY'
import sys
from PIL import Image
im = Image.new("RGB", (24, 10))
im.putdata([((i * 7 % 16) * 16, (i % 16) * 9, 200 - (i * 3 % 16) * 12) for i in range(240)])
im.save(sys.argv[1])
PY
start_vell
screenshot restarted.png
expect_swatches restarted.png "1,2,3" "250,251,252" "$STRIP"
[ "$(pixel restarted.png 1000 24)" = "$C3" ] || fail "the second colour shows $(pixel restarted.png 1000 24) after a restart"
chord alt+l && answer sixteen.png
chord alt+s && answer saved.png
quit_vell
/usr/bin/python3 - "$WORK/sixteen.png" "$WORK/saved.png" <<'PY' || fail "saved.png is not the 4-bit palette picture of sixteen.png"
import sys
from PIL import Image
data = open(sys.argv[2], "rb").read()
depth, kind = data[24], data[25]
assert (depth, kind) == (4, 3), f"bit depth {depth}, colour type {kind}"
a, b = Image.open(sys.argv[1]).convert("RGB"), Image.open(sys.argv[2]).convert("RGB")
assert a.size == b.size and list(a.getdata()) == list(b.getdata()), "pixels differ"
PY
pass
