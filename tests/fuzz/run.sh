#!/usr/bin/env bash
# Runs every harness of the fuzzing tree for the given seconds, each from its
# seeds (tests/fuzz/corpus, and those the tree made) and the corpus it grew
# before. Fails when any of them reports a crash, a leak, a timeout or a
# sanitizer finding; the input is kept in <tree>/findings.
#   tests/fuzz/run.sh build/fuzz 60
set -uo pipefail
tree=$1
seconds=$2
seeds=$(cd "$(dirname "$0")" && pwd)/corpus
mkdir -p "$tree/findings"
failed=()
for harness in desc_text settings pixels decoder; do
  work=$tree/corpus/$harness
  mkdir -p "$work"
  dirs=("$work")
  for d in "$seeds/$harness" "$tree/seeds/$harness"; do [ -d "$d" ] && dirs+=("$d"); done
  log=$tree/$harness.log
  if "$tree/$harness" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$tree/findings/$harness-" "${dirs[@]}" >"$log" 2>&1; then
    echo "fuzz: $harness: $(grep -m1 '^Done' "$log" || echo 'done')"
  else
    echo "fuzz: $harness FAILED (log: $log)" >&2
    grep -E 'ERROR|SUMMARY|runtime error|Test unit written|\.(cpp|h|c):[0-9]+' "$log" | head -20 >&2
    failed+=("$harness")
  fi
done
[ "${#failed[@]}" -eq 0 ] || { echo "fuzz: findings in ${failed[*]}" >&2; exit 1; }
