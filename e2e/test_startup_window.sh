# "-mode: 2 -wxh: 800 600" opens a titled window of 800x600 that shows the
# picture (the cursor's block at its top-left corner) and takes keys.
source "$(dirname "$0")/driver.sh" "$1"

start_vell -mode: 2 -wxh: 800 600
expect_stdout_line " Set gfx mode: Gfx_Mode=GFX_AUTODETECT_WINDOWED SCX=800 SCY=600"
size=$(window_size)
[ "$size" = "800 600" ] || fail "window is $size, not 800 600"

# At magnification 16 the lens shows 50x37 picture pixels over 800x600, each
# 16x16: the cursor's block too.
eval "$(xdotool getwindowgeometry --shell "$VELL_WINDOW")"
screenshot window.png
box=$(nonblack_box window.png "$X" "$Y" 80 80)
[ "$box" = "$X $Y 16 16" ] ||
    fail "cursor block in the window at $X,$Y is '$box'"
quit_vell
pass
