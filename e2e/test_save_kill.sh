# kill -9 at random moments while a large document (8 layers of 2048x2048,
# 128 MiB) is being saved: every next start reads Vell.zub whole (the old one
# or the new one), and removes what the killed save left behind.
source "$(dirname "$0")/driver.sh" "$1"

SIZE=$((16 + 8 * (4 + 4 * 2048 * 2048) + 10 * 4))
python3 -c 'import struct, sys; sys.stdout.buffer.write(struct.pack("<4i", 2, 8, 2048, 2048))
for mode in range(8): sys.stdout.buffer.write(struct.pack("<i", mode % 2) + bytes(4 * 2048 * 2048))
sys.stdout.buffer.write(bytes(40))' >"$WORK/Vell.zub"
saving() { compgen -G "$WORK/.Vell.zub.tmp-*" >/dev/null; }

# Starts the editor and checks that it read what the last one left.
start_reading() {
    start_vell
    ! grep -e "was not loaded" -e "can't be opened" -e "Started a new picture" "$WORK/stdout.txt" ||
        fail "Vell.zub did not read after the kill"
    ! saving || fail "a temporary file survived the start"
    [ "$(stat -c %s "$WORK/Vell.zub")" = "$SIZE" ] || fail "Vell.zub is $(stat -c %s "$WORK/Vell.zub") bytes"
}

cut=0
for round in 1 2 3 4 5 6; do
    start_reading
    press space
    press Right  # the new document differs from the old
    key_down shift
    key_down Escape
    for _ in $(seq 2000); do if saving || ! vell_running; then break; fi; sleep 0.01; done
    # Anywhere in the first 150 ms of the save, or after it.
    sleep "$(printf '0.%03d' $((RANDOM % 150)))"
    kill -9 "$VELL_PID" 2>/dev/null || true
    wait "$VELL_PID" 2>/dev/null || true
    VELL_PID=""
    key_up Escape
    key_up shift
    if saving; then cut=$((cut + 1)); fi
done
echo "$cut of 6 kills cut a save short"
[ "$cut" -gt 0 ] || fail "no kill landed during a save"
start_reading
quit_vell
pass
