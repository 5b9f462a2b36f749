#!/usr/bin/env bash
# Processor time and first frame of an animated scene window against a bare OpenGL window on
# the same display, on X11 (Xvfb) and on Wayland (a headless Weston), one after the other in
# one run, with the machine's load before, between and after.
#   bench/view_cpu.sh [BUILD-DIR]      (default build/release; needs its bench/view_bench)
set -euo pipefail
cd "$(dirname "$0")/.."
bench=${1:-build/release}/bench/view_bench
filter="CpuAgainstBareWindow|FirstFrameAgainstBareWindow"

load() { echo "-- load average $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) processors"; }

load
echo "== X11: Xvfb"
xvfb-run -a -s "-screen 0 1920x1080x24 +extension GLX +render -noreset" \
    env -u WAYLAND_DISPLAY -u XDG_SESSION_TYPE "$bench" --benchmark_filter="$filter"

load
echo "== Wayland: headless Weston"
work=$(mktemp -d) # mode 0700, as Weston's runtime folder must be
fail() {
    echo "$*" >&2
    exit 1
}
# shellcheck source=tests/support/session.sh
. tests/support/session.sh
start_weston bench 1920 1080
env -u DISPLAY XDG_RUNTIME_DIR="$work" WAYLAND_DISPLAY=bench QT_QPA_PLATFORM=wayland \
    "$bench" --benchmark_filter="$filter"
load
