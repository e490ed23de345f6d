#!/usr/bin/env bash
# Packages the Windows build trees: the installer, for 64-bit (x64) Windows, holding
# the 64-bit build; and the portable zip with both builds in folders of their own.
#
#   scripts/dist.sh <32-bit tree> <64-bit tree> <output folder>
#
# `make dist` and the packaging test both run this, so the installer the test
# installs is the one that ships. Every packed file carries the time of the 64-bit
# program's build, so the same trees give the same installer, byte for byte.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree32=$(cd "$1" && pwd)
tree64=$(cd "$2" && pwd)
mkdir -p "$3"
out=$(cd "$3" && pwd)

# The one version: the numbers of the version resource, the same in both trees.
version_of() { sed -n "s/^#define $2 \"\(.*\)\"$/\1/p" "$1/resources/generated/Version.h"; }
version=$(version_of "$tree32" ASTROLUME_VERSION_TEXT)
dotted=$(version_of "$tree32" ASTROLUME_VERSION_DOTTED)
[ -n "$version" ] && [ -n "$dotted" ] || { echo "dist: no version in $tree32" >&2; exit 1; }
[ "$(version_of "$tree64" ASTROLUME_VERSION_DOTTED)" = "$dotted" ] ||
  { echo "dist: $tree64 is not version $dotted; build both trees" >&2; exit 1; }

stage="$out/stage"
rm -rf "$stage" && mkdir -p "$stage/32-bit" "$stage/64-bit"
crlf() { sed -e 's/\r$//' -e 's/$/\r/' "$1" >"$2"; }
crlf "$root/LICENSE" "$stage/LICENSE.txt"
crlf "$root/data/CREDITS.md" "$stage/CREDITS.txt"
sed "s/@VERSION@/$version/g" "$root/packaging/README.txt.in" >"$stage/README.in"
crlf "$stage/README.in" "$stage/README.txt" && rm "$stage/README.in"
binaries=()
for bits in 32 64; do
  tree=$tree32; [ $bits = 32 ] || tree=$tree64
  for f in Astrolume.scr duzidad.dll bass.dll; do
    cp "$tree/bin/$f" "$stage/$bits-bit/$f"
    binaries+=("$bits-bit/$f")
  done
done
find "$stage" -type f -exec touch -r "$tree64/bin/Astrolume.scr" {} +

zip="$out/Astrolume-$version-portable.zip"
setup="$out/Astrolume-$version-setup.exe"
rm -f "$zip" "$setup"
(cd "$stage" && cmake -E tar cf "$zip" --format=zip \
  "${binaries[@]}" LICENSE.txt CREDITS.txt README.txt)

installed_kb=$(du -k --apparent-size -c "$stage/64-bit"/* "$stage"/*.txt | tail -n 1 | cut -f 1)
makensis -V2 -WX -NOCD \
  "-DVERSION=$version" "-DVERSION_DOTTED=$dotted" "-DINSTALLED_KB=$installed_kb" \
  "-DBINDIR=$stage/64-bit" "-DTEXTDIR=$stage" \
  "-DOUTFILE=$setup" "-DICON=$tree64/resources/generated/Astrolume.ico" \
  "$root/packaging/Astrolume.nsi"
rm -rf "$stage"
echo "dist: $setup ($(stat -c %s "$setup") bytes)"
echo "dist: $zip ($(stat -c %s "$zip") bytes)"
