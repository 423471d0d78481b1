# Work survives endings that give no warning: an autosave after a second of
# quiet outlives kill -9, an editor that changed nothing writes nothing, the
# close button saves as Shift+ESC does, and losing the X server saves what
# was drawn before the last key pass.
source "$(dirname "$0")/driver.sh" "$1"

ORANGE="255,180,0"

start_vell
press space
press Right
expect_stdout_line "Saved 'Vell.zub'"
[ "$(zub_pixel 0 0)" = "$ORANGE" ] || fail "the autosaved Vell.zub lacks the pixel at (0, 0)"
kill -9 "$VELL_PID"
wait_vell_exit 5

start_vell
screenshot restarted.png
expect_block restarted.png 0 0 "$ORANGE"
# A pass that changes nothing, then quiet: neither file is touched.
before=$(stat -c %y "$WORK/Vell.zub" "$WORK/vell.cfg")
press Right
sleep 2.5
[ "$(stat -c %y "$WORK/Vell.zub" "$WORK/vell.cfg")" = "$before" ] || fail "files written though nothing changed"
! grep -q "^Saved" "$WORK/stdout.txt" || fail "an autosave though nothing changed"
# The pointer is at (2, 0) now.
press space
close_window
wait_vell_exit 10
[ "$VELL_STATUS" = 0 ] || fail "the close button ended vell with status $VELL_STATUS"
expect_stdout_line "Window closed: saved 'Vell.zub'"
[ "$(zub_pixel 2 0)" = "$ORANGE" ] || fail "the close button did not save the pixel at (2, 0)"

start_vell
press Right
press space
kill "$XVFB_PID"
XVFB_PID=""
wait_vell_exit 10
[ "$VELL_STATUS" = 1 ] || fail "vell ended with status $VELL_STATUS when X went away"
expect_stdout_line "The X connection was lost: saved 'Vell.zub'"
[ "$(zub_pixel 3 0)" = "$ORANGE" ] || fail "the pixel at (3, 0) was lost with the X server"
pass
