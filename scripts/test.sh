#!/usr/bin/env bash
# `make test` inside the bench: every test layer of the build Wine can run, and
# the shape of the shipped 32-bit program wherever the tests ran.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/bench-env.sh"
status=0
ctest --test-dir "$ASTROLUME_WIN_TREE" --output-on-failure -j2 --timeout 300 || status=$?
if [ "$ASTROLUME_WIN_TREE" != "$root/build/win" ]; then
  ctest --test-dir "$root/build/win" --output-on-failure --timeout 60 -R '^binary$' || status=$?
fi
exit $status
