# Environment of the Wine test bench; sourced by bench.sh, wine-run and run.sh.
# Everything lives under build/ so the developer's own Wine prefix is never touched.
ASTROLUME_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export ASTROLUME_BENCH="$ASTROLUME_ROOT/build/bench"
# The bitness whose Wine, prefix and build tree the bench uses: ASTROLUME_WINE_ARCH
# when the caller sets it (each build tree's tests ask for their own), else the
# shipped 32-bit one where the machine runs 32-bit Wine, else the 64-bit one.
ASTROLUME_WINE_ARCH=$("$ASTROLUME_ROOT/scripts/wine-arch")
export ASTROLUME_WINE_ARCH
if [ "$ASTROLUME_WINE_ARCH" = 32 ]; then
  export ASTROLUME_WIN_TREE="$ASTROLUME_ROOT/build/win"
  export WINEPREFIX="$ASTROLUME_ROOT/build/wineprefix"
  export WINEARCH=win32
  export WINELOADER=/usr/lib/wine/wine
else
  export ASTROLUME_WIN_TREE="$ASTROLUME_ROOT/build/win64"
  export WINEPREFIX="$ASTROLUME_ROOT/build/wineprefix64"
  export WINEARCH=win64
  export WINELOADER=/usr/lib/wine/wine64
fi
# ASTROLUME_WINE=10: Debian 13's Wine 10 in its root (scripts/wine10-root.sh),
# 64-bit only, with a prefix of its own; otherwise the machine's Wine 8.
export ASTROLUME_WINE=${ASTROLUME_WINE:-8}
if [ "$ASTROLUME_WINE" = 10 ]; then
  export ASTROLUME_WINE10_ROOT=${ASTROLUME_WINE10_ROOT:-/var/cache/astrolume/wine10-trixie}
  export ASTROLUME_WIN_TREE="$ASTROLUME_ROOT/build/win64"
  export WINEPREFIX="$ASTROLUME_ROOT/build/wineprefix64-wine10"
  export WINEARCH=win64
  export WINELOADER="$ASTROLUME_ROOT/scripts/wine10/wine"
  case ":$PATH:" in *":$ASTROLUME_ROOT/scripts/wine10:"*) ;; *) export PATH="$ASTROLUME_ROOT/scripts/wine10:$PATH" ;; esac
fi
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer prompts when the prefix is created.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# ALSA reads $XDG_CONFIG_HOME/alsa/asoundrc: the bench's one sends all audio to a file.
export XDG_CONFIG_HOME="$ASTROLUME_BENCH/xdg"
export ASTROLUME_AUDIO_FILE="$ASTROLUME_BENCH/audio.raw"
