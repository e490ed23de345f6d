# Environment of the Wine test bench; sourced by bench.sh, wine-run and run.sh.
# Everything lives under build/ so the developer's own Wine prefix is never touched.
ASTROLUME_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export ASTROLUME_BENCH="$ASTROLUME_ROOT/build/bench"
export WINEPREFIX="$ASTROLUME_ROOT/build/wineprefix"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer prompts when the prefix is created.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# ALSA reads $XDG_CONFIG_HOME/alsa/asoundrc: the bench's one sends all audio to a file.
export XDG_CONFIG_HOME="$ASTROLUME_BENCH/xdg"
export ASTROLUME_AUDIO_FILE="$ASTROLUME_BENCH/audio.raw"
