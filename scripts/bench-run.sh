#!/usr/bin/env bash
# make bench: what a frame of the saver costs, and how long it takes to show
# the first one, for every build this machine's Wine can run, side by side: a
# table here and everything in build/bench/results.json. With a revision
# (make bench BEFORE=REV) that revision's program is built as well, this bench
# dropped into it, and measured in the same run as one more column. Figures are
# reported, never judged: the bench fails only when it could not measure.
#
#   scripts/bench-run.sh [REV]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
before=${1:-}
out="$root/build/bench"
figures="$out/figures"
rm -rf "$figures" && mkdir -p "$figures"
status=0

tree_of() { if [ "$1" = 32 ]; then echo win; else echo win64; fi; }
toolchain_of() { if [ "$1" = 32 ]; then echo i686; else echo x86_64; fi; }

# Configures a Windows tree when it has never been, then builds the bench in it.
build_bench() {
  local src=$1 tree=$2 arch=$3 host=$4
  if [ ! -f "$tree/CMakeCache.txt" ]; then
    cmake -S "$src" -B "$tree" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-$(toolchain_of "$arch").cmake" -DASTROLUME_HOST_DIR="$host" || return 1
  fi
  cmake --build "$tree" -j2 --target astrolume_bench
}

# The 64-bit build always runs; the 32-bit one only where 32-bit Wine starts.
archs=(64)
columns=()
if [ "$("$root/scripts/wine-arch")" = 32 ]; then
  archs=(32 64)
else
  why=$(/usr/lib/wine/wine --version 2>&1 | head -n1 | sed 's/^.*: line [0-9]*: //')
  echo "{\"column\": \"32-bit\", \"status\": \"cannot run here\", \"reason\": \"32-bit Wine does not start: ${why//\"/\'}\"}" \
    >"$figures/32.json"
  columns+=("$figures/32.json")
fi
for arch in "${archs[@]}"; do
  build_bench "$root" "$root/build/$(tree_of "$arch")" "$arch" "$root/build/host" || exit 1
done

# The earlier revision's host tools and Windows trees, beside its worktree.
build_before() {
  cmake -S "$src" -B "$base/host" -DCMAKE_BUILD_TYPE=RelWithDebInfo &&
    cmake --build "$base/host" -j2 --target astrolume_datagen astrolume_synth make_hand_cursor || return 1
  for arch in "${archs[@]}"; do build_bench "$src" "$base/$(tree_of "$arch")" "$arch" "$base/host" || return 1; done
}

# The earlier revision: a worktree under build/before with this bench in it,
# built with the data cache shared.
if [ -n "$before" ]; then
  base="$root/build/before"
  src="$base/src"
  rev=$(git -C "$root" rev-parse --verify -q "$before^{commit}") || { echo "bench: no revision $before" >&2; exit 1; }
  short=$(git -C "$root" rev-parse --short "$rev")
  echo "bench: building $short for the before column (log in $base/build.log)" >&2
  mkdir -p "$base"
  git -C "$root" worktree prune
  if [ -e "$src/.git" ]; then
    git -C "$src" checkout -q -f --detach "$rev"
  else
    git -C "$root" worktree add -q --detach "$src" "$rev"
  fi || exit 1
  rm -rf "$src/bench" && cp -r "$root/bench" "$src/bench"
  grep -qx 'add_subdirectory(bench)' "$src/CMakeLists.txt" || echo 'add_subdirectory(bench)' >>"$src/CMakeLists.txt"
  ln -sfn "$root/build/cache" "$base/cache"
  build_before >"$base/build.log" 2>&1 || { tail -n 30 "$base/build.log" >&2; echo "bench: $short did not build" >&2; exit 1; }
  # Only a revision whose main loop marks its first frame can be timed to it.
  if grep -rqF 'first frame presented' "$src/shell"; then
    before_launch=launch
  else
    before_launch="no launch: $short has no first-frame marker"
  fi
fi

# One bench session: a display big enough for the largest window, then the
# figures of each build given as COLUMN TREE RESULT LAUNCH (scripts/bench-measure.sh).
session() {
  ASTROLUME_SCREEN=1920x1200x24 "$root/scripts/bench.sh" "$root/scripts/bench-measure.sh" "$@" || status=1
  for ((i = 1; i <= $#; i += 4)); do
    local column=${!i} result_at=$((i + 2))
    [ -s "${!result_at}" ] ||
      echo "{\"column\": \"$column\", \"status\": \"failed\", \"reason\": \"the bench did not start\"}" >"${!result_at}"
  done
}

# One session per architecture, each with the builds of that architecture.
for arch in "${archs[@]}"; do
  runs=("$arch-bit" "$root/build/$(tree_of "$arch")" "$figures/$arch.json" launch)
  columns+=("$figures/$arch.json")
  if [ -n "$before" ]; then
    runs+=("$arch-bit before $short" "$base/$(tree_of "$arch")" "$figures/$arch-before.json" "$before_launch")
    columns+=("$figures/$arch-before.json")
  fi
  ASTROLUME_WINE_ARCH=$arch session "${runs[@]}"
done
# The 64-bit build once more under Debian 13's Wine 10 (scripts/wine10-root.sh).
columns+=("$figures/64-wine10.json")
ASTROLUME_WINE=10 ASTROLUME_WINE_ARCH=64 session "64-bit, Wine 10" "$root/build/win64" "$figures/64-wine10.json" launch

{
  echo "{\"columns\": ["
  sep=
  for c in "${columns[@]}"; do
    printf '%s' "$sep"
    cat "$c"
    sep=","
  done
  echo "]}"
} >"$out/results.json"

# The table: one column per build, the figures of each size, then the launches.
awk '
function field(line, key,    v) {
  if (!match(line, "\"" key "\": (\"[^\"]*\"|[^,}]*)")) return ""
  v = substr(line, RSTART + length(key) + 4, RLENGTH - length(key) - 4)
  gsub(/"/, "", v)
  return v
}
function cell(c, value) {
  if (c in down) return down[c]
  return value == "" || value == "null" ? "failed" : value
}
function row(label, c) {
  printf "%-40s", label
  for (c = 1; c <= cols; c++) printf "%-22s", cells[c]
  printf "\n"
}
FNR == 1 { cols++ }
/"column": / { name[cols] = field($0, "column") }
/"status": / { down[cols] = field($0, "status"); note[cols] = note[cols] "; " field($0, "reason") }
/"step_ms": / { step = field($0, "step_ms") }
/"warmup_frames": / { warmup = field($0, "warmup_frames") }
/"measured_frames": / { measured = field($0, "measured_frames") }
/"steps_timed": / { steps = field($0, "steps_timed") }
/"step_given": / { if (field($0, "step_given") !~ /argument/) note[cols] = note[cols] "; step given " field($0, "step_given") }
/"size": / {
  s = field($0, "size")
  if (!(s in seen)) { seen[s] = 1; sizes[++nsizes] = s }
  sized[cols, s] = $0
  if ($0 ~ /"error"/) note[cols] = note[cols] "; " s ": " field($0, "error")
}
/"error": / && !/"size": / { note[cols] = note[cols] "; " field($0, "error") }
/"shader_cache_files_after_cold": 0,/ { note[cols] = note[cols] "; Mesa kept no shader cache, so cold and warm differ by other caches only" }
/"cold": / { cold[cols] = field($0, "first_frame_ms") }
/"warm": / { warm[cols] = field($0, "first_frame_ms"); warmline[cols] = $0 }
END {
  printf "Astrolume bench: %s ms animation step, %s warm-up and %s measured frames per size\n\n", step, warmup, measured
  if (steps != "") printf "Steps of a frame: %s\n\n", steps
  for (c = 1; c <= cols; c++) cells[c] = name[c]
  row("")
  split("fps ms_median ms_p95 cpu_per_second allocations_per_frame texture_load_ms ms_backdrop ms_planets ms_sun ms_overlays", keys, " ")
  split("frames per second|ms per frame, median|ms per frame, 95th percentile|CPU s per displayed s|heap allocations per frame|texture loading, ms|step: backdrop, ms|step: planets, rings, halos, ms|step: Sun and corona, ms|step: overlays and panel, ms", labels, "|")
  # The steps are timed in plain frames, by builds that have them: rows only where some column has them.
  for (i = 1; i <= nsizes; i++)
    for (k = 1; k <= 10; k++) {
      shown = k <= 6
      for (c = 1; c <= cols; c++) {
        v = field(sized[c, sizes[i]], keys[k])
        if (v != "") shown = 1
        cells[c] = k > 6 && v == "" && !(c in down) ? "n/a" : cell(c, v)
      }
      if (shown) row((k == 1 ? sizes[i] : "") "  " labels[k])
    }
  for (c = 1; c <= cols; c++) cells[c] = cell(c, launchable(c) ? cold[c] : "n/a")
  row("launch to first frame, cold, ms")
  for (c = 1; c <= cols; c++) cells[c] = cell(c, launchable(c) ? warm[c] : "n/a")
  row("launch to first frame, warm, ms")
  split("loaded_peak_working_set_mb loaded_private_mb held_working_set_mb held_peak_working_set_mb held_private_mb", keys, " ")
  split("at first frame: peak working set, MB|at first frame: private bytes, MB|after a minute: working set, MB|after a minute: peak working set, MB|after a minute: private bytes, MB", labels, "|")
  for (k = 1; k <= 5; k++) {
    for (c = 1; c <= cols; c++) cells[c] = cell(c, launchable(c) ? field(warmline[c], keys[k]) : "n/a")
    row(labels[k])
  }
  for (c = 1; c <= cols; c++) if (note[c] != "") printf "\n%s: %s", name[c], substr(note[c], 3)
  printf "\n\nAll figures: %s\n", FILENAME_OUT
}
function launchable(c) { return (c in cold) || (c in warm) }
' FILENAME_OUT="$out/results.json" "${columns[@]}"
# The last 800x600 frame of each build against the first build's.
if [ -n "$before" ]; then
  for arch in "${archs[@]}"; do
    now="$figures/$arch.json.ppm" then="$figures/$arch-before.json.ppm"
    if [ -s "$now" ] && [ -s "$then" ]; then
      differing=$(compare -metric AE "$now" "$then" null: 2>&1)
      largest=$(compare -metric PAE "$now" "$then" null: 2>&1 | sed 's/ .*//')
      echo "$arch-bit, 800x600 frame against $short's: $differing pixels differ, the largest channel by $largest of 65535"
    else
      echo "$arch-bit, 800x600 frame against $short's: not compared, a frame is missing"
    fi
  done
fi
exit $status
