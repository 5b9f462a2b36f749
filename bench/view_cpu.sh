#!/usr/bin/env bash
# Processor time and first frame of an animated scene window against a bare OpenGL window on
# the same display, on X11 (Xvfb) and on Wayland (a headless Weston), one after the other in
# one run, with the machine's load before, between and after.
#   bench/view_cpu.sh [BUILD-DIR]      (default build/release; needs its bench/view_bench)
set -euo pipefail
cd "$(dirname "$0")/.."
exec bench/on_both_displays.sh "${1:-build/release}/bench/view_bench" \
    --benchmark_filter="CpuAgainstBareWindow|FirstFrameAgainstBareWindow"
