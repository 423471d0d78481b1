# SIGTERM, SIGHUP, SIGINT and SIGQUIT end the editor as Shift+ESC does:
# "Vell.zub" and "vell.cfg" written, one console line, status 0; also in a
# held-key mode. A form open at that moment applies nothing.
source "$(dirname "$0")/driver.sh" "$1"

ORANGE="255,180,0"

# Signal n draws at (n, 0) first; vell.cfg is removed so that each run
# starts at (0, 0) and must write it anew.
n=0
for sig in TERM HUP INT QUIT; do
    n=$((n + 1))
    rm -f "$WORK/vell.cfg"
    start_vell
    repeat $n Right
    press space
    [ $sig != QUIT ] || key_down l
    signal_vell $sig
    [ $sig != QUIT ] || key_up l
    expect_stdout_line "SIG$sig: saved 'Vell.zub'"
    [ -s "$WORK/vell.cfg" ] || fail "SIG$sig: vell.cfg not written"
    for ((i = 1; i <= n; i++)); do
        [ "$(zub_pixel $i 0)" = "$ORANGE" ] || fail "SIG$sig: no pixel at ($i, 0) in Vell.zub"
    done
done

# The canvas form with 100 typed, then SIGTERM: the canvas keeps its width.
start_vell
chord alt+v
replace_row 100
signal_vell TERM
expect_stdout_line "SIGTERM: saved 'Vell.zub'"
[ "$(od -An -tu4 -j8 -N4 "$WORK/Vell.zub" | tr -d ' ')" = 1024 ] || fail "the stopped canvas form was applied"
# The save form with a new name, then SIGINT: nothing saved, the name not taken.
start_vell
chord alt+s
replace_row stop.bmp
signal_vell INT
[ ! -e "$WORK/stop.bmp" ] || fail "the stopped save form saved stop.bmp"
[ "$(cfg File cfile)" != stop.bmp ] || fail "the stopped save form took the name stop.bmp"
pass
