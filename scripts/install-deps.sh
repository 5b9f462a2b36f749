#!/usr/bin/env bash
# Installs the Debian 12 packages that Orbalin needs, if any is missing:
#   (no argument)     to build, run and test everything
#   --runtime-only    to build and run the program
#   --package         to build the Debian package (scripts/make-deb.sh)
#   --package-check   and to try it in a fresh Debian root (scripts/check-deb.sh)
set -euo pipefail

runtime=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libqt6svg6
    libxcb1-dev qt6-qpa-plugins qt6-wayland libgl-dev libglu1-mesa-dev libgl1-mesa-dri
    libegl-dev libegl1 libegl-mesa0
    # Translations: Qt Linguist's tools and their CMake commands, and Qt's own words.
    qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
    # Animations: WebM and MP4 through FFmpeg, animated WebP, GIF.
    libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libwebp-dev libgif-dev)
# dpkg-shlibdeps reads the program's libraries; CPack asks `file` which files are programs.
package=("${runtime[@]}" dpkg-dev file)

case "${1:-}" in
--runtime-only) packages=("${runtime[@]}") ;;
--package) packages=("${package[@]}") ;;
--package-check) packages=("${package[@]}" debootstrap debian-archive-keyring) ;;
*)
    packages=(
        "${runtime[@]}" qt6-base-private-dev
        libgtest-dev libgmock-dev libbenchmark-dev
        clang libclang-rt-14-dev
        xvfb xauth weston
        python3 libplist-utils
        # The ecosystem's own readers of the animations the suite records.
        ffmpeg webp python3-pil
        # A screen reader's view of the program: the accessibility bus and its Python client.
        at-spi2-core python3-pyatspi
        locales shared-mime-info
        # The desktop: the session bus and a client of it, a window manager, window queries
        # and an X client library for real drags, the validators of the desktop entry and the
        # software-centre metadata, and the package's tools.
        dbus dbus-x11 libglib2.0-bin openbox xdotool x11-utils libx11-dev
        desktop-file-utils appstream
        dpkg-dev file
        # The screen-saver daemon that runs Orbalin in its tests (with its GL visual finder),
        # the XML checker of its description, and screenshots of the blanked screen.
        xscreensaver xscreensaver-gl libxml2-utils imagemagick
    )
    ;;
esac

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
