# "-mode: 2 -wxh: 800 600" opens a titled window of 800x600 that takes keys.
source "$(dirname "$0")/driver.sh" "$1"

start_vell -mode: 2 -wxh: 800 600
expect_stdout_line " Set gfx mode: Gfx_Mode=GFX_AUTODETECT_WINDOWED SCX=800 SCY=600"
size=$(window_size)
[ "$size" = "800 600" ] || fail "window is $size, not 800 600"
quit_vell
pass
