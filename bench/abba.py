#!/usr/bin/env python3
"""Two or more builds measured by turns, the order reversed every round (A B, B A, ...).

On a shared machine the first run of a round is often slower than the second: two identical
builds taken in a fixed order differed by 15 %. Reversing the order each round spreads that over
both.

    python3 bench/abba.py load ROUNDS NAME BUILD [NAME BUILD ...]
        Store::load of 100,000 projects against simdjson's parse of the same bytes, the ratio
        taken within each run (bench_store_bench).
    python3 bench/abba.py start ROUNDS NAME BUILD [NAME BUILD ...]
        The program's start with 100,000 projects to its first painted frame.
    python3 bench/abba.py sample ROUNDS NAME BUILD [NAME BUILD ...]
        The same with the sample data, and the text-only reference program's start beside it.

BUILD is a build folder configured with -DTALLYBROOK_BENCH=ON. Medians are printed per build.
`--platform xcb` before the mode starts the programs on a real X server instead of offscreen
(run the script inside tools/xsession.sh). `--real-rate` before the mode leaves the exchange
rate's own https address in place of the dead local one the measurements use otherwise (its
request loads TLS; without a network it fails soon after).
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

import startup


def load_run(build):
    out = subprocess.run([os.path.join(build, "bench", "bench_store_bench"),
                          "--benchmark_filter=BM_Load$|Simdjson", "--benchmark_repetitions=3"],
                         capture_output=True, text=True, check=True).stdout
    medians = {line.split()[0]: float(line.split()[1]) for line in out.splitlines() if "_median" in line}
    load, simdjson = medians["BM_Load_median"], medians["BM_Load_BaselineSimdjson_median"]
    return load, simdjson, load / simdjson


def start_run(build, env, program=("src", "tallybrook"), *args):
    begin = time.clock_gettime_ns(time.CLOCK_MONOTONIC)
    done = subprocess.run([os.path.join(build, *program), *args], env=env, capture_output=True, text=True)
    for line in (done.stderr + done.stdout).splitlines():
        if line.startswith("first-paint-ns"):
            return (int(line.split()[1]) - begin) / 1e6
    raise RuntimeError(f"{build}: no first paint reported")


def main():
    args = sys.argv[1:]
    platform = "offscreen"
    real_rate = False
    while args and args[0] in ("--platform", "--real-rate"):
        if args[0] == "--real-rate":
            real_rate, args = True, args[1:]
        else:
            platform, args = (args[1:2] or [platform])[0], args[2:]
    if len(args) < 4 or args[0] not in ("load", "start", "sample") or len(args) % 2 == 1:
        sys.exit(__doc__)
    mode, rounds = args[0], int(args[1])
    builds = list(zip(args[2::2], args[3::2]))
    results = {name: [] for name, _ in builds}
    with tempfile.TemporaryDirectory() as root:
        env = None
        if mode == "start":
            big = os.path.join(root, "big.json")
            subprocess.run([sys.executable, startup.__file__, "--write-big", big], check=True)
            env = startup.home(root, "big", big)
            env["QT_QPA_PLATFORM"] = platform
        elif mode == "sample":
            env = startup.home(root, "sample")
            env["QT_QPA_PLATFORM"] = platform
            start_run(builds[0][1], env)  # the first start writes the sample studio
            # The text reference of the first build that has it draws the frame's text runs.
            text_build = next(b for _, b in builds
                              if os.path.exists(os.path.join(b, "bench", "bench_first_frame_text")))
            text_list = startup.first_frame_text(text_build, env, os.path.join(root, "text.tsv"))
        if env is not None and real_rate:
            startup.real_rate(env)
        text = []
        for r in range(rounds):
            for name, build in (builds if r % 2 == 0 else builds[::-1]):
                results[name].append(load_run(build) if mode == "load" else start_run(build, env))
            if mode == "sample":
                text.append(start_run(text_build, env, ("bench", "bench_startup_text"), text_list))
    for name, _ in builds:
        runs = results[name]
        if mode == "load":
            print(f"{name}: load {statistics.median(a for a, _, _ in runs):.1f} ms, simdjson "
                  f"{statistics.median(b for _, b, _ in runs):.1f} ms, ratio {statistics.median(q for _, _, q in runs):.2f}"
                  f" (runs {', '.join(f'{q:.2f}' for _, _, q in runs)})")
        else:
            against = f", {statistics.median(runs) / statistics.median(text):.2f}x the text alone" if text else ""
            print(f"{name}: first paint {statistics.median(runs):.1f} ms{against} "
                  f"(runs {', '.join(f'{t:.0f}' for t in runs)})")
    if text:
        print(f"text alone: first paint {statistics.median(text):.1f} ms")


if __name__ == "__main__":
    main()
