#!/usr/bin/env bash
# Checks what Windows itself checks before it runs the saver, and Wine lets pass:
# the program and the two libraries beside it are images for this processor that
# import only what every Windows we support has, and the program's embedded
# manifest binds it to its own architecture with the settings we intend.
#
#   scripts/check-binary.sh <i686|x86_64> <program> <audio library> <data library>
set -euo pipefail
processor=$1 program=$2 audio=$3 data=$4
template=$(dirname "$0")/../resources/Astrolume.manifest.in

case $processor in
  i686) format=pei-i386 magic=PE32 arch=x86 ;;
  x86_64) format=pei-x86-64 magic=PE32+ arch=amd64 ;;
  *) echo "check-binary: unknown processor: $processor" >&2; exit 2 ;;
esac

file=
fail() { echo "check-binary: $file: $*" >&2; exit 1; }
manifest=$(mktemp)
trap 'rm -f "$manifest"' EXIT

system_dlls='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|opengl32|glu32|winmm|msvcrt|comdlg32|version|shlwapi)\.dll$'

# check_image <exe|dll>: the headers and imports of $file; leaves a summary in $found.
check_image() {
  local kind=$1 label headers chars major minor dll name
  headers=$("$processor-w64-mingw32-objdump" -p "$file" 2>&1) || fail "is not a PE image for $processor: ${headers##*: }"
  grep -q "file format $format\$" <<<"$headers" ||
    fail "machine is not $processor: $(sed -n 's/.*file format //p' <<<"$headers")"
  [ "$(awk '$1 == "Magic" {print $3}' <<<"$headers")" = "($magic)" ] || fail "optional header is not $magic"
  chars=$(awk '$1 == "Characteristics" {print $2; exit}' <<<"$headers")
  if [ "$kind" = exe ]; then
    label="GUI program"
    (( (chars & 0x2000) == 0 )) || fail "is a DLL, not a program"
    [ "$(awk '$1 == "Subsystem" {print $2}' <<<"$headers")" = 00000002 ] || fail "is not a GUI program"
  else
    label=DLL
    (( (chars & 0x2000) != 0 )) || fail "is not a DLL"
  fi
  major=$(awk '$1 == "MajorSubsystemVersion" {print $2}' <<<"$headers")
  minor=$(awk '$1 == "MinorSubsystemVersion" {print $2}' <<<"$headers")
  # The loader refuses an image that asks for a newer Windows than itself, and the
  # oldest we support is Vista (6.0); below 4.0 Windows takes a program for a
  # Windows 3.x one and gives its windows and dialogs the old behaviour.
  (( major * 65536 + minor >= 4 * 65536 && major * 65536 + minor <= 6 * 65536 )) ||
    fail "subsystem version $major.$minor is outside 4.0 to 6.0"

  local imports=() functions
  functions=$(awk '/^[^ \t]/ {dll = ""} /DLL Name:/ {dll = tolower($3); print dll; next}
                   dll != "" && /^\t[0-9a-f]+\t/ {print dll, $3}' <<<"$headers")
  while read -r dll name; do
    [ -n "$dll" ] || continue
    if [ -z "$name" ]; then
      case $dll in
        api-ms-win-*|ext-ms-*) fail "imports $dll, an API set older Windows lacks" ;;
        ucrtbase*.dll) fail "imports $dll, a C runtime Windows before 10 lacks" ;;
        lib*.dll) fail "imports $dll, a MinGW runtime DLL (it must be linked in statically)" ;;
      esac
      [[ $dll =~ $system_dlls ]] || fail "imports $dll, which is not a Windows system DLL we use"
      imports+=("${dll%.dll}")
    else
      case $name in wine_*|__wine*) fail "imports $name from $dll, which only Wine exports" ;; esac
    fi
  done <<<"$functions"
  [ "$kind" = dll ] || (( ${#imports[@]} > 0 )) || fail "has no import table"
  found="$magic $label, $processor, subsystem $major.$minor, imports: ${imports[*]:-none}"
}

# XPath over a manifest. xmllint takes no namespace bindings on its command line,
# so the prefixes below are spelled out: Windows ignores an element that is in
# the wrong namespace, so these paths must not match it either.
declare -A ns=(
  [asm]=urn:schemas-microsoft-com:asm.v1 [asm3]=urn:schemas-microsoft-com:asm.v3
  [compat]=urn:schemas-microsoft-com:compatibility.v1
  [ws2005]=http://schemas.microsoft.com/SMI/2005/WindowsSettings
  [ws2016]=http://schemas.microsoft.com/SMI/2016/WindowsSettings
)
xq() {
  local expr=$1 prefix
  for prefix in "${!ns[@]}"; do
    expr=$(sed -E "s#\\b$prefix:([A-Za-z]+)#*[local-name()='\\1' and namespace-uri()='${ns[$prefix]}']#g" <<<"$expr")
  done
  xmllint --xpath "$expr" "$2" 2>/dev/null || true
}
token() { tr -d ' \t\n' | tr '[:upper:]' '[:lower:]'; }
dpi_of() {
  local settings=/asm:assembly/asm3:application/asm3:windowsSettings
  local aware awareness
  aware=$(xq "string($settings/ws2005:dpiAware)" "$1" | token)
  awareness=$(xq "string($settings/ws2016:dpiAwareness)" "$1" | token)
  echo ${aware:+dpiAware=$aware} ${awareness:+dpiAwareness=$awareness}
}

# Vista, 7, 8, 8.1, and 10 and 11 (which share one).
supported_os='{1f676c76-80e1-4239-95bb-83d0f6d0da78}
{35138b9a-5d96-4fbd-8e2d-a2440225f93a}
{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}
{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}
{e2011457-1546-43c5-a5fe-008deee3d3f0}'

# check_manifest: the manifest Windows reads, resource type 24 id 1 of $file.
check_manifest() {
  local m=$manifest value controls controls_arch level dpi os
  wrestool -x --raw -t 24 -n 1 "$file" >"$m" 2>/dev/null || true
  [ -s "$m" ] || fail "has no manifest resource (type 24, id 1)"
  xmllint --noout "$m" 2>/dev/null || fail "manifest is not well-formed XML"
  [ "$(xq "count(/asm:assembly[@manifestVersion='1.0'])" "$m")" = 1 ] ||
    fail "manifest root is not an assembly of manifestVersion 1.0 in ${ns[asm]}"

  value=$(xq "string(/asm:assembly/asm:assemblyIdentity/@processorArchitecture)" "$m" | token)
  [[ $value = "$arch" || $value = '*' ]] || fail "manifest names processorArchitecture=\"$value\", not $arch or *"
  value=$(xq "string(/asm:assembly/asm:assemblyIdentity/@version)" "$m")
  [[ $value =~ ^[0-9]+(\.[0-9]+){3}$ ]] || fail "manifest identity has version \"$value\", not four numbers"

  controls="/asm:assembly/asm:dependency/asm:dependentAssembly/asm:assemblyIdentity[@name='Microsoft.Windows.Common-Controls']"
  [ "$(xq "count($controls[@version='6.0.0.0' and @publicKeyToken='6595b64144ccf1df' and @type='win32'])" "$m")" = 1 ] ||
    fail "manifest has no dependency on Common Controls 6.0.0.0 (win32, key 6595b64144ccf1df)"
  controls_arch=$(xq "string($controls/@processorArchitecture)" "$m" | token)
  [[ $controls_arch = "$arch" || $controls_arch = '*' ]] ||
    fail "manifest asks for Common Controls of processorArchitecture=\"$controls_arch\", not $arch or *"

  level="//*[local-name()='trustInfo']//*[local-name()='requestedExecutionLevel']"
  value=$(xq "string($level/@level)" "$m")
  [ "$value" = asInvoker ] || fail "manifest requests execution level \"$value\", not asInvoker"
  value=$(xq "string($level/@uiAccess)" "$m")
  # Windows starts a uiAccess program only when it is signed and installed under Program Files.
  [[ -z $value || $value = false ]] || fail "manifest asks for uiAccess=\"$value\""

  dpi=$(dpi_of "$m")
  [ -n "$dpi" ] || fail "manifest declares no DPI awareness"
  [ "$dpi" = "$(dpi_of "$template")" ] || fail "manifest declares $dpi, the template $(dpi_of "$template")"
  [[ $dpi != *dpiAware=* || $dpi =~ dpiAware=(true|false|true/pm|permonitor)( |$) ]] ||
    fail "manifest declares $dpi, a value Windows takes for unaware"

  os=$(xq "/asm:assembly/compat:compatibility/compat:application/compat:supportedOS/@Id" "$m" |
       { grep -o '{[^}]*}' || true; } | tr '[:upper:]' '[:lower:]' | sort)
  [ "$os" = "$supported_os" ] || fail "manifest's supportedOS list is not Vista to 11:" \
    "lacks [$(comm -13 <(echo "$os") <(echo "$supported_os") | xargs)]," \
    "adds [$(comm -23 <(echo "$os") <(echo "$supported_os") | xargs)]"
  found+="; manifest: $arch, Common Controls 6.0.0.0 ($controls_arch), asInvoker, $dpi, $(wc -l <<<"$os") supportedOS"
}

file=$program; check_image exe; check_manifest; echo "$file: $found"
file=$audio; check_image dll; echo "$file: $found"
file=$data; check_image dll; echo "$file: $found"
