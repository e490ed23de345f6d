#!/usr/bin/env bash
# The Wine test bench: runs the given command with a private X display, the
# project's own Wine prefixes (created once under build/ and reused), a persistent
# wineserver for each, and ALSA output captured to a file. The command gets the
# environment of the shipped 32-bit build where the machine runs 32-bit Wine,
# else of the 64-bit one; the 64-bit prefix is always ready, the 32-bit one where
# it can run, so that a command may switch (ASTROLUME_WINE_ARCH, bench-env.sh).
# Everything it starts is stopped when the command ends, whatever its result.
#
#   scripts/bench.sh ctest --test-dir build/win64
set -euo pipefail
source "$(dirname "$0")/bench-env.sh"
# Wine 10 runs in its Debian 13 root and sees this clone, the X sockets, /dev and
# /proc through bind mounts, made in a mount namespace of the bench's own so that
# they go with it.
if [ "$ASTROLUME_WINE" = 10 ] && [ -z "${ASTROLUME_BENCH_MOUNTS:-}" ]; then
  "$ASTROLUME_ROOT/scripts/wine10-root.sh" >/dev/null
  exec env ASTROLUME_BENCH_MOUNTS=1 unshare -m --propagation private "$0" "$@"
fi
if [ -n "${ASTROLUME_BENCH_MOUNTS:-}" ]; then
  r=$ASTROLUME_WINE10_ROOT
  mkdir -p /tmp/.X11-unix "$r/tmp/.X11-unix" "$r$ASTROLUME_ROOT"
  mount -t proc proc "$r/proc"
  mount --rbind /dev "$r/dev"
  mount --bind /tmp/.X11-unix "$r/tmp/.X11-unix"
  mount --bind "$ASTROLUME_ROOT" "$r$ASTROLUME_ROOT"
fi
mkdir -p "$ASTROLUME_BENCH"
archs=64
[ "$ASTROLUME_WINE_ARCH" = 32 ] && [ "$ASTROLUME_WINE" = 8 ] && archs="32 64"
# in_arch BITS COMMAND...: runs a command in the environment of that bitness.
in_arch() { (export ASTROLUME_WINE_ARCH=$1; source "$ASTROLUME_ROOT/scripts/bench-env.sh"; "${@:2}"); }

xvfb_pid=
cleanup() {
  for arch in $archs; do in_arch "$arch" wineserver -k >/dev/null 2>&1 || true; done
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" >/dev/null 2>&1 || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# --- A private X display, unless the caller asks to use its own. -------------
# ASTROLUME_DISPLAY_KIND picks it: unset, one Xvfb screen; "dual", an Xorg server
# with two 800 x 600 heads side by side (Xvfb stacks its Xinerama heads at 0,0),
# the primary on the left; "dual-left", the second head left of the primary, so
# the Windows desktop starts at a negative x.
# xorg_config SIDE: two dummy heads, the second one SIDE ("RightOf"/"LeftOf") of the first.
xorg_config() {
  local i
  for i in 0 1; do
    cat <<XORG
Section "Device"
  Identifier "card$i"
  Driver "dummy"
  VideoRam 16384
EndSection
Section "Screen"
  Identifier "screen$i"
  Device "card$i"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Modes "800x600"
    Virtual 800 600
  EndSubSection
EndSection
XORG
  done
  cat <<XORG
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
EndSection
Section "ServerLayout"
  Identifier "layout"
  Screen 0 "screen0"
  Screen 1 "screen1" $1 "screen0"
  Option "Xinerama" "true"
EndSection
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
XORG
}
# start_display N: the server of the asked kind on display :N, in the background.
start_display() {
  local kind=${ASTROLUME_DISPLAY_KIND:-}
  case "$kind" in
    "")
      Xvfb ":$1" -screen 0 "${ASTROLUME_SCREEN:-1024x768x24}" -nolisten tcp >"$ASTROLUME_BENCH/xvfb.log" 2>&1 &
      ;;
    dual | dual-left)
      local side=RightOf
      [ "$kind" = dual-left ] && side=LeftOf
      # An empty configuration folder keeps the system's snippets out.
      mkdir -p "$ASTROLUME_BENCH/xorg.conf.d"
      xorg_config "$side" >"$ASTROLUME_BENCH/xorg-$kind.conf"
      Xorg ":$1" -config "$ASTROLUME_BENCH/xorg-$kind.conf" -configdir "$ASTROLUME_BENCH/xorg.conf.d" \
        -logfile "$ASTROLUME_BENCH/xorg-$kind.log" -noreset -nolisten tcp >/dev/null 2>&1 &
      ;;
    *)
      echo "bench: unknown ASTROLUME_DISPLAY_KIND '$kind'" >&2
      exit 2
      ;;
  esac
  xvfb_pid=$!
}

if [ -z "${ASTROLUME_USE_DISPLAY:-}" ]; then
  for n in $(seq 91 150); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    start_display "$n"
    for _ in $(seq 300); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.05
    done
    if [ -e "/tmp/.X11-unix/X$n" ]; then
      export DISPLAY=":$n"
      break
    fi
    xvfb_pid=
  done
  if [ -z "${DISPLAY:-}" ] || [ -z "$xvfb_pid" ]; then
    echo "bench: could not start the X server" >&2
    exit 1
  fi
fi

# --- Audio to a file. -------------------------------------------------------
mkdir -p "$XDG_CONFIG_HOME/alsa"
cat >"$XDG_CONFIG_HOME/alsa/asoundrc" <<ALSA
pcm.!default {
  type file
  slave.pcm "null"
  file "$ASTROLUME_AUDIO_FILE"
  format "raw"
}
ALSA

# --- The prefixes: created once, reconfigured when the bench's settings change.
config="$ASTROLUME_ROOT/scripts/bench.reg"
want=$(sha1sum "$config" | cut -d' ' -f1)
prepare_prefix() {
  local stamp="$WINEPREFIX/.astrolume-bench"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "bench: creating the Wine prefix in $WINEPREFIX (once)" >&2
    "$WINELOADER" wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
  if [ "$(cat "$stamp" 2>/dev/null)" != "$want" ]; then
    "$WINELOADER" regedit /S "$("$WINELOADER" winepath -w "$config" 2>/dev/null)" >/dev/null 2>&1
    # NOTE: the desktop process that regedit started read the display settings
    # before the import; while it lives, every display-mode switch is refused.
    # Let it and the server end, so the next start reads the imported ones.
    wineserver -w
    echo "$want" >"$stamp"
  fi
  wineserver -p
  # NOTE: the first Wine program of a session starts Wine's own services (desktop,
  # device and RPC hosts) that live as long as the wineserver. Started here, they
  # hold /dev/null; started by a test, they would hold CTest's output pipe and
  # CTest would wait for them until its timeout.
  "$WINELOADER" cmd /c exit </dev/null >/dev/null 2>&1 || true
}
for arch in $archs; do in_arch "$arch" prepare_prefix; done

set +e
"$@"
status=$?
set -e
exit $status
