#!/usr/bin/env python3
"""Start-up of Tallybrook side by side with HomeBank, on equivalent data, in a private X server.

For each program and two sizes of data (the sample studio's 37 projects, and 100,000), measures
from process start: the time until its top-level window is mapped, the time until the window
first shows the picture it settles on (its first paint with the data), and its peak resident
memory (VmHWM, read once the window has settled). Both programs are started and watched the same
way by bench_window_probe, interleaved (Tallybrook, HomeBank, Tallybrook, ...), each run in a fresh
private HOME copied from a warmed-up one; the table gives the medians.

The HomeBank files hold the very records of the Tallybrook files: one account, a payee per
client, an income category per category, and an income per project (date, fee, project name;
paid is reconciled, pending cleared).

Usage: bench/sidebyside.py BUILD_DIR [--runs 7] [--quick] [--settle 1.5] [--shots DIR] [--no-deps]
       bench/sidebyside.py BUILD_DIR --check-probe
(BUILD_DIR configured with -DTALLYBROOK_BENCH=ON; the script installs HomeBank and the X tools
with tools/deps.sh, builds the probe, and starts its own X server with tools/xsession.sh)
"""
import argparse
import datetime
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
from xml.sax.saxutils import quoteattr

import startup  # bench/startup.py

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
BIG = 100_000
STATES = {"paid": 2, "pending": 1}  # HomeBank: 2 reconciled, 1 cleared, 0 none


def die(message):
    print(f"sidebyside: {message}", file=sys.stderr)
    sys.exit(1)


def xhb_from_tallybrook(json_path, xhb_path):
    """Writes the projects of a Tallybrook file as a HomeBank file; returns how many."""
    with open(json_path, encoding="utf-8") as f:
        doc = json.load(f)
    projects = doc.get("projects")
    if not isinstance(projects, list) or not projects:
        die(f"{json_path} holds no projects")
    clients = list(dict.fromkeys(list(doc.get("clients", [])) + [p["client"] for p in projects]))
    categories = list(dict.fromkeys(list(doc.get("categories", [])) + [p["category"] for p in projects]))
    payee = {name: i + 1 for i, name in enumerate(clients)}
    category = {name: i + 1 for i, name in enumerate(categories)}
    rows = []
    for p in projects:
        # GLib's Julian day, as HomeBank stores dates, counts from 1 January of year 1 = 1.
        day = datetime.date.fromisoformat(p["date"][:10]).toordinal()
        rows.append((day, p))
    rows.sort(key=lambda r: r[0])  # as HomeBank writes its own files
    out = ['<?xml version="1.0"?>', '<homebank v="1.3" d="050100">',
           '<properties title="Studio" curr="1" auto_smode="1" auto_weekday="1"/>',
           '<cur key="1" flags="0" iso="USD" name="US Dollar" symb="$" syprf="1" dchar="." gchar="," frac="2" '
           'rate="0" mdate="0"/>',
           '<account key="1" pos="1" type="1" curr="1" name="Studio" initial="0" minimum="0"/>']
    out += [f'<pay key="{k}" name={quoteattr(n)}/>' for n, k in payee.items()]
    out += [f'<cat key="{k}" flags="2" name={quoteattr(n)}/>' for n, k in category.items()]  # 2: income
    for day, p in rows:
        out.append(f'<ope date="{day}" amount="{p["fee"]!r}" account="1" paymode="0" '
                   f'st="{STATES.get(p["status"], 0)}" flags="0" payee="{payee[p["client"]]}" '
                   f'category="{category[p["category"]]}" wording={quoteattr(p["name"])}/>')
    out.append("</homebank>")
    with open(xhb_path, "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")
    return len(rows)


def count_records(path):
    with open(path, encoding="utf-8") as f:
        if path.endswith(".json"):
            return len(json.load(f)["projects"])
        return sum(1 for line in f if line.startswith("<ope "))


class Case:
    def __init__(self, program, size, template, command, data_from, data_to, title):
        self.program, self.size, self.template, self.command = program, size, template, command
        self.title = title  # what the measured window's title must hold: not a dialog, the file open
        self.data_from, self.data_to = data_from, data_to  # copied into each run's HOME
        self.runs = []


REAL_RATE = False  # --real-rate: Tallybrook asks the rate service's own https address


def private_env(home):
    env = dict(os.environ)
    env.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
               XDG_DATA_HOME=os.path.join(home, ".local/share"), XDG_CACHE_HOME=os.path.join(home, ".cache"),
               XDG_RUNTIME_DIR=os.path.join(home, "run"),
               TALLYBROOK_RATE_URL=startup.DEAD_RATE_URL)  # neither program goes online
    if REAL_RATE:
        startup.real_rate(env)
    env.pop("TALLYBROOK_QUIT_AFTER_FIRST_PAINT", None)
    return env


def make_home(home):
    for sub in (".config/Tallybrook", ".config/homebank", ".local/share/Tallybrook", ".cache", "run"):
        os.makedirs(os.path.join(home, sub), exist_ok=True)
    os.chmod(os.path.join(home, "run"), 0o700)
    with open(os.path.join(home, ".config/Tallybrook/Tallybrook.conf"), "w") as f:
        f.write("[General]\ndismissedMoveToApps=true\ndismissedSampleDataTip=true\n")


def homebank_prefs(home, width, height):
    # No splash, no welcome dialog, no backup, no currency update: the file opens directly.
    with open(os.path.join(home, ".config/homebank/preferences"), "w") as f:
        f.write("[General]\nVersion=562\nShowSplash=false\nShowWelcome=false\nLoadLast=false\n"
                "BakIsAutomatic=false\nUpdateCurrency=false\n\n"
                f"[Windows]\nWal=0;0;{width};{height};0;\n")


def only_files_and_folders(folder, names):
    # A lock socket left in a template is no part of a fresh HOME.
    return [n for n in names if not (os.path.isfile(os.path.join(folder, n)) or os.path.isdir(os.path.join(folder, n)))]


def probe_run(probe, case, scratch, settle, shot=None, trace=None, warm_up=False):
    # A warm-up runs in the template itself, so what a first start writes is in every copy.
    home = case.template if warm_up else os.path.join(scratch, "home")
    if not warm_up:
        shutil.rmtree(home, ignore_errors=True)
        shutil.copytree(case.template, home, symlinks=True, ignore=only_files_and_folders)
    if case.data_from:
        shutil.copyfile(case.data_from, os.path.join(home, case.data_to))
    log = os.path.join(scratch, "program.log")
    cmd = [probe, "--settle", str(settle), "--log", log]
    if shot:
        cmd += ["--shot", shot]
    if trace:
        cmd += ["--trace", trace]
    cmd += ["--"] + [home + a[4:] if a.startswith("HOME/") else a for a in case.command]
    done = subprocess.run(cmd, env=private_env(home), stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    if done.returncode != 0:
        tail = ""
        if os.path.exists(log):
            with open(log, errors="replace") as f:
                tail = "".join(f.readlines()[-15:])
        die(f"{case.program} ({case.size}): {done.stderr.strip()}\n{tail}")
    m = re.match(r"map_ms=(\S+) paint_ms=(\S+) hwm_kib=(\S+) frames=(\S+) grabs=(\S+) size=(\S+) title=(.*)",
                 done.stdout.strip())
    if not m:
        die(f"unexpected probe output: {done.stdout!r}")
    result = dict(map=float(m[1]), paint=float(m[2]), rss=int(m[3]) / 1024, frames=int(m[4]), size=m[6],
                  title=m[7])
    if case.title not in result["title"]:
        die(f"{case.program} ({case.size}) mapped a window titled {result['title']!r} first, "
            f"not its main window with the data ({case.title!r})")
    if result["rss"] <= 0:
        die(f"{case.program} ({case.size}): no peak memory could be read")
    if warm_up:
        os.remove(os.path.join(home, case.data_to))
    else:
        shutil.rmtree(home, ignore_errors=True)
    return result


def check_probe(probe_path, root):
    """The probe's own checks: the clock starts at the process start, failures are reported."""
    home = os.path.join(root, "check-home")
    make_home(home)
    homebank_prefs(home, 800, 600)
    with open(os.path.join(home, "studio.xhb"), "w", encoding="utf-8") as f:
        f.write('<?xml version="1.0"?>\n<homebank v="1.3" d="050100">\n<properties title="Check"/>\n</homebank>\n')
    env = private_env(home)

    def probe(*command):
        return subprocess.run([probe_path, "--settle", "0.5", "--timeout", "30", "--"] + list(command), env=env,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)

    late = probe("sh", "-c", f"sleep 0.6; exec homebank {home}/studio.xhb")
    m = re.match(r"map_ms=(\S+) paint_ms=(\S+) hwm_kib=(\S+) .* title=(.*)", late.stdout)
    if late.returncode != 0 or not m:
        die(f"probe check: HomeBank started late was not measured: {late.stderr.strip()}")
    mapped, painted, hwm = float(m[1]), float(m[2]), int(m[3])
    if not 600 <= mapped <= painted < 30000 or hwm < 1024 or "studio.xhb" not in m[4]:
        die(f"probe check: a start delayed by 600 ms gave map {mapped} ms, paint {painted} ms, {hwm} KiB, "
            f"title {m[4]!r}")
    gone = probe("false")
    if gone.returncode == 0 or "ended before its window settled" not in gone.stderr:
        die(f"probe check: a program that ends at once was not reported: {gone.stdout!r} {gone.stderr!r}")
    missing = probe("/nonexistent/program")
    if missing.returncode == 0:
        die("probe check: a program that cannot start was not reported")
    print(f"probe checks passed (a start delayed by 600 ms: window mapped at {mapped:.0f} ms)")


def setup(build, no_deps):
    if not no_deps:
        subprocess.run([os.path.join(ROOT, "tools/deps.sh"), "sidebyside"], check=True)
    app = os.path.join(build, "src", "tallybrook")
    if not os.access(app, os.X_OK):
        die(f"{app} is missing: configure with -DTALLYBROOK_BENCH=ON and build the target tallybrook")
    # The probe needs no Qt and builds in seconds: make sure it is there and up to date.
    done = subprocess.run(["cmake", "--build", build, "--target", "bench_window_probe"],
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    if done.returncode != 0:
        die(f"could not build bench_window_probe in {build} (configured with -DTALLYBROOK_BENCH=ON?):\n"
            f"{done.stdout[-2000:]}")
    if not shutil.which("homebank"):
        die("homebank is not installed (tools/deps.sh sidebyside)")


def homebank_version():
    done = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "homebank"], stdout=subprocess.PIPE, text=True)
    return done.stdout.strip() or "?"


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("build", help="build folder (configured with -DTALLYBROOK_BENCH=ON)")
    ap.add_argument("--runs", type=int, help="runs of each program and size (default 7, 3 with --quick)")
    ap.add_argument("--quick", action="store_true", help="3 runs, and 10,000 records instead of 100,000")
    ap.add_argument("--settle", type=float, default=1.5,
                    help="seconds a window must stay unchanged to count as settled (default 1.5)")
    ap.add_argument("--shots", help="folder for a screenshot of each program and size (last round) and the "
                    "pictures each run's window showed, with their times (NAME.trace)")
    ap.add_argument("--no-deps", action="store_true", help="do not install missing packages")
    ap.add_argument("--check-probe", action="store_true", help="only check the window probe itself")
    ap.add_argument("--real-rate", action="store_true",
                    help="Tallybrook asks the exchange rate's own https address, as a user's start does, in "
                         "place of a dead local one")
    args = ap.parse_args()
    global REAL_RATE
    REAL_RATE = args.real_rate
    if args.runs is not None and args.runs < 1:
        die("--runs wants at least 1")
    if args.settle <= 0:
        die("--settle wants a positive number of seconds")
    build = os.path.abspath(args.build)
    if not os.path.isdir(build):
        die(f"{args.build} is not a build folder")

    if os.environ.get("TB_XSESSION") != "inside":
        setup(build, args.no_deps)
        os.execv(os.path.join(ROOT, "tools/xsession.sh"),
                 ["xsession.sh", sys.executable, os.path.abspath(__file__)] + sys.argv[1:] + ["--no-deps"])

    runs = args.runs or (3 if args.quick else 7)
    big = 10_000 if args.quick else BIG
    app = os.path.join(build, "src", "tallybrook")
    probe = os.path.join(build, "bench", "bench_window_probe")
    shots = os.path.abspath(args.shots) if args.shots else None
    if shots:
        os.makedirs(shots, exist_ok=True)
        for old in os.listdir(shots):
            if old.endswith(".trace"):
                os.remove(os.path.join(shots, old))

    if args.check_probe:
        with tempfile.TemporaryDirectory(prefix="sidebyside-") as root:
            check_probe(probe, root)
        return

    with tempfile.TemporaryDirectory(prefix="sidebyside-") as root:
        scratch = os.path.join(root, "scratch")
        os.makedirs(scratch)
        # Tallybrook writes its sample studio at its first start; that file is the sample data
        # of both programs.
        tb_home = os.path.join(root, "tallybrook-home")
        make_home(tb_home)
        first = subprocess.run([app], env=dict(private_env(tb_home), TALLYBROOK_QUIT_AFTER_FIRST_PAINT="1"),
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        sample_json = os.path.join(tb_home, ".local/share/Tallybrook/tallybrook.json")
        if first.returncode != 0 or not os.path.exists(sample_json):
            die(f"Tallybrook's first start wrote no sample data file:\n{first.stderr[-2000:]}")
        sample_copy = os.path.join(root, "sample.json")
        shutil.move(sample_json, sample_copy)
        big_json = os.path.join(root, "big.json")
        subprocess.run([sys.executable, os.path.join(HERE, "startup.py"), "--write-big", big_json], check=True)
        if big != BIG:
            with open(big_json, encoding="utf-8") as f:
                doc = json.load(f)
            doc["projects"] = doc["projects"][:big]
            with open(big_json, "w", encoding="utf-8") as f:
                json.dump(doc, f, indent=4, sort_keys=True)
        sample_xhb, big_xhb = os.path.join(root, "sample.xhb"), os.path.join(root, "big.xhb")
        n_sample = xhb_from_tallybrook(sample_copy, sample_xhb)
        n_big = xhb_from_tallybrook(big_json, big_xhb)
        for path, n in ((sample_copy, n_sample), (sample_xhb, n_sample), (big_json, n_big), (big_xhb, n_big)):
            if count_records(path) != n:
                die(f"{path} holds {count_records(path)} records, not {n}")

        hb_home = os.path.join(root, "homebank-home")
        make_home(hb_home)
        tb_data = ".local/share/Tallybrook/tallybrook.json"
        labels = {n_sample: f"sample ({n_sample} records)", n_big: f"{n_big:,} records"}
        homebank = ["homebank", "HOME/studio.xhb"]
        cases = [Case("Tallybrook", labels[n_sample], tb_home, [app], sample_copy, tb_data, "Tallybrook"),
                 Case("HomeBank", labels[n_sample], hb_home, homebank, sample_xhb, "studio.xhb", "studio.xhb - Studio"),
                 Case("Tallybrook", labels[n_big], tb_home, [app], big_json, tb_data, "Tallybrook"),
                 Case("HomeBank", labels[n_big], hb_home, homebank, big_xhb, "studio.xhb", "studio.xhb - Studio")]

        # A first, unmeasured start of each warms the disk cache and lets each program write
        # what it writes on a first start; HomeBank then gets Tallybrook's window size.
        homebank_prefs(hb_home, 1024, 600)
        warm = probe_run(probe, cases[0], scratch, args.settle, warm_up=True)
        width, height = (int(v) for v in warm["size"].split("x"))
        homebank_prefs(hb_home, width, height)
        for case in cases[1:]:
            probe_run(probe, case, scratch, args.settle, warm_up=True)

        print(f"{len(cases)} cases, {runs} interleaved runs each", file=sys.stderr)
        for r in range(runs):
            for case in cases:
                shot = trace = None
                if shots:
                    name = os.path.join(shots, f"{case.program.lower()}-{case.size.split()[0].replace(',', '')}")
                    shot = name + ".png" if r == runs - 1 else None
                    trace = name + ".trace"
                case.runs.append(probe_run(probe, case, scratch, args.settle, shot, trace))
                print(f"  round {r + 1}: {case.program:10s} {case.size:22s} map {case.runs[-1]['map']:7.1f} ms  "
                      f"paint {case.runs[-1]['paint']:7.1f} ms  {case.runs[-1]['rss']:6.1f} MiB  "
                      f"{case.runs[-1]['size']}  {case.runs[-1]['title']}", file=sys.stderr)

    commit = subprocess.run(["git", "-C", ROOT, "rev-parse", "--short", "HEAD"], stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, text=True).stdout.strip() or "?"
    print(f"Tallybrook {commit} and HomeBank {homebank_version()}, Xvfb with openbox, {os.cpu_count()} CPUs; "
          f"medians of {runs} interleaved runs (settled = unchanged for {args.settle:g} s)")
    print()
    print("| data | program | window mapped | first paint with data | peak memory | window |")
    print("| --- | --- | ---: | ---: | ---: | --- |")
    behind = []
    for i in range(0, len(cases), 2):
        pair = cases[i:i + 2]
        med = {c.program: {k: statistics.median(x[k] for x in c.runs) for k in ("map", "paint", "rss")}
               for c in pair}
        for c in pair:
            m = med[c.program]
            print(f"| {c.size} | {c.program} | {m['map']:.0f} ms | {m['paint']:.0f} ms | {m['rss']:.1f} MiB "
                  f"| {c.runs[-1]['size']} |")
        tb, hb = med["Tallybrook"], med["HomeBank"]
        print(f"| {pair[0].size} | Tallybrook / HomeBank | {tb['map'] / hb['map']:.2f} | "
              f"{tb['paint'] / hb['paint']:.2f} | {tb['rss'] / hb['rss']:.2f} | |")
        for key, name in (("map", "window mapped"), ("paint", "first paint"), ("rss", "peak memory")):
            if tb[key] >= hb[key]:
                behind.append(f"{name} at {pair[0].size}")
    print()
    print("Tallybrook ahead on every figure" if not behind else "Tallybrook behind on: " + ", ".join(behind))


if __name__ == "__main__":
    main()
