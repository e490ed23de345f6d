#!/usr/bin/env bash
# The build must refuse texts that the panel cannot show: each case spoils a copy
# of the real texts in one way and expects the generator to stop with a reason.
#
#   data/check-text-limits.sh HOST_TOOLS
set -euo pipefail
tools=$1
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fonts=/usr/share/fonts/truetype/dejavu
long='{8}This line runs on far past the right edge of the frame'

spoil() {  # case name, the text file to spoil, a sed script, the reason expected
  local name=$1 file=$2 script=$3 expect=$4
  mkdir -p "$tmp/$name/texts" "$tmp/$name/out"
  cp "$here/descriptions.txt" "$here/messages.txt" "$tmp/$name/texts/"
  sed -i "$script" "$tmp/$name/texts/$file"
  if "$tools/astrolume_datagen" /nonexistent "$fonts" "$tmp/$name/texts" "$tmp/$name/out" "$tmp/$name/p.jpg" \
      2>"$tmp/$name/err"; then
    echo "FAIL $name: the generator accepted it" >&2
    return 1
  fi
  if ! grep -q "$expect" "$tmp/$name/err"; then
    echo "FAIL $name: expected '$expect', got: $(cat "$tmp/$name/err")" >&2
    return 1
  fi
  echo "ok   $name"
}

status=0
spoil line-too-long   descriptions.txt "/^object Mars/a $long" "past" || status=1
spoil beside-the-sign descriptions.txt "/^object Venus/a {8}The first line runs on until it reaches the sign" "past 208" || status=1
spoil too-few-lines   descriptions.txt "/^object Earth/,/^objend/{/Moons/d;/Axial/d;/Day:/d;/Year:/d}" "not 8 to 14" || status=1
spoil no-closing-line descriptions.txt "/^object Pluto/,\$s/^objend\$/end/" "no complete block for Pluto" || status=1
spoil not-in-the-font descriptions.txt "/^object Sun/a {8}Sun ✓" "not in the font" || status=1
spoil few-messages    messages.txt     "4,\$d" "fewer than six" || status=1
spoil code-in-message messages.txt     "1s/^/{B}/" "colour code" || status=1
exit $status
