# F1 shows the key reference over the picture in pages; Page Down / Page Up
# turn them, and any other key leaves without acting: the picture is shown as
# before.
source "$(dirname "$0")/driver.sh" "$1"

ORANGE="255,180,0"
YELLOW="255,255,0"

# count_colour FILE X Y W H R,G,B: how many pixels of the region have it.
count_colour() {
    convert "$(in_work "$1")" -crop "$4x$5+$2+$3" +repage -depth 8 txt:- |
        grep -c "($6)" || true
}

# differing FILE FILE: how many pixels differ, the pointer's flickering cursor
# (the block of picture pixel 5,5) left out.
differing() {
    local a b
    a=$(in_work "$1")
    b=$(in_work "$2")
    convert "$a" -fill black -draw "rectangle 80,80 95,95" "$a.masked.png"
    convert "$b" -fill black -draw "rectangle 80,80 95,95" "$b.masked.png"
    compare -metric AE "$a.masked.png" "$b.masked.png" null: 2>&1 || true
}

start_vell
# Two pixels, then the pointer away from them.
press Right
press space
repeat 2 Right
press space
repeat 5 Down
repeat 2 Right
screenshot before.png
expect_blocks before.png "$ORANGE" 1,0 3,0

press F1
screenshot page1.png
[ "$(count_colour page1.png 0 0 1024 10 "$YELLOW")" -gt 100 ] || fail "no heading in the help screen"
[ "$(count_colour page1.png 0 10 1024 748 "$ORANGE")" -gt 5000 ] || fail "no help text in the widget's colour"
[ "$(differing before.png page1.png)" -gt 10000 ] || fail "F1 did not show the help screen"

press Next
screenshot page2.png
[ "$(differing page1.png page2.png)" -gt 1000 ] || fail "Page Down did not turn the page"
[ "$(count_colour page2.png 0 10 1024 748 "$ORANGE")" -gt 1000 ] || fail "the second page has no text"
press Prior
screenshot again1.png
[ "$(differing page1.png again1.png)" = 0 ] || fail "Page Up did not bring the first page back"
press Down
screenshot down.png
[ "$(differing page2.png down.png)" = 0 ] || fail "Down did not turn to the second page"

# = would zoom the lens: as the key that leaves it does nothing else.
press equal
screenshot after.png
[ "$(differing before.png after.png)" = 0 ] || fail "the picture differs after leaving the help screen"

# The help screen is gone for good: = zooms again.
press equal
screenshot zoomed.png
[ "$(differing before.png zoomed.png)" -gt 100 ] || fail "= did not zoom after the help screen"
quit_vell
pass
