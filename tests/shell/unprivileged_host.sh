#!/usr/bin/env bash
# Hosting on port 418 as a user who is not root: without the capability the
# strip must say it cannot listen; a copy given cap_net_bind_service listens.
#
#   unprivileged_host.sh HOST_PROBE
set -euo pipefail
probe=$(realpath "${1:?usage: unprivileged_host.sh HOST_PROBE}")

export PATH="$PATH:/usr/sbin:/sbin"
skip() { echo "SKIP: $*"; exit 77; }
[[ $(id -u) -eq 0 ]] || skip "only root can run the probe as another user"
command -v setcap >/dev/null && command -v setpriv >/dev/null || skip "setcap or setpriv is missing (packages libcap2-bin, util-linux)"
[[ $(cat /proc/sys/net/ipv4/ip_unprivileged_port_start) -gt 418 ]] || skip "this kernel lets every user bind port 418"
id nobody >/dev/null 2>&1 || skip "no user nobody"
if ss -ltn 2>/dev/null | awk '{print $4}' | grep -Eq '[:.]418$'; then
    echo "FAIL: port 418 is taken by another program" >&2
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
cp "$probe" "$work/flinthand"
host_as_nobody() {
    # A program with file capabilities may not be traced, so no leak check.
    (cd "$work" && env HOME="$work" ASAN_OPTIONS=detect_leaks=0 \
        setpriv --reuid=nobody --regid=nogroup --clear-groups "$work/flinthand" 2>"$work/errors") \
        || { echo "FAIL: the probe did not run as nobody:" >&2; cat "$work/errors" >&2; exit 1; }
}

without=$(host_as_nobody)
expected="Server listening on port 418|Cannot listen on port 418"
[[ $without == "$expected" ]] || { echo "FAIL: without the capability the strip shows '$without', not '$expected'" >&2; exit 1; }

setcap cap_net_bind_service=+ep "$work/flinthand"
with=$(host_as_nobody)
[[ $with == "Server listening on port 418|" ]] || { echo "FAIL: with the capability the strip shows '$with'" >&2; exit 1; }
echo "as nobody: without the capability '$without'; with it '$with'"
