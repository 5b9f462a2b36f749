#!/usr/bin/env bash
# Runs a command on X11 (Xvfb) and then on Wayland (a headless Weston of its own), one after
# the other, with the machine's load before, between and after. With --window-manager, openbox
# manages the X11 windows, as on a desktop. Run from the top of the tree.
#   bench/on_both_displays.sh [--window-manager] COMMAND [ARGUMENT...]
set -euo pipefail
manager=
if [ "${1:-}" = --window-manager ]; then
    manager=openbox
    shift
fi

load() { echo "-- load average $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) processors"; }

load
echo "== X11: Xvfb${manager:+ and $manager}"
xvfb-run -a -s "-screen 0 1920x1080x24 +extension GLX +render -noreset" \
    env -u WAYLAND_DISPLAY -u XDG_SESSION_TYPE dbus-run-session -- \
    sh -c '[ -z "$0" ] || "$0" >/dev/null 2>&1 & exec "$@"' "$manager" "$@"

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
    dbus-run-session -- "$@"
load
