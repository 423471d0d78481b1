# Pictures and animations out: a PNG save read back by ImageMagick, three
# frames saved with Ctrl+Shift+S exported as an animated GIF (Alt+G) and as
# a sprite sheet with its JSON frame data (Shift+Alt+G), both again at
# scale 3, a range with a missing frame and a scale of 33 refused, and
# frames with see-through pixels (layer 0 hidden) exported transparent.
source "$(dirname "$0")/driver.sh" "$1"

# same A B: ImageMagick finds no differing pixel between the two pictures.
same() {
    local diff
    diff=$(compare -metric AE "$WORK/$1" "$WORK/$2" null: 2>&1) || true
    [ "$diff" = 0 ] || fail "$1 and $2 differ in $diff pixels"
}

# alpha FILE X Y: the alpha of one pixel, 0-255.
alpha() { convert "$WORK/$1" -crop "1x1+$2+$3" -alpha extract -depth 8 -format '%[fx:int(255*p)]' info:; }

# next_row TEXT: the form's current row replaced, then Enter to the next.
next_row() {
    replace_row "$1"
    press Return
}

start_vell

# The box the frames are saved from, at the top left.
press g
repeat 4 Right
repeat 3 Down
press Return

# Frame 0: a pen pixel at (0, 0); frame 1 adds (1, 0); frame 2 adds (1, 1).
press space
chord ctrl+shift+s
expect_stdout_line "Saved frame 'img000.tga'"
chord ctrl+period
press Right
press space
chord ctrl+shift+s
chord ctrl+period
press Down
press space
chord ctrl+shift+s
expect_stdout_line "Saved frame 'img002.tga'"

# The whole picture as PNG and as BMP: the same pixels.
chord alt+s
answer pic.png
expect_stdout_line "Saved 'pic.png'"
chord alt+s
answer pic.bmp
[ "$(identify -format '%wx%h %[channels]' "$WORK/pic.png")" = "1024x768 srgb" ] ||
    fail "pic.png is $(identify -format '%wx%h %[channels]' "$WORK/pic.png")"
same pic.png pic.bmp

# Alt+G: frames 0 to 2 (the offered range), 57 ms, 3 loops, walk.gif.
chord alt+g
press Return
press Return
next_row 57
next_row 3
press Return
answer walk.gif
expect_stdout_line "Saved 'walk.gif': 3 frames"
[ "$(identify "$WORK/walk.gif" | wc -l)" = 3 ] || fail "walk.gif does not hold 3 frames"
[ "$(identify -format '%T,' "$WORK/walk.gif")" = "6,6,6," ] ||
    fail "walk.gif delays are $(identify -format '%T,' "$WORK/walk.gif")"
# The loop count as stored: the NETSCAPE2.0 block's sub-block 1, 3 (low byte first).
xxd -p "$WORK/walk.gif" | tr -d '\n' | grep -q "4e45545343415045322e30030103000" ||
    fail "walk.gif does not store the loop count 3"
convert "$WORK/walk.gif" -coalesce PNG24:"$WORK/gif%d.png"
for n in 0 1 2; do
    convert "$WORK/img00$n.tga" -auto-orient PNG24:"$WORK/frame$n.png"
    same "gif$n.png" "frame$n.png"
done

# Frames 0 to 4, where 3 and 4 do not exist: walk.gif (offered again) is
# left as it was and nothing else is written.
before=$(md5sum <"$WORK/walk.gif")
chord alt+g
press Return
answer 4
expect_stdout_line "Nothing exported: 'img003.tga' is missing"
ls -a "$WORK" | grep -q tmp && fail "a temporary file was left behind"
[ "$(md5sum <"$WORK/walk.gif")" = "$before" ] || fail "the refused export changed walk.gif"

# Shift+Alt+G: frames 0 to 2 in 2 columns, 1 pixel apart: the padding and
# the fourth cell transparent.
chord shift+alt+g
press Return
next_row 2
next_row 2
next_row 1
press Return
answer sheet.png
expect_stdout_line "Saved 'sheet.png' and 'sheet.json': 3 frames"
read -r fw fh <<<"$(identify -format '%w %h' "$WORK/frame0.png")"
sw=$((2 * fw + 1)) sh=$((2 * fh + 1))
[ "$(identify -format '%wx%h %[channels]' "$WORK/sheet.png")" = "${sw}x$sh srgba" ] ||
    fail "sheet.png is $(identify -format '%wx%h %[channels]' "$WORK/sheet.png"), expected ${sw}x$sh srgba"
for xy in "$fw 0" "$fw $((sh - 1))" "0 $fh" "$((sw - 1)) $fh" "$((fw + 1)) $((fh + 1))" "$((sw - 1)) $((sh - 1))"; do
    [ "$(alpha sheet.png $xy)" = 0 ] || fail "sheet.png ($xy) is not transparent"
done
[ "$(alpha sheet.png 0 0)" = 255 ] || fail "sheet.png (0, 0) is not opaque"
for cell in "0 +0+0" "1 +$((fw + 1))+0" "2 +0+$((fh + 1))"; do
    read -r n at <<<"$cell"
    convert "$WORK/sheet.png" -crop "${fw}x$fh$at" +repage -alpha off PNG24:"$WORK/cell$n.png"
    same "cell$n.png" "frame$n.png"
done

# Scale 3: every pixel of each GIF frame a 3x3 block; 33 is refused first.
chord alt+g
repeat 4 Return
answer 33
expect_stdout_line "scale must be 1 to 32"
next_row 3
answer big.gif
expect_stdout_line "Saved 'big.gif': 3 frames"
convert "$WORK/big.gif" -coalesce PNG24:"$WORK/big%d.png"
for n in 0 1 2; do
    convert "$WORK/frame$n.png" -sample 300% PNG24:"$WORK/frame${n}x3.png"
    same "big$n.png" "frame${n}x3.png"
done

# The sheet at scale 3 (the form offers 3 now), padding and empty cell
# included, and its JSON: the rectangles cut it into the frames.
chord shift+alt+g
repeat 5 Return
answer big_sheet.png
expect_stdout_line "Saved 'big_sheet.png' and 'big_sheet.json': 3 frames"
convert "$WORK/sheet.png" -sample 300% PNG32:"$WORK/sheet_x3.png"
same big_sheet.png sheet_x3.png
/usr/bin/python3 - "$WORK" <<'PY' || fail "big_sheet.json does not describe big_sheet.png"
import json, sys
from PIL import Image
work = sys.argv[1]
data = json.load(open(work + "/big_sheet.json"))
sheet = Image.open(work + "/big_sheet.png").convert("RGBA")
meta = data["meta"]
assert (meta["app"], meta["image"], meta["format"], meta["scale"]) == ("Vell", "big_sheet.png", "RGBA8888", "3"), meta
assert (meta["size"]["w"], meta["size"]["h"]) == sheet.size, (meta["size"], sheet.size)
assert len(data["frames"]) == 3
for n, f in enumerate(data["frames"]):
    frame = Image.open("%s/img%03d.tga" % (work, n)).convert("RGB")
    big = frame.resize((frame.width * 3, frame.height * 3), Image.NEAREST)
    r = f["frame"]
    assert f["filename"] == "img%03d.tga" % n and f["duration"] == 57, f
    assert not f["rotated"] and not f["trimmed"], f
    assert (r["w"], r["h"]) == big.size == (f["sourceSize"]["w"], f["sourceSize"]["h"]), f
    assert f["spriteSourceSize"] == {"x": 0, "y": 0, "w": r["w"], "h": r["h"]}, f
    cell = sheet.crop((r["x"], r["y"], r["x"] + r["w"], r["y"] + r["h"]))
    assert cell.getchannel("A").getextrema() == (255, 255), (n, "not opaque")
    assert list(cell.convert("RGB").getdata()) == list(big.getdata()), (n, "differs")
PY

# Frames 3 and 4 with layer 0 hidden: see-through but for a see-through
# layer's pixels at (2, 1), then also (2, 2); frame 5 opaque again. Frame 3
# turns see-through what frame 2 covered.
chord ctrl+period
with_held l a
press Right
press space
with_held l KP_0
with_held l h
expect_stdout_line "layer 0 of 2, opaque, hidden"
chord ctrl+shift+s
expect_stdout_line "Saved frame 'img003.tga'"
chord ctrl+period
with_held l KP_1
press Down
press space
chord ctrl+shift+s
chord ctrl+period
with_held l KP_0
with_held l h
chord ctrl+shift+s
expect_stdout_line "Saved frame 'img005.tga'"
chord alt+g
next_row 2
next_row 5
repeat 2 Return
next_row 1
answer alpha.gif
expect_stdout_line "Saved 'alpha.gif': 4 frames"
chord shift+alt+g
repeat 2 Return
next_row 4
next_row 0
press Return
answer alpha_sheet.png
expect_stdout_line "Saved 'alpha_sheet.png' and 'alpha_sheet.json': 4 frames"
/usr/bin/python3 - "$WORK" <<'PY' || fail "alpha.gif or alpha_sheet.png differs from its frame files"
import sys
from PIL import Image
work = sys.argv[1]
gif = Image.open(work + "/alpha.gif")
sheet = Image.open(work + "/alpha_sheet.png").convert("RGBA")
# Transparent pixels compare as (0, 0, 0, 0) whatever colour they carry.
plain = lambda im: [p if p[3] == 255 else (0, 0, 0, 0) for p in im.convert("RGBA").getdata()]
for k, n in enumerate(range(2, 6)):
    frame = Image.open("%s/img%03d.tga" % (work, n))
    want = plain(frame)
    clear = sum(p[3] == 0 for p in want)
    assert (clear == 0) == (n in (2, 5)), (n, clear, "see-through pixels")
    gif.seek(k)
    assert plain(gif) == want, (n, "GIF frame differs")
    cell = sheet.crop((k * frame.width, 0, (k + 1) * frame.width, frame.height))
    assert plain(cell) == want, (n, "sheet cell differs")
PY
quit_vell

# The answers come back on the next start.
expect_cfg Export columns 4
expect_cfg Export gif alpha.gif
expect_cfg Export scale 1
pass
