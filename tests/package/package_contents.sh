#!/usr/bin/env bash
# The .deb a player installs: lintian finds no error, everything a desktop
# needs is where Debian puts a game, and the validators accept the desktop
# entry and the AppStream data as packaged.
#
#   package_contents.sh PACKAGE_DIR
set -euo pipefail
dir=${1:?usage: package_contents.sh PACKAGE_DIR}
id=io.github.flinthand.Flinthand
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in dpkg-deb lintian desktop-file-validate appstreamcli; do command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }; done
debs=("$dir"/flinthand_*.deb)
[[ ${#debs[@]} -eq 1 && -s ${debs[0]} ]] || fail "not one package in $dir"
deb=${debs[0]}
lintian "$deb" || fail "lintian found an error"  # warnings are printed for a person to weigh
[[ $(dpkg-deb -f "$deb" Section) == games && $(dpkg-deb -f "$deb" Depends) == *libcap2-bin* ]] \
    || fail "not in games, or no dependency on libcap2-bin, which the postinst uses"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
for path in usr/games/flinthand usr/games/flinthand-start usr/share/flinthand/Flinthand.htm usr/share/metainfo/$id.metainfo.xml \
    usr/share/man/man6/flinthand.6.gz usr/share/doc/flinthand/copyright usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/flinthand.png; do
    [[ -s $root/$path ]] || fail "$path is not in the package"
done
entry=$root/usr/share/applications/$id.desktop
desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
# The install test sees only the default program folder, bin; a path built without the package's games shows here.
grep -qx 'Exec=/usr/games/flinthand-start' "$entry" && grep -qF '"/usr/games/flinthand"' "$root/usr/games/flinthand-start" \
    || fail "the entry or the launcher looks for the program outside /usr/games"
grep -qx 'Categories=Game;CardGame;' "$entry" && grep -qx 'Icon=flinthand' "$entry" || fail "the entry is not in the Games menu, or names another icon"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" || fail "appstreamcli rejects the metainfo"
echo "package: $(basename "$deb") holds what a desktop needs; lintian found no error"
