# A recording made with Alt+R, replayed three times with Shift+Alt+P and once
# more with Alt+P. The recording is RIGHT then SPACE: a pen pixel one to the
# right each time it is played, on row 3, below the message line.
# The lens shows picture pixel (x, y) as the 16x16 block at (16x, 16y).
source "$(dirname "$0")/driver.sh" "$1"

ORANGE="255,180,0"
BLACK="0,0,0"

start_vell
for i in 1 2 3; do press Down; done

chord alt+r
expect_stdout_line "Recording"
press Right
press space
chord alt+r
expect_stdout_line "Finihed Recording"
# RIGHT and SPACE in the plain group, then the closing R in the Alt group.
[ "$(grep -c '^Key Obj created' "$WORK/stdout.txt")" = 3 ] || fail "expected three recorded events"
expect_stdout_line 'Key Obj created: akey=-1 nkey=83 c=""'
expect_stdout_line 'Key Obj created: akey=-1 nkey=75 c=""'
expect_stdout_line 'Key Obj created: akey=-8 nkey=18 c=""'

chord shift+alt+p
answer 3
sleep 0.3
press Down  # the cursor's random colour away from row 3
screenshot three.png
for x in 1 2 3 4; do expect_block three.png $x 3 "$ORANGE"; done
expect_block three.png 0 3 "$BLACK"
expect_block three.png 5 3 "$BLACK"

# Alt+P plays it once more, from where the pointer is now (4, 4).
chord alt+p
press Down
screenshot once.png
expect_block once.png 5 4 "$ORANGE"
expect_block once.png 6 4 "$BLACK"
quit_vell
pass
