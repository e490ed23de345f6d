#!/usr/bin/env bash
# `make run`: runs the saver under Wine. With a display it runs on it until Esc.
# Without one it runs on a virtual display for a while, saves screenshots under
# build/run/, reports what the windows said, then ends the saver with Esc. It
# never hangs: whatever box is still up at the end is captured, closed and reported.
# It runs the 32-bit build where the machine runs 32-bit Wine, else the 64-bit one;
# with ASTROLUME_WINE=10 (`make run WINE=10`), the 64-bit one under Wine 10.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/bench-env.sh"
program="$ASTROLUME_WIN_TREE/bin/Astrolume.scr"
[ -f "$program" ] || { echo "run: $program is missing; build first" >&2; exit 1; }

if [ -n "${DISPLAY:-}" ] && [ -z "${ASTROLUME_HEADLESS:-}" ]; then
  ASTROLUME_USE_DISPLAY=1 exec "$root/scripts/bench.sh" "$root/scripts/wine-run" "$program" /s
fi

exec "$root/scripts/bench.sh" "$root/scripts/run-headless.sh" "$program"
