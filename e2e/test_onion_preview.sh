# Ctrl+O shows the previous frame file tinted red and translucent at the
# pointer's box, on the screen only: neither a saved PNG nor Vell.zub holds
# it. Ctrl+P plays the frame files in a panel at the top right until a key
# stops it, and that key does nothing else.
source "$(dirname "$0")/driver.sh" "$1"

# near SHOT X Y R,G,B: screen pixel X,Y within 2 of R,G,B in each channel.
near() {
    local got want
    got=$(pixel "$1" "$2" "$3")
    IFS=, read -r -a g <<<"$got"
    IFS=, read -r -a want <<<"$4"
    for i in 0 1 2; do
        local d=$((g[i] - want[i]))
        [ "${d#-}" -le 2 ] || fail "$1: $2,$3 shows $got, expected about $4"
    done
}

start_vell
press g && repeat 4 Right && repeat 3 Down && press Return  # a box at 0,0
# Frame 0: a pen pixel at (0, 0); frame 1: one at (1, 0) instead.
press space
chord ctrl+shift+s
chord ctrl+period
press w && press Right && press space
chord ctrl+shift+s
expect_stdout_line "Saved frame 'img001.tga'"
press w  # the picture is black again

# The box moved to (17, 8), the pointer out of it; the onion skin shows
# frame 0 there: its orange (255,180,0) half-way to red, at 35% over black.
chord ctrl+Right && chord ctrl+Right && chord ctrl+Down && press g && press Return
chord ctrl+Right
chord ctrl+o
expect_stdout_line "Onion skin: the previous frame"
screenshot onion.png
near onion.png $((17 * 16 + 8)) $((8 * 16 + 8)) 89,31,0
expect_blocks onion.png 0,0,0 18,8 16,8 17,9
chord alt+s
answer pic.png
[ -z "$(nonblack_box pic.png 0 0 1024 768)" ] || fail "pic.png holds $(nonblack_box pic.png 0 0 1024 768)"

# Frames 0 and 1 at a pause of 700 ms: frame pixel (0, 0) and (1, 0) of the
# 4x4 frame magnified 90 times in the panel at the top right. Frame 2, which
# no decoder reads, is left out and named.
chord alt+i
answer 700
chord ctrl+comma
echo "not a picture" >"$WORK/img002.tga"
chord ctrl+p
grep -q "^Preview skipped 'img002.tga': " "$WORK/stdout.txt" || fail "no line says img002.tga was skipped"
seen=""
for i in $(seq 8); do
    screenshot "preview$i.png"
    a=$(pixel "preview$i.png" 633 50) b=$(pixel "preview$i.png" 723 50)
    case "$a/$b" in
        255,180,0/0,0,0) seen="${seen%0}0" ;;
        0,0,0/255,180,0) seen="${seen%1}1" ;;
        *) fail "preview$i.png shows $a and $b in the panel" ;;
    esac
    sleep 0.3
done
case "$seen" in *010* | *101*) ;; *) fail "the preview showed the frames as '$seen', not in turn" ;; esac

# Right stops it: the panel goes, and the pointer stays where it was.
press Right
screenshot stopped.png
expect_blocks stopped.png 0,0,0 35,4 42,4
press space
quit_vell
expect_cfg Onion mode 1
[ "$(zub_pixel 25 8)" = 255,180,0 ] || fail "the pointer moved: Vell.zub has $(zub_pixel 25 8) at 25,8"
for xy in 26,8 17,8 0,0 1,0; do
    [ "$(zub_pixel "${xy%,*}" "${xy#*,}")" = 0,0,0 ] || fail "Vell.zub has $(zub_pixel "${xy%,*}" "${xy#*,}") at $xy"
done
pass
