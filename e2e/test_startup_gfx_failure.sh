# A driver id Allegro does not know ("-mode: 7") is passed on unchanged and
# named "(Dunno)"; when the graphics mode cannot be set the editor says so and
# exits with a non-zero status instead of running without a screen.
source "$(dirname "$0")/driver.sh" "$1"

start_xvfb
launch_vell -mode: 7
wait_vell_exit 20
[ "$VELL_STATUS" != 0 ] || fail "vell exited with status 0 without a graphics mode"
expect_stdout_begins \
    "${STARTUP_LINES[@]}" \
    " Set gfx mode: Gfx_Mode=(Dunno) SCX=1024 SCY=768" \
    "Gfx mode failed"
if xdotool search --name "Dade Vovu Zerizoviz" >/dev/null 2>&1; then fail "a window got the editor's title"; fi
pass
