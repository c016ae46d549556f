#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for a bounded time on a copy of its
# seed corpus, and prints the executions. Exits non-zero when a target crashes.
# Usage: scripts/fuzz.sh BUILD_DIR SECONDS   (build: see tests/fuzz/CMakeLists.txt)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:?usage: scripts/fuzz.sh BUILD_DIR SECONDS}"
seconds="${2:?usage: scripts/fuzz.sh BUILD_DIR SECONDS}"
work="$build/fuzz-work"
total=0
status=0
shopt -s nullglob
targets=("$build"/tests/fuzz/fuzz_*)
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz.sh: no fuzz targets in $build/tests/fuzz" >&2
  exit 1
fi
for target in "${targets[@]}"; do
  [ -x "$target" ] || continue
  name="$(basename "$target")"
  corpus="tests/fuzz/corpus/${name#fuzz_}"
  corpus="${corpus%_file}"
  rm -rf "$work/$name"
  mkdir -p "$work/$name/corpus" "$work/$name/artifacts"
  cp "$corpus"/* "$work/$name/corpus/"
  log="$work/$name/log.txt"
  echo "== $name: ${seconds}s on $corpus"
  if "$target" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$work/$name/artifacts/" "$work/$name/corpus" >"$log" 2>&1; then
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
    echo "   $name: ${runs:-?} executions, no crash"
    total=$((total + ${runs:-0}))
  else
    echo "   $name: CRASHED; artifacts in $work/$name/artifacts" >&2
    tail -40 "$log" >&2
    status=1
  fi
done
echo "fuzz.sh: $total executions in all"
exit $status
