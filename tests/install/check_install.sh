#!/usr/bin/env bash
# Installs a build into a scratch root: the desktop entry and the launcher must
# name the installed paths under the build's own prefix, and root's install
# grants the capability. Which files a desktop needs is the package test's job.
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR="$root" cmake --install "$build" >/dev/null
cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
prefix=$(cached CMAKE_INSTALL_PREFIX)
programs=$(cached FLINTHAND_PROGRAM_DIR)
launcher="$root$prefix/$programs/flinthand-start"
fail() { echo "install: $*" >&2; exit 1; }
[ -x "$root$prefix/$programs/flinthand" ] && [ -x "$launcher" ] || fail "no program or launcher in $programs/"
if [[ $(id -u) -eq 0 ]] && command -v getcap >/dev/null; then
    getcap "$root$prefix/$programs/flinthand" | grep -q cap_net_bind_service || fail "installing as root did not grant cap_net_bind_service"
fi
grep -qx "Exec=$prefix/$programs/flinthand-start" "$root$prefix/share/applications/io.github.flinthand.Flinthand.desktop" \
    || fail "desktop entry does not start the launcher"
grep -q "\"$prefix/share/flinthand/Flinthand.htm\"" "$launcher" || fail "launcher looks for the help page elsewhere"
grep -q "\"$prefix/$programs/flinthand\"" "$launcher" || fail "launcher starts another program"
[ -s "$root$prefix/share/flinthand/Flinthand.htm" ] || fail "no help page"
echo "install: program, launcher, help page and desktop entry agree on $prefix"
