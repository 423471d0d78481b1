# Forms a user can trust: fields show only what they hold, Esc cancels the
# file prompts, file actions answer, numbers are checked against their
# ranges, and the zoom presets. The Alt+S of a read-only folder runs in a
# mount namespace of the editor's own, where "ro" is a read-only file system.
source "$(dirname "$0")/driver.sh" "$1"

REAL_VELL=$VELL
VELL="$PRIVATE/vell-ro"
cat >"$VELL" <<WRAP
#!/bin/sh
exec unshare -m sh -c 'mount -t tmpfs -o ro tmpfs ro && exec "\$0" "\$@"' "$REAL_VELL" "\$@"
WRAP
chmod +x "$VELL"
mkdir "$WORK/ro"
convert -size 64x48 xc:blue PNG24:"$WORK/blue.png"

ORANGE="255,180,0"
BLUE="0,0,255"
GREY="128,128,128"

# field SHOT X: the first row's answer (y 16, 10 rows) from X on, 64 wide.
field() { convert "$WORK/$1" -crop "64x10+$2+16" +repage -depth 8 rgb:- | md5sum; }
# The replay form's field starts blank: typed there, TEXT is drawn on a
# blank panel. Its answer starts at 8 * 18 + 12 = 156.
blank_field() {
    chord shift+alt+p
    replace_row "$1"
    screenshot "$2"
    press Escape
}

start_vell

# "16" typed over "1024" (Alt+V offers the 1024 x 768 canvas); the answer
# of "canvas width:" starts at 8 * 13 + 12 = 116.
chord alt+v
replace_row 16
screenshot over.png
press Escape
blank_field 16 blank16.png
[ "$(field over.png 116)" = "$(field blank16.png 156)" ] || fail "16 over 1024 does not look as 16 on a blank panel"

# "_" and "." typed over "kkkkk.bmp" in Alt+S ("Save:": from 52).
chord alt+s
answer kkkkk.bmp
expect_stdout_line "Saved 'kkkkk.bmp'"
chord alt+s
replace_row a_b.c
screenshot name.png
press Escape
blank_field a_b.c blank_name.png
[ "$(field name.png 52)" = "$(field blank_name.png 156)" ] || fail "a_b.c over kkkkk.bmp does not look as itself"

chord alt+l
answer blue.png
expect_stdout_line "Loaded 'blue.png' (64 x 48)"
# An orange pixel at (3, 2), the pointer left of it at (2, 2).
repeat 3 Right
repeat 2 Down
press space
press Left

# Esc in the four file prompts, each offering blue.png: nothing is loaded,
# stamped or written, and no overwrite question comes.
# The names in the folder (an autosave may come at any time) and the pictures.
listing() {
    (cd "$WORK" && ls -A | grep -v -e '^Vell\.zub' -e '^vell\.cfg' && ls -l --time-style=full-iso blue.png kkkkk.bmp &&
        md5sum blue.png kkkkk.bmp)
}
before=$(listing)
for keys in alt+s alt+l shift+alt+s shift+alt+l; do
    chord "$keys"
    press Escape
done
[ "$(listing)" = "$before" ] || fail "Esc in a file prompt changed the folder"
screenshot esc.png
expect_block esc.png 3 2 "$ORANGE"
expect_block esc.png 10 10 "$BLUE"
! grep -q "Over write" "$WORK/stdout.txt" || fail "Esc in Alt+S asked to overwrite"

# Failures in one template.
chord alt+l
answer nofile.png
expect_stdout_line "Nothing loaded: 'nofile.png': does not exist"
chord alt+l
answer nodir/x.png
expect_stdout_line "Nothing loaded: 'nodir/x.png': folder 'nodir' does not exist"
chord alt+s
answer ro/x.png
expect_stdout_line "Nothing saved: 'ro/x.png': Read-only file system"

# Red 300 is refused with its row named; Esc keeps the pen.
chord alt+c
replace_row 300
chord ctrl+Return
expect_stdout_line "red must be 0 to 255"
press Escape
press space
press Left
screenshot pen.png
expect_block pen.png 2 2 "$ORANGE"

# 20000 x 20000 is refused; 9000 x 8000 (275 MiB) asks, and N keeps 64 x 48.
chord alt+v
replace_row 20000
press Return
replace_row 20000
chord ctrl+Return
expect_stdout_line "canvas width must be 1 to 16384"
press Escape
chord alt+v
replace_row 9000
press Return
answer 8000
expect_stdout_line "Resize to 9000 x 8000 (275 MiB)? Y/N"
press n
expect_stdout_line "Canvas not resized"
chord alt+s
answer size.bmp
[ "$(identify -format '%wx%h' "$WORK/size.bmp")" = "64x48" ] || fail "the canvas is no longer 64 x 48"

# 1: x1, the 64 x 48 picture at the top left and grey beyond; 5: x16, the
# picture over the whole screen; 0 after 1: x16 again for 64 x 48.
press 1
screenshot x1.png
[ "$(pixel x1.png 60 40)" = "$BLUE" ] && [ "$(pixel x1.png 100 40)" = "$GREY" ] || fail "1 did not give x1"
press 5
screenshot x16.png
[ "$(pixel x16.png 1016 700)" = "$BLUE" ] || fail "5 did not give x16"
press 1
press 0
screenshot fit.png
[ "$(pixel fit.png 1016 700)" = "$BLUE" ] && [ "$(pixel fit.png 100 40)" = "$BLUE" ] || fail "0 did not fit 64 x 48"
quit_vell
pass
