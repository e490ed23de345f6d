#!/usr/bin/env bash
# Inside the bench: packages the two build trees (scripts/dist.sh), then installs,
# starts, upgrades and uninstalls the installer silently in the bench's prefix of
# the tree under test, and runs that tree's build from the zip unpacked.
# Everything it adds to the prefix is removed again and the per-user values it
# changes are put back, whatever the outcome.
#
#   scripts/packaging-test.sh <build tree under test> <x86|amd64>
#
# An x86 installer runs in the 32-bit prefix and takes the 32-bit Windows path;
# an amd64 one runs in the 64-bit prefix and, like the x86 one on 64-bit
# Windows, installs the 64-bit build. `make build` puts the trees side by side.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree=$(cd "$1" && pwd)
arch=$2
bits=32; [ "$arch" = x86 ] || bits=64
export ASTROLUME_WINE_ARCH=$bits
source "$root/scripts/bench-env.sh"
tree32=$(cd "$tree/../win" && pwd)
tree64=$(cd "$tree/../win64" && pwd)
out="$tree/packaging-test-wine$ASTROLUME_WINE"
shots="$tree/screenshots"
[ "$ASTROLUME_WINE" = 8 ] || shots="$tree/screenshots/wine$ASTROLUME_WINE"
mkdir -p "$shots"
"$root/scripts/dist.sh" "$tree32" "$tree64" "$out" "$arch" >/dev/null
version=$(sed -n 's/^#define ASTROLUME_VERSION_TEXT "\(.*\)"$/\1/p' "$tree/resources/generated/Version.h")
zip="$out/Astrolume-$version-portable.zip"
setup="$out/Astrolume-$version-setup.exe"

fail() { echo "packaging: FAILED: $*" >&2; exit 1; }
check() { local what=$1; shift; "$@" || fail "$what"; }
wine() { "$WINELOADER" "$@" </dev/null 2>/dev/null | tr -d '\r'; }

# --- The prefix: where things go, and putting it back. ---------------------
# The saver belongs in system32 and never in the 32-bit view, syswow64, of a
# 64-bit prefix.
drive="$WINEPREFIX/drive_c"
saver_dir="$drive/windows/system32" other_dir="$drive/windows/syswow64"
saver_win='C:\windows\system32' install_win='C:\Program Files\Astrolume'
program_files="$drive/Program Files/Astrolume"
machine='HKLM\Software\Astrolume'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Astrolume'
desktop='HKCU\Control Panel\Desktop'
settings='HKCU\Software\Vorsk\Astrolume'

# value KEY NAME: the data of one value, nothing (and false) when it is missing.
value() { wine reg query "$1" /v "$2" | sed -n "s/^ *$2 *REG_[A-Z_]* *//p" | grep .; }
has_key() { "$WINELOADER" reg query "$1" >/dev/null 2>&1; }
not() { ! "$@"; }
put_back() { # KEY NAME SAVED: restores a value as it was (absent when SAVED is "-")
  if [ "$3" = - ]; then wine reg delete "$1" /v "$2" /f >/dev/null || true
  else wine reg add "$1" /v "$2" /d "$3" /f >/dev/null; fi
}
saved_saver=$(value "$desktop" SCRNSAVE.EXE || echo -)
saved_active=$(value "$desktop" ScreenSaveActive || echo -)
saved_settings="$out/settings.reg"
rm -f "$saved_settings"
wine reg export "$settings" "$(wine winepath -w "$saved_settings")" >/dev/null || true
cleanup() {
  taskkill_all
  rm -rf "$program_files" "$saver_dir/Astrolume.scr" "$other_dir/Astrolume.scr"
  wine reg delete "$machine" /f >/dev/null || true
  wine reg delete "$uninstall_key" /f >/dev/null || true
  put_back "$desktop" SCRNSAVE.EXE "$saved_saver"
  put_back "$desktop" ScreenSaveActive "$saved_active"
  wine reg delete "$settings" /f >/dev/null || true
  [ -f "$saved_settings" ] && wine reg import "$(wine winepath -w "$saved_settings")" >/dev/null
  true
}
trap cleanup EXIT

# --- Starting the saver and seeing what it shows. ---------------------------
taskkill_all() { wine taskkill /f /im Astrolume.scr >/dev/null || true; }
# see PROGRAM ARG WINDOW SHOT: starts the program and waits for a window whose
# name matches WINDOW; a folder dialog on the way fails the check.
see() {
  "$WINELOADER" "$1" "$2" </dev/null >/dev/null 2>&1 &
  local pid=$! found=
  for _ in $(seq 600); do
    xdotool search --onlyvisible --name '^Select folder with data$' >/dev/null 2>&1 && break
    if xdotool search --onlyvisible --name "$3" >/dev/null 2>&1; then found=1; break; fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
  done
  [ -n "$found" ] && [ -n "$4" ] && import -window root "$shots/$4.png"
  taskkill_all
  wait "$pid" 2>/dev/null || true
  [ -n "$found" ]
}
scene='^Astrolume - FPS = '

# --- The zip: exactly the files, both builds, CR LF texts. --------------------
unpacked="$out/unpacked"
rm -rf "$unpacked" && mkdir -p "$unpacked"
(cd "$unpacked" && cmake -E tar xf "$zip")
binaries="Astrolume.scr bass.dll duzidad.dll"
check "zip contents" [ "$(cmake -E tar tf "$zip" | sort | tr '\n' ' ')" = \
  "$(printf '32-bit/%s ' $binaries)$(printf '64-bit/%s ' $binaries)CREDITS.txt LICENSE.txt README.txt " ]
for f in $binaries; do
  check "32-bit/$f in the zip is the built one" cmp -s "$tree32/bin/$f" "$unpacked/32-bit/$f"
  check "64-bit/$f in the zip is the built one" cmp -s "$tree64/bin/$f" "$unpacked/64-bit/$f"
done
for f in LICENSE.txt CREDITS.txt README.txt; do
  check "$f has CR LF line ends" [ "$(grep -c $'\r$' "$unpacked/$f")" = "$(wc -l <"$unpacked/$f")" ]
done

# --- Silent install: files and keys where they belong. -----------------------
cleanup
wine reg delete "$settings" /v Path /f >/dev/null || true
check "installer exit code" "$WINELOADER" "$setup" /S
for f in LICENSE.txt CREDITS.txt README.txt uninstall.exe; do check "installed $f" [ -f "$program_files/$f" ]; done
for f in duzidad.dll bass.dll; do check "installed $f is the $bits-bit one" cmp -s "$tree/bin/$f" "$program_files/$f"; done
check "no saver in the program folder" [ ! -e "$program_files/Astrolume.scr" ]
check "$bits-bit saver in the system folder" cmp -s "$tree/bin/Astrolume.scr" "$saver_dir/Astrolume.scr"
check "saver only in its own system folder view" [ ! -e "$other_dir/Astrolume.scr" ]
check "no bass.dll in a system folder" [ ! -e "$saver_dir/bass.dll" ]
check "HKLM Path" [ "$(value "$machine" Path)" = "$install_win" ]
check "uninstall entry version" [ "$(value "$uninstall_key" DisplayVersion)" = "$version" ]
check "quiet uninstall string" [ "$(value "$uninstall_key" QuietUninstallString)" = "\"$install_win\\uninstall.exe\" /S" ]
for v in DisplayName Publisher DisplayIcon EstimatedSize UninstallString; do check "uninstall entry $v" value "$uninstall_key" $v >/dev/null; done
scr=$(value "$desktop" SCRNSAVE.EXE)
scr_dir=${scr%\\*}
check "SCRNSAVE.EXE names the installed saver ($scr)" [ "${scr_dir,,}" = "${saver_win,,}" ]
check "SCRNSAVE.EXE is a short path ($scr)" grep -qiE '^[^.\\]{1,8}\.scr$' <<<"${scr##*\\}"
check "ScreenSaveActive" [ "$(value "$desktop" ScreenSaveActive)" = 1 ]

# --- The installed saver, for a user who never chose a folder. ----------------
installed="$saver_win\\Astrolume.scr"
check "installed saver /s shows the scene without a folder dialog" see "$installed" /s "$scene" installed-saver
check "installed saver /c opens the configuration" see "$installed" /c '^Astrolume Configuration$' ''
check "the search stored no per-user Path" not value "$settings" Path >/dev/null

# --- Upgrade in place keeps the user's settings. -------------------------------
wine reg add "$settings" /v Speed /d 7.5 /f >/dev/null
check "second install" "$WINELOADER" "$setup" /S
check "second install keeps the changed setting" [ "$(value "$settings" Speed)" = 7.5 ]
check "second install keeps the saver" [ -f "$saver_dir/Astrolume.scr" ]

# --- Silent uninstall: everything it added goes, the user's settings stay. ---
# uninstall [OPTION]: the uninstaller hands over to a copy of itself and returns
# at once; the copy removing the install folder last is the sign it has finished.
uninstall() {
  check "uninstaller exit code" "$WINELOADER" "$install_win\\uninstall.exe" /S "$@"
  for _ in $(seq 300); do [ -e "$program_files" ] || break; sleep 0.2; done
  check "install folder removed" [ ! -e "$program_files" ]
  check "saver removed" [ ! -e "$saver_dir/Astrolume.scr" ]
  check "HKLM key removed" not has_key "$machine"
  check "uninstall entry removed" not has_key "$uninstall_key"
}
uninstall
check "SCRNSAVE.EXE removed" not value "$desktop" SCRNSAVE.EXE >/dev/null
check "uninstall keeps the user's settings" [ "$(value "$settings" Speed)" = 7.5 ]

check "third install" "$WINELOADER" "$setup" /S
other='C:\windows\system32\other.scr'
wine reg add "$desktop" /v SCRNSAVE.EXE /d "$other" /f >/dev/null
uninstall /REMOVESETTINGS
check "another saver chosen since stays" [ "$(value "$desktop" SCRNSAVE.EXE)" = "$other" ]
check "uninstall with the remove-settings choice removes them" not has_key "$settings"

# --- The zip unpacked anywhere finds its library beside itself. ----------------
check "unpacked saver /s shows the scene without a folder dialog" \
  see "$(wine winepath -w "$unpacked/$bits-bit/Astrolume.scr")" /s "$scene" unpacked-saver
echo "packaging: all checks passed; screenshots in $shots"
