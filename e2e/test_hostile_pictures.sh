# Picture files that must not crash the editor or eat its memory: IFF
# pictures with an oversized palette, a run past its row and unpadded odd
# rows are refused with a message and leave the document alone; a tiny PCX
# promising 16383x32770 pixels asks first, and N costs no memory; a top-down
# BMP and an odd-width chunky IFF picture load with their pixels.
source "$(dirname "$0")/driver.sh" "$1"
SEEDS="$(cd "$(dirname "$0")/../fuzz/picture-corpus" && pwd)"

# The seeds carry a format byte before the file.
from_seed() { tail -c +2 "$SEEDS/$1" >"$WORK/$2"; }

md5() { md5sum "$WORK/$1" | cut -d' ' -f1; }
peak_kb() { awk '/^VmHWM:/ { print $2 }' "/proc/$VELL_PID/status"; }

# A valid picture, 7x5: red, lime, yellow and white corners on navy.
from_seed lbm-ilbm-packed good.lbm
from_seed lbm-pbm odd.lbm
from_seed bmp-24-top-down down.bmp
python3 - "$WORK" <<'PY'
import struct, sys
work = sys.argv[1]

def chunks(path):
    d = open(path, "rb").read()
    at, out = 12, []
    while at + 8 <= len(d):
        n = struct.unpack_from(">I", d, at + 4)[0]
        out.append([d[at:at + 4], bytearray(d[at + 8:at + 8 + n])])
        at += 8 + n + n % 2
    return d[8:12], out

def write(path, kind, parts):
    body = kind + b"".join(i + struct.pack(">I", len(c)) + c + b"\0" * (len(c) % 2) for i, c in parts)
    open(path, "wb").write(b"FORM" + struct.pack(">I", len(body)) + body)

kind, parts = chunks(work + "/good.lbm")
write(work + "/palette.lbm", kind, [[i, c + bytes(300 * 3) if i == b"CMAP" else c] for i, c in parts])
body = dict((bytes(i), c) for i, c in parts)[b"BODY"]
body[0] = 127  # a literal run of 128 bytes in a plane row of 2
write(work + "/run.lbm", kind, parts)
kind, parts = chunks(work + "/odd.lbm")
for i, c in parts:
    if i == b"BODY":  # rows of 7 bytes without their pad byte
        c[:] = b"".join(c[y * 8:y * 8 + 7] for y in range(5))
write(work + "/unpadded.lbm", kind, parts)
# 128-byte header, one byte of data: 8 bits, one plane, 16384 bytes a row.
pcx = struct.pack("<4B4H", 10, 5, 1, 8, 0, 0, 16382, 32769).ljust(65, b"\0") + struct.pack("<BHH", 1, 16384, 1)
open(work + "/huge.pcx", "wb").write(pcx.ljust(128, b"\0") + b"\xc1")
PY
[ "$(stat -c %s "$WORK/huge.pcx")" = 129 ] || fail "huge.pcx is not 129 bytes"

# The document to keep: one pen pixel, saved at quit.
start_vell
press Right
press space
quit_vell
before=$(md5 Vell.zub)

start_vell
repeat 12 Down  # the cursor away from the text at the top left
peak=$(peak_kb)
chord alt+l
answer huge.pcx
sleep 0.3
screenshot question.png
expect_stdout_line "Load 16383 x 32770 (2048 MiB)? Y/N"
# Only the letters' orange kept: the question lies on a panel at the top.
convert "$WORK/question.png" -crop 800x30+0+0 +repage -fill black +opaque "rgb(255,180,0)" "$WORK/letters.png"
box=$(nonblack_box letters.png 0 0 800 30)
read -r _ _ qw _ <<<"$box"
# "Load 16383 x 32770 (2048 MiB)? Y/N": 34 characters of 16 pixels.
[ -n "$box" ] && [ "$qw" -gt 520 ] && [ "$qw" -lt 560 ] || fail "no size question at the top left ($box)"
press n
vell_running || fail "the editor ended after N"
grew=$(($(peak_kb) - peak))
[ "$grew" -lt 65536 ] || fail "the peak memory grew by $grew kB on a refused picture"
echo "peak memory after N: +$grew kB"

for name in palette.lbm run.lbm unpadded.lbm; do
    chord alt+l
    answer "$name"
    screenshot "$name.png"
    vell_running || fail "the editor ended on $name"
    grep -q "^Nothing loaded: '$name': " "$WORK/stdout.txt" || fail "no message for $name"
    [ -n "$(nonblack_box "$name.png" 0 0 800 30)" ] || fail "no message line for $name"
done
quit_vell
[ "$(md5 Vell.zub)" = "$before" ] || fail "Vell.zub changed"

# Valid pictures load with their pixels, the top row at the top.
start_vell
for name in down.bmp odd.lbm; do
    chord alt+l
    answer "$name"
    press Down
    # The layer mode clears the message lines ("Loaded ...") as it ends.
    press l
    screenshot "$name.png"
    expect_block "$name.png" 0 0 "255,0,0"
    expect_block "$name.png" 6 0 "0,255,0"
    expect_block "$name.png" 0 4 "255,255,0"
    expect_block "$name.png" 6 4 "255,255,255"
    expect_block "$name.png" 3 1 "0,0,128"
done
quit_vell
pass
