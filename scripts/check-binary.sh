#!/usr/bin/env bash
# Checks the shape of a built Windows program: a 32-bit GUI executable with a
# subsystem version of at least 4.0 that imports only system DLLs.
set -euo pipefail
program=$1
fail() { echo "check-binary: $*" >&2; exit 1; }

description=$(file -b "$program")
case "$description" in
  *"PE32 executable"*"(GUI)"*"Intel 80386"*) ;;
  *) fail "not a PE32 GUI i386 executable: $description" ;;
esac

headers=$(i686-w64-mingw32-objdump -p "$program")
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
