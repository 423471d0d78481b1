#!/usr/bin/env bash
# Writes the picture fuzz target's seed corpus (fuzz/picture-corpus): one
# small valid file of each format and variant, each behind the byte that
# picks its format (0 BMP, 1 PCX, 2 TGA, 3 LBM, 4 PNG, 5 JPEG). ImageMagick
# makes the pictures; the IFF ones (which it does not write) and the
# top-down BMP are put together from its raw output.
# Usage: fuzz/make-picture-seeds.sh [directory]
set -euo pipefail
OUT="${1:-$(cd "$(dirname "$0")" && pwd)/picture-corpus}"
TMP="$(mktemp -d)"
trap 'rm -rf "$TMP"' EXIT
mkdir -p "$OUT"

# A 7x5 picture with a different colour in each corner and 6 colours in all.
convert -size 7x5 xc:navy -fill red -draw 'point 0,0' -fill lime -draw 'point 6,0' \
  -fill yellow -draw 'point 0,4' -fill white -draw 'point 6,4' -fill gray -draw 'line 1,2 5,2' \
  "$TMP/pic.png"

seed() {  # seed NAME FORMAT-BYTE FILE
  { printf "\\x$(printf %02x "$2")"; cat "$3"; } >"$OUT/$1"
}

make() {  # make NAME FORMAT-BYTE CONVERT-ARGS... OUTPUT
  local name=$1 byte=$2
  shift 2
  convert "$TMP/pic.png" "$@"
  local out="${*: -1}"
  seed "$name" "$byte" "${out#*:}"
}

make bmp-8 0 -type palette -compress None "BMP3:$TMP/a.bmp"
# ImageMagick's runs fill odd rows up to an even width, past the row's end,
# which the loader refuses: this one is 8 wide.
make bmp-rle8 0 -extent 8x5 -type palette -compress RLE "BMP3:$TMP/a.bmp"
make bmp-24 0 -type truecolor "BMP3:$TMP/a.bmp"
# Today's headers: 124 bytes with runs of 8-bit indices (7 wide: the runs
# reach past the row's end), 32 bits with alpha and 16 bits with masks;
# 108 bytes at 24 bits; the 12-byte OS/2 header.
make bmp-v5-rle8 0 -compress RLE "BMP:$TMP/a.bmp"
make bmp-v5-32-alpha 0 -alpha set -fill '#0000ff80' -draw 'point 3,3' "BMP:$TMP/a.bmp"
make bmp-v5-16-masks 0 -type truecolor -define bmp:subtype=RGB565 "BMP:$TMP/a.bmp"
make bmp-v4-24 0 -intent Undefined -type truecolor "BMP:$TMP/a.bmp"
make bmp-os2-4 0 "BMP2:$TMP/a.bmp"
make pcx-8 1 -type palette "PCX:$TMP/a.pcx"
make pcx-24 1 -type truecolor "PCX:$TMP/a.pcx"
make tga-8 2 -type palette -compress None "TGA:$TMP/a.tga"
make tga-rle8 2 -type palette -compress RLE "TGA:$TMP/a.tga"
make tga-24 2 -type truecolor -compress None "TGA:$TMP/a.tga"
make tga-rle24 2 -type truecolor -compress RLE "TGA:$TMP/a.tga"
make png-palette 4 "PNG8:$TMP/a.png"
make png-grey 4 -colorspace gray "PNG:$TMP/a.png"
make png-16 4 "PNG48:$TMP/a.png"
make png-alpha 4 -alpha set -fill '#0000ff80' -draw 'point 3,3' "PNG32:$TMP/a.png"
for d in 1 2 4 8 16; do
  make "png-grey-$d-trns" 4 -colorspace gray -depth "$d" -transparent black -define png:color-type=0 \
    -define png:bit-depth="$d" "PNG:$TMP/a.png"
done
make png-grey-trns-interlaced 4 -colorspace gray -transparent black -interlace PNG -define png:color-type=0 \
  "PNG:$TMP/a.png"
make jpg-baseline 5 -quality 90 "JPG:$TMP/a.jpg"
make jpg-progressive 5 -quality 90 -interlace Plane "JPG:$TMP/a.jpg"

# The top-down BMP and the IFF pictures, from ImageMagick's 24-bit BMP and
# its raw colour bytes.
convert "$TMP/pic.png" -type truecolor "BMP3:$TMP/up.bmp"
convert "$TMP/pic.png" -depth 8 "RGB:$TMP/pic.rgb"
python3 - "$TMP" <<'PY'
import struct, sys
tmp = sys.argv[1]
w, h = 7, 5

bmp = bytearray(open(tmp + "/up.bmp", "rb").read())
start, row = struct.unpack_from("<I", bmp, 10)[0], (w * 3 + 3) // 4 * 4
rows = [bmp[start + y * row:start + (y + 1) * row] for y in range(h)]
bmp[start:start + row * h] = b"".join(reversed(rows))
struct.pack_into("<i", bmp, 22, -h)
open(tmp + "/down.bmp", "wb").write(bmp)

def bmp_file(name, bits, data, palette=b"", masks=b"", compression=0, info_size=40):
    info = struct.pack("<IiiHHIIiiII", info_size, w, h, 1, bits, compression, len(data), 0, 0,
                       len(palette) // 4, 0) + b"\0" * (info_size - 40)
    start = 14 + len(info) + len(masks) + len(palette)
    out = b"BM" + struct.pack("<IHHI", start + len(data), 0, 0, start) + info + masks + palette + data
    open("%s/%s" % (tmp, name), "wb").write(out)

grey4 = b"".join(bytes((v, v, v, 0)) for v in (0, 85, 170, 255))
# 2 bits: every row 0 1 2 3 0 1 2, padded to 4 bytes.
bmp_file("bmp-2", 2, bytes((0x1b, 0x18, 0, 0)) * h, grey4)
# 4-bit runs: a run, three stored pixels, a move, the end of the picture.
bmp_file("bmp-rle4", 4, bytes((3, 0x12, 0, 3, 0x30, 0x10, 0, 0, 0, 2, 1, 1, 2, 0x33, 0, 1)), grey4, compression=2)
# OS/2 2.x header (64 bytes) with 24-bit runs: a run of 7, then 3 stored
# pixels padded to an even length.
bmp_file("bmp-os2v2-rle24", 24, bytes((7, 10, 20, 30, 0, 0, 0, 3, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 1)),
         compression=4, info_size=64)
# 16 bits with masks and a palette behind them, which the pixels do not use.
pixels = b"".join(struct.pack("<H", (x * 4) << 11 | (y * 9) << 5 | x + y) for y in range(h) for x in range(w))
rows = b"".join(pixels[y * w * 2:(y + 1) * w * 2] + b"\0\0" for y in range(h))
bmp_file("bmp-16-palette", 16, rows, grey4, struct.pack("<III", 0xf800, 0x07e0, 0x001f), compression=3)

# A palette PNG with 2 entries whose pixels use index 3 too.
import zlib
def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
raw = b"".join(b"\0" + bytes((x % 4 for x in range(w))) for y in range(h))
png = b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 3, 0, 0, 0)) + \
    png_chunk(b"PLTE", bytes((255, 0, 0, 0, 0, 255))) + png_chunk(b"IDAT", zlib.compress(raw)) + png_chunk(b"IEND", b"")
open(tmp + "/png-past-palette", "wb").write(png)

rgb = open(tmp + "/pic.rgb", "rb").read()
colours = sorted(set(rgb[i:i + 3] for i in range(0, len(rgb), 3)))
index = [colours.index(rgb[i:i + 3]) for i in range(0, len(rgb), 3)]
planes = max(1, (len(colours) - 1).bit_length())

def chunk(name, data):
    return name + struct.pack(">I", len(data)) + data + (b"\0" if len(data) % 2 else b"")

def packbits(data):  # literal runs of at most 128 bytes
    out = b""
    for i in range(0, len(data), 128):
        part = data[i:i + 128]
        out += bytes([len(part) - 1]) + part
    return out

def body(chunky, compressed):
    out = b""
    for y in range(h):
        ix = index[y * w:(y + 1) * w]
        if chunky:
            stored = [bytes(ix) + b"\0" * (w % 2)]
        else:
            stored = []
            for p in range(planes):
                bits = bytearray((w + 15) // 16 * 2)
                for x, v in enumerate(ix):
                    bits[x // 8] |= ((v >> p) & 1) << (7 - x % 8)
                stored.append(bytes(bits))
        out += b"".join(packbits(s) if compressed else s for s in stored)
    return out

for name, chunky, compressed in [("ilbm", False, False), ("ilbm-packed", False, True),
                                 ("pbm", True, False), ("pbm-packed", True, True)]:
    depth = 8 if chunky else planes
    bmhd = struct.pack(">HHhhBBBBHBBhh", w, h, 0, 0, depth, 0, int(compressed), 0, 0, 1, 1, w, h)
    cmap = b"".join(colours)
    form = (b"PBM " if chunky else b"ILBM") + chunk(b"BMHD", bmhd) + chunk(b"CMAP", cmap) + \
        chunk(b"BODY", body(chunky, compressed))
    open("%s/%s.lbm" % (tmp, name), "wb").write(b"FORM" + struct.pack(">I", len(form)) + form)
PY
seed bmp-24-top-down 0 "$TMP/down.bmp"
for name in bmp-2 bmp-rle4 bmp-os2v2-rle24 bmp-16-palette png-past-palette; do
  seed "$name" "$([ "${name%%-*}" = png ] && echo 4 || echo 0)" "$TMP/$name"
done
for name in ilbm ilbm-packed pbm pbm-packed; do seed "lbm-$name" 3 "$TMP/$name.lbm"; done
echo "wrote $(ls "$OUT" | wc -l) seeds to $OUT"
