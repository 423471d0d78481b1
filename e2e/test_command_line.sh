# --help, --version and --keys answer without a display and leave the working
# directory as it was; the man page built beside the program reads without
# warnings.
set -euo pipefail
VELL=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK"
run() { env -u DISPLAY "$VELL" "$@" 2>/dev/null; }

version=$(run --version) || fail "--version exited with $?"
[[ "$version" =~ ^vell\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version printed '$version'"

usage=$(run --help) || fail "--help exited with $?"
for word in "Usage: vell" "-wxh: W H" "-mode: M" "-depth: D" "--help" "--version" "--keys"; do
    grep -qF -- "$word" <<<"$usage" || fail "--help does not mention '$word'"
done

keys=$(run --keys) || fail "--keys exited with $?"
for section in "Plain keys" "Shift" "Ctrl" "Alt" "Ctrl+Shift" "Shift+Alt" "Layer mode (L held)" \
    "One-line editor (every typed field)" "Form (every dialog)"; do
    grep -qxF "### $section" <<<"$keys" || fail "--keys has no section '$section'"
done
grep -qF "| **F1** | show these keys" <<<"$keys" || fail "--keys has no row for F1"
grep -qF "| **Shift+E** | stamp the brush masked" <<<"$keys" || fail "--keys has no row for Shift+E"
# Every table row has its words.
! grep -E '^\| \*\*[^|]*\*\* \|  \|$' <<<"$keys" || fail "--keys has a row without words"

# Another switch after an answer changes nothing: the first answer wins.
[ "$(run --version --keys)" = "$version" ] || fail "--version --keys did not print only the version"
[ -z "$(ls -A)" ] || fail "the answers left files behind: $(ls -A)"

man_page=$(dirname "$VELL")/vell.1
[ -s "$man_page" ] || fail "no man page at $man_page"
warnings=$(groff -ww -man -Tutf8 "$man_page" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "groff warns about the man page: $warnings"
shown=$(MANWIDTH=100 man -l "$man_page" 2>/dev/null) || fail "man -l failed"
grep -qF "vell [picture]" <<<"$shown" || fail "the man page has no synopsis"
grep -qF "stamp the brush masked" <<<"$shown" || fail "the man page has no key reference"
echo "PASS: $(basename "$0")"
