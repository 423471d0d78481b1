# Pictures of the kinds today's programs write, each loaded with Alt+L and
# saved again as PNG with Alt+S; the saved pixels must be the file's own:
# ImageMagick's BMPs with its 108-byte header at 8 and 24 bits, Pillow's
# palette BMP, a 2-bit BMP and a 16-bit BMP with a palette behind its colour
# masks (both written here), and grey PNGs with a transparent grey at 1, 2,
# 4, 8 and 16 bits, two of them interlaced, and a PNG whose indices reach
# past its palette (black, and said so; the transparent grey is put as black,
# and said so). The expected pixels come from
# Pillow, or from this test's own model where Pillow 9 reads a file
# otherwise (it cannot read 2-bit BMPs; it widens 16-bit grey).
source "$(dirname "$0")/driver.sh" "$1"
PY=/usr/bin/python3
"$PY" -c 'import PIL' 2>/dev/null || fail "Pillow is missing (Debian package python3-pil)"

# Writes the two BMPs Pillow cannot be the judge of, and their models: the
# colours of every pixel, row by row, as "r,g,b" lines.
"$PY" - "$WORK" <<'PY'
import struct, sys
work = sys.argv[1]

def bmp(name, w, h, bits, rows, palette=b"", masks=b"", compression=0):
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, compression, 0, 2835, 2835, len(palette) // 4, 0)
    start = 14 + len(info) + len(masks) + len(palette)
    data = b"".join(reversed(rows))  # bottom row first
    head = b"BM" + struct.pack("<IHHI", start + len(data), 0, 0, start)
    open("%s/%s" % (work, name), "wb").write(head + info + masks + palette + data)

def model(name, colours):
    open("%s/%s.model" % (work, name), "w").write("".join("%d,%d,%d\n" % c for c in colours))

# 2 bits, 13 x 5: indices 0 to 3 in turn; palette parts whose low bits are
# set, which 6-bit palettes would lose.
pal = [(1, 2, 3), (254, 253, 130), (10, 201, 33), (127, 129, 66)]
w, h = 13, 5
index = [[(x + 2 * y) % 4 for x in range(w)] for y in range(h)]
rows = []
for r in index:
    packed = bytearray((w * 2 + 31) // 32 * 4)
    for x, i in enumerate(r):
        packed[x // 4] |= i << (6 - 2 * (x % 4))
    rows.append(bytes(packed))
bmp("two.bmp", w, h, 2, rows, b"".join(bytes((b, g, r, 0)) for r, g, b in pal))
model("two.bmp", [pal[i] for r in index for i in r])

# 16 bits, 5-6-5 masks, then a palette of 16 entries that the pixels do not
# use, 7 x 6.
w, h = 7, 6
values = [[(x * 9 + y * 5) % 32 << 11 | (x * 7 + y * 11) % 64 << 5 | (31 - x * 4 - y) for x in range(w)] for y in range(h)]
scale = lambda v, most: (v * 255 + most // 2) // most
rows = [b"".join(struct.pack("<H", v) for v in r) + b"\0" * (-2 * w % 4) for r in values]
bmp("sixteen.bmp", w, h, 16, rows, bytes(range(64)), struct.pack("<III", 0xf800, 0x07e0, 0x001f), 3)
model("sixteen.bmp", [(scale(v >> 11, 31), scale(v >> 5 & 63, 63), scale(v & 31, 31)) for r in values for v in r])

# A palette PNG of 2 entries whose pixels use indices 0 to 3, 5 x 3: the
# indices past the palette are black.
import zlib
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
w, h = 5, 3
index = [[(x + y) % 4 for x in range(w)] for y in range(h)]
pal = [(200, 10, 99), (7, 250, 130)]
png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 3, 0, 0, 0)) + \
    chunk(b"PLTE", b"".join(bytes(c) for c in pal)) + \
    chunk(b"IDAT", zlib.compress(b"".join(b"\0" + bytes(r) for r in index))) + chunk(b"IEND", b"")
open(work + "/short-palette.png", "wb").write(png)
model("short-palette.png", [pal[i] if i < 2 else (0, 0, 0) for r in index for i in r])
PY

# ImageMagick writes the 108-byte header for pictures without a rendering
# intent: runs of 8-bit indices for the grey gradient, 24 bits for colour.
convert -size 9x100 gradient:white-black -intent Undefined -type palette "$WORK/im8.bmp"
convert -size 37x20 -seed 3 plasma:fractal -intent Undefined -type truecolor "$WORK/im24.bmp"
"$PY" - "$WORK" <<'PY'
import struct, sys
from PIL import Image
work = sys.argv[1]
for name, bits in (("im8.bmp", 8), ("im24.bmp", 24)):
    b = open("%s/%s" % (work, name), "rb").read()
    assert struct.unpack_from("<I", b, 14)[0] == 108 and b[28] == bits, (name, "not a 108-byte header")
plasma = Image.open(work + "/im24.bmp").convert("RGB")
plasma.quantize(200).save(work + "/pillow.bmp")
PY
for d in 1 2 4 8 16; do
    convert -size 19x7 gradient:white-black -depth "$d" -transparent black \
        -define png:color-type=0 -define png:bit-depth="$d" "PNG:$WORK/grey$d.png"
done
for d in 2 16; do
    convert "$WORK/grey$d.png" -interlace PNG -transparent black \
        -define png:color-type=0 -define png:bit-depth="$d" "PNG:$WORK/grey$d-interlaced.png"
done

# size_of FILE: "w x h" from the BMP or PNG header (ImageMagick refuses 2-bit BMPs).
size_of() {
    "$PY" -c 'import struct, sys
b = open(sys.argv[1], "rb").read(26)
w, h = struct.unpack_from("<ii", b, 18) if b[:2] == b"BM" else struct.unpack_from(">II", b, 16)
print("%d x %d" % (w, abs(h)))' "$WORK/$1"
}

# same SOURCE SAVED: the saved PNG holds the source's colours, pixel by pixel.
same() {
    "$PY" - "$WORK/$1" "$WORK/$2" <<'PY' || fail "$2 does not hold the colours of $1"
import os, sys
from PIL import Image
source, saved = sys.argv[1], sys.argv[2]
got = Image.open(saved).convert("RGB")
if os.path.exists(source + ".model"):
    want = [tuple(map(int, l.split(","))) for l in open(source + ".model")]
else:
    im = Image.open(source)
    if im.mode.startswith("I"):  # 16-bit grey: the high byte of each sample
        want = [(v >> 8,) * 3 for v in im.getdata()]
    else:
        want = list(im.convert("RGB").getdata())
got = list(got.getdata())
bad = [i for i, (a, b) in enumerate(zip(got, want)) if a != b]
if len(got) != len(want) or bad:
    i = bad[0] if bad else 0
    sys.exit("%d of %d pixels differ; first at %d: %s, expected %s" % (len(bad), len(want), i, got[i], want[i]))
PY
}

start_vell
for name in two.bmp sixteen.bmp im8.bmp im24.bmp pillow.bmp grey1.png grey2.png grey4.png grey8.png \
    grey16.png grey2-interlaced.png grey16-interlaced.png short-palette.png; do
    size=$(size_of "$name")
    chord alt+l
    answer "$name"
    want="Loaded '$name' ($size)"
    [ "$name" != short-palette.png ] || want="$want: 7 pixels past its palette loaded as black"
    # The transparent grey (black) is put as black into the opaque layer 0.
    clear=0
    [ "${name%.png}" = "$name" ] || clear=$("$PY" -c '
import sys
from PIL import Image
im = Image.open(sys.argv[1])
t = im.info.get("transparency")
print(0 if t is None else sum(1 for v in im.getdata() if v == t))' "$WORK/$name")
    [ "$clear" = 0 ] || want="$want: $clear pixels transparent in the file put as black: the layer is opaque"
    expect_stdout_line "$want"
    chord alt+s
    answer "saved-$name.png"
    expect_stdout_line "Saved 'saved-$name.png'"
    same "$name" "saved-$name.png"
done
quit_vell
pass
