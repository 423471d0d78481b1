# Without an X display the editor says that Allegro could not start, then
# how to get a display, and exits with a non-zero status.
source "$(dirname "$0")/driver.sh" "$1"

(unset DISPLAY; cd "$WORK" && exec "$VELL" >"$WORK/stdout.txt" 2>"$WORK/stderr.txt") &
VELL_PID=$!
note_pids
wait_vell_exit 20
[ "$VELL_STATUS" != 0 ] || fail "vell exited with status 0 without a display"
first=$(sed -n 1p "$WORK/stdout.txt")
[ "$first" = "allegro_init: error" ] || fail "first line is '$first'"
second=$(sed -n 2p "$WORK/stdout.txt")
grep -qi "display" <<<"$second" || fail "second line does not speak of a display: '$second'"
[ "$(wc -l <"$WORK/stdout.txt")" -eq 2 ] || fail "more than the two lines"
pass
