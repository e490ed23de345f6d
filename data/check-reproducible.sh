#!/usr/bin/env bash
# Runs the data generators a second time into a scratch folder and compares every
# file with the build's: the same inputs must give the same bytes.
#
#   data/check-reproducible.sh HOST_TOOLS MAPS GEN_DIR PICTURE291
set -euo pipefail
tools=$1
maps=$2
gen=$3
picture=$4
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$tools/astrolume_datagen" "$maps" /usr/share/fonts/truetype/dejavu "$here" "$tmp" "$tmp/picture291.jpg"
"$tools/astrolume_synth" "$tmp/music.wav"
oggenc -Q -q 4 --serial 272 -o "$tmp/Sound.ogg" "$tmp/music.wav"
status=0
count=0
for f in "$tmp"/*; do
  [ -f "$f" ] || continue
  name=$(basename "$f")
  if [ "$name" = picture291.jpg ]; then built=$picture; else built=$gen/$name; fi
  if ! cmp -s "$f" "$built"; then
    echo "differs: $name" >&2
    status=1
  fi
  count=$((count + 1))
done
echo "compared $count files"
exit $status
