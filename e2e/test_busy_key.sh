# A key pressed and let go while the editor is busy (here during a Ctrl+I
# pause of 1.5 s) still runs its command once in the next key pass.
source "$(dirname "$0")/driver.sh" "$1"

start_vell
chord alt+i
answer 1500
chord ctrl+i
press space 0.1
sleep 1.5
press Down  # the cursor's random colour would hide (0, 0)
screenshot busy.png
expect_block busy.png 0 0 "255,180,0"
expect_block busy.png 0 2 "0,0,0"
quit_vell
pass
