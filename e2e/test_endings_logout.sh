# A logout: SIGTERM, then the X server goes away 0, 50 or 200 ms later,
# while a 128 MiB document (8 layers of 2048x2048) is being saved. The work
# is in "Vell.zub" every time. Then the X server goes away while a long
# replay draws its frames: the work is saved too.
source "$(dirname "$0")/driver.sh" "$1"

ORANGE="255,180,0"

big_document() {
    python3 -c 'import struct, sys; sys.stdout.buffer.write(struct.pack("<4i", 2, 8, 2048, 2048))
for mode in range(8): sys.stdout.buffer.write(struct.pack("<i", mode % 2) + bytes(4 * 2048 * 2048))
sys.stdout.buffer.write(bytes(40))' >"$WORK/Vell.zub"
}

# kills the X server and waits for the editor to end on its own.
lose_x() {
    kill "$XVFB_PID"
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
    wait_vell_exit 70
}

# Each round draws at (n, 0) of a new document.
n=0
for delay in 0 0.05 0.2; do
    n=$((n + 1))
    big_document
    rm -f "$WORK/vell.cfg" "$WORK/stdout.txt"
    start_vell
    repeat $n Right
    press space
    kill -TERM "$VELL_PID"
    sleep "$delay"
    lose_x
    said=$(grep -Fx -e "SIGTERM: saved 'Vell.zub'" -e "The X connection was lost: saved 'Vell.zub'" "$WORK/stdout.txt") ||
        fail "X lost ${delay} s after SIGTERM: no line saying Vell.zub was saved"
    echo "X lost ${delay} s after SIGTERM, status $VELL_STATUS: $said"
    [ "$(zub_pixel $n 0)" = "$ORANGE" ] || fail "X lost ${delay} s after SIGTERM: the pixel at ($n, 0) was lost"
done

# A recording of RIGHT, SPACE and a frame (Ctrl+I, 10 ms) replayed 100000
# times: the editor draws frames and pixels when the X server ends.
rm -f "$WORK/Vell.zub" "$WORK/vell.cfg" "$WORK/stdout.txt"
start_vell
chord alt+i
answer 10
chord alt+r
press Right
press space
chord ctrl+i
chord alt+r
chord shift+alt+p
answer 100000
sleep 1.5
lose_x
expect_stdout_line "The X connection was lost: saved 'Vell.zub'"
[ "$(zub_pixel 1 0)" = "$ORANGE" ] || fail "X lost in a replay: the recorded pixel at (1, 0) was lost"
[ "$(zub_pixel 20 0)" = "$ORANGE" ] || fail "X lost in a replay: the replay's pixels were lost"
pass
