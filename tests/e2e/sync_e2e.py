#!/usr/bin/env python3
"""Two computers editing one data file through a real Syncthing.

Two private homes, each with its own Syncthing daemon on 127.0.0.1 only (no discovery, relays,
NAT traversal, usage or crash reports, upgrades) sharing one folder, and one tb_syncprobe per
home holding a Store on that folder. Each round both sides change the same project and add one
of their own, at once or a little apart; then both files and both programs must hold every
change, and no conflict copy may be left beside either file.

    sync_e2e.py --probe build/test/tests/e2e/tb_syncprobe [--rounds 3] [--gaps together,delivered,1]

A gap is "together" (both sides edit at once), "delivered" (B edits once A's edits reached it) or a
number of seconds between A's edits and B's.
"""

import argparse
import copy
import ctypes
import json
import os
import queue
import re
import secrets
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request
import xml.etree.ElementTree as ET

DATA_FILE = "tallybrook.json"
FOLDER_ID = "tallybrook-data"
CONFLICT_COPY = re.compile(r"^tallybrook(\.sync-conflict-.*| \(.*conflicted copy.*\))\.json$", re.I)

_libc = ctypes.CDLL(None, use_errno=True)
NO_PROXY = urllib.request.build_opener(urllib.request.ProxyHandler({}))


def die_with_parent():
    # A test killed by ctest's timeout takes its daemons and probes with it.
    _libc.prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


class Failure(Exception):
    pass


def free_ports(count):
    sockets, ports = [], []
    for _ in range(count):
        s = socket.socket()
        s.bind(("127.0.0.1", 0))
        sockets.append(s)
        ports.append(s.getsockname()[1])
    for s in sockets:
        s.close()
    return ports


# The whole run ends by then, whatever each wait allows.
DEADLINE = [float("inf")]


def wait_for(what, check, timeout, interval=0.1):
    deadline = min(time.monotonic() + timeout, DEADLINE[0])
    while True:
        result = check()
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


class Side:
    """One computer: a home, its Syncthing daemon and its probe."""

    def __init__(self, name, root):
        self.name = name
        self.home = os.path.join(root, name)
        self.st_home = os.path.join(self.home, "syncthing")
        self.folder = os.path.join(self.home, "Sync", "Tallybrook")
        self.api_key = secrets.token_hex(16)
        self.daemon = None
        self.probe = None
        self.lines = queue.Queue()
        os.makedirs(os.path.join(self.folder, ".stfolder"), mode=0o700)
        for sub in ("runtime", "config", "data"):
            os.makedirs(os.path.join(self.home, sub), mode=0o700)

    @property
    def file(self):
        return os.path.join(self.folder, DATA_FILE)

    def generate(self):
        out = subprocess.run(["syncthing", "generate", f"--home={self.st_home}", "--no-default-folder",
                              "--skip-port-probing"], capture_output=True, text=True, timeout=60,
                             env=self.env(STNODEFAULTFOLDER="1"))
        found = re.search(r"Device ID: ([A-Z0-9-]{63})", out.stdout + out.stderr)
        if out.returncode != 0 or not found:
            raise Failure(f"syncthing generate failed for {self.name}: {out.stdout}{out.stderr}")
        self.device_id = found.group(1)

    def env(self, **extra):
        env = {k: v for k, v in os.environ.items() if not k.startswith(("XDG_", "STN"))}
        # STMONITORED: no monitor process, which would leave the daemon behind when killed.
        env.update(HOME=self.home, STMONITORED="1", XDG_RUNTIME_DIR=os.path.join(self.home, "runtime"),
                   XDG_CONFIG_HOME=os.path.join(self.home, "config"),
                   XDG_DATA_HOME=os.path.join(self.home, "data"), QT_QPA_PLATFORM="offscreen",
                   STNOUPGRADE="1", STNODEFAULTFOLDER="1", STNORESTART="1")
        env.update(extra)
        return env

    def configure(self, gui_port, listen_port, other, dials):
        path = os.path.join(self.st_home, "config.xml")
        tree = ET.parse(path)
        root = tree.getroot()
        gui = root.find("gui")
        gui.find("address").text = f"127.0.0.1:{gui_port}"
        gui.find("apikey").text = self.api_key
        options = root.find("options")
        settings = {
            "listenAddress": f"tcp://127.0.0.1:{listen_port}",
            "globalAnnounceEnabled": "false", "localAnnounceEnabled": "false", "relaysEnabled": "false",
            "natEnabled": "false", "urAccepted": "-1", "autoUpgradeIntervalH": "0",
            "crashReportingEnabled": "false", "startBrowser": "false", "setLowPriority": "false",
            # One side dials at once, the other only much later: two dials crossing each other
            # cost Syncthing a 20 s handshake timeout.
            "reconnectionIntervalS": "1" if dials else "600",
        }
        for key, value in settings.items():
            element = options.find(key)
            if element is None:
                element = ET.SubElement(options, key)
            element.text = value
        for element in options.findall("globalAnnounceServer"):
            options.remove(element)
        peer = ET.SubElement(root, "device", id=other.device_id, name=other.name, compression="metadata",
                             introducer="false", skipIntroductionRemovals="false", introducedBy="")
        ET.SubElement(peer, "address").text = f"tcp://127.0.0.1:{other.listen_port}"
        # The folder starts as a copy of the defaults a new folder gets in the GUI (maxConflicts 10
        # among them: a folder without it drops the losing side of a conflict).
        folder = copy.deepcopy(root.find("defaults/folder"))
        folder.attrib.update(id=FOLDER_ID, label="Tallybrook", path=self.folder, type="sendreceive",
                             rescanIntervalS="5", fsWatcherEnabled="true", fsWatcherDelayS="1")
        for device in folder.findall("device"):
            folder.remove(device)
        for device in (self.device_id, other.device_id):
            folder.insert(0, ET.Element("device", id=device, introducedBy=""))
        root.insert(0, folder)
        tree.write(path)

    def start_daemon(self):
        log = open(os.path.join(self.home, "syncthing.log"), "wb")
        self.daemon = subprocess.Popen(["syncthing", "serve", f"--home={self.st_home}", "--no-browser",
                                        "--no-restart", "--no-upgrade"], stdout=log, stderr=subprocess.STDOUT,
                                       stdin=subprocess.DEVNULL, env=self.env(), preexec_fn=die_with_parent,
                                       start_new_session=True)

    def rest(self, path):
        request = urllib.request.Request(f"http://127.0.0.1:{self.gui_port}{path}",
                                         headers={"X-API-Key": self.api_key})
        with NO_PROXY.open(request, timeout=5) as answer:
            return json.load(answer)

    def answers(self):
        if self.daemon.poll() is not None:
            raise Failure(f"syncthing of {self.name} ended: {self.log_tail()}")
        try:
            return self.rest("/rest/system/ping").get("ping") == "pong"
        except OSError:
            return False

    def connected_to(self, other):
        if self.daemon.poll() is not None:
            raise Failure(f"syncthing of {self.name} ended: {self.log_tail()}")
        try:
            return self.rest("/rest/system/connections")["connections"].get(other.device_id, {}).get("connected")
        except OSError:
            return False

    def log_tail(self):
        with open(os.path.join(self.home, "syncthing.log"), "rb") as f:
            return f.read()[-3000:].decode(errors="replace")

    def start_probe(self, binary):
        self.probe = subprocess.Popen([binary, self.folder], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                      stderr=open(os.path.join(self.home, "probe.err"), "wb"), env=self.env(),
                                      preexec_fn=die_with_parent)

        def read():
            for line in self.probe.stdout:
                self.lines.put(line.decode(errors="replace").rstrip("\n"))
            self.lines.put(None)

        threading.Thread(target=read, daemon=True).start()

    def ask(self, command, timeout=20):
        self.probe.stdin.write((command + "\n").encode())
        self.probe.stdin.flush()
        try:
            line = self.lines.get(timeout=timeout)
        except queue.Empty:
            raise Failure(f"probe {self.name} did not answer {command!r} within {timeout} s") from None
        if line is None:
            raise Failure(f"probe {self.name} ended (status {self.probe.wait()}) at {command!r}")
        if line.startswith("error"):
            raise Failure(f"probe {self.name}: {line}")
        return line

    def state(self):
        return json.loads(self.ask("dump")[len("state "):])

    def file_projects(self):
        try:
            with open(self.file, "rb") as f:
                document = json.load(f)
        except (OSError, ValueError):
            return None
        return sorted((str(p.get("id", "")).strip("{}").lower(), p.get("name"), float(p.get("fee", 0)))
                      for p in document.get("projects", []))

    def copies(self):
        return sorted(n for n in os.listdir(self.folder) if CONFLICT_COPY.match(n))

    def merged_copies(self):
        backups = os.path.join(self.folder, "backups")
        return sorted(n for n in os.listdir(backups) if CONFLICT_COPY.match(n)) if os.path.isdir(backups) else []

    def stop(self):
        if self.probe and self.probe.poll() is None:
            self.probe.kill()
            self.probe.wait()
        if self.daemon:
            try:
                os.killpg(self.daemon.pid, signal.SIGKILL)  # with anything it started
            except ProcessLookupError:
                pass
            self.daemon.wait()


def memory_projects(state):
    return sorted((p["id"].lower(), p["name"], float(p["fee"])) for p in state["projects"])


def settled(a, b):
    """Both files, both programs and both folders agree, and nothing is waiting to be written."""
    states = [a.state(), b.state()]
    files = [a.file_projects(), b.file_projects()]
    if any(s["unsaved"] or s["pending"] or s["saving"] or s["copies"] for s in states):
        return None
    if a.copies() or b.copies() or files[0] is None or files[0] != files[1]:
        return None
    if memory_projects(states[0]) != files[0] or memory_projects(states[1]) != files[0]:
        return None
    return files[0]


def settle(a, b, timeout):
    # Agreement must hold across a quiet second: a sync under way may still be about to land.
    last = None

    def check():
        nonlocal last
        now = settled(a, b)
        if now is not None and now == last:
            return now
        last = now
        return None

    return wait_for("both sides to agree", check, timeout, interval=1.0)


def has_project(side, pid):
    return any(p["id"] == pid for p in side.state()["projects"])


def run_round(a, b, number, gap, known, timeout):
    shared = f"Shared {number}"
    pid = a.ask(f"add {shared}").split()[1]
    a.ask("flush")
    wait_for(f"{shared} at {b.name}", lambda: has_project(b, pid), timeout, 0.2)
    settle(a, b, timeout)

    started = time.monotonic()
    fee = 1000 + number
    new_name = f"Shared {number}, renamed at B"
    from_a = a.ask(f"add From A {number}").split()[1]
    a.ask(f"set-fee {pid} {fee}")
    if gap == "delivered":
        wait_for(f"A's edits at {b.name}", lambda: has_project(b, from_a), timeout, 0.2)
    elif gap != "together":
        time.sleep(float(gap))  # the gap itself is the scenario, not a wait for something
    from_b = b.ask(f"add From B {number}").split()[1]
    b.ask(f"rename {pid} {new_name}")
    final = settle(a, b, timeout)
    took = time.monotonic() - started

    by_id = {p[0]: p for p in final}
    expected = dict(known)
    expected.update({pid: (pid, new_name, float(fee)), from_a: (from_a, f"From A {number}", 0.0),
                     from_b: (from_b, f"From B {number}", 0.0)})
    lost = [p for i, p in expected.items() if by_id.get(i) != p]
    if lost:
        raise Failure(f"round {number}: expected {lost}, have {[by_id.get(p[0]) for p in lost]}")
    extra = [p for i, p in by_id.items() if i not in expected]
    if extra:
        raise Failure(f"round {number}: projects nobody made: {extra}")
    return final, took


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--rounds", type=int, default=1)
    parser.add_argument("--gaps", default="together,delivered,1",
                        help="between A's and B's edits, per round, repeated (default together,delivered,1)")
    parser.add_argument("--timeout", type=float, default=90, help="seconds each wait may take")
    parser.add_argument("--deadline", type=float, default=600, help="seconds the whole run may take")
    parser.add_argument("--keep", action="store_true", help="keep the homes for a look afterwards")
    args = parser.parse_args()

    if shutil.which("syncthing") is None:
        print("sync_e2e: syncthing is not installed (tools/deps.sh test installs it)", file=sys.stderr)
        return 1
    gaps = args.gaps.split(",")
    for gap in gaps:
        if gap not in ("together", "delivered"):
            float(gap)  # a bad gap ends the run here, before anything starts
    DEADLINE[0] = time.monotonic() + args.deadline
    root = tempfile.mkdtemp(prefix="tb-sync-e2e-")
    a, b = Side("A", root), Side("B", root)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    began = time.monotonic()
    try:
        a.gui_port, b.gui_port, a.listen_port, b.listen_port = free_ports(4)
        a.generate()
        b.generate()
        a.configure(a.gui_port, a.listen_port, b, dials=False)
        b.configure(b.gui_port, b.listen_port, a, dials=True)
        a.start_daemon()
        wait_for("A's Syncthing to listen", lambda: a.answers(), args.timeout, 0.1)
        b.start_daemon()
        wait_for("the two Syncthing daemons to connect", lambda: a.connected_to(b) and b.connected_to(a),
                 args.timeout, 0.25)
        # A starts first and writes its document; B starts on the copy Syncthing brought.
        a.start_probe(args.probe)
        a.ask("flush")
        wait_for("the first file at B", lambda: b.file_projects() == a.file_projects() and os.path.exists(b.file),
                 args.timeout, 0.2)
        b.start_probe(args.probe)
        known = {p[0]: p for p in settle(a, b, args.timeout)}
        print(f"set up in {time.monotonic() - began:.1f} s", flush=True)
        for number in range(1, args.rounds + 1):
            gap = gaps[(number - 1) % len(gaps)]
            final, took = run_round(a, b, number, gap, known, args.timeout)
            known = {p[0]: p for p in final}
            for side in (a, b):
                # Every copy a program merged was moved into its backups folder.
                if side.state()["merges"] and not side.merged_copies():
                    raise Failure(f"{side.name} merged conflict copies but its backups folder holds none")
            conflicts = len(set(a.merged_copies()) | set(b.merged_copies()))
            print(f"round {number} (edits {gap}{' s apart' if gap[0].isdigit() else ''}): agreed after {took:.1f} s, "
                  f"{conflicts} conflict copies merged so far, {len(final)} projects", flush=True)
        for side in (a, b):
            side.ask("quit")
            side.probe.wait(timeout=20)
        print(f"passed in {time.monotonic() - began:.1f} s")
        return 0
    except Failure as failure:
        print(f"sync_e2e: FAILED: {failure}", file=sys.stderr)
        for side in (a, b):
            print(f"--- {side.name}: folder {sorted(os.listdir(side.folder))}", file=sys.stderr)
            if side.probe and side.probe.poll() is None:
                try:
                    state = side.state()
                    state["projects"] = [f"{p['name']} {p['fee']:g}" for p in state["projects"]
                                         if p["name"].startswith(("Shared", "From"))]
                    print(f"--- {side.name}: program {state}", file=sys.stderr)
                except Failure:
                    pass
            mine = [f"{p[1]} {p[2]:g}" for p in side.file_projects() or [] if p[1].startswith(("Shared", "From"))]
            print(f"--- {side.name}: file {mine}, merged copies {side.merged_copies()}", file=sys.stderr)
        return 1
    finally:
        a.stop()
        b.stop()
        if args.keep:
            print(f"homes kept in {root}")
        else:
            shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
