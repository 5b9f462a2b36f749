#!/usr/bin/env python3
"""Launch to first frame, and memory when opening a large scene, of the real program.

Usage: launch.py BUILD_DIR [RUNS]     (on a display: X11 or Wayland; bench/launch.sh runs both)

Start-up: `orbalin SCENE` with a 50-pair scene against bench/bare_window, a bare OpenGL window
drawing 50 lines, launched alternately RUNS times (default 21); each is timed from the launch to
its first buffer swap by bench/first_swap, preloaded. The medians and their ratio are printed;
the goal is at most 1.2.

Memory: the peak resident memory of `orbalin SCENE` at its tenth frame, with a 100 000-pair
scene written by bench/archive_bench against the 50-pair one (idle), three times each; the
median of the difference is printed against the file's size. The goal is at most 2.
"""

import os
import plistlib
import random
import statistics
import subprocess
import sys
import tempfile
import time


def small_scene(path, pairs=50):
    """A scene of `pairs` random coloured segments, as a keyed archive."""
    rng = random.Random(6)
    objects = ["$null"]

    def add(value):
        objects.append(value)
        return plistlib.UID(len(objects) - 1)

    point_class = add({"$classname": "GLPointWithColor", "$classes": ["GLPointWithColor", "NSObject"]})
    pair_class = add({"$classname": "GLPointPair", "$classes": ["GLPointPair", "NSObject"]})
    array_class = add({"$classname": "NSArray", "$classes": ["NSArray", "NSObject"]})

    def point():
        values = {k: rng.uniform(-800, 800) for k in ("glpwcXKey", "glpwcYKey", "glpwcZKey")}
        values.update({k: rng.random() for k in ("glpwcRedKey", "glpwcGreenKey", "glpwcBlueKey")})
        return add(dict(values, glpwcAlphaKey=1.0, **{"$class": point_class}))

    elements = [add({"$class": pair_class, "glppPoint1Key": point(), "glppPoint2Key": point()})
                for _ in range(pairs)]
    root = add({"$class": array_class, "NS.objects": elements})
    archive = {"$archiver": "NSKeyedArchiver", "$version": 100000, "$top": {"root": root},
               "$objects": objects}
    with open(path, "wb") as f:
        plistlib.dump(archive, f, fmt=plistlib.FMT_BINARY)


def launch(command, shim, scratch, count=1):
    """Nanoseconds from launch to the count-th swap, peak and current memory in kB then."""
    report = os.path.join(scratch, "swap")
    if os.path.exists(report):
        os.remove(report)
    env = dict(os.environ, LD_PRELOAD=shim, FIRST_SWAP_FILE=report,
               FIRST_SWAP_COUNT=str(count), XDG_CONFIG_HOME=os.path.join(scratch, "config"))
    start = time.monotonic_ns()
    subprocess.run(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   timeout=60, check=False)
    with open(report) as f:
        swapped, peak, now = (int(v) for v in f.read().split())
    return swapped - start, peak, now


def main():
    build = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 21
    program = os.path.join(build, "app", "orbalin")
    bare = os.path.join(build, "bench", "bare_window")
    shim = os.path.join(build, "bench", "first_swap.so")
    if not os.path.exists(shim):
        sys.exit(f"{shim} is missing: build the bench targets first")
    with tempfile.TemporaryDirectory() as scratch:
        small = os.path.join(scratch, "small.orbalin")
        large = os.path.join(scratch, "large.orbalin")
        small_scene(small)
        subprocess.run([os.path.join(build, "bench", "archive_bench"), f"--scene-file={large}",
                        "--benchmark_filter=WriteScene", "--benchmark_min_time=0.01"],
                       check=True, capture_output=True)
        print(f"-- load average {os.getloadavg()[0]:.2f}")
        scene_ms, bare_ms = [], []
        for _ in range(runs):
            scene_ms.append(launch([program, small], shim, scratch)[0] / 1e6)
            bare_ms.append(launch([bare], shim, scratch)[0] / 1e6)
        scene, base = statistics.median(scene_ms), statistics.median(bare_ms)
        print(f"launch to first frame: scene window {scene:.1f} ms, bare window {base:.1f} ms,"
              f" {scene / base:.2f} x  (goal <= 1.2, medians of {runs})")

        idle = statistics.median(launch([program, small], shim, scratch, 10)[1] for _ in range(3))
        peak = statistics.median(launch([program, large], shim, scratch, 10)[1] for _ in range(3))
        size = os.path.getsize(large)
        above = (peak - idle) * 1024
        print(f"opening 100000 pairs ({size / 1e6:.1f} MB): peak {peak / 1024:.0f} MB, idle"
              f" {idle / 1024:.0f} MB, {above / 1e6:.0f} MB above idle = {above / size:.2f} x the"
              f" file  (goal <= 2)")
        print(f"-- load average {os.getloadavg()[0]:.2f}")


if __name__ == "__main__":
    main()
