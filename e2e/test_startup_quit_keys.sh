# ESC alone does not end the editor; Shift with ESC ends it with status 0.
source "$(dirname "$0")/driver.sh" "$1"

start_vell
press Escape
sleep 1
vell_running || fail "ESC alone ended vell (status $VELL_STATUS)"
# Still taking keys: two zoom steps make the cursor's block 18 pixels or more
# (the lens shows 1024/18 = 56 picture pixels across).
press equal
press equal
screenshot after-escape.png
read -r _ _ w h <<<"$(nonblack_box after-escape.png 0 0 40 40)"
((w >= 18 && h >= 18)) || fail "no zoom after ESC: cursor block ${w}x${h}"
chord shift+Escape
wait_vell_exit 10
[ "$VELL_STATUS" = 0 ] || fail "Shift+ESC ended vell with status $VELL_STATUS"
pass
