# `cmake --install` into a temporary prefix, and the .deb `cpack -G DEB` makes
# in the build folder: the files, the program finding its library from any
# folder, the man page, the menu entry, the icon, and a Depends that names
# the package of every library linked. No display is used.
set -Eeuo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
trap 'fail "command failed (line $LINENO): $BASH_COMMAND"' ERR
BUILD=$(dirname "$(realpath "$1")")
TMP=$(realpath "$(mktemp -d /tmp/vell-install-XXXXXX)")
trap 'rm -rf "$TMP"' EXIT
FILES=(bin/vell lib/vell/libvarshim.so share/man/man1/vell.1 share/applications/vell.desktop
    share/icons/hicolor/48x48/apps/vell.png)
# version ROOT: ROOT/bin/vell --version, started from / without a library path.
version() { (cd / && env -u LD_LIBRARY_PATH "$1/bin/vell" --version); }

P=$TMP/prefix
cmake --install "$BUILD" --prefix "$P" >/dev/null
for f in "${FILES[@]}"; do [ -f "$P/$f" ] || fail "not installed: $f"; done
[[ "$(version "$P")" =~ ^vell\ [0-9.]+$ ]] || fail "the installed vell --version printed '$(version "$P")'"
[ -z "$(man -l "$P/share/man/man1/vell.1" 2>&1 >/dev/null)" ] || fail "man -l warns"
[ -z "$(desktop-file-validate "$P/share/applications/vell.desktop" 2>&1)" ] || fail "desktop-file-validate complains"
icon=$(identify -format '%m %wx%h' "$P/share/icons/hicolor/48x48/apps/vell.png")
[ "$icon" = "PNG 48x48" ] || fail "the icon is '$icon', not a 48x48 PNG"

(cd "$BUILD" && cpack -G DEB -B "$TMP/deb") >"$TMP/cpack.log" 2>&1 || fail "cpack: $(tail -n 5 "$TMP/cpack.log")"
deb=$(echo "$TMP"/deb/vell_*.deb)  # exactly one, or dpkg-deb fails below
listing=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
for f in "${FILES[@]}"; do grep -qx "./usr/$f" <<<"$listing" || fail "not packaged: /usr/$f"; done
# One package name a line, versions and alternatives split off.
depends=$(dpkg-deb -f "$deb" Depends | sed -e 's/ ([^)]*)//g' -e 's/ *[,|] */\n/g')
binaries=("$P/bin/vell" "$P/lib/vell/libvarshim.so")
for needed in $(readelf -d "${binaries[@]}" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | grep -vx libvarshim.so); do
    path=$(ldd "${binaries[@]}" | awk -v n="$needed" '$1 == n && !seen++ { print $3 }')
    owner=$({ dpkg -S "$path" || dpkg -S "$(realpath "$path")"; } 2>/dev/null | head -n 1 | cut -d: -f1)
    grep -Fqx "$owner" <<<"$depends" || fail "Depends lacks '$owner', which holds $needed"
done
dpkg-deb -x "$deb" "$TMP/root"
[ "$(version "$TMP/root/usr")" = "vell $(dpkg-deb -f "$deb" Version)" ] || fail "the packaged vell --version differs"
echo "PASS: $(basename "$0")"
