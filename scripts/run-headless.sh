#!/usr/bin/env bash
# Inside the bench: runs the saver on the virtual display, takes screenshots,
# reports the windows it saw and ends the saver. Called by scripts/run.sh.
set -uo pipefail
program=$1
out="$(cd "$(dirname "$0")/.." && pwd)/build/run"
seconds=${ASTROLUME_RUN_SECONDS:-32}
rm -rf "$out" && mkdir -p "$out"

"$WINELOADER" "$program" /s >"$out/wine.log" 2>&1 &
saver=$!

windows() { xdotool search --onlyvisible --name '.' 2>/dev/null || true; }
report() {
  for w in $(windows); do
    name=$(xdotool getwindowname "$w" 2>/dev/null) || continue
    [ -n "$name" ] && echo "  window: \"$name\""
  done
}

shots=0
for ((t = 1; t <= seconds; t++)); do
  sleep 1
  if (( t % 4 == 0 )) || ! kill -0 "$saver" 2>/dev/null; then
    shots=$((shots + 1))
    import -window root "$out/screen-$shots.png" 2>/dev/null && echo "run: screenshot $out/screen-$shots.png"
    report | sort -u >"$out/windows-$shots.txt"
    cat "$out/windows-$shots.txt"
  fi
  kill -0 "$saver" 2>/dev/null || break
done

if kill -0 "$saver" 2>/dev/null; then
  # NOTE: with no window manager on the virtual display nothing gives the saver
  # the X input focus, and Wine ignores keys sent to a window as synthetic
  # events: focus it, then press Esc through the X test extension. A box left
  # over gets Return the same way.
  for w in $(xdotool search --onlyvisible --name '^Astrolume' 2>/dev/null); do
    xdotool windowfocus --sync "$w" >/dev/null 2>&1 || true
    xdotool key Escape >/dev/null 2>&1 || true
  done
  for _ in $(seq 50); do kill -0 "$saver" 2>/dev/null || break; sleep 0.1; done
  # Should the keyboard focus still be elsewhere, a click ends the saver as it
  # would for a user (no password is set in the bench).
  if kill -0 "$saver" 2>/dev/null && xdotool search --onlyvisible --name '^Astrolume - FPS' >/dev/null 2>&1; then
    echo "run: Esc did not reach the saver; ending it with a click"
    xdotool mousemove 10 10 click 1 >/dev/null 2>&1 || true
    for _ in $(seq 50); do kill -0 "$saver" 2>/dev/null || break; sleep 0.1; done
  fi
  for w in $(windows); do
    xdotool windowfocus --sync "$w" >/dev/null 2>&1 || true
    xdotool key Return >/dev/null 2>&1 || true
  done
  for _ in $(seq 50); do kill -0 "$saver" 2>/dev/null || break; sleep 0.1; done
fi
if kill -0 "$saver" 2>/dev/null; then
  echo "run: the saver did not end by itself; stopping it"
  wineserver -k >/dev/null 2>&1 || true
fi
wait "$saver" 2>/dev/null
caption=$(cat "$out"/windows-*.txt 2>/dev/null | grep -o 'Astrolume - FPS = [0-9]*' | tail -1)
[ -n "$caption" ] && echo "run: the saver's caption read \"$caption\""
echo "run: the saver has ended; pictures and window lists are in $out"
