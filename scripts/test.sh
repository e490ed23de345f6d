#!/usr/bin/env bash
# `make test` inside the bench: every test layer of the 64-bit tree, and of the
# shipped 32-bit tree where the machine runs 32-bit Wine; elsewhere the 32-bit
# program's shape is still checked. Each tree's tests run under the Wine and in
# the prefix of their own bitness (cmake/MinGW.cmake, scripts/packaging-test.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/bench-env.sh"
status=0
if [ "$ASTROLUME_WINE_ARCH" = 32 ]; then
  ctest --test-dir "$root/build/win" --output-on-failure -j2 --timeout 300 || status=$?
else
  ctest --test-dir "$root/build/win" --output-on-failure --timeout 60 -R '^binary$' || status=$?
fi
ctest --test-dir "$root/build/win64" --output-on-failure -j2 --timeout 300 || status=$?
exit $status
