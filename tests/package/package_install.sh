#!/usr/bin/env bash
# The package's postinst lets every user host. The .deb is unpacked into a
# scratch root, leaving the machine's package database alone; the unpacked
# program, run as nobody on a private X display and made to host through its
# Network menu, must not get port 418 before the postinst ran against that
# root, and must get it after.
#
#   package_install.sh PACKAGE_DIR
set -euo pipefail
dir=${1:?usage: package_install.sh PACKAGE_DIR}
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }
[[ $(id -u) -eq 0 ]] || skip "only root can run the program as another user"
export PATH="$PATH:/usr/sbin:/sbin"
for tool in dpkg-deb getcap setpriv Xvfb xdotool ss; do
    command -v "$tool" >/dev/null || skip "$tool is missing (scripts/install-dependencies.sh installs it)"
done
[[ $(cat /proc/sys/net/ipv4/ip_unprivileged_port_start) -gt 418 ]] || skip "this kernel lets every user bind port 418"
debs=("$dir"/flinthand_*.deb)
[[ ${#debs[@]} -eq 1 && -s ${debs[0]} ]] || fail "not one package in $dir"
listeners() { ss -Hltnp 'sport = :418'; }
[[ -z $(listeners) ]] || fail "port 418 is taken by another program"

work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait; rm -rf "$work"' EXIT
chmod 755 "$work"
dpkg-deb -x "${debs[0]}" "$work/root"
dpkg-deb -e "${debs[0]}" "$work/control"
program=$work/root/usr/games/flinthand

# Where setcap cannot grant, the postinst says so and lets dpkg carry on.
DPKG_ROOT=$work/absent sh "$work/control/postinst" configure 2>"$work/refused" \
    || fail "the postinst fails where it cannot grant the capability"
grep -q 'port 418' "$work/refused" || fail "the postinst is silent where it cannot grant the capability"

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display") QT_QPA_PLATFORM=xcb

# Starts the program as nobody, hosts through Alt+N, H and sets "listening"
# once the title says it is the server (it tries to listen first).
host_as_nobody() {
    local home=$work/home-$1 pid window
    mkdir "$home" && chown nobody "$home"
    (cd "$home" && exec env HOME="$home" setpriv --reuid=nobody --regid=nogroup --clear-groups "$program" >"$work/$1.log" 2>&1) &
    pid=$!
    pids+=("$pid")
    window=$(timeout 60 xdotool search --sync --onlyvisible --pid "$pid" --name '^Flinthand$' | head -n 1) || true
    [[ -n $window ]] || fail "no window of the unpacked program appeared ($(tail -n 3 "$work/$1.log"))"
    for _ in $(seq 10); do
        xdotool windowfocus --sync "$window" key --clearmodifiers Escape alt+n sleep 0.5 key --clearmodifiers h sleep 0.5 || true
        [[ $(xdotool getwindowname "$window") == "Flinthand - Server" ]] && break
    done
    [[ $(xdotool getwindowname "$window") == "Flinthand - Server" ]] || fail "Network > Host a Game did not make it a server"
    listening=no
    if listeners | grep -q "pid=$pid,"; then listening=yes; fi
    kill "$pid"
}

host_as_nobody without
[[ $listening == no ]] || fail "nobody could host without the capability: the check proves nothing here"
DPKG_ROOT=$work/root sh "$work/control/postinst" configure || fail "the postinst failed"
getcap "$program" | grep -q 'cap_net_bind_service=ep' || fail "the postinst did not grant cap_net_bind_service"
host_as_nobody with
[[ $listening == yes ]] || fail "with the capability nobody still cannot host on port 418 ($(tail -n 3 "$work/with.log"))"
echo "as nobody: no port 418 before the postinst; after it $(getcap "$program" | awk '{print $2}') and it listens"
