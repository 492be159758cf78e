#!/usr/bin/env bash
# Two copies of the real program on a private X display, driven only through
# keys, menus and the join dialog: one hosts on port 418, the other joins it,
# both press ready, and both tables must show the dealt cards.
#   two_windows.sh FLINTHAND [SCREENSHOT_DIR]
set -euo pipefail
program=$(realpath "${1:?usage: two_windows.sh FLINTHAND [SCREENSHOT_DIR]}")
shots=${2:-$(mktemp -d)}
mkdir -p "$shots"
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*; screenshots in $shots" >&2; tail -n 5 "$work"/*.log >&2 || true; exit 1; }
if [[ $(id -u) -ne 0 && $(cat /proc/sys/net/ipv4/ip_unprivileged_port_start) -gt 418 ]] && ! getcap "$program" | grep -q cap_net_bind_service; then
    echo "SKIP: hosting on port 418 needs root or cap_net_bind_service"
    exit 77
fi
until_ok() { for _ in $(seq 50); do "$@" >/dev/null 2>&1 && return 0; sleep 0.2; done; return 1; }

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
until_ok test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=:$(cat "$work/display") QT_QPA_PLATFORM=xcb ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
for copy in host client; do
    mkdir "$work/$copy"
    (cd "$work/$copy" && exec "$program" >"$work/$copy.log" 2>&1) &
    pids+=($!)
done
host_pid=${pids[1]} client_pid=${pids[2]}
window_of() { xdotool search --all --onlyvisible --pid "$1" --name "$2" | head -n 1 | grep .; }
title_is() { [[ $(xdotool getwindowname "$1") == "$2" ]]; }
until_ok window_of "$host_pid" '^Flinthand$' && until_ok window_of "$client_pid" '^Flinthand$' || fail "no main windows"
host=$(window_of "$host_pid" '^Flinthand$') client=$(window_of "$client_pid" '^Flinthand$')
xdotool windowmove "$client" 560 0
# Alt+N opens the Network menu, a letter picks an item; a copy still starting may miss keys, so up to three tries.
pick() { for _ in 1 2 3; do xdotool windowfocus --sync "$1" key --clearmodifiers Escape alt+n "$2"; until_ok "${@:3}" && return 0; done; return 1; }

pick "$host" h title_is "$host" "Flinthand - Server" || fail "Host a Game did not make the first copy a server"
pick "$client" j window_of "$client_pid" '^Client Connect Options$' || fail "Join a Game did not open the dialog"
dialog=$(window_of "$client_pid" '^Client Connect Options$')
xdotool windowfocus --sync "$dialog" type 127.0.0.1
xdotool mousemove --sync --window "$dialog" 93 80 click 1  # "Connect to Server.."
until_ok title_is "$client" "Flinthand - Client" || fail "the second copy did not join"
ss -tnp state established '( sport = :418 )' | grep -q "pid=$host_pid," || fail "the host holds no connection on port 418"

# Space presses the ready button; the server deals once both countdowns are over.
for window in "$host" "$client"; do xdotool windowfocus --sync "$window" key space; done
# A card on a centre pile shows more colours than cloth and countdown text.
dealt() {
    import -window "$1" "$shots/$2-dealt.png" || return 1
    for x in 150 245; do (($(convert "$shots/$2-dealt.png" -crop 60x50+$x+180 +repage -format %k info:) > 2)) || return 1; done
}
until_ok dealt "$host" host && until_ok dealt "$client" client || fail "the tables were not dealt"
echo "PASS: hosted, joined over port 418 and dealt on both tables; screenshots in $shots"
