#!/usr/bin/env python3
"""Peers that try to crash, swell or hold a hosting copy, and what it costs the host.

Starts the given program under Xvfb, has it host on port 418 and plays one peer
against it: a ping flood that reads the echoes or never does (host memory growth,
how long newcomers wait meanwhile), fast joins and leaves (boxes left open), or a
peer in its own network namespace whose packets are then dropped both ways (time
until the host shows its "disconnected" box), between hands or in one.
Needs root (the port, the namespace), Xvfb, xdotool and iproute2. Not run by CI:

    tools/hostile_peer.py build/release/flinthand flood-read flood-unread churn vanish vanish-in-hand
"""

import argparse
import os
import socket
import subprocess
import sys
import tempfile
import threading
import time

PORT = 418
PING = b"\xd1\x00"  # the host echoes a client's ping
READY, DEAL = b"\xcd", 0xC8


def until(done, seconds, step=0.05):
    end = time.monotonic() + seconds
    while not (result := done()) and time.monotonic() < end:
        time.sleep(step)
    return result


class Host:
    def __init__(self, program, display):
        self.env = dict(os.environ, DISPLAY=display)
        self.xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1024x768x24"], stderr=subprocess.DEVNULL)
        until(lambda: os.path.exists("/tmp/.X11-unix/X" + display[1:]), 10)
        self.game = subprocess.Popen([os.path.abspath(program)], cwd=tempfile.mkdtemp(), env=self.env, stderr=subprocess.DEVNULL)
        self.window = until(lambda: self.windows("^Flinthand"), 20)[0]
        self.xdotool("windowfocus", "--sync", self.window, "key", "--clearmodifiers", "alt+n", "h")
        sockets = lambda: subprocess.run(["ss", "-ltnpH"], capture_output=True, text=True).stdout.splitlines()
        if not until(lambda: any(f":{PORT} " in line and f"pid={self.game.pid}," in line for line in sockets()), 10):
            sys.exit("the program does not host on port 418")

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], capture_output=True, text=True, env=self.env).stdout.strip()

    def rss_mib(self):
        with open(f"/proc/{self.game.pid}/status") as status:
            return next(int(line.split()[1]) for line in status if line.startswith("VmRSS")) / 1024

    def windows(self, title):
        return self.xdotool("search", "--all", "--onlyvisible", "--pid", str(self.game.pid), "--name", title).split()

    def press_ready(self):
        self.xdotool("windowfocus", "--sync", self.window, "key", "space")

    def stop(self):
        for process in (self.game, self.xvfb):
            process.terminate()
            process.wait()


def newcomer(address="127.0.0.1"):
    """Seconds until a newcomer is turned away or seated (its ping echoed)."""
    start = time.monotonic()
    with socket.create_connection((address, PORT), timeout=60) as peer:
        peer.sendall(PING)
        try:
            peer.recv(2)
        except OSError:
            pass
    return time.monotonic() - start


def flood(host, seconds, read):
    """Pings as fast as the host takes them; a newcomer every second meanwhile."""
    stream, offset, sent, drops, waits, peak = PING * 4096, 0, 0, 0, [], host.rss_mib()
    start = peak
    peer = None
    end = time.monotonic() + seconds
    probe_at = time.monotonic() + 1
    while time.monotonic() < end:
        if peer is None:
            peer = socket.socket()
            if not read:
                peer.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 1)
            peer.connect(("127.0.0.1", PORT))
            peer.settimeout(0.05)
        try:
            count = peer.send(stream[offset:])
            offset, sent = (offset + count) % len(stream), sent + count
            if read:
                peer.recv(1 << 16)
        except (BlockingIOError, socket.timeout):
            pass
        except OSError:
            peer.close()
            peer, offset, drops = None, 0, drops + 1
        if time.monotonic() >= probe_at:
            probe_at += 1
            threading.Thread(target=lambda: waits.append(newcomer()), daemon=True).start()
        peak = max(peak, host.rss_mib())
    until(lambda: len(waits) >= seconds - 1, 30)
    print(f"  {sent // 2} pings sent; RSS {start:.1f} MiB -> peak {peak:.1f} MiB (+{peak - start:.1f});"
          f" flooder dropped {drops} times; {len(waits)} newcomers waited at most {max(waits):.3f} s,"
          f" median {sorted(waits)[len(waits) // 2]:.3f} s")


def churn(host, cycles):
    seated = 0
    for _ in range(cycles):
        with socket.create_connection(("127.0.0.1", PORT)) as peer:
            peer.sendall(PING)
            try:
                seated += peer.recv(2) == PING
            except OSError:
                pass
    until(lambda: host.windows("^Error$"), 5)
    print(f"  {cycles} joins and leaves, {seated} seated; host running: {host.game.poll() is None};"
          f" visible 'Error' boxes: {len(host.windows('^Error$'))}")


def vanish(host, in_hand):
    """A peer in its own namespace, seated (and dealt a hand), then its packets dropped both ways."""
    ns, ours, theirs = "fhpeer", "fhhost0", "fhpeer0"
    setup = [f"ip netns add {ns}", f"ip link add {ours} type veth peer name {theirs}", f"ip link set {theirs} netns {ns}",
             f"ip addr add 10.77.0.1/24 dev {ours}", f"ip link set {ours} up",
             f"ip -n {ns} addr add 10.77.0.2/24 dev {theirs}", f"ip -n {ns} link set {theirs} up"]
    peer = None
    try:
        for command in setup:
            subprocess.run(command.split(), check=True)
        peer = subprocess.Popen(["ip", "netns", "exec", ns, sys.executable, __file__, "--peer", "10.77.0.1"]
                                + (["--ready"] if in_hand else []), stdout=subprocess.PIPE, text=True)
        if in_hand:
            assert peer.stdout.readline().strip() == "seated"
            host.press_ready()
        print("  peer:", peer.stdout.readline().strip())
        # Frames sent to an address no card has: both links stay up, nothing arrives.
        for prefix, address, link in (("ip", "10.77.0.2", ours), (f"ip -n {ns}", "10.77.0.1", theirs)):
            command = f"{prefix} neigh replace {address} lladdr 02:00:00:00:00:01 dev {link} nud permanent"
            subprocess.run(command.split(), check=True)
        start = time.monotonic()
        gone = until(lambda: host.windows("^Error$"), 1200, 0.2)
        print(f"  packets dropped; host's box after {time.monotonic() - start:.1f} s" if gone else "  never noticed")
    finally:
        if peer:
            peer.kill()
        subprocess.run(["ip", "link", "del", ours], stderr=subprocess.DEVNULL)
        subprocess.run(["ip", "netns", "del", ns], stderr=subprocess.DEVNULL)


def peer(address, ready):
    """Inside the namespace: join, and if asked get dealt a hand; then stay silent."""
    link = socket.create_connection((address, PORT))
    link.sendall(PING)
    assert link.recv(2) == PING
    print("seated", flush=True)
    if ready:
        link.sendall(READY)
        received = b""
        while DEAL not in received:
            received += link.recv(4096)
        print("dealt a hand", flush=True)
    time.sleep(3600)


if __name__ == "__main__":
    if sys.argv[1:2] == ["--peer"]:  # the namespaced peer of vanish()
        sys.exit(peer(sys.argv[2], "--ready" in sys.argv))
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("program")
    parser.add_argument("cases", nargs="+", choices=["flood-read", "flood-unread", "churn", "vanish", "vanish-in-hand"])
    parser.add_argument("--display", default=":97")
    parser.add_argument("--seconds", type=int, default=30)
    parser.add_argument("--cycles", type=int, default=300)
    options = parser.parse_intermixed_args()
    for case in options.cases:
        print(case)
        host = Host(options.program, options.display)
        try:
            if case.startswith("flood"):
                flood(host, options.seconds, read=case == "flood-read")
            elif case == "churn":
                churn(host, options.cycles)
            else:
                vanish(host, in_hand=case == "vanish-in-hand")
        finally:
            host.stop()
