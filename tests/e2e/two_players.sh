#!/usr/bin/env bash
# Two players on one machine, as the .deb installs the game: unpacked into a
# scratch root (the package database is left alone), run as nobody on a
# private X display and driven only through keys, menus and the join dialog.
# Before the postinst, nobody cannot get port 418 and stays no host; after it, one copy hosts
# there, the other joins, both press ready and both tables show the deal.
#
#   two_players.sh PACKAGE_DIR [SCREENSHOT_DIR]
set -euo pipefail
dir=${1:?usage: two_players.sh PACKAGE_DIR [SCREENSHOT_DIR]}
shots=${2:-$(mktemp -d)}
skip() { echo "SKIP: $*"; exit 77; }
[[ $(id -u) -eq 0 ]] || skip "only root can run the program as another user"
export PATH="$PATH:/usr/sbin:/sbin"
for tool in dpkg-deb getcap setpriv Xvfb xdotool ss import convert; do command -v "$tool" >/dev/null || skip "$tool is missing"; done
[[ $(cat /proc/sys/net/ipv4/ip_unprivileged_port_start) -gt 418 ]] || skip "this kernel lets every user bind port 418"
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*; screenshots in $shots" >&2; tail -n 5 "$work"/*.log >&2 || true; exit 1; }
debs=("$dir"/flinthand_*.deb)
[[ ${#debs[@]} -eq 1 && -s ${debs[0]} ]] || fail "not one package in $dir"
listeners() { ss -Hltnp 'sport = :418'; }
[[ -z $(listeners) ]] || fail "port 418 is taken by another program"
mkdir -p "$shots" && chmod 755 "$work" && dpkg-deb -x "${debs[0]}" "$work/root" && dpkg-deb -e "${debs[0]}" "$work/control"

# Where setcap cannot grant, the postinst says so and lets dpkg carry on.
DPKG_ROOT=$work/absent sh "$work/control/postinst" configure 2>"$work/postinst.err" || fail "the postinst fails where it cannot grant"
grep -q 'port 418' "$work/postinst.err" || fail "the postinst is silent where it cannot grant the capability"

until_ok() { for _ in $(seq 50); do "$@" >/dev/null 2>&1 && return 0; sleep 0.2; done; return 1; }
# Without -noreset the server resets when its last client quits, and a copy starting then cannot connect.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
pids+=($!)
until_ok test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=:$(cat "$work/display") QT_QPA_PLATFORM=xcb

# start NAME: the program as nobody, in a home of its own; sets pid and window.
start() {
    mkdir -p "$work/$1" && chown nobody "$work/$1"
    (cd "$work/$1" && exec env HOME="$work/$1" setpriv --reuid=nobody --regid=nogroup --clear-groups \
        "$work/root/usr/games/flinthand" >"$work/$1.log" 2>&1) &
    pid=$!
    pids+=("$pid")
    until_ok window_of "$pid" '^Flinthand$' || fail "no window of $1"
    window=$(window_of "$pid" '^Flinthand$')
}
window_of() { xdotool search --all --onlyvisible --pid "$1" --name "$2" | head -n 1 | grep .; }
title_is() { [[ $(xdotool getwindowname "$1") == "$2" ]]; }
# Alt+N opens the Network menu, a letter picks an item; a copy still starting may miss keys.
pick() { for _ in 1 2 3; do xdotool windowfocus --sync "$1" key --clearmodifiers Escape alt+n "$2"; until_ok "${@:3}" && return 0; done; return 1; }
host() { pick "$window" h title_is "$window" "Flinthand - Server" || fail "Host a Game did not make $1 a server"; }

# Without the capability hosting fails: the copy stays no server and says so in red on the strip's second line.
refused() {
    import -window "$window" "$shots/before.png" || return 1
    (($(convert "$shots/before.png" -gravity SouthEast -crop 230x15+0+0 +repage txt:- | grep -ci '#FF0000') > 0))
}
start before
pick "$window" h refused || fail "hosting without the capability did not say so"
title_is "$window" "Flinthand" || fail "a copy that could not listen became a server"
! listeners | grep -q "pid=$pid," || fail "nobody could host without the capability: the check proves nothing here"
kill "$pid" && wait "$pid" || true
DPKG_ROOT=$work/root sh "$work/control/postinst" configure || fail "the postinst failed"
getcap "$work/root/usr/games/flinthand" | grep -q 'cap_net_bind_service=ep' || fail "the postinst did not grant cap_net_bind_service"
start host && host host
host_pid=$pid host_window=$window
until_ok eval 'listeners | grep -q "pid=$host_pid,"' || fail "with the capability nobody still cannot host on port 418"
start client
xdotool windowmove "$window" 560 0
pick "$window" j window_of "$pid" '^Client Connect Options$' || fail "Join a Game did not open the dialog"
dialog=$(window_of "$pid" '^Client Connect Options$')
xdotool windowfocus --sync "$dialog" type 127.0.0.1
xdotool mousemove --sync --window "$dialog" 93 80 click 1  # "Connect to Server.."
until_ok title_is "$window" "Flinthand - Client" || fail "the second copy did not join"
ss -tnp state established '( sport = :418 )' | grep -q "pid=$host_pid," || fail "the host holds no connection on port 418"

# Space presses the ready button; the server deals once both countdowns are over.
for w in "$host_window" "$window"; do xdotool windowfocus --sync "$w" key space; done
# A card on a centre pile shows more colours than cloth and countdown text.
dealt() {
    import -window "$1" "$shots/$2-dealt.png" || return 1
    for x in 150 245; do (($(convert "$shots/$2-dealt.png" -crop 60x50+$x+180 +repage -format %k info:) > 2)) || return 1; done
}
until_ok dealt "$host_window" host && until_ok dealt "$window" client || fail "the tables were not dealt"
echo "PASS: nobody hosted on port 418 only after the postinst, the other copy joined, both tables dealt; screenshots in $shots"
