#!/usr/bin/env bash
# Fetches the planet imagery once into the build cache: the stellarium-data package
# is downloaded with apt (not installed) and unpacked beside it. Both steps are
# skipped when their result is already there, so the cache survives rebuilds.
#
#   data/fetch-maps.sh CACHE_DIR STAMP
set -euo pipefail
cache=$1
stamp=$2
mkdir -p "$cache"
cd "$cache"
deb=$(ls stellarium-data_*_all.deb 2>/dev/null | head -n 1 || true)
if [ -z "$deb" ]; then
  echo "fetch-maps: downloading stellarium-data (about 250 MB, once)" >&2
  if ! apt-get download stellarium-data; then
    # A machine whose package lists were never fetched knows no such package yet.
    if [ "$(id -u)" -eq 0 ]; then apt-get update -q; else sudo apt-get update -q; fi
    apt-get download stellarium-data
  fi
  deb=$(ls stellarium-data_*_all.deb | head -n 1)
fi
if [ ! -f stellarium-data/usr/share/stellarium/textures/saturn_rings_radial.png ]; then
  echo "fetch-maps: unpacking $deb" >&2
  rm -rf stellarium-data
  dpkg -x "$deb" stellarium-data
fi
touch "$stamp"
