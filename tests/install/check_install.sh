#!/usr/bin/env bash
# Installs a build into a scratch root and checks that a desktop finds everything.
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

DESTDIR="$root" cmake --install "$build" >/dev/null
prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
base="$root$prefix"

fail() { echo "install: $*" >&2; exit 1; }
[ -x "$base/bin/flinthand" ] || fail "no program in bin/"
[ -x "$base/bin/flinthand-start" ] || fail "no launcher in bin/"
[ -s "$base/share/flinthand/Flinthand.htm" ] || fail "no help page"
[ -s "$base/share/applications/flinthand.desktop" ] || fail "no desktop entry"
for size in 16 32; do
    icon="$base/share/icons/hicolor/${size}x${size}/apps/flinthand.png"
    [ -s "$icon" ] || fail "no ${size}px icon"
done
if [[ $(id -u) -eq 0 ]] && command -v getcap >/dev/null; then
    getcap "$base/bin/flinthand" | grep -q cap_net_bind_service || fail "installing as root did not grant cap_net_bind_service"
fi
grep -qx 'Exec=flinthand-start' "$base/share/applications/flinthand.desktop" || fail "desktop entry does not start the launcher"
grep -qx 'Icon=flinthand' "$base/share/applications/flinthand.desktop" || fail "desktop entry names another icon"
grep -q "$prefix/share/flinthand/Flinthand.htm" "$base/bin/flinthand-start" || fail "launcher looks for the help page elsewhere"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$base/share/applications/flinthand.desktop"
fi
echo "install: program, launcher, help page, desktop entry and icons in place under $prefix"
