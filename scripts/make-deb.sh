#!/usr/bin/env bash
# Builds Orbalin's Debian package, build/deb/orbalin_VERSION-1_ARCH.deb, and prints its path.
# Installing it: sudo apt-get install ./build/deb/orbalin_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh --package
cmake -S . -B build/deb -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DORBALIN_BUILD_TESTS=OFF -DORBALIN_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/deb -j "$(nproc)" --target orbalin
rm -f build/deb/orbalin_*.deb
(cd build/deb && cpack -G DEB >/dev/null)
ls "$PWD"/build/deb/orbalin_*.deb
