#!/usr/bin/env bash
# bench/launch.py on X11 (Xvfb with a window manager) and on Wayland (a headless Weston), one
# after the other.
#   bench/launch.sh [BUILD-DIR] [RUNS]      (default build/release; needs its bench targets)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
runs=${2:-21}

echo "== X11: Xvfb and openbox"
xvfb-run -a -s "-screen 0 1920x1080x24 +extension GLX +render -noreset" \
    env -u WAYLAND_DISPLAY -u XDG_SESSION_TYPE dbus-run-session -- \
    sh -c 'openbox >/dev/null 2>&1 & exec python3 bench/launch.py "$0" "$1"' "$build" "$runs"

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
    dbus-run-session -- python3 bench/launch.py "$build" "$runs"
