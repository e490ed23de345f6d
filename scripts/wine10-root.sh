#!/usr/bin/env bash
# Debian 13's Wine 10 beside the machine's own Wine 8: a Debian 13 root made with
# debootstrap from Debian's archive, with Wine, Mesa and GLU in it. It is kept in a
# cache outside the clone, so every clone on the machine shares it; made once (in
# about two minutes), then this only looks at its stamp. Needs root for debootstrap
# and chroot, as the rest of the set-up does for apt.
#
#   scripts/wine10-root.sh        prints the root's folder once it is ready
set -euo pipefail
root=${ASTROLUME_WINE10_ROOT:-/var/cache/astrolume/wine10-trixie}
mirror=http://deb.debian.org/debian
# Wine opens the X extensions' libraries itself, so they are not among its
# dependencies: without Xinerama it sees one monitor where X has two.
packages="wine wine64 libgl1-mesa-dri libgl1 libglx-mesa0 libglu1-mesa
  libxinerama1 libxrandr2 libxi6 libxcursor1 libxcomposite1"
stamp="$root/.astrolume-ready"

if [ "$(cat "$stamp" 2>/dev/null)" = "$packages" ]; then
  echo "$root"
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  exec sudo ASTROLUME_WINE10_ROOT="$root" "$0" "$@"
fi

# Two clones setting up at once make it once.
mkdir -p "$(dirname "$root")"
exec 9>"$root.lock"
flock 9
if [ "$(cat "$stamp" 2>/dev/null)" = "$packages" ]; then
  echo "$root"
  exit 0
fi

work="$root.new"
if [ -d "$root/usr/lib" ]; then
  # A root of an earlier list: the packages the list gained, into it.
  echo "setup: updating the Debian 13 root of Wine 10 in $root" >&2
  work=$root
else
  echo "setup: making the Debian 13 root of Wine 10 in $root (once)" >&2
  rm -rf "$work"
  debootstrap --variant=minbase trixie "$work" "$mirror" >"$root.log" 2>&1 ||
    { echo "setup: debootstrap failed; see $root.log" >&2; exit 1; }
  cp /etc/resolv.conf "$work/etc/resolv.conf"
fi
# apt needs /proc; a mount namespace of its own takes the mount away with it.
unshare -m --propagation private sh -c '
  mount -t proc proc "$1/proc" &&
  DEBIAN_FRONTEND=noninteractive chroot "$1" apt-get install -y -q --no-install-recommends $2 &&
  chroot "$1" apt-get clean' sh "$work" "$packages" >>"$root.log" 2>&1 ||
  { echo "setup: installing Wine 10 in the root failed; see $root.log" >&2; exit 1; }
if [ "$work" != "$root" ]; then
  rm -rf "$root"
  mv "$work" "$root"
fi
echo "$packages" >"$stamp"
echo "$root"
