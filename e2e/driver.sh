# End-to-end driver: runs the real vell in a private Xvfb and presses real
# keys with xdotool. Source it from a test script, which CTest runs as
#   bash e2e/test_x.sh <path of vell>
#
#   source "$(dirname "$0")/driver.sh" "$1"
#   start_vell -mode: 2            # Xvfb, vell in $WORK, its window, pointer
#   press equal                    # one key, held ~0.15 s
#   chord shift+Escape             # keys down in order, up in reverse order
#   hold z 1.5                     # a key held for a held-key mode
#   key_down l; press a; key_up l  # a key held while others are pressed
#   screenshot zoom.png            # the whole X screen, 8 bits per channel
#   pixel zoom.png 0 0             # prints "r,g,b"
#   nonblack_box zoom.png 0 0 64 64  # prints "x y w h" of what is not black
#   quit_vell                      # Shift+ESC, then exit status 0 within time
#   expect_stdout_line "text"      # a whole line of vell's standard output
#   pass                           # prints PASS and ends the test
#
# Also: repeat N KEY (N presses), type_text TEXT (typed into a dialog),
# picture_pixel FILE X Y [MAG] (the colour shown for picture pixel X,Y with
# the lens at the picture's corner, magnification 16 unless given),
# expect_stdout_begins LINE... (the first lines, exactly),
# window_size ("w h" of the titled window), vell_running, wait_vell_exit
# [seconds] (sets VELL_STATUS), launch_vell ARGS (start without waiting for a
# window), start_xvfb (only the X server), fail MESSAGE.
#
# Steps many cases share:
#   with_held l KP_1               # L held while KP_1 is pressed, then let go
#   replace_row "text"             # a form's current row emptied and typed
#   row "text"                     # the same, then the next row
#   answer "text"                  # the same, then the form accepted
#   expect_block SHOT X Y R,G,B    # picture pixel X,Y (magnification 16)
#   expect_blocks SHOT R,G,B X,Y...  # the same colour at each X,Y
#   cfg SECTION KEY                # prints the value of KEY in vell.cfg
#   expect_cfg SECTION KEY VALUE
#   expect_stdout_begins "${STARTUP_LINES[@]}" LINE...  # the fixed start-up
#                                  # lines before the graphics mode is set
# start_vell may be called again after quit_vell (same Xvfb, same $WORK, so
# the editor finds the files it wrote; stdout.txt starts afresh).
#
# Key names are X keysym names as xdotool takes them (equal, minus, Escape,
# shift, ctrl, alt, Return, Left, KP_0, ...). KEY_HOLD and AFTER_KEY (seconds)
# may be set in the environment for a slow machine.
#
# Each test gets its own working directory $WORK: vell runs there, its
# standard output goes to $WORK/stdout.txt (stderr to stderr.txt), and
# relative file names given to screenshot, pixel and nonblack_box are in it.
# Everything started here is killed and $WORK is removed when the test ends,
# however it ends; E2E_KEEP=1 keeps $WORK for a look afterwards.
# Only standard output is checked: the sound library writes noise on stderr.
# A missing Xvfb, xdotool or ImageMagick is a failure, never a skip.

set -Eeuo pipefail

VELL=${1:-}
# The folder of the driver and its helpers (zub.py reads a Vell.zub).
E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
TITLE="Dade Vovu Zerizoviz"
# Long enough for the editor to see the key still down when readkey returns,
# also on a busy machine; shorter than the auto-repeat delay (~0.66 s), so one
# press is one key in the editor's buffer.
KEY_HOLD=${KEY_HOLD:-0.25}
# Time for the key pass and the frame that follow a key release.
AFTER_KEY=${AFTER_KEY:-0.25}

XVFB_PID=""
VELL_PID=""
VELL_STATUS=""
WORK=""
PRIVATE=""  # the driver's own files (Xvfb's, the guard's), apart from $WORK
GUARD_PID=""

fail() {
    echo "FAIL: $*" >&2
    if [ -n "$WORK" ] && [ -f "$WORK/stdout.txt" ]; then
        echo "--- vell's standard output:" >&2
        tail -n 40 "$WORK/stdout.txt" >&2
    fi
    exit 1
}

pass() {
    echo "PASS: $(basename "$0")"
    exit 0
}

trap 'fail "command failed (line $LINENO): $BASH_COMMAND"' ERR
# A test stopped by a signal (a CTest timeout, Ctrl+C) still cleans up.
trap 'exit 143' TERM INT HUP

cleanup() {
    trap - ERR
    if [ -n "$GUARD_PID" ]; then kill "$GUARD_PID" 2>/dev/null || true; fi
    if [ -n "$VELL_PID" ] && kill -0 "$VELL_PID" 2>/dev/null; then
        kill -9 "$VELL_PID" 2>/dev/null || true
        wait "$VELL_PID" 2>/dev/null || true
    fi
    if [ -n "$XVFB_PID" ] && kill -0 "$XVFB_PID" 2>/dev/null; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
    if [ -n "$PRIVATE" ]; then rm -rf "$PRIVATE"; fi
    if [ -n "$WORK" ] && [ -d "$WORK" ]; then
        if [ "${E2E_KEEP:-0}" = 1 ]; then
            echo "kept $WORK" >&2
        else
            rm -rf "$WORK"
        fi
    fi
}
trap cleanup EXIT

require_tools() {
    command -v Xvfb >/dev/null || fail "Xvfb is missing (Debian package xvfb)"
    command -v xdotool >/dev/null || fail "xdotool is missing (Debian package xdotool)"
    # Ask the programs themselves: a stand-in convert may be on the PATH.
    import -version 2>/dev/null | grep -q ImageMagick ||
        fail "ImageMagick's import is missing (Debian package imagemagick)"
    convert -version 2>/dev/null | grep -q ImageMagick ||
        fail "ImageMagick's convert is missing (Debian package imagemagick)"
}

# A test killed with SIGKILL runs no clean-up: this watcher then kills what
# the test started (listed in $PRIVATE/pids) and removes its directories, so
# no Xvfb or vell is left behind.
start_guard() {
    local test_pid=$$ private=$PRIVATE work=$WORK keep=${E2E_KEEP:-0}
    (
        trap - ERR
        set +e
        while kill -0 "$test_pid" 2>/dev/null; do sleep 1; done
        for pid in $(cat "$private/pids" 2>/dev/null); do kill -9 "$pid"; done
        rm -rf "$private"
        [ "$keep" = 1 ] || rm -rf "$work"
    ) </dev/null >/dev/null 2>&1 &
    GUARD_PID=$!
}

# Tells the guard which processes are ours now.
note_pids() { echo "$XVFB_PID $VELL_PID" >"$PRIVATE/pids"; }

# Starts Xvfb on a display number it picks itself (-displayfd avoids races
# with other tests) and waits until it answers. Its files stay out of $WORK,
# which holds only what vell writes (and stdout.txt, stderr.txt, screenshots).
start_xvfb() {
    local fdfile="$PRIVATE/display"
    # An earlier server's number must not be read before this one's redirection truncates the file.
    rm -f "$fdfile"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -noreset -nolisten tcp \
        3>"$fdfile" >"$PRIVATE/xvfb.log" 2>&1 &
    XVFB_PID=$!
    note_pids
    local i
    for i in $(seq 100); do
        if [ -s "$fdfile" ]; then break; fi
        kill -0 "$XVFB_PID" 2>/dev/null || fail "Xvfb did not start: $(tail -n 5 "$PRIVATE/xvfb.log")"
        sleep 0.1
    done
    [ -s "$fdfile" ] || fail "Xvfb gave no display number within 10 s"
    DISPLAY=":$(head -n 1 "$fdfile")"
    export DISPLAY
    for i in $(seq 50); do
        if xdotool getdisplaygeometry >/dev/null 2>&1; then return 0; fi
        sleep 0.1
    done
    fail "Xvfb on $DISPLAY does not answer"
}

# Starts vell in $WORK with the given arguments (Xvfb first, if needed),
# waits for its window and moves the X pointer over it: without a window
# manager keys go to the window under the pointer.
start_vell() {
    [ -n "$XVFB_PID" ] || start_xvfb
    launch_vell "$@"
    VELL_WINDOW=$(timeout 20 xdotool search --sync --limit 1 --name "^$TITLE\$" 2>/dev/null) ||
        fail "no window titled '$TITLE' within 20 s"
    point_at_window "$VELL_WINDOW"
    # The editor builds its first frame after the title is set.
    sleep 0.5
    vell_running || fail "vell ended right after start (status $VELL_STATUS)"
}

# Starts vell in $WORK in the background without waiting for anything.
launch_vell() {
    (cd "$WORK" && exec "$VELL" "$@" >"$WORK/stdout.txt" 2>"$WORK/stderr.txt") &
    VELL_PID=$!
    note_pids
}

point_at_window() {
    # shellcheck disable=SC2034  # all six are set by the eval
    local WINDOW X Y WIDTH HEIGHT SCREEN
    eval "$(xdotool getwindowgeometry --shell "$1")"
    local want="x:$((X + WIDTH / 2)) y:$((Y + HEIGHT / 2)) " i
    # mousemove --sync can wait for many seconds here; polling is quicker.
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
    for i in $(seq 50); do
        case "$(xdotool getmouselocation)" in "$want"*) return 0 ;; esac
        sleep 0.1
    done
    fail "the X pointer did not move over the window"
}

# Prints "w h" of the first window titled like the editor.
window_size() {
    # shellcheck disable=SC2034  # all six are set by the eval
    local WINDOW X Y WIDTH HEIGHT SCREEN
    eval "$(xdotool getwindowgeometry --shell "$VELL_WINDOW")"
    echo "$WIDTH $HEIGHT"
}

key_down() { xdotool keydown "$@"; }
key_up() { xdotool keyup "$@"; }

# press KEY [seconds held]
press() {
    xdotool keydown "$1"
    sleep "${2:-$KEY_HOLD}"
    xdotool keyup "$1"
    sleep "$AFTER_KEY"
}

# hold KEY seconds: for modes that run while their key is held.
hold() { press "$1" "$2"; }

# chord "shift+Escape" [seconds held]: downs in order, ups in reverse order.
chord() {
    local keys i
    IFS=+ read -r -a keys <<<"$1"
    for i in "${keys[@]}"; do xdotool keydown "$i"; done
    sleep "${2:-$KEY_HOLD}"
    for ((i = ${#keys[@]} - 1; i >= 0; i--)); do xdotool keyup "${keys[i]}"; done
    sleep "$AFTER_KEY"
}

# repeat N KEY: N separate presses.
repeat() {
    local i
    for ((i = 0; i < $1; i++)); do press "$2"; done
}

# type_text TEXT: typed key by key, slowly enough for the editor's text entry.
type_text() {
    xdotool type --delay 80 "$1"
    sleep "$AFTER_KEY"
}

# picture_pixel FILE X Y [MAG]: the lens shows picture pixel X,Y as the
# MAG x MAG block at (MAG*X, MAG*Y); the centre of that block is read.
picture_pixel() {
    local mag=${4:-16}
    pixel "$1" $(($2 * mag + mag / 2)) $(($3 * mag + mag / 2))
}

# A path relative to $WORK unless absolute.
in_work() { case "$1" in /*) echo "$1" ;; *) echo "$WORK/$1" ;; esac; }

screenshot() { import -window root -depth 8 "$(in_work "$1")"; }

# pixel FILE X Y: prints the colour as "r,g,b" (0-255 each).
pixel() {
    convert "$(in_work "$1")" -crop "1x1+$2+$3" -depth 8 txt:- |
        sed -n 's/^0,0: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}

# nonblack_box FILE X Y W H: the bounding box "x y w h" (screen coordinates)
# of the pixels inside the region that are not black; nothing when all are.
nonblack_box() {
    convert "$(in_work "$1")" -crop "$4x$5+$2+$3" +repage -depth 8 txt:- |
        awk -F'[,:() ]+' -v ox="$2" -v oy="$3" '
            NR > 1 && ($3 + $4 + $5) > 0 {
                if (n++ == 0) { x0 = x1 = $1; y0 = y1 = $2 }
                if ($1 < x0) x0 = $1; if ($1 > x1) x1 = $1
                if ($2 < y0) y0 = $2; if ($2 > y1) y1 = $2
            }
            END { if (n) print x0 + ox, y0 + oy, x1 - x0 + 1, y1 - y0 + 1 }'
}

# with_held HOLD KEY: KEY pressed while HOLD is down, as a held-key mode takes
# its choice.
with_held() {
    key_down "$1"
    press "$2"
    key_up "$1"
    sleep "$AFTER_KEY"
}

# replace_row TEXT: Shift+BackSpace empties the form's current row, then TEXT
# is typed into it.
replace_row() {
    chord shift+BackSpace
    xdotool type --delay 80 "$1"
    sleep 0.2
}

# row TEXT: replaces the text of the form's current row and moves to the next.
row() {
    replace_row "$1"
    press Return
}

# answer TEXT: replaces the text of the form's current row and accepts the form.
answer() {
    replace_row "$1"
    chord ctrl+Return
}

# expect_block SHOT X Y R,G,B: the colour shown for picture pixel X,Y with the
# lens at the corner and magnification 16.
expect_block() {
    local got
    got=$(picture_pixel "$1" "$2" "$3")
    [ "$got" = "$4" ] || fail "$1: picture pixel $2,$3 shows $got, expected $4"
}

# expect_blocks SHOT R,G,B X,Y...: expect_block for each X,Y.
expect_blocks() {
    local shot=$1 colour=$2 xy
    shift 2
    for xy in "$@"; do expect_block "$shot" "${xy%,*}" "${xy#*,}" "$colour"; done
}

# cfg SECTION KEY: the value of KEY in [SECTION] of $WORK/vell.cfg.
cfg() {
    awk -v s="[$1]" -v k="$2" '
        /^\[/ { in_s = ($0 == s) }
        in_s && $1 == k { sub(/^[^=]*= */, ""); print; exit }' "$WORK/vell.cfg"
}

# expect_cfg SECTION KEY VALUE
expect_cfg() {
    local got
    got=$(cfg "$1" "$2")
    [ "$got" = "$3" ] || fail "vell.cfg [$1] $2 is '$got', expected '$3'"
}

# The start-up lines vell writes before it sets the graphics mode, verbatim.
# shellcheck disable=SC2034  # read by the test scripts
STARTUP_LINES=(
    "allegro_init: worked"
    " install timer"
    " install keyboard"
    " install mouse"
    " Set colour depth: 32"
)

vell_running() {
    [ -n "$VELL_PID" ] || return 1
    if kill -0 "$VELL_PID" 2>/dev/null && ! ps -o stat= -p "$VELL_PID" | grep -q Z; then
        return 0
    fi
    VELL_STATUS=0
    wait "$VELL_PID" || VELL_STATUS=$?
    return 1
}

# wait_vell_exit [seconds]: waits for vell to end and sets VELL_STATUS; kills
# it and fails when it is still running after the timeout.
wait_vell_exit() {
    local limit=${1:-10} i
    for ((i = 0; i < limit * 10; i++)); do
        vell_running || { VELL_PID=""; return 0; }
        sleep 0.1
    done
    kill -9 "$VELL_PID" 2>/dev/null || true
    fail "vell still running ${limit} s after it should have ended (killed)"
}

# quit_vell: Shift+ESC, then vell must end with status 0.
quit_vell() {
    chord shift+Escape
    wait_vell_exit 10
    [ "$VELL_STATUS" = 0 ] || fail "vell ended with status $VELL_STATUS after Shift+ESC"
}

# expect_stdout_line TEXT: some whole line of standard output is TEXT (waits
# a little, since vell may still be writing).
expect_stdout_line() {
    local i
    for i in $(seq 30); do
        grep -Fxq -- "$1" "$WORK/stdout.txt" 2>/dev/null && return 0
        sleep 0.1
    done
    fail "no line '$1' on standard output"
}

# expect_stdout_begins LINE...: standard output starts with exactly these lines.
expect_stdout_begins() {
    local expected actual
    expected=$(printf '%s\n' "$@")
    actual=$(head -n $# "$WORK/stdout.txt")
    [ "$actual" = "$expected" ] ||
        fail "standard output does not begin with the expected $# lines:$(diff <(echo "$expected") <(echo "$actual") || true)"
}

[ -n "$VELL" ] || fail "usage: bash $0 <path of vell>"
[ -x "$VELL" ] || fail "'$VELL' is not an executable"
VELL=$(realpath "$VELL")
require_tools
WORK=$(mktemp -d /tmp/vell-e2e-XXXXXX)
PRIVATE=$(mktemp -d /tmp/vell-e2e-driver-XXXXXX)
start_guard

# Steps of the ending cases:
#   zub_pixel X Y                  # "r,g,b" of layer 0's pixel X,Y in $WORK/Vell.zub
#   close_window                   # the window manager's close request
#   signal_vell SIG                # kill -SIG, then vell must end with status 0
zub_pixel() {
    python3 - "$WORK/Vell.zub" "$1" "$2" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
w = struct.unpack_from("<i", data, 8)[0]
v = struct.unpack_from("<I", data, 20 + 4 * (int(sys.argv[3]) * w + int(sys.argv[2])))[0]
print(f"{v >> 16 & 255},{v >> 8 & 255},{v & 255}")
PY
}

# WM_DELETE_WINDOW in a WM_PROTOCOLS client message, sent as a window
# manager sends it when its close button is clicked.
close_window() {
    python3 - "$VELL_WINDOW" <<'PY'
import ctypes as c, sys
x = c.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = c.c_void_p
x.XInternAtom.restype = c.c_ulong
x.XInternAtom.argtypes = [c.c_void_p, c.c_char_p, c.c_int]
x.XSendEvent.argtypes = [c.c_void_p, c.c_ulong, c.c_int, c.c_long, c.c_void_p]
x.XCloseDisplay.argtypes = [c.c_void_p]
class ClientMessage(c.Structure):
    _fields_ = [("type", c.c_int), ("serial", c.c_ulong), ("send_event", c.c_int),
                ("display", c.c_void_p), ("window", c.c_ulong), ("message_type", c.c_ulong),
                ("format", c.c_int), ("data", c.c_long * 5), ("pad", c.c_long * 16)]
d = x.XOpenDisplay(None)
win = int(sys.argv[1])
ev = ClientMessage(type=33, window=win, format=32,
                   message_type=x.XInternAtom(d, b"WM_PROTOCOLS", 0))
ev.data[0] = x.XInternAtom(d, b"WM_DELETE_WINDOW", 0)
x.XSendEvent(d, win, 0, 0, c.byref(ev))
x.XCloseDisplay(d)
PY
}

signal_vell() {
    kill -s "$1" "$VELL_PID"
    wait_vell_exit 10
    [ "$VELL_STATUS" = 0 ] || fail "vell ended with status $VELL_STATUS after $1"
}
