#!/usr/bin/env bash
# Packages one Windows build tree: the installer and the portable zip.
#
#   scripts/dist.sh <build tree> <output folder> <x86|amd64>
#
# `make dist` packages the shipped 32-bit tree (x86). The packaging test packages
# the tree the bench runs, so that what it installs is what Wine can start here.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
arch=$3

# The one version: the numbers of the version resource.
version_of() { sed -n "s/^#define $1 \"\(.*\)\"$/\1/p" "$tree/resources/generated/Version.h"; }
version=$(version_of ASTROLUME_VERSION_TEXT)
dotted=$(version_of ASTROLUME_VERSION_DOTTED)
[ -n "$version" ] && [ -n "$dotted" ] || { echo "dist: no version in $tree" >&2; exit 1; }

stage="$out/stage"
rm -rf "$stage" && mkdir -p "$stage"
crlf() { sed -e 's/\r$//' -e 's/$/\r/' "$1" >"$2"; }
crlf "$root/LICENSE" "$stage/LICENSE.txt"
crlf "$root/data/CREDITS.md" "$stage/CREDITS.txt"
sed "s/@VERSION@/$version/g" "$root/packaging/README.txt.in" >"$stage/README.in"
crlf "$stage/README.in" "$stage/README.txt" && rm "$stage/README.in"
for f in Astrolume.scr duzidad.dll bass.dll; do cp "$tree/bin/$f" "$stage/$f"; done

zip="$out/Astrolume-$version-portable.zip"
setup="$out/Astrolume-$version-setup.exe"
rm -f "$zip" "$setup"
(cd "$stage" && cmake -E tar cf "$zip" --format=zip \
  Astrolume.scr duzidad.dll bass.dll LICENSE.txt CREDITS.txt README.txt)

makensis -V2 -NOCD \
  "-DVERSION=$version" "-DVERSION_DOTTED=$dotted" "-DARCH=$arch" \
  "-DBINDIR=$stage" "-DTEXTDIR=$stage" "-DOUTFILE=$setup" \
  "-DICON=$tree/resources/generated/Astrolume.ico" \
  "$root/packaging/Astrolume.nsi"
rm -rf "$stage"
echo "dist: $setup ($(stat -c %s "$setup") bytes)"
echo "dist: $zip ($(stat -c %s "$zip") bytes)"
