#!/usr/bin/env bash
# The print preview's first page and its creation of every row, against `kolumbra-cli info` of
# the same file, in one run (best of 3 for the command line).
#   bench/print_preview_vs_cli.sh [BUILD_DIR] [FILE]
set -euo pipefail
build=${1:-build}
file=${2:-/tmp/kolumbra-bench-1m.csv}
[ -f "$file" ] || "$build/bench/gen_table" "$file" 1000000 10
cli=$(for run in 1 2 3; do
  t0=$(date +%s.%N); "$build/kolumbra-cli" info "$file" >/dev/null; t1=$(date +%s.%N)
  echo "($t1 - $t0) * 1000" | bc -l
done | sort -n | head -1)
out=$(QT_QPA_PLATFORM=offscreen "$build/bench/print_preview_bench" "$file" 2>/dev/null)
echo "$out"
first=$(echo "$out" | sed -n 's/^opening to the first page: \([0-9.]*\) ms.*/\1/p')
create=$(echo "$out" | sed -n 's/^creating all [0-9]* rows: \([0-9.]*\) ms.*/\1/p')
printf 'kolumbra-cli info: %.0f ms\n' "$cli"
printf 'first page / cli load: %.2f (goal at most 0.5)\n' "$(echo "$first / $cli" | bc -l)"
printf 'creating all rows / cli load: %.2f (goal at most 1)\n' "$(echo "$create / $cli" | bc -l)"
