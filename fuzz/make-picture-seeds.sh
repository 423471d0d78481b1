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
for name in ilbm ilbm-packed pbm pbm-packed; do seed "lbm-$name" 3 "$TMP/$name.lbm"; done
echo "wrote $(ls "$OUT" | wc -l) seeds to $OUT"
