#!/usr/bin/env bash
# Tries Orbalin's Debian package the way a user meets it: builds the package, installs it with
# apt-get in a fresh Debian 12 root (made by debootstrap from the mirror this machine's apt
# uses), runs it there, checks what it installed and that the desktop's caches took it in, then
# removes it and checks nothing is left behind. Needs root and the network; takes minutes, so
# ./test.sh does not run it. The minimal root is made once and kept as
# build/deb-check/bookworm.tar; --fresh makes it again.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || exec sudo "$0" "$@"
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

began=$SECONDS
./scripts/install-deps.sh --package-check
deb=$(./scripts/make-deb.sh | tail -n 1)
echo "== built $(basename "$deb") in $((SECONDS - began)) s"

work=$PWD/build/deb-check
root=$work/root
mkdir -p "$work"
sources=$(find /etc/apt -maxdepth 2 \( -name sources.list -o -name '*.list' -o -name '*.sources' \) -type f)
mirror=$(sed -n 's/^URIs: *\(http[^ ]*\/debian\)\/\?$/\1/p
    s/^deb \+\(\[[^]]*\] \+\)\?\(http[^ ]*\/debian\)\/\? .*/\2/p' $sources | head -n 1 || true)
mirror=${mirror:-http://deb.debian.org/debian}

if [ "${1:-}" = "--fresh" ] || [ ! -f "$work/bookworm.tar" ]; then
    step=$SECONDS
    rm -rf "$work/bootstrap"
    debootstrap --variant=minbase bookworm "$work/bootstrap" "$mirror" >"$work/debootstrap.log" 2>&1 ||
        fail "debootstrap (see $work/debootstrap.log)"
    tar -C "$work/bootstrap" -cf "$work/bookworm.tar" .
    rm -rf "$work/bootstrap"
    echo "== made a Debian 12 root from $mirror in $((SECONDS - step)) s"
fi

cleanup() {
    umount "$root/proc" 2>/dev/null || true
    rm -rf "$root"
}
trap cleanup EXIT
cleanup
mkdir -p "$root"
tar -C "$root" -xf "$work/bookworm.tar"
mount -t proc proc "$root/proc"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# As a Debian 12 installation has them: the release, its updates and its security updates.
printf 'deb %s bookworm main\ndeb %s bookworm-updates main\ndeb %s-security bookworm-security main\n' \
    "$mirror" "$mirror" "$mirror" >"$root/etc/apt/sources.list"
# No services start inside the root.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod +x "$root/usr/sbin/policy-rc.d"
cp "$deb" "$root/tmp/"
in_root() { chroot "$root" env DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8 "$@"; }

step=$SECONDS
log=$work/install.log
in_root apt-get update -q >"$log" 2>&1 || fail "apt-get update (see $log)"
# What a desktop has, whose triggers refresh the MIME, application and icon caches.
in_root apt-get install -y -q shared-mime-info desktop-file-utils hicolor-icon-theme >>"$log" 2>&1 ||
    fail "installing the desktop's cache tools (see $log)"
in_root sh -c 'cd /tmp && apt-get install -y -q ./orbalin_*.deb' >>"$log" 2>&1 ||
    fail "apt-get install ./orbalin_*.deb (see $log)"
echo "== installed with its dependencies in $((SECONDS - step)) s"

version=$(in_root orbalin --version) || fail "orbalin --version"
echo "== orbalin --version: $version"
# A thumbnail, made by the installed thumbnailer's own command with no display: the package
# brought what drawing needs.
cp tests/desktop/two-segments.orbalin "$root/tmp/scene.orbalin"
thumbnail=$(sed -n 's/^Exec=//p' "$root/usr/share/thumbnailers/io.github.orbalin.Orbalin.thumbnailer" |
    sed 's|%i|/tmp/scene.orbalin|; s|%o|/tmp/scene.png|; s|%s|256|')
in_root sh -c "$thumbnail" || fail "the thumbnailer: $thumbnail"
# The PNG header's width and height: 256 by 256.
[ "$(od -An -tx1 -j16 -N8 "$root/tmp/scene.png" | tr -d ' \n')" = 0000010000000100 ] ||
    fail "the thumbnail is not 256 by 256"
echo "== the thumbnailer drew a 256 by 256 picture: $thumbnail"

files=$(in_root dpkg -L orbalin)
for path in \
    /usr/bin/orbalin \
    /usr/share/applications/io.github.orbalin.Orbalin.desktop \
    /usr/share/mime/packages/io.github.orbalin.Orbalin.xml \
    /usr/share/icons/hicolor/scalable/apps/io.github.orbalin.Orbalin.svg \
    /usr/share/icons/hicolor/scalable/mimetypes/application-x-orbalin-scene.svg \
    /usr/share/metainfo/io.github.orbalin.orbalin.metainfo.xml \
    /usr/share/thumbnailers/io.github.orbalin.Orbalin.thumbnailer \
    /usr/share/dbus-1/services/io.github.orbalin.Orbalin.service \
    /usr/share/man/man1/orbalin.1 \
    /usr/share/doc/orbalin/copyright \
    /usr/libexec/xscreensaver/orbalin \
    /usr/share/xscreensaver/config/orbalin.xml; do
    grep -qxF "$path" <<<"$files" || fail "dpkg -L orbalin does not list $path"
done
[ "$(readlink -f "$root/usr/libexec/xscreensaver/orbalin")" = "$root/usr/bin/orbalin" ] ||
    fail "the screen-saver daemon's link does not lead to the program"
echo "== dpkg -L orbalin lists the program, desktop entry, file type, icons, metainfo, thumbnailer, bus service, manual page, copyright, and the screen-saver link and description"
[ -f "$root/usr/share/mime/application/x-orbalin-scene.xml" ] ||
    fail "the MIME database does not know application/x-orbalin-scene"
grep -q '^application/x-orbalin-scene=io.github.orbalin.Orbalin.desktop' \
    "$root/usr/share/applications/mimeinfo.cache" || fail "the desktop's MIME cache misses Orbalin"
echo "== the MIME database and the applications' MIME cache took Orbalin in"

step=$SECONDS
log=$work/remove.log
in_root apt-get purge -y -q orbalin >"$log" 2>&1 || fail "apt-get purge orbalin (see $log)"
in_root apt-get autoremove --purge -y -q >>"$log" 2>&1 || fail "apt-get autoremove (see $log)"
in_root dpkg -s orbalin >/dev/null 2>&1 && fail "orbalin is still installed"
while read -r path; do
    [ -d "$root$path" ] || [ ! -e "$root$path" ] || fail "$path is left behind"
done <<<"$files"
[ ! -e "$root/usr/share/mime/application/x-orbalin-scene.xml" ] ||
    fail "the MIME database still knows application/x-orbalin-scene"
! grep -q 'io.github.orbalin.Orbalin' "$root/usr/share/applications/mimeinfo.cache" ||
    fail "the desktop's MIME cache still names Orbalin"
echo "== removed cleanly in $((SECONDS - step)) s"
echo "== all checks passed in $((SECONDS - began)) s"
