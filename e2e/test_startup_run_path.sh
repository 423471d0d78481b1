# vell started by its absolute path from an unrelated directory, with no
# library search path set, finds libvarshim.so beside itself and runs.
source "$(dirname "$0")/driver.sh" "$1"

unset LD_LIBRARY_PATH
[ "$(dirname "$VELL")" != "$WORK" ] || fail "the test must run outside the build directory"
start_vell
expect_stdout_line " install sound driver"
quit_vell
pass
