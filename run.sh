#!/usr/bin/env bash
# Installs what is missing, builds Orbalin and launches it, opening any files named.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

"$here/scripts/install-deps.sh" --runtime-only
cmake -S "$here" -B "$here/build/run" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORBALIN_BUILD_TESTS=OFF -DORBALIN_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$here/build/run" -j "$(nproc)" --target orbalin
exec "$here/build/run/app/orbalin" "$@"
