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
for tool in dpkg-deb getcap setpriv Xvfb xdotool xdpyinfo ss; do
    command -v "$tool" >/dev/null || skip "$tool is missing (scripts/install-dependencies.sh installs it)"
done
[[ $(cat /proc/sys/net/ipv4/ip_unprivileged_port_start) -gt 418 ]] || skip "this kernel lets every user bind port 418"
id nobody >/dev/null 2>&1 || skip "no user nobody"
debs=("$dir"/flinthand_*.deb)
[[ ${#debs[@]} -eq 1 && -s ${debs[0]} ]] || fail "not one package in $dir"
listeners() { ss -Hltnp 'sport = :418'; }
[[ -z $(listeners) ]] || fail "port 418 is taken by another program"

work=$(mktemp -d)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"
dpkg-deb -x "${debs[0]}" "$work/root"
dpkg-deb -e "${debs[0]}" "$work/control"
program=$work/root/usr/games/flinthand

# Where setcap cannot grant, the postinst says so and lets dpkg carry on.
DPKG_ROOT=$work/absent sh "$work/control/postinst" configure 2>"$work/refused" \
    || fail "the postinst fails where it cannot grant the capability"
grep -q 'port 418' "$work/refused" || fail "the postinst is silent where it cannot grant the capability"

for n in $(seq 141 199); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] || { display=:$n; break; }
done
[[ -n ${display:-} ]] || fail "no free X display number"
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
export DISPLAY=$display

# Starts the program as nobody, hosts through Alt+N, H and sets "listening"
# once the title says it is the server (it tries to listen first).
host_as_nobody() {
    local home=$work/home-$1 pid window
    mkdir "$home" && chown nobody "$home"
    (cd "$home" && exec env HOME="$home" QT_QPA_PLATFORM=xcb \
        setpriv --reuid=nobody --regid=nogroup --clear-groups "$program" >"$work/$1.log" 2>&1) &
    pid=$!
    pids+=("$pid")
    window=$(timeout 60 xdotool search --sync --onlyvisible --pid "$pid" --name '^Flinthand$' | head -n 1) || true
    [[ -n $window ]] || fail "no window of the unpacked program appeared ($(tail -n 3 "$work/$1.log"))"
    for _ in $(seq 10); do
        xdotool windowfocus --sync "$window" || true
        xdotool key --clearmodifiers Escape alt+n
        sleep 0.5
        xdotool key --clearmodifiers h
        sleep 0.5
        [[ $(xdotool getwindowname "$window") == "Flinthand - Server" ]] && break
    done
    [[ $(xdotool getwindowname "$window") == "Flinthand - Server" ]] || fail "Network > Host a Game did not make it a server"
    listening=no
    if listeners | grep -q "pid=$pid,"; then listening=yes; fi
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}

host_as_nobody without
[[ $listening == no ]] || fail "nobody could host without the capability: the check proves nothing here"

find "$work/root" | sort >"$work/files-before"
DPKG_ROOT=$work/root sh "$work/control/postinst" configure || fail "the postinst failed"
getcap "$program" | grep -q 'cap_net_bind_service=ep' || fail "the postinst did not grant cap_net_bind_service"
find "$work/root" | sort | cmp -s - "$work/files-before" || fail "the postinst left files behind"

host_as_nobody with
[[ $listening == yes ]] || fail "with the capability nobody still cannot host on port 418 ($(tail -n 3 "$work/with.log"))"
echo "as nobody: no port 418 before the postinst; after it $(getcap "$program" | awk '{print $2}') and it listens"
