# Switches on the command line: an unknown one is reported with its dash and
# colon and start-up goes on; a screen size that
# cannot be used (negative, or beyond Allegro's coordinates) falls back to
# 1024x768 with a line saying so.
source "$(dirname "$0")/driver.sh" "$1"

start_vell -foo: 3 -wxh: -5 600
expect_stdout_line "Init( args ) - Switch defaulted on '-foo:'"
expect_stdout_line " Set colour depth: 32"
expect_stdout_line " Set gfx mode: Gfx_Mode=GFX_AUTODETECT SCX=1024 SCY=768"
grep -q -- "-5x600" "$WORK/stdout.txt" || fail "no line about the unusable size -5x600"
quit_vell

# The argument after an unknown switch is examined normally: here it is a
# size too large for Allegro's coordinates, which gives 1024x768 and the line.
start_vell -bar: -wxh: 60000 60000
expect_stdout_line "Init( args ) - Switch defaulted on '-bar:'"
expect_stdout_line " Set gfx mode: Gfx_Mode=GFX_AUTODETECT SCX=1024 SCY=768"
grep -q -- "60000x60000" "$WORK/stdout.txt" || fail "no line about the unusable size 60000x60000"
quit_vell
pass
