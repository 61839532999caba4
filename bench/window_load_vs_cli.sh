#!/usr/bin/env bash
# From start to the table shown in the window (the file's name in the caption), against
# `kolumbra-cli info` of the same file, side by side, best of 3 each. Needs Xvfb and xdotool.
#   bench/window_load_vs_cli.sh [BUILD_DIR] [FILE]
set -euo pipefail
build=${1:-build}
file=${2:-/tmp/kolumbra-bench-1m.csv}
[ -f "$file" ] || "$build/bench/gen_table" "$file" 1000000 10
name=$(basename "$file")
source "$(dirname "$0")/xvfb.sh"
start_xvfb "${KOLUMBRA_BENCH_DISPLAY:-:97}" 1600x1000x24
best() { sort -n | head -1; }
window=$(for run in 1 2 3; do
  t0=$(date +%s.%N)
  "$build/kolumbra" "$file" >/dev/null 2>&1 &
  pid=$!
  until xdotool search --name "$name" >/dev/null 2>&1; do
    if ! kill -0 "$pid" 2>/dev/null; then echo "the window ended before the table showed" >&2; exit 1; fi
    sleep 0.02
  done
  t1=$(date +%s.%N)
  kill "$pid"; wait "$pid" 2>/dev/null || true
  echo "$t1 - $t0" | bc -l
done | best)
cli=$(for run in 1 2 3; do
  t0=$(date +%s.%N); "$build/kolumbra-cli" info "$file" >/dev/null; t1=$(date +%s.%N)
  echo "$t1 - $t0" | bc -l
done | best)
printf 'window, start to table shown: %.3f s\n' "$window"
printf 'kolumbra-cli info:             %.3f s\n' "$cli"
printf 'window / (cli + 0.2 s start timer): %.2f (goal at most 1.3)\n' \
  "$(echo "$window / ($cli + 0.2)" | bc -l)"
