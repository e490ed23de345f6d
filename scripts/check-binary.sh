#!/usr/bin/env bash
# Checks the shape of a built Windows program: a GUI executable for the given
# processor with a subsystem version of at least 4.0 that imports only system DLLs.
#
#   scripts/check-binary.sh <program> <i686|x86_64>
set -euo pipefail
program=$1
processor=$2
fail() { echo "check-binary: $*" >&2; exit 1; }

description=$(file -b "$program")
case "$processor:$description" in
  i686:*"PE32 executable"*"(GUI)"*"Intel 80386"*) ;;
  x86_64:*"PE32+ executable"*"(GUI)"*"x86-64"*) ;;
  *) fail "not a GUI executable for $processor: $description" ;;
esac

headers=$("$processor-w64-mingw32-objdump" -p "$program")
major=$(awk '/^MajorSubsystemVersion/ {print $2}' <<<"$headers")
[ "${major:-0}" -ge 4 ] || fail "subsystem version $major is below 4.0"

system_dlls='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|opengl32|glu32|winmm|msvcrt|comdlg32|version|shlwapi)\.dll$'
imports=$(awk '/DLL Name:/ {print tolower($3)}' <<<"$headers" | sort -u)
[ -n "$imports" ] || fail "no import table found"
while read -r dll; do
  [[ "$dll" =~ $system_dlls ]] || fail "imports a non-system DLL: $dll"
done <<<"$imports"

grep -q 'Microsoft.Windows.Common-Controls' "$program" || fail "no common-controls manifest"
echo "check-binary: $description; subsystem $major; imports: $(tr '\n' ' ' <<<"$imports")"
