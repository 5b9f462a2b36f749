#!/bin/bash
# Recording animations from the command line: the wall time of 10 s at 640x480 in each format
# (to be no longer than the clip lasts), and the peak memory of 60 s at 1920x1080 above a still
# picture of that size (the program with its OpenGL driver loaded and nothing recorded).
# Usage: bench/animation.sh [build folder, default build/release]
set -euo pipefail
build=${1:-build/release}
orbalin=$build/app/orbalin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A scene of 40 random pairs, as many as a new document may have.
scene=$work/scene.orbalin
"$build/tests/archive_probe" random 1 40 "$scene" >/dev/null
measure() { # label, arguments...: prints wall seconds and peak kilobytes
    local label=$1
    shift
    /usr/bin/time -f "%e %M" -o "$work/time" env -u DISPLAY -u WAYLAND_DISPLAY "$orbalin" \
        --render "$scene" --seed 1 "$@" >/dev/null
    read -r seconds kilobytes <"$work/time"
    printf '%-34s %7.2f s %8d KB\n' "$label" "$seconds" "$kilobytes"
    echo "$kilobytes" >"$work/last"
}
echo "10 s at 640x480 (313 frames):"
for format in webm mp4 gif webp; do
    measure "  $format" --output "$work/clip.$format" --duration 10
done
echo "60 s at 1920x1080 (1875 frames), peak memory above a still picture:"
measure "  still picture" --output "$work/still.png" --size 1920x1080
idle=$(cat "$work/last")
for format in webm mp4 gif; do
    measure "  $format" --output "$work/clip.$format" --duration 60 --size 1920x1080
    echo "    above the still picture: $((($(cat "$work/last") - idle) / 1024)) MB"
done
