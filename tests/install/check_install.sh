#!/usr/bin/env bash
# A build installed into a scratch root: the desktop entry and the launcher name
# the paths under the build's own prefix, and root's install grants the capability;
# installed under another prefix, all three follow it.
set -euo pipefail
build=$1 root=$(mktemp -d) other=$(mktemp -d)
trap 'rm -rf "$root" "$other"' EXIT
DESTDIR="$root" cmake --install "$build" >/dev/null
cmake --install "$build" --prefix "$other" >/dev/null
cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
games=$(cached CMAKE_INSTALL_PREFIX)/$(cached FLINTHAND_PROGRAM_DIR) share=$(cached CMAKE_INSTALL_PREFIX)/share
fail() { echo "install: $*" >&2; exit 1; }
[[ -x $root$games/flinthand && -s $root$share/flinthand/Flinthand.htm ]] || fail "no program or help page"
grep -qx "Exec=$games/flinthand-start" "$root$share/applications/io.github.flinthand.Flinthand.desktop" || fail "the entry starts another program"
grep -q "\"$share/flinthand/Flinthand.htm\"" "$root$games/flinthand-start" && grep -q "\"$games/flinthand\"" "$root$games/flinthand-start" \
    || fail "the launcher looks elsewhere"
dir=$(cached FLINTHAND_PROGRAM_DIR)
grep -qx "Exec=$other/$dir/flinthand-start" "$other/share/applications/io.github.flinthand.Flinthand.desktop" \
    && grep -q "\"$other/$dir/flinthand\"" "$other/$dir/flinthand-start" || fail "under --prefix the entry or the launcher looks elsewhere"
if [[ $(id -u) -eq 0 ]] && command -v getcap >/dev/null; then
    [[ $(getcap "$root$games/flinthand" "$other/$dir/flinthand" | grep -c cap_net_bind_service) -eq 2 ]] \
        || fail "installing as root did not grant cap_net_bind_service (under DESTDIR and under another prefix)"
fi
echo "install: program, launcher, help page and desktop entry agree on $games"
