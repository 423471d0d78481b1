# Message lines over the picture: the layer menu while L is held, and the
# frame announcement of Ctrl+STOP / Ctrl+COMMA, drawn at the top left in the
# widget's colour at 2x2 (one line is 20 screen rows).
source "$(dirname "$0")/driver.sh" "$1"

ORANGE="255,180,0"

# count_colour FILE X Y W H R,G,B: how many pixels of the region have it.
count_colour() {
    convert "$(in_work "$1")" -crop "$4x$5+$2+$3" +repage -depth 8 txt:- |
        grep -c "($6)" || true
}

start_vell
# The pointer's flickering cursor away from the text area.
repeat 12 Down
repeat 40 Right
screenshot plain.png
[ -z "$(nonblack_box plain.png 0 0 500 160)" ] || fail "something drawn at the top left before any message"

# The layer menu: seven lines while L is held, gone after.
key_down l
sleep 0.5
screenshot layers.png
key_up l
sleep "$AFTER_KEY"
box=$(nonblack_box layers.png 0 0 600 200)
[ -n "$box" ] || fail "no layer menu while L was held"
read -r x y w h <<<"$box"
[ "$x" -le 4 ] && [ "$y" -le 4 ] || fail "the menu does not start at the top left ($box)"
[ "$h" -gt 120 ] && [ "$h" -le 140 ] || fail "the menu is $h rows high, not seven lines of 20 ($box)"
[ "$(count_colour layers.png 0 0 600 200 "$ORANGE")" -gt 200 ] || fail "the menu is not in the widget's colour"
screenshot cleared.png
[ -z "$(nonblack_box cleared.png 0 0 600 200)" ] || fail "the menu stayed after L was let go"

# Three steps up, one down: 'Files Select - "img002.tga"', 27 characters,
# one line of (27 * 8 + 2) * 2 = 436 pixels at most.
chord ctrl+period
chord ctrl+period
chord ctrl+period
chord ctrl+comma
screenshot files.png
box=$(nonblack_box files.png 0 0 600 100)
[ -n "$box" ] || fail "no announcement after Ctrl+STOP"
read -r x y w h <<<"$box"
[ "$h" -le 20 ] || fail "the announcement is more than one line ($box)"
[ "$w" -gt 400 ] && [ "$w" -le 436 ] || fail "the announcement is $w pixels wide, not 27 characters ($box)"
[ "$(count_colour files.png 0 0 440 20 "$ORANGE")" -gt 200 ] || fail "the announcement is not in the widget's colour"
# It stays until another command replaces it.
press Left
screenshot still.png
[ -n "$(nonblack_box still.png 0 0 440 20)" ] || fail "the announcement vanished after a pointer move"
quit_vell
grep -qx "filesPos = 2" "$WORK/vell.cfg" || fail "vell.cfg does not hold filesPos = 2"
pass
