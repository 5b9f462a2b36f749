#!/usr/bin/env bash
# Processor time of Orbalin as a screen saver against a document window of the same size, on
# Xvfb, each alone on the display for ten seconds after three to settle: a new window's size,
# then 1600x900; with the machine's load before and after.
#   bench/screensaver_cpu.sh [BUILD-DIR]   (default build/release; needs its tests built)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
orbalin=$build/app/orbalin host_window=$build/tests/x11_host_window
work=$(mktemp -d)
fail() {
    echo "$*" >&2
    exit 1
}
# shellcheck source=tests/support/session.sh
. tests/support/session.sh
start_xvfb 1920x1080x24

load() { echo "-- load average $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) processors"; }
# Processor seconds a process takes over ten seconds, as a percentage of one processor.
cpu_percent() {
    local pid=$1 before after
    sleep 3
    before=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    sleep 10
    after=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    awk -v ticks=$((after - before)) -v hz="$(getconf CLK_TCK)" 'BEGIN{printf "%.1f", ticks * 100 / hz / 10}'
}
stop() {
    kill "$1"
    wait "$1" 2>/dev/null || true
}

load
for round in new-window 1600x900; do
    # A document window, alone on a bus of its own, keeping its settings here.
    dbus-run-session -- env XDG_CONFIG_HOME="$work" "$orbalin" >/dev/null 2>&1 &
    session=$!
    window=
    for _ in $(seq 300); do
        window=$(xdotool search --name '^Untitled' 2>/dev/null | head -n1 || true)
        [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { echo "no document window" >&2; exit 1; }
    if [ "$round" != new-window ]; then
        xdotool windowsize --sync "$window" "${round%x*}" "${round#*x}"
    fi
    read -r width height < <(xwininfo -id "$window" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w, h}')
    pid=$(xdotool getwindowpid "$window")
    echo "round $round: document window ${width}x${height}: $(cpu_percent "$pid") % of a processor"
    stop "$session"

    "$host_window" "$width" "$height" >"$work/host" &
    host=$!
    for _ in $(seq 300); do
        [ -s "$work/host" ] && break
        sleep 0.1
    done
    "$orbalin" --window-id "$(head -n1 "$work/host")" 2>/dev/null &
    saver=$!
    echo "round $round: screen saver ${width}x${height}:   $(cpu_percent "$saver") % of a processor"
    stop "$saver"
    stop "$host"
done
load
