#!/usr/bin/env bash
# The .deb a player installs: lintian finds no error, everything a desktop
# needs is where Debian puts a game, and the validators accept the desktop
# entry and the AppStream data as packaged.
#
#   package_contents.sh PACKAGE_DIR
set -euo pipefail
dir=${1:?usage: package_contents.sh PACKAGE_DIR}
id=io.github.flinthand.Flinthand

skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in dpkg-deb lintian desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || skip "$tool is missing (scripts/install-dependencies.sh installs it)"
done
debs=("$dir"/flinthand_*.deb)
[[ ${#debs[@]} -eq 1 && -s ${debs[0]} ]] || fail "not one package in $dir"
deb=${debs[0]}

# Warnings are printed for a person to weigh; an error fails.
status=0
tags=$(lintian "$deb" 2>&1) || status=$?
echo "lintian: ${tags:-no tags}"
[[ $status -eq 0 ]] || fail "lintian exited with $status"

[[ $(dpkg-deb -f "$deb" Section) == games ]] || fail "section is not games"
[[ $(dpkg-deb -f "$deb" Priority) == optional ]] || fail "priority is not optional"
depends=$(dpkg-deb -f "$deb" Depends)
for package in fonts-liberation libcap2-bin libqt6widgets6; do
    [[ $depends == *"$package"* ]] || fail "does not depend on $package: $depends"
done

listing=$(dpkg-deb --contents "$deb" | awk '{print $6}')
paths=(usr/games/flinthand usr/games/flinthand-start usr/share/flinthand/Flinthand.htm
       "usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml"
       usr/share/man/man6/flinthand.6.gz usr/share/doc/flinthand/copyright)
for size in 16 32 48 64 128 256; do
    paths+=("usr/share/icons/hicolor/${size}x${size}/apps/flinthand.png")
done
for path in "${paths[@]}"; do
    grep -qx "./$path" <<<"$listing" || fail "$path is not in the package"
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop-file-validate rejects the entry"
grep -qx 'Categories=Game;CardGame;' "$root/usr/share/applications/$id.desktop" || fail "the entry is not in the Games menu"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" || fail "appstreamcli rejects the metainfo"
# The entry starts the packaged launcher, which runs the packaged program and help page.
launcher=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/$id.desktop")
[[ $launcher == /usr/games/flinthand-start ]] || fail "the desktop entry starts '$launcher'"
for target in /usr/games/flinthand /usr/share/flinthand/Flinthand.htm; do
    grep -qF "\"$target\"" "$root$launcher" || fail "the launcher does not use $target"
done
echo "package: $(basename "$deb"), ${#paths[@]} files checked, no lintian error"
