# A long history: SPACE held while RIGHT repeats commits one pixel per key
# pass, well over 150 steps; held Ctrl+Z then takes every one of them back,
# one at a time, and Vell.zub at quit is the black picture of the start.
source "$(dirname "$0")/driver.sh" "$1"

start_vell
repeat 2 Down  # below the message line
key_down space
hold Right 9
key_up space
chord ctrl+z
steps=$(sed -n 's/^Undo (\([0-9]*\) more)$/\1/p' "$WORK/stdout.txt" | head -n 1)
[ -n "$steps" ] || fail "the first Ctrl+Z undid nothing"
steps=$((steps + 1))
[ "$steps" -ge 150 ] || fail "only $steps steps were made"

key_down ctrl
hold z $((steps / 20 + 4))
key_up ctrl
expect_stdout_line "Nothing to undo"
# Every step was taken back once, down to the first.
want=$(seq $((steps - 1)) -1 0 | sed 's/.*/Undo (& more)/')
got=$(grep '^Undo (' "$WORK/stdout.txt")
[ "$got" = "$want" ] || fail "the undo messages do not count down from $((steps - 1)) to 0"
quit_vell

python3 - "$WORK/Vell.zub" <<'PY' || fail "Vell.zub is not the black picture of the start"
import struct, sys
data = open(sys.argv[1], "rb").read()
assert struct.unpack_from("<4i", data, 0) == (2, 1, 1024, 768)
assert not any(struct.unpack_from(f"<{1024 * 768}I", data, 20))
PY
pass
