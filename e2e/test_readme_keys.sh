# The README's key reference is what `vell --keys` prints.
set -euo pipefail
bash "$(dirname "$0")/../scripts/update-readme-keys.sh" --check "$1"
echo "PASS: $(basename "$0")"
