# Shift+ESC when "Vell.zub" cannot be replaced (a folder in its place): the
# editor stays open and says why; a second Shift+ESC within 3 s quits and
# writes the work elsewhere; the next start names that place and offers it
# to Alt+L, until "Vell.zub" is saved again.
source "$(dirname "$0")/driver.sh" "$1"

ORANGE="255,180,0"
NOTE="$WORK/.Vell.zub.elsewhere"

start_vell
press Right
press space
mkdir "$WORK/Vell.zub"
touch "$WORK/Vell.zub/in-the-way"
chord shift+Escape
sleep 0.5
vell_running || fail "a Shift+ESC whose save failed ended the editor (status $VELL_STATUS)"
grep -q "^Not saved: .*\. Free some space or Alt+S elsewhere, then Shift+Esc again; Shift+Esc twice within 3 s quits anyway\.$" \
    "$WORK/stdout.txt" || fail "no message saying why the quit did not save"

# Pressed again after 3 s, it tries again and says so again.
sleep 3
chord shift+Escape
sleep 0.5
vell_running || fail "a Shift+ESC more than 3 s later quit without saving"
[ "$(grep -c "^Not saved: " "$WORK/stdout.txt")" = 2 ] || fail "the second try did not say why it failed"

chord shift+Escape
wait_vell_exit 10
[ "$VELL_STATUS" = 0 ] || fail "the quit anyway ended with status $VELL_STATUS"
fallback=$(sed -n "s/^The document was written to '\(.*\)' instead$/\1/p" "$WORK/stdout.txt")
[ -n "$fallback" ] || fail "the quit anyway named no fallback file"
[ "$(head -n 1 "$NOTE")" = "$fallback" ] || fail "the note does not name '$fallback'"

rm -r "$WORK/Vell.zub"
start_vell
expect_stdout_line "The last session's work was saved to '$fallback': Alt+L loads it"
quit_vell
[ "$(cfg File cfile)" = "$fallback" ] || fail "Alt+L does not offer '$fallback'"
[ ! -e "$NOTE" ] || fail "the note outlived a save of Vell.zub"
cp "$(in_work "$fallback")" "$WORK/Vell.zub"
[ "$(zub_pixel 1 0)" = "$ORANGE" ] || fail "the fallback file does not hold the work"
pass
