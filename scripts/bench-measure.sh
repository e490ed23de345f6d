#!/usr/bin/env bash
# Inside the bench (scripts/bench.sh): the figures of Windows build trees, each
# as one JSON object in its RESULT file. The frames first; then, with "launch",
# the saver started full screen twice: with an empty Mesa shader cache (cold),
# then with the one the first start left (warm), kept drawing for a minute to
# read its memory again. The last 800x600 frame goes to RESULT.ppm.
#
#   scripts/bench-measure.sh COLUMN TREE RESULT launch|"no launch: REASON" [COLUMN ...]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache="$ASTROLUME_BENCH/shader-cache"
status=0

windows_path() { echo "Z:${1//\//\\}"; }

# One run of the bench program of $tree into PART: its JSON, or an object
# saying why there is none. Mesa's shader cache is kept in CACHE, never in the
# user's home. NOTE: a message box of a failed start would wait for ever.
measure() {
  local dir=$1 part=$2
  shift 2
  rm -f "$part"
  MESA_SHADER_CACHE_DIR="$dir" timeout 900 "$WINELOADER" "$tree/bin/astrolume_bench.exe" \
    --out="$(windows_path "$part")" "$@" </dev/null
  local code=$?
  if [ "$code" -ne 0 ] || [ ! -s "$part" ]; then
    echo "{\"error\": \"the bench program ended with code $code\"}" >"$part"
    status=1
  fi
}

while [ $# -ge 4 ]; do
  column=$1 tree=$2 result=$3 launch=$4
  shift 4
  rm -rf "$cache"
  mkdir -p "$cache/frames" "$cache/launch"
  echo "bench: $column: frames" >&2
  measure "$cache/frames" "$result.frames" --shot="$(windows_path "$result.ppm")"
  if [ "$launch" = launch ]; then
    saver=$(windows_path "$tree/bin/Astrolume.scr")
    echo "bench: $column: launch, cold shader cache" >&2
    measure "$cache/launch" "$result.cold" --launch="$saver"
    cached=$(find "$cache/launch" -type f | wc -l)
    echo "bench: $column: launch, warm shader cache" >&2
    measure "$cache/launch" "$result.warm" --launch="$saver" --hold=60
    # One launch to a line: the table reads them line by line.
    launch_json="{\"shader_cache_files_after_cold\": $cached,
  \"cold\": $(cat "$result.cold"),
  \"warm\": $(cat "$result.warm")}"
  else
    launch_json="{\"error\": \"n/a, ${launch#no launch: }\"}"
  fi
  {
    echo "{\"column\": \"$column\", \"tree\": \"${tree#"$root"/}\","
    echo "\"frames\": $(cat "$result.frames"),"
    echo "\"launch\": $launch_json}"
  } >"$result"
  rm -f "$result.frames" "$result.cold" "$result.warm"
done
exit $status
