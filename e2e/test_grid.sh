# Ctrl+G: lines between picture pixels (every 16 screen pixels at x16), then
# every 16 picture pixels, in greys by x + y (64 even, 192 odd); never in a
# PNG saved while they show; the mode comes back after a restart.
source "$(dirname "$0")/driver.sh" "$1"

DARK="64,64,64" LIGHT="192,192,192" BLACK="0,0,0"
expect_pixels() {  # SHOT R,G,B X,Y...: screen pixels
    local shot=$1 want=$2 xy
    shift 2
    for xy in "$@"; do [ "$(pixel "$shot" "${xy%,*}" "${xy#*,}")" = "$want" ] || fail "$shot: $xy is not $want"; done
}

start_vell
press Right && press Down && press space  # an orange pixel at (1, 1)
chord ctrl+g
screenshot pixels.png
expect_pixels pixels.png "$DARK" 528,400 600,400 512,512
expect_pixels pixels.png "$LIGHT" 528,401 601,400
expect_pixels pixels.png "$BLACK" 529,401 600,401
chord ctrl+g
screenshot tiles.png
expect_pixels tiles.png "$LIGHT" 512,401 601,512
expect_pixels tiles.png "$BLACK" 528,401 600,400
chord alt+s
answer grid.png
[ "$(nonblack_box grid.png 0 0 1024 768)" = "1 1 1 1" ] || fail "grid.png holds $(nonblack_box grid.png 0 0 1024 768)"
quit_vell
expect_cfg Grid mode 2
start_vell
screenshot restarted.png
expect_pixels restarted.png "$LIGHT" 512,401 601,512
quit_vell
pass
