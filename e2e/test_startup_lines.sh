# Start without arguments: the start-up lines come first, verbatim and in
# order, the window carries the editor's title, and Shift+ESC ends it cleanly.
source "$(dirname "$0")/driver.sh" "$1"

start_vell
expect_stdout_begins \
    "${STARTUP_LINES[@]}" \
    " Set gfx mode: Gfx_Mode=GFX_AUTODETECT SCX=1024 SCY=768" \
    " install sound driver"

title=$(xdotool getwindowname "$VELL_WINDOW")
[ "$title" = "Dade Vovu Zerizoviz" ] || fail "window title is '$title'"

# Mode 0 under an X screen of the editor's size fills the screen: the
# picture starts black at the top-left corner, away from the cursor.
screenshot start.png
[ "$(pixel start.png 512 384)" = "0,0,0" ] || fail "picture is not black at the centre"

quit_vell
pass
