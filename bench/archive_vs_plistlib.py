#!/usr/bin/env python3
"""Times Orbalin's scene codec against Python's plistlib on the same 100 000-pair file.

Usage: archive_vs_plistlib.py BUILD_DIR [REPETITIONS]

Runs bench/archive_bench (which writes the scene file it measures), times plistlib.loads on
that file in the same run, measures the peak memory of opening it with bench/archive_open_peak,
and checks the goals: reading in at most a tenth of plistlib's time, writing in at most 0.2 s,
and opening with at most three times the file size in memory above the idle process. Other
work on the machine slows every figure, so each is the best of several runs, with its spread;
the load average is printed beside them.
"""

import json
import os
import plistlib
import subprocess
import sys
import tempfile
import time


def best_and_spread(values):
    return min(values), max(values) - min(values)


def main():
    build = sys.argv[1]
    repetitions = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    bench = os.path.join(build, "bench", "archive_bench")
    peak_tool = os.path.join(build, "bench", "archive_open_peak")
    with tempfile.TemporaryDirectory() as scratch:
        scene = os.path.join(scratch, "scene.orbalin")
        load_before = os.getloadavg()
        out = subprocess.run(
            [bench, f"--scene-file={scene}", "--benchmark_format=json",
             f"--benchmark_repetitions={repetitions}"],
            check=True, capture_output=True, text=True).stdout
        times = {}
        for run in json.loads(out)["benchmarks"]:
            if run.get("run_type") == "iteration":
                name = run["name"].split("/")[0].removeprefix("BM_")
                times.setdefault(name, []).append(run["real_time"] / 1000.0)

        with open(scene, "rb") as f:
            data = f.read()
        loads = []
        for _ in range(repetitions):
            start = time.perf_counter()
            plistlib.loads(data)
            loads.append(time.perf_counter() - start)
        del data

        peaks = [json.loads(subprocess.run([peak_tool, scene], check=True, capture_output=True,
                                           text=True).stdout)["times_file_size"]
                 for _ in range(repetitions)]
        size = os.path.getsize(scene)
        load_after = os.getloadavg()

    write, write_spread = best_and_spread(times["WriteScene"])
    read, read_spread = best_and_spread(times["ReadScene"])
    opened, open_spread = best_and_spread(times["OpenScene"])
    plist, plist_spread = best_and_spread(loads)
    peak, peak_spread = best_and_spread(peaks)
    print(f"scene file: 100000 pairs, {size / 1e6:.1f} MB")
    print(f"load average: {load_before[0]:.2f} before, {load_after[0]:.2f} after "
          f"({os.cpu_count()} processors)")
    print(f"best of {repetitions}, with the spread between best and worst:")
    rows = [
        ("write", write, write_spread, "<= 0.2 s", write <= 0.2),
        ("read (decode)", read, read_spread, f"<= {plist / 10:.3f} s (plistlib / 10)",
         read <= plist / 10),
        ("open (read file + decode)", opened, open_spread, "", None),
        ("plistlib.loads", plist, plist_spread, "", None),
    ]
    for name, best, spread, goal, met in rows:
        verdict = "" if met is None else ("  met" if met else "  MISSED")
        print(f"  {name:27} {best:7.3f} s  (+{spread:.3f})  {goal}{verdict}")
    print(f"  {'peak memory opening':27} {peak:7.2f} x file size  (+{peak_spread:.2f})  "
          f"<= 3 x{'  met' if peak <= 3 else '  MISSED'}")
    print(f"  read is {plist / read:.1f} times as fast as plistlib")
    return 0 if write <= 0.2 and read <= plist / 10 and peak <= 3 else 1


if __name__ == "__main__":
    sys.exit(main())
