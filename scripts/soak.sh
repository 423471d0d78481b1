#!/usr/bin/env bash
# Presses random keys and chords into the real editor for a while, then
# quits with Shift+ESC and checks that the document it saved reads back.
# Forms get random answers (a short word or a number of at most 256, so no
# canvas grows past 256 x 256), Enter or Esc, as they come. Run on the
# sanitizer build, any report of AddressSanitizer or UndefinedBehaviorSanitizer
# fails the soak.
#   scripts/soak.sh VELL [SECONDS] [SEED]     (default 60 s, a random seed)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
SECONDS_WANTED=${2:-60}
SEED=${3:-$((RANDOM * 32768 + RANDOM))}
KEY_HOLD=0.06
AFTER_KEY=0.03
source "$ROOT/e2e/driver.sh" "$1"
RANDOM=$SEED
# Leaks of the X libraries at exit are not the editor's; everything else is
# reported and ends the process with an error.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1

PLAIN=(a b c d e f g h i j k l m n o p q r s t u v w x y z 0 1 2 3 4 5 6 7 8 9
    Left Right Up Down space Return BackSpace Delete Home End Prior Next Tab Escape
    bracketleft bracketright comma period minus equal apostrophe semicolon slash
    KP_0 KP_1 KP_2 KP_5 KP_9 F1 F2 F3)
MODIFIERS=("" "" "" shift ctrl alt ctrl+shift shift+alt)
WORDS=(a x.bmp y.png s.tga f.pcx p.gpl q.hex anim frame 0 1 2 8 16 64 255 256)

# One xdotool run per chord: starting xdotool costs more than the chord.
tap() {
    local keys downs=() ups=() i
    IFS=+ read -r -a keys <<<"$1"
    for i in "${keys[@]}"; do downs+=(keydown "$i"); done
    for ((i = ${#keys[@]} - 1; i >= 0; i--)); do ups+=(keyup "${keys[i]}"); done
    xdotool "${downs[@]}" sleep "$KEY_HOLD" "${ups[@]}" sleep "$AFTER_KEY"
}

pick() { local -n list=$1; echo "${list[RANDOM % ${#list[@]}]}"; }

presses=0
one_step() {
    local mods key
    case $((RANDOM % 12)) in
        0) xdotool type --delay 20 "$(pick WORDS)" ;;
        # A form or question left open soon, so most keys reach the picture.
        1) tap Return ;;
        2) tap Escape ;;
        3)  # a held-key mode: one key held while others are pressed
            key=$(pick PLAIN)
            key_down "$key"
            for ((i = RANDOM % 3; i >= 0; i--)); do tap "$(pick PLAIN)"; done
            key_up "$key" ;;
        *)
            mods=$(pick MODIFIERS)
            key=$(pick PLAIN)
            # Shift with ESC is the quit, kept for the end.
            if [[ $key = Escape && $mods = *shift* ]]; then mods=""; fi
            tap "${mods:+$mods+}$key" ;;
    esac
    presses=$((presses + 1))
}

release_all() {
    xdotool keyup shift ctrl alt Escape Tab 2>/dev/null || true
}

start_vell
end=$((SECONDS + SECONDS_WANTED))
while ((SECONDS < end)); do
    one_step
    ((presses % 20)) || vell_running || fail "the editor ended during the soak (status $VELL_STATUS, seed $SEED)"
done

# Out of any form, question or mode, then quit.
release_all
for key in Escape n Escape n Escape; do press "$key"; done
# The teleport editor is left only by its own key (which also enters it);
# a quit whose save failed asks for a second Shift+ESC.
for leave in "" apostrophe apostrophe; do
    [ -z "$leave" ] || press "$leave"
    chord shift+Escape
    sleep 1
    vell_running || break
done
wait_vell_exit 60
[ "$VELL_STATUS" = 0 ] || fail "the editor ended with status $VELL_STATUS (seed $SEED)"
! grep -q -e "ERROR: AddressSanitizer" -e "runtime error:" "$WORK/stderr.txt" ||
    fail "a sanitizer report (seed $SEED): $(grep -m1 -e ERROR -e 'runtime error' "$WORK/stderr.txt")"
[ -s "$WORK/Vell.zub" ] || fail "no Vell.zub after the quit (seed $SEED)"

mv "$WORK/stdout.txt" "$WORK/soak-stdout.txt"
start_vell
! grep -e "was not loaded" -e "can't be opened" -e "was moved to" "$WORK/stdout.txt" ||
    fail "the soaked Vell.zub does not read (seed $SEED)"
quit_vell
echo "soak: $presses key steps in $SECONDS_WANTED s (seed $SEED), no sanitizer report, Vell.zub read back"
