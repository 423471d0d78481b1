#!/usr/bin/env bash
# Rewrites the README's key reference, the part between the two marker lines,
# from what `vell --keys` prints. With --check it changes nothing and fails
# when the README no longer matches.
#   scripts/update-readme-keys.sh [--check] [path of vell, default build/vell]
set -euo pipefail
cd "$(dirname "$0")/.."

check=0
if [ "${1:-}" = "--check" ]; then
    check=1
    shift
fi
vell=${1:-build/vell}
readme=README.md
begin='<!-- keys: made by scripts/update-readme-keys.sh from `vell --keys` -->'
end='<!-- end of keys -->'

first=$(grep -nxF -- "$begin" "$readme" | cut -d: -f1)
last=$(grep -nxF -- "$end" "$readme" | cut -d: -f1)
if [ "$(wc -w <<<"$first")" != 1 ] || [ "$(wc -w <<<"$last")" != 1 ] || [ "$first" -ge "$last" ]; then
    echo "$readme needs one line '$begin' and, after it, one line '$end'" >&2
    exit 1
fi

keys=$("$vell" --keys)
new=$(mktemp)
trap 'rm -f "$new"' EXIT
{
    head -n "$first" "$readme"
    echo
    printf '%s\n' "$keys"
    echo
    tail -n "+$last" "$readme"
} >"$new"

if [ "$check" = 1 ]; then
    if ! diff -u "$readme" "$new"; then
        echo "The key reference in $readme differs from \`vell --keys\`: run scripts/update-readme-keys.sh" >&2
        exit 1
    fi
    exit 0
fi
cat "$new" >"$readme"
