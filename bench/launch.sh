#!/usr/bin/env bash
# bench/launch.py on X11 (Xvfb with a window manager) and on Wayland (a headless Weston), one
# after the other.
#   bench/launch.sh [BUILD-DIR] [RUNS]      (default build/release; needs its bench targets)
set -euo pipefail
cd "$(dirname "$0")/.."
exec bench/on_both_displays.sh --window-manager python3 bench/launch.py "${1:-build/release}" \
    "${2:-21}"
