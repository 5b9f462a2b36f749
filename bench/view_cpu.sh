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
runtime=$(mktemp -d) # mode 0700, as a runtime directory must be
XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --use-pixman --no-config \
    --socket=bench --width=1920 --height=1080 >"$runtime/weston.log" 2>&1 &
weston=$!
trap 'kill "$weston" 2>/dev/null || true; wait "$weston" 2>/dev/null || true; rm -rf "$runtime"' EXIT
for _ in $(seq 100); do
    [ -S "$runtime/bench" ] && break
    sleep 0.1
done
env -u DISPLAY XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY=bench QT_QPA_PLATFORM=wayland \
    "$bench" --benchmark_filter="$filter"
load
