#!/usr/bin/env bash
# `make test` inside the bench: every test layer of the 64-bit tree under Wine 8,
# and of the shipped 32-bit tree where the machine runs 32-bit Wine; elsewhere
# the 32-bit program's shape is still checked. Then, in a bench of its own, what
# a user sees of the 64-bit build under Debian 13's Wine 10 (the tests named
# *_wine10). Last, run mode on two monitors. Each tree's tests run
# under the Wine and in the prefix of their own bitness (cmake/MinGW.cmake,
# scripts/packaging-test.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/bench-env.sh"
status=0
if [ "$ASTROLUME_WINE_ARCH" = 32 ]; then
  ctest --test-dir "$root/build/win" --output-on-failure -j2 --timeout 300 || status=$?
else
  ctest --test-dir "$root/build/win" --output-on-failure --timeout 60 -R '^binary$' || status=$?
fi
ctest --test-dir "$root/build/win64" --output-on-failure -j2 --timeout 300 -E '_wine10$' || status=$?
ASTROLUME_WINE=10 "$root/scripts/bench.sh" \
  ctest --test-dir "$root/build/win64" --output-on-failure --timeout 300 -R '_wine10$' || status=$?
# Run mode over two monitors, on a display of each arrangement; each bench gets
# a wineserver of its own, since Wine's desktop belongs to one display. Where
# 32-bit Wine runs, this bench holds one per bitness: both go.
for kind in dual dual-left; do
  for arch in 32 64; do
    (export ASTROLUME_WINE_ARCH=$arch; source "$root/scripts/bench-env.sh"
     wineserver -k >/dev/null 2>&1 || true; wineserver -w)
  done
  ASTROLUME_DISPLAY_KIND=$kind "$root/scripts/bench.sh" \
    ctest --test-dir "$root/build/win64" --output-on-failure --timeout 300 -R '^monitors_wine8$' || status=$?
done
exit $status
