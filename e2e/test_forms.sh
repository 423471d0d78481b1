# Fields, Esc in the file prompts, file messages, checked numbers, zoom keys;
# the editor runs in a mount namespace of its own where "ro" is read-only.
source "$(dirname "$0")/driver.sh" "$1"
printf '#!/bin/sh\nexec unshare -m sh -c %s "%s" "$@"\n' \
    "'mount -t tmpfs -o ro tmpfs ro && exec \"\$0\" \"\$@\"'" "$VELL" >"$PRIVATE/vell-ro"
chmod +x "$PRIVATE/vell-ro" && VELL="$PRIVATE/vell-ro" && mkdir "$WORK/ro"
convert -size 64x48 xc:blue PNG24:"$WORK/blue.png"

# same_field SHOT X TEXT: row 0's answer from X as TEXT in the blank replay field.
field() { convert "$WORK/$1" -crop "64x10+$2+16" +repage -depth 8 rgb:- | md5sum; }
same_field() {
    chord shift+alt+p && replace_row "$3" && screenshot blank.png && press Escape
    [ "$(field "$1" "$2")" = "$(field blank.png 156)" ] || fail "'$3' in $1 does not look as on a blank panel"
}

start_vell
chord alt+v  # "16" over "1024": "canvas width:" answers from 116
replace_row 16 && screenshot over.png && press Escape
same_field over.png 116 16
chord alt+s && answer kkkkk.bmp
chord alt+s  # "_" and "." over "kkkkk.bmp": "Save:" answers from 52
replace_row a_b.c && screenshot name.png && press Escape
same_field name.png 52 a_b.c

chord alt+l && answer blue.png
repeat 3 Right && repeat 2 Down && press space && press Left  # an orange (3, 2)
# Esc in the four file prompts, each offering blue.png, changes nothing.
listing() { (cd "$WORK" && ls -A | grep -v -e '^Vell\.zub' -e '^vell\.cfg' && md5sum blue.png kkkkk.bmp); }
before=$(listing)
for keys in alt+s alt+l shift+alt+s shift+alt+l; do chord "$keys" && press Escape; done
[ "$(listing)" = "$before" ] || fail "Esc in a file prompt changed the folder"
! grep -q "Over write" "$WORK/stdout.txt" || fail "Esc in Alt+S asked to overwrite"
screenshot esc.png && expect_block esc.png 3 2 "255,180,0" && expect_block esc.png 10 10 "0,0,255"

chord alt+l && answer nofile.png
expect_stdout_line "Nothing loaded: 'nofile.png': does not exist"
chord alt+l && answer nodir/x.png
expect_stdout_line "Nothing loaded: 'nodir/x.png': folder 'nodir' does not exist"
chord alt+s && answer ro/x.png
expect_stdout_line "Nothing saved: 'ro/x.png': Read-only file system"

chord alt+c && replace_row 300 && chord ctrl+Return
expect_stdout_line "red must be 0 to 255"
press Escape && press space && press Left && screenshot pen.png
expect_block pen.png 2 2 "255,180,0"
chord alt+v && replace_row 20000 && press Return && answer 20000
expect_stdout_line "canvas width must be 1 to 16384"
press Escape
chord alt+v && replace_row 9000 && press Return && answer 8000
expect_stdout_line "Resize to 9000 x 8000 (275 MiB)? Y/N"
press n && chord alt+s && answer size.bmp
[ "$(identify -format '%wx%h' "$WORK/size.bmp")" = "64x48" ] || fail "N to the resize question resized"

# 1: the 64 x 48 picture at x1 and grey beyond; 5: x16; 0 after 1: x14, the
# largest that fits beside the palette strip (936 screen pixels wide).
press 1 && screenshot x1.png
[ "$(pixel x1.png 60 40)/$(pixel x1.png 100 40)" = "0,0,255/128,128,128" ] || fail "1 did not give x1"
press 5 && screenshot x16.png
[ "$(pixel x16.png 920 700)/$(pixel x16.png 100 40)" = "0,0,255/0,0,255" ] || fail "5 did not give x16"
press 1 && press 0 && screenshot fit.png
[ "$(pixel fit.png 890 660)/$(pixel fit.png 900 40)" = "0,0,255/128,128,128" ] || fail "0 did not fit 64 x 48"
quit_vell
pass
