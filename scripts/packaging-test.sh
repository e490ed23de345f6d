#!/usr/bin/env bash
# Inside the bench: packages the two build trees exactly as `make dist` does
# (scripts/dist.sh), then, in the bench's prefix of the tree under test, installs,
# upgrades, starts and uninstalls the installer the way users and deployment tools
# run it, and runs that tree's build from the zip unpacked. Everything it adds to
# the prefix is removed again and the per-user values it changes are put back,
# whatever the outcome.
#
#   scripts/packaging-test.sh <build tree under test> <32|64>
#
# The installer is for x64 Windows only: the 64-bit tree's test runs all of it;
# the 32-bit tree's test, where 32-bit Wine runs, checks the zip's 32-bit folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree=$(cd "$1" && pwd)
bits=$2
export ASTROLUME_WINE_ARCH=$bits
source "$root/scripts/bench-env.sh"
tree32=$(cd "$tree/../win" && pwd)
tree64=$(cd "$tree/../win64" && pwd)
out="$tree/packaging-test-wine$ASTROLUME_WINE"
shots="$tree/screenshots"
[ "$ASTROLUME_WINE" = 8 ] || shots="$tree/screenshots/wine$ASTROLUME_WINE"
mkdir -p "$shots"

fail() { echo "packaging: FAILED: $*" >&2; exit 1; }
check() { local what=$1; shift; "$@" || fail "$what"; }
not() { ! "$@"; }
wine() { "$WINELOADER" "$@" </dev/null 2>/dev/null | tr -d '\r'; }

# --- The packages: the installer a PE32+ that the same trees make again alike. --
"$root/scripts/dist.sh" "$tree32" "$tree64" "$out" >/dev/null
version=$(sed -n 's/^#define ASTROLUME_VERSION_TEXT "\(.*\)"$/\1/p' "$tree/resources/generated/Version.h")
zip="$out/Astrolume-$version-portable.zip"
setup="$out/Astrolume-$version-setup.exe"
check "the installer is an x86-64 program" grep -q 'file format pei-x86-64' \
  <(x86_64-w64-mingw32-objdump -f "$setup")
"$root/scripts/dist.sh" "$tree32" "$tree64" "$out/again" >/dev/null
check "the same trees give the same installer" cmp -s "$setup" "$out/again/${setup##*/}"
rm -rf "$out/again"

# --- The zip: exactly the files, both builds, CR LF texts. --------------------
unpacked="$out/unpacked"
rm -rf "$unpacked" && mkdir -p "$unpacked"
(cd "$unpacked" && cmake -E tar xf "$zip")
binaries="Astrolume.scr bass.dll duzidad.dll"
texts="LICENSE.txt CREDITS.txt README.txt"
check "zip contents" [ "$(cmake -E tar tf "$zip" | sort | tr '\n' ' ')" = \
  "$(printf '32-bit/%s ' $binaries)$(printf '64-bit/%s ' $binaries)CREDITS.txt LICENSE.txt README.txt " ]
for f in $binaries; do
  check "32-bit/$f in the zip is the built one" cmp -s "$tree32/bin/$f" "$unpacked/32-bit/$f"
  check "64-bit/$f in the zip is the built one" cmp -s "$tree64/bin/$f" "$unpacked/64-bit/$f"
done
for f in $texts; do
  check "$f has CR LF line ends" [ "$(grep -c $'\r$' "$unpacked/$f")" = "$(wc -l <"$unpacked/$f")" ]
done

# --- Starting a saver and seeing what it shows. -------------------------------
taskkill_all() { wine taskkill /f /im Astrolume.scr >/dev/null || true; }
saver_pid=
# start PROGRAM ARG WINDOW [SHOT]: starts the program and waits for a window whose
# name matches WINDOW; a folder dialog or an end on the way fails it.
start() {
  "$WINELOADER" "$1" "$2" </dev/null >/dev/null 2>&1 &
  saver_pid=$!
  for _ in $(seq 600); do
    xdotool search --onlyvisible --name '^Select folder with data$' >/dev/null 2>&1 && return 1
    if xdotool search --onlyvisible --name "$3" >/dev/null 2>&1; then
      [ -z "${4:-}" ] || import -window root "$shots/$4.png"
      return 0
    fi
    kill -0 "$saver_pid" 2>/dev/null || return 1
    sleep 0.2
  done
  return 1
}
stop() { taskkill_all; wait "$saver_pid" 2>/dev/null || true; }
see() { local status=0; start "$@" || status=1; stop; return $status; }
scene='^Astrolume - FPS = '

if [ "$bits" = 32 ]; then
  check "unpacked 32-bit saver /s shows the scene without a folder dialog" \
    see "$(wine winepath -w "$unpacked/32-bit/Astrolume.scr")" /s "$scene" unpacked-saver-32
  echo "packaging: the zip's checks passed; the installer is for x64 Windows and its test runs in the 64-bit tree"
  exit 0
fi

# --- The prefix: where things go, and putting it back. ---------------------
drive="$WINEPREFIX/drive_c"
saver="$drive/windows/system32/Astrolume.scr" saver_win='C:\windows\system32\Astrolume.scr'
folder="$drive/Program Files/Astrolume" folder_win='C:\Program Files\Astrolume'
elsewhere="$drive/Elsewhere" elsewhere_win='C:\Elsewhere'
machine='HKLM\Software\Astrolume'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Astrolume'
desktop='HKCU\Control Panel\Desktop'
settings='HKCU\Software\Vorsk\Astrolume'
session='HKLM\System\CurrentControlSet\Control\Session Manager'
other='C:\windows\system32\other.scr'

# value KEY NAME: the data of one value, nothing (and false) when it is missing.
value() { wine reg query "$1" /v "$2" | sed -n "s/^ *$2 *REG_[A-Z_]* *//p" | grep .; }
has_key() { "$WINELOADER" reg query "$1" >/dev/null 2>&1; }
pending() { value "$session" PendingFileRenameOperations || true; }
put_back() { # KEY NAME SAVED: restores a value as it was (absent when SAVED is "-")
  if [ "$3" = - ]; then wine reg delete "$1" /v "$2" /f >/dev/null || true
  else wine reg add "$1" /v "$2" /d "$3" /f >/dev/null; fi
}
saved_saver=$(value "$desktop" SCRNSAVE.EXE || echo -)
saved_active=$(value "$desktop" ScreenSaveActive || echo -)
saved_pending=$(value "$session" PendingFileRenameOperations >/dev/null && echo kept || echo -)
saved_settings="$out/settings.reg"
rm -f "$saved_settings"
wine reg export "$settings" "$(wine winepath -w "$saved_settings")" >/dev/null || true
cleanup() {
  taskkill_all
  wine taskkill /f /im notepad.exe >/dev/null || true
  rm -rf "$folder" "$elsewhere" "$saver" "$drive/astrolume-test.bat" "$drive/astrolume-hold.bat"
  wine reg delete "$machine" /f >/dev/null || true
  wine reg delete "$uninstall_key" /f >/dev/null || true
  if [ "$saved_pending" != kept ]; then # what a restart would delete, deleted now
    local f doomed=()
    while read -r f; do doomed+=("$(wine winepath -u "$f")"); done < <(pending | sed 's/\\0/\n/g' | sed -n 's/^\\??\\//p')
    for f in "${doomed[@]}"; do [ ! -f "$f" ] || rm -f "$f"; done
    for f in "${doomed[@]}"; do [ ! -d "$f" ] || rmdir "$f" 2>/dev/null || true; done
    wine reg delete "$session" /v PendingFileRenameOperations /f >/dev/null || true
  fi
  put_back "$desktop" SCRNSAVE.EXE "$saved_saver"
  put_back "$desktop" ScreenSaveActive "$saved_active"
  wine reg delete "$settings" /f >/dev/null || true
  [ -f "$saved_settings" ] && wine reg import "$(wine winepath -w "$saved_settings")" >/dev/null
  true
}
trap cleanup EXIT

# run COMMAND-LINE: runs one Windows command line as it stands, as a deployment tool
# does, waits for it and prints its whole exit code (a shell keeps only 8 bits).
run() {
  printf '@%s\r\n@echo %%errorlevel%%\r\n' "$1" >"$drive/astrolume-test.bat"
  wine cmd /c 'C:\astrolume-test.bat' | tail -n 1
}
setup_win=$(wine winepath -w "$setup")
install() { run "\"$setup_win\" /S $*"; }
installed="Astrolume.scr duzidad.dll bass.dll $texts uninstall.exe"
path_of() { if [ "$1" = Astrolume.scr ]; then echo "$saver"; else echo "$folder/$1"; fi; }
built() { if [ "$1" = "${1%.txt}" ]; then echo "$tree/bin/$1"; else echo "$unpacked/$1"; fi; }
# Every installed file is this build's: nothing left of the version before.
all_new() {
  local f
  for f in $binaries $texts; do cmp -s "$(built "$f")" "$(path_of "$f")" || return 1; done
  [ "$(tail -c 8 "$folder/uninstall.exe")" != previous ]
}
# Marks every installed file as a previous version's (a PE file loads as well with
# bytes appended); all_old tells whether every one of them still is.
mark_old() { local f; for f in $installed; do printf previous >>"$(path_of "$f")"; done; }
all_old() { local f; for f in $installed; do [ "$(tail -c 8 "$(path_of "$f")")" = previous ] || return 1; done; }
folder_holds() { [ "$(cd "$folder" && ls | sort | tr '\n' ' ')" = "$(printf '%s\n' "$@" | sort | tr '\n' ' ')" ]; }
short_saver() { grep -qiE '^c:\\windows\\system32\\[^.\\]{1,8}\.scr$' <<<"$1"; }

# --- First install, for a user with no saver. ----------------------------------
cleanup
wine reg delete "$desktop" /v SCRNSAVE.EXE /f >/dev/null || true
wine reg add "$desktop" /v ScreenSaveActive /d 0 /f >/dev/null
check "first install exit code" [ "$(install)" = 0 ]
check "every file installed, the saver in System32" all_new
check "the install folder holds the libraries and texts only" folder_holds duzidad.dll bass.dll $texts uninstall.exe
check "no bass.dll in a system folder" [ ! -e "$drive/windows/system32/bass.dll" ]
check "HKLM Path" [ "$(value "$machine" Path)" = "$folder_win" ]
check "uninstall entry version" [ "$(value "$uninstall_key" DisplayVersion)" = "$version" ]
for v in DisplayName Publisher DisplayIcon EstimatedSize UninstallString; do check "uninstall entry $v" value "$uninstall_key" $v >/dev/null; done
quiet=$(value "$uninstall_key" QuietUninstallString)
check "the quiet uninstall runs in place" [ "$quiet" = "\"$folder_win\\uninstall.exe\" /S _?=$folder_win" ]
scr=$(value "$desktop" SCRNSAVE.EXE)
check "a first install makes it the saver, by its short path ($scr)" short_saver "$scr"
check "and tells Windows at once (ScreenSaveActive, as SystemParametersInfo stores it)" [ "$(value "$desktop" ScreenSaveActive)" = 1 ]
check "installed saver /s shows the scene without a folder dialog" see "$saver_win" /s "$scene" installed-saver
check "installed saver /c opens the configuration" see "$saver_win" /c '^Astrolume Configuration$'
check "the search stored no per-user Path" not value "$settings" Path >/dev/null

# --- Upgrades: the user's choice, the user's settings and the folder stay. -------
wine reg add "$settings" /v Speed /d 7.5 /f >/dev/null
wine reg add "$desktop" /v SCRNSAVE.EXE /d "$other" /f >/dev/null
check "upgrade exit code" [ "$(install "/D=$elsewhere_win")" = 0 ]
check "an upgrade keeps the saver the user chose" [ "$(value "$desktop" SCRNSAVE.EXE)" = "$other" ]
check "an upgrade keeps the user's settings" [ "$(value "$settings" Speed)" = 7.5 ]
check "an upgrade goes into the existing folder, whatever /D= says" [ ! -e "$elsewhere" ]
check "/SAVER=1 upgrade exit code" [ "$(install /SAVER=1)" = 0 ]
check "/SAVER=1 makes it the saver" short_saver "$(value "$desktop" SCRNSAVE.EXE)"
check "an unknown /SAVER= value is refused" [ "$(install /SAVER=yes)" = 2 ]

# An upgrade while the saver runs: files in use are moved aside, never mixed.
mark_old
check "the previous version's saver runs" start "$saver_win" /s "$scene"
check "upgrade while the saver runs: done, old files go at restart" [ "$(install)" = 3010 ]
check "upgrade while the saver runs: every file is the new one" all_new
check "upgrade while the saver runs: only the new files in the folder" folder_holds duzidad.dll bass.dll $texts uninstall.exe
check "the running saver goes on" kill -0 "$saver_pid"
check "the restart removes the old files only" grep -q . <<<"$(pending)"
check "the restart removes no installed file" not grep -qiE 'astrolume\\[^\\]*(\\0|$)|astrolume\.scr' <<<"$(pending)"
stop

# An upgrade when a file is held open without leave to move it: nothing changes.
mark_old
printf '@notepad < "%s"\r\n' "$folder_win\\bass.dll" >"$drive/astrolume-hold.bat"
"$WINELOADER" cmd /c 'C:\astrolume-hold.bat' </dev/null >/dev/null 2>&1 &
for _ in $(seq 100); do pgrep -f notepad.exe >/dev/null && break; sleep 0.1; done
check "upgrade with a file held open fails" [ "$(install)" = 2 ]
check "upgrade with a file held open leaves the previous version whole" all_old
check "and nothing else in the folder" folder_holds duzidad.dll bass.dll $texts uninstall.exe
wine taskkill /f /im notepad.exe >/dev/null || true
wait

check "upgrade after the file is let go" [ "$(install)" = 0 ]
check "every file is the new one" all_new

# --- A per-user Path naming the zip's 32-bit library: the installed one, no box. --
wine reg add "$settings" /v Path /d "$(wine winepath -w "$unpacked/32-bit")" /f >/dev/null
check "installed saver with a per-user Path to a 32-bit library shows the scene" \
  see "$saver_win" /s "$scene" installed-saver-other-path
wine reg delete "$settings" /v Path /f >/dev/null

# --- The quiet uninstall: done when it returns. -----------------------------------
check "quiet uninstall exit code" [ "$(run "$quiet")" = 0 ]
check "quiet uninstall: saver removed" [ ! -e "$saver" ]
check "quiet uninstall: only its own file is left, to go at restart" folder_holds uninstall.exe
check "quiet uninstall: that file is to go at restart" grep -qi 'astrolume\\uninstall.exe' <<<"$(pending)"
check "quiet uninstall: HKLM key removed" not has_key "$machine"
check "quiet uninstall: uninstall entry removed" not has_key "$uninstall_key"
check "quiet uninstall: no saver value naming the removed file" not value "$desktop" SCRNSAVE.EXE >/dev/null
check "quiet uninstall: and Windows is told at once" [ "$(value "$desktop" ScreenSaveActive)" = 0 ]
check "quiet uninstall: keeps the user's settings" [ "$(value "$settings" Speed)" = 7.5 ]

# Installed again at once: the user's other saver stays, and the restart spares
# the new uninstaller.
wine reg add "$desktop" /v SCRNSAVE.EXE /d "$other" /f >/dev/null
check "install right after the quiet uninstall" [ "$(install)" = 0 ]
check "a first install leaves another saver the user chose" [ "$(value "$desktop" SCRNSAVE.EXE)" = "$other" ]
check "the restart no longer removes the uninstaller" not grep -qi 'astrolume\\uninstall.exe' <<<"$(pending)"

# --- The uninstaller as Programs and Features starts it, with the settings choice. --
# uninstall [OPTION]: started plainly, the uninstaller hands over to a copy of itself
# in %TEMP%\~nsu<n>.tmp and returns at once; the copy's end is the sign it has finished.
uninstall() {
  check "uninstaller exit code" "$WINELOADER" "$folder_win\\uninstall.exe" /S "$@"
  for _ in $(seq 300); do pgrep -f '~nsu[0-9]*\.tmp' >/dev/null || break; sleep 0.2; done
  check "install folder removed" [ ! -e "$folder" ]
  check "saver removed" [ ! -e "$saver" ]
}
uninstall /REMOVESETTINGS
check "uninstall leaves another saver the user chose" [ "$(value "$desktop" SCRNSAVE.EXE)" = "$other" ]
check "uninstall with the remove-settings choice removes them" not has_key "$settings"

wine reg delete "$desktop" /v SCRNSAVE.EXE /f >/dev/null
check "/SAVER=0 install exit code" [ "$(install /SAVER=0)" = 0 ]
check "/SAVER=0 leaves the user without a saver" not value "$desktop" SCRNSAVE.EXE >/dev/null
uninstall

# --- The zip unpacked anywhere finds its library beside itself. ----------------
check "unpacked saver /s shows the scene without a folder dialog" \
  see "$(wine winepath -w "$unpacked/64-bit/Astrolume.scr")" /s "$scene" unpacked-saver
echo "packaging: all checks passed; screenshots in $shots"
