# Switches on the command line: an unknown one is reported with its dash and
# colon and start-up goes on; its value is passed over; a screen size that
# cannot be used falls back to 1024x768 with a line saying so.
source "$(dirname "$0")/driver.sh" "$1"

start_vell -foo: 3 -wxh: -5 600
expect_stdout_line "Init( args ) - Switch defaulted on '-foo:'"
if grep -q "defaulted on '3'" "$WORK/stdout.txt"; then fail "the switch's value was read as a switch"; fi
expect_stdout_line " Set colour depth: 32"
expect_stdout_line " Set gfx mode: Gfx_Mode=GFX_AUTODETECT SCX=1024 SCY=768"
grep -q -- "-5x600" "$WORK/stdout.txt" || fail "no line about the unusable size -5x600"
quit_vell
pass
