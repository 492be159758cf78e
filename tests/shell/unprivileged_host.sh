#!/usr/bin/env bash
# Hosting on port 418 as nobody: without the capability line 1 still says
# listening and the red text says it cannot; with cap_net_bind_service no red.
#   unprivileged_host.sh HOST_PROBE
set -euo pipefail
export PATH="$PATH:/usr/sbin:/sbin"
[[ $(id -u) -eq 0 ]] && command -v setcap >/dev/null && command -v setpriv >/dev/null || { echo "SKIP: needs root, setcap and setpriv"; exit 77; }
[[ $(cat /proc/sys/net/ipv4/ip_unprivileged_port_start) -gt 418 ]] || { echo "SKIP: every user may bind port 418"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
cp "$(realpath "${1:?usage: unprivileged_host.sh HOST_PROBE}")" "$work/flinthand"
# A program with file capabilities may not be traced, so no leak check.
as_nobody() { cd "$work" && HOME=$work ASAN_OPTIONS=detect_leaks=0 setpriv --reuid=nobody --regid=nogroup --clear-groups ./flinthand; }
without=$(as_nobody)
[[ $without == "Server listening on port 418|Cannot listen on port 418" ]] || { echo "FAIL: without the capability: '$without'" >&2; exit 1; }
setcap cap_net_bind_service=+ep "$work/flinthand"
with=$(as_nobody)
[[ $with == "Server listening on port 418|" ]] || { echo "FAIL: with the capability: '$with'" >&2; exit 1; }
