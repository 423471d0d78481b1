# Installing: `cmake --install` into a temporary prefix gives a program that
# finds its library from any folder, a man page, a valid menu entry and an
# icon; `cpack -G DEB` in the build folder packs the same files and names
# the packages of the libraries they need. No display is used.
set -Eeuo pipefail

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
trap 'fail "command failed (line $LINENO): $BASH_COMMAND"' ERR

[ -x "${1:-}" ] || fail "usage: bash $0 <path of vell>"
BUILD=$(dirname "$(realpath "$1")")
TMP=$(mktemp -d /tmp/vell-install-XXXXXX)
TMP=$(realpath "$TMP")
trap 'rm -rf "$TMP"' EXIT

FILES=(bin/vell lib/vell/libvarshim.so share/man/man1/vell.1 share/applications/vell.desktop
    share/icons/hicolor/48x48/apps/vell.png)

# run_vell ROOT ARGS: the program under ROOT started from / without a
# library path, as a user would start it from anywhere.
run_vell() {
    local root=$1
    shift
    (cd / && env -u LD_LIBRARY_PATH "$root/bin/vell" "$@")
}

# expect_own_library ROOT: ROOT/bin/vell loads ROOT/lib/vell/libvarshim.so.
expect_own_library() {
    local loaded
    loaded=$(cd / && env -u LD_LIBRARY_PATH ldd "$1/bin/vell" | awk '$1 == "libvarshim.so" { print $3 }')
    [ -n "$loaded" ] && [ "$(realpath "$loaded")" = "$1/lib/vell/libvarshim.so" ] ||
        fail "$1/bin/vell finds libvarshim.so at '$loaded'"
}

# --- cmake --install ---
P=$TMP/prefix
cmake --install "$BUILD" --prefix "$P" >"$TMP/install.log"
for f in "${FILES[@]}"; do [ -f "$P/$f" ] || fail "cmake --install left out $f"; done
expect_own_library "$P"
version=$(run_vell "$P" --version) || fail "the installed vell --version failed"
[[ "$version" =~ ^vell\ [0-9]+(\.[0-9]+)*$ ]] || fail "the installed vell --version printed '$version'"
man_warnings=$(MANWIDTH=80 man -l "$P/share/man/man1/vell.1" 2>&1 >"$TMP/man.txt")
[ -z "$man_warnings" ] || fail "man -l warns: $man_warnings"
grep -qi vell "$TMP/man.txt" || fail "man -l shows no page about vell"
checked=$(desktop-file-validate "$P/share/applications/vell.desktop" 2>&1) || fail "desktop-file-validate: $checked"
[ -z "$checked" ] || fail "desktop-file-validate: $checked"
icon=$(identify -format '%m %wx%h' "$P/share/icons/hicolor/48x48/apps/vell.png")
[ "$icon" = "PNG 48x48" ] || fail "the icon is '$icon', not a 48x48 PNG"

# --- cpack -G DEB ---
(cd "$BUILD" && cpack -G DEB -B "$TMP/deb") >"$TMP/cpack.log" 2>&1 ||
    fail "cpack -G DEB failed: $(tail -n 5 "$TMP/cpack.log")"
debs=("$TMP"/deb/vell_*.deb)
[ "${#debs[@]}" = 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single vell_*.deb: ${debs[*]}"
deb=${debs[0]}
listing=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
for f in "${FILES[@]}"; do grep -qx "./usr/$f" <<<"$listing" || fail "the package lacks /usr/$f"; done

# Every library the program and libvarshim.so link against directly comes
# from a package that Depends names.
depends=$(dpkg-deb -f "$deb" Depends)
# One package name a line, versions and alternatives split off.
depends_names=$(sed -e 's/ ([^)]*)//g' -e 's/ *[,|] */\n/g' <<<"$depends")
for binary in "$P/bin/vell" "$P/lib/vell/libvarshim.so"; do
    for needed in $(readelf -d "$binary" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
        [ "$needed" != libvarshim.so ] || continue
        path=$(ldd "$binary" | awk -v n="$needed" '$1 == n { print $3 }')
        [ -n "$path" ] || fail "$needed of $binary is not found"
        owner=$(dpkg -S "$(realpath "$path")" 2>/dev/null | head -n 1 | cut -d: -f1) ||
            owner=$(dpkg -S "$path" | head -n 1 | cut -d: -f1)
        grep -Fqx "$owner" <<<"$depends_names" || fail "Depends ($depends) lacks $owner, which holds $needed"
    done
done

# Unpacked anywhere, the packaged program runs and reports the package's version.
dpkg-deb -x "$deb" "$TMP/root"
expect_own_library "$TMP/root/usr"
[ "$(run_vell "$TMP/root/usr" --version)" = "vell $(dpkg-deb -f "$deb" Version)" ] ||
    fail "the packaged vell --version does not give the package's version $(dpkg-deb -f "$deb" Version)"
echo "PASS: $(basename "$0")"
