# vell started by its absolute path from an unrelated directory, with no
# library search path set, finds libvarshim.so beside itself and runs.
source "$(dirname "$0")/driver.sh" "$1"

unset LD_LIBRARY_PATH
start_vell
expect_stdout_line " install sound driver"
loaded=$(grep -o '/[^ ]*libvarshim\.so[^ ]*' "/proc/$VELL_PID/maps" | sort -u)
[ "$loaded" = "$(dirname "$VELL")/libvarshim.so" ] ||
    fail "vell loaded '$loaded' instead of the libvarshim.so beside it"
quit_vell
pass
