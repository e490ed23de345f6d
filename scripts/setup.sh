#!/usr/bin/env bash
# Installs every Debian package the build and the tests need, and the Debian 13
# root of the bench's second Wine. Idempotent: when everything is present it
# does no apt work at all.
set -euo pipefail

packages=(
  build-essential cmake make git file icoutils libxml2-utils debootstrap
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine32:i386 wine64 libwine:i386
  xvfb xauth xdotool x11-utils imagemagick
  xserver-xorg-core xserver-xorg-video-dummy
  googletest libstb-dev fonts-dejavu-core vorbis-tools nsis clang libclang-rt-14-dev
  libasound2-plugins:i386 alsa-utils
  libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386 libglu1-mesa:i386
  libgl1:amd64 libglx-mesa0:amd64 libgl1-mesa-dri:amd64 libglu1-mesa:amd64
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  need_arch=1
else
  need_arch=0
fi

# Debian 13's Wine 10, the bench's second Wine, lives in a root of its own.
wine10_root() { "$(dirname "$0")/wine10-root.sh" >/dev/null; }

if [ "${#missing[@]}" -eq 0 ] && [ "$need_arch" -eq 0 ]; then
  wine10_root
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi
export DEBIAN_FRONTEND=noninteractive
if [ "$need_arch" -eq 1 ]; then
  $SUDO dpkg --add-architecture i386
fi
echo "setup: installing ${missing[*]}" >&2
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
wine10_root
