#!/usr/bin/env python3
"""Start-up time and peak memory of Tallybrook against a minimal Qt Widgets program.

Measures, in one run, the time from process start to the first painted main window (the
program tells the moment and quits right after it: TALLYBROOK_QUIT_AFTER_FIRST_PAINT; the time to
its exit is shown beside it) with the sample data and with
a 100,000-project file, against bench_startup_minimal, which shows one empty window. Reports
medians, ratios and the peak resident memory of each, and for the large file the resident memory
after the load against the peak (TALLYBROOK_MEMORY_REPORT). bench_startup_text, the minimal window
drawing the text runs of Tallybrook's first frame (written down by bench_first_frame_text before
the runs), shows what the text alone costs.

Usage: bench/startup.py BUILD_DIR [--runs 15] [--platform offscreen|xcb]
(build with -DTALLYBROOK_BENCH=ON; for xcb run it inside tools/xsession.sh)
"""
import argparse
import json
import os
import random
import statistics
import sys
import subprocess
import tempfile
import time
import uuid


def measure(cmd, env):
    """Seconds to the first painted frame (each program prints the moment on CLOCK_MONOTONIC,
    the clock of time.monotonic_ns), seconds to the exit, and the peak resident KiB."""
    with tempfile.TemporaryFile() as err:
        start_ns = time.monotonic_ns()
        proc = subprocess.Popen(cmd, env=env, stdout=subprocess.DEVNULL, stderr=err)
        _, status, usage = os.wait4(proc.pid, 0)
        elapsed = (time.monotonic_ns() - start_ns) / 1e9
        proc.returncode = os.waitstatus_to_exitcode(status)
        if proc.returncode != 0:
            raise SystemExit(f"{cmd[0]} exited with {proc.returncode}")
        err.seek(0)
        painted = [int(line.split()[1]) for line in err.read().decode(errors="replace").splitlines()
                   if line.startswith("first-paint-ns ")]
    if not painted:
        raise SystemExit(f"{cmd[0]} did not tell when it painted")
    return (painted[0] - start_ns) / 1e9, elapsed, usage.ru_maxrss


def big_document(path, projects=100_000, years=20):
    rng = random.Random(42)
    this_year = time.localtime().tm_year
    clients = [f"Client {i}" for i in range(500)]
    categories = [f"Category {i}" for i in range(12)]
    doc = {
        "categories": categories, "clients": clients, "columnColors": {},
        "columnOrder": ["paid", "pending", "ongoing"], "currency": "$", "layout": "columns",
        "targetGoal": 120000, "taxRate": 20, "projects": [],
    }
    for i in range(projects):
        year = this_year - i % years
        doc["projects"].append({
            "category": rng.choice(categories), "client": rng.choice(clients),
            "date": f"{year}-{rng.randint(1, 12):02d}-{rng.randint(1, 28):02d}T09:00:00Z",
            "fee": rng.randint(1, 100000) / 4, "id": str(uuid.uuid4()).upper(),
            "name": f"Project {i} for a studio", "outsource": 0,
            "status": ("paid", "pending", "ongoing")[i % 3],
        })
    with open(path, "w", encoding="utf-8") as f:
        json.dump(doc, f, indent=4, sort_keys=True)


# Where the measured starts ask for the exchange rate: nowhere, so that no run goes online.
DEAD_RATE_URL = "http://127.0.0.1:9/v6/latest/USD"


def real_rate(env):
    """`env` with the rate's own https address, as a user's start has it: the request loads TLS
    (OpenSSL) into the process, online or not."""
    env.pop("TALLYBROOK_RATE_URL", None)
    return env


def home(root, name, document=None):
    base = os.path.join(root, name)
    for sub in ("data/Tallybrook", "config/Tallybrook", "run"):
        os.makedirs(os.path.join(base, sub), exist_ok=True)
    os.chmod(os.path.join(base, "run"), 0o700)
    with open(os.path.join(base, "config/Tallybrook/Tallybrook.conf"), "w") as f:
        f.write("[General]\ndismissedMoveToApps=true\ndismissedSampleDataTip=false\n")
    if document:
        os.replace(document, os.path.join(base, "data/Tallybrook/tallybrook.json"))
    env = dict(os.environ)
    env.update(XDG_DATA_HOME=os.path.join(base, "data"), XDG_CONFIG_HOME=os.path.join(base, "config"),
               XDG_RUNTIME_DIR=os.path.join(base, "run"), TALLYBROOK_QUIT_AFTER_FIRST_PAINT="1",
               TALLYBROOK_RATE_URL=DEAD_RATE_URL)
    return env


def first_frame_text(build, env, path):
    """Writes down the text of the program's first frame with `env` for bench_startup_text."""
    subprocess.run([os.path.join(build, "bench", "bench_first_frame_text"), path], env=env,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    return path


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--write-big":
        big_document(sys.argv[2])
        return
    ap = argparse.ArgumentParser()
    ap.add_argument("build")
    ap.add_argument("--runs", type=int, default=15)
    ap.add_argument("--platform", default="offscreen")
    args = ap.parse_args()
    app = os.path.join(args.build, "src", "tallybrook")
    minimal = os.path.join(args.build, "bench", "bench_startup_minimal")
    text_floor = os.path.join(args.build, "bench", "bench_startup_text")
    os.environ["QT_QPA_PLATFORM"] = args.platform

    with tempfile.TemporaryDirectory() as root:
        sample_env = home(root, "sample")
        measure([app], sample_env)  # the first start writes the sample studio
        text_list = first_frame_text(args.build, sample_env, os.path.join(root, "text.tsv"))
        big = os.path.join(root, "big.json")
        # Written by a child process: a large parent would inflate every child's peak memory.
        subprocess.run([sys.executable, __file__, "--write-big", big], check=True)
        big_env = home(root, "big", big)
        plain_env = dict(os.environ, TALLYBROOK_QUIT_AFTER_FIRST_PAINT="1")
        cases = {"minimal Qt window": ([minimal], plain_env),
                 "minimal + first frame's text": ([text_floor, text_list], plain_env),
                 "Tallybrook, sample": ([app], sample_env),
                 "Tallybrook, 100,000 projects": ([app], big_env)}
        results = {name: [] for name in cases}
        for _ in range(args.runs):  # interleaved, so machine noise hits every case alike
            for name, (cmd, env) in cases.items():
                results[name].append(measure(cmd, env))

        # Resident memory after the load against the peak, as the program itself reads them.
        memory = []
        for _ in range(3):
            out = subprocess.run([app], env=dict(big_env, TALLYBROOK_MEMORY_REPORT="1"),
                                 stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, check=True)
            for line in out.stderr.splitlines():
                if line.startswith("memory: after-load"):
                    words = line.split()
                    memory.append((int(words[2]), int(words[5])))

    def median(name, which):
        return statistics.median(run[which] for run in results[name])

    base_time = median("minimal Qt window", 0)
    base_exit = median("minimal Qt window", 1)
    print(f"platform {args.platform}, {args.runs} runs each, medians: to the first painted frame"
          " (to the exit)")
    for name, runs in results.items():
        t, end = median(name, 0), median(name, 1)
        rss = max(run[2] for run in runs) / 1024
        print(f"  {name:30s} {t * 1000:8.1f} ms  {t / base_time:5.2f}x   ({end * 1000:6.1f} ms"
              f" {end / base_exit:5.2f}x)  peak RSS {rss:7.1f} MiB")
    text = "minimal + first frame's text"
    print(f"  sample against the text alone: {median('Tallybrook, sample', 0) / median(text, 0):.2f}x"
          f" ({median('Tallybrook, sample', 1) / median(text, 1):.2f}x)")
    if memory:
        after = statistics.median(a for a, _ in memory) / 1024
        peak = statistics.median(p for _, p in memory) / 1024
        print(f"  100,000 projects: resident after the load {after:.1f} MiB, peak {peak:.1f} MiB,"
              f" {peak / after:.2f}x")


if __name__ == "__main__":
    main()
