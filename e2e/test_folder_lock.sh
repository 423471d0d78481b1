# One editor per folder. A second editor started beside a running one says
# who holds the folder and leaves with status 1 before it touches any file;
# the first goes on. Temporary files of interrupted saves are removed at start
# by the lock's holder only, other names are kept, and saves leave none. A
# folder that cannot be locked is said so and the editor runs there anyway.
source "$(dirname "$0")/driver.sh" "$1"

listing() { (cd "$1" && ls -A --full-time | grep -v -e ' stdout.txt$' -e ' stderr.txt$'); }

# Left by an interrupted save, and names that merely look alike.
KEPT=(Vell.zub.tmp-AbC123 .Vell.zub.tmp-AbC12 .Vell.zub.tmp-AbC1234 .vell.cfg.tmp-Ab_123 .other.tmp-AbC123)
for name in .Vell.zub.tmp-AbC123 .vell.cfg.tmp-x1Y2z3 "${KEPT[@]}"; do echo stale >"$WORK/$name"; done

start_vell
expect_stdout_line "Removed '.Vell.zub.tmp-AbC123', left by an interrupted save"
expect_stdout_line "Removed '.vell.cfg.tmp-x1Y2z3', left by an interrupted save"
for name in "${KEPT[@]}"; do [ -e "$WORK/$name" ] || fail "'$name' was removed"; done

# As if the first editor were saving right now.
echo busy >"$WORK/.Vell.zub.tmp-Busy01"
before=$(listing "$WORK")
status=0
(cd "$WORK" && exec "$VELL" >"$PRIVATE/second.txt" 2>/dev/null) || status=$?
[ "$status" = 1 ] || fail "the second editor ended with status $status"
[ "$(cat "$PRIVATE/second.txt")" = "Vell.zub is in use by another Vell (process $VELL_PID)" ] ||
    fail "the second editor said: $(cat "$PRIVATE/second.txt")"
[ "$(listing "$WORK")" = "$before" ] || fail "the folder changed: $(diff <(echo "$before") <(listing "$WORK"))"

# The first editor still answers keys and saves what it was given.
vell_running || fail "the first editor ended"
press space
press Right
press space
quit_vell
read -r first second third < <(od -An -tu4 -j20 -N12 "$WORK/Vell.zub")
[ "$first" != 0 ] && [ "$second" != 0 ] && [ "$third" = 0 ] || fail "Vell.zub does not hold the two pixels"
rm "$WORK/.Vell.zub.tmp-Busy01"
for name in "$WORK"/.*tmp*; do
    [[ " ${KEPT[*]} " == *" ${name##*/} "* ]] || fail "'${name##*/}' was left behind"
done

# A folder nothing can be made in (root ignores permissions: it is made
# immutable where the file system allows); files already there stay writable.
rm "$WORK/.Vell.zub.lock"
trap 'chattr -i "$WORK" 2>/dev/null; chmod u+w "$WORK"; cleanup' EXIT
if [ "$(id -u)" != 0 ]; then
    chmod a-w "$WORK"
elif ! chattr +i "$WORK" 2>/dev/null; then
    echo "read-only folder: chattr +i is not supported here, not checked"
    pass
fi
before=$(listing "$WORK")
TMPDIR="$PRIVATE" start_vell
pid=$VELL_PID
grep -q "^This folder cannot be locked ('.Vell.zub.lock': " "$WORK/stdout.txt" || fail "no word of the missing lock"
# Vell.zub cannot be replaced here: the first Shift+ESC says so and stays,
# the second within 3 s quits with the fallback (the note of where the work
# went cannot be written either, and the console says so).
chord shift+Escape
grep -q "^Not saved: " "$WORK/stdout.txt" || fail "the failed quit said nothing"
vell_running || fail "the first Shift+ESC quit without saving"
quit_vell
[ "$(listing "$WORK")" = "$before" ] || fail "the read-only folder changed"
expect_stdout_line "The document was written to '$PRIVATE/Vell-$pid.zub' instead"
grep -q "^The note '.Vell.zub.elsewhere' saying where the work went could not be written: " "$WORK/stdout.txt" ||
    fail "no word of the note that could not be written"
pass
