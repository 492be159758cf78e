#!/usr/bin/env bash
# Installs a build into a scratch root and checks that a desktop finds everything.
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

DESTDIR="$root" cmake --install "$build" >/dev/null
cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
prefix=$(cached CMAKE_INSTALL_PREFIX)
programs=$(cached FLINTHAND_PROGRAM_DIR)
base="$root$prefix"
entry="$base/share/applications/io.github.flinthand.Flinthand.desktop"

fail() { echo "install: $*" >&2; exit 1; }
[ -x "$base/$programs/flinthand" ] || fail "no program in $programs/"
[ -x "$base/$programs/flinthand-start" ] || fail "no launcher in $programs/"
[ -s "$base/share/flinthand/Flinthand.htm" ] || fail "no help page"
[ -s "$entry" ] || fail "no desktop entry"
[ -s "$base/share/metainfo/io.github.flinthand.Flinthand.metainfo.xml" ] || fail "no AppStream metainfo"
[ -s "$base/share/man/man6/flinthand.6.gz" ] || fail "no manual page"
for size in 16 32 48 64 128 256; do
    icon="$base/share/icons/hicolor/${size}x${size}/apps/flinthand.png"
    [ -s "$icon" ] || fail "no ${size}px icon"
done
if [[ $(id -u) -eq 0 ]] && command -v getcap >/dev/null; then
    getcap "$base/$programs/flinthand" | grep -q cap_net_bind_service || fail "installing as root did not grant cap_net_bind_service"
fi
grep -qx "Exec=$prefix/$programs/flinthand-start" "$entry" || fail "desktop entry does not start the launcher"
grep -qx 'Icon=flinthand' "$entry" || fail "desktop entry names another icon"
grep -q "\"$prefix/share/flinthand/Flinthand.htm\"" "$base/$programs/flinthand-start" || fail "launcher looks for the help page elsewhere"
grep -q "\"$prefix/$programs/flinthand\"" "$base/$programs/flinthand-start" || fail "launcher starts another program"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry"
fi
echo "install: program, launcher, help page, desktop entry, metainfo, manual page and icons in place under $prefix"
