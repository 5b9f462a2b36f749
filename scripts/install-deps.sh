#!/usr/bin/env bash
# Installs the Debian 12 packages that Orbalin needs to build, run and test, if any is missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libqt6svg6 qt6-qpa-plugins
    libgl-dev libglu1-mesa-dev libgl1-mesa-dri
    libegl-dev libegl1 libegl-mesa0
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    xvfb xauth
    python3 libplist-utils
    locales shared-mime-info desktop-file-utils
)
if [ "${1:-}" = "--runtime-only" ]; then
    packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libqt6svg6
        qt6-qpa-plugins libgl-dev libglu1-mesa-dev libgl1-mesa-dri libegl-dev libegl1 libegl-mesa0)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
