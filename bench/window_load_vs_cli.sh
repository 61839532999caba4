#!/usr/bin/env bash
# From start to the table shown in the window (the file's name in the caption), against
# `kolumbra-cli info` of the same file, side by side, best of 3 each. Needs Xvfb and xdotool.
#   bench/window_load_vs_cli.sh [BUILD_DIR] [FILE]
set -euo pipefail
build=${1:-build}
file=${2:-/tmp/kolumbra-bench-1m.csv}
[ -f "$file" ] || "$build/bench/gen_table" "$file" 1000000 10
name=$(basename "$file")
display=${KOLUMBRA_BENCH_DISPLAY:-:97}
# A server left from a previous run may still hold the display for a moment.
for try in $(seq 100); do [ -e "/tmp/.X${display#:}-lock" ] || break; sleep 0.05; done
Xvfb "$display" -noreset -screen 0 1600x1000x24 >/dev/null 2>&1 &
xvfb=$!
home=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$home"' EXIT
export DISPLAY=$display XDG_CONFIG_HOME=$home XDG_DATA_HOME=$home
for try in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
if ! kill -0 "$xvfb" 2>/dev/null; then echo "Xvfb could not start on $display" >&2; exit 1; fi
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
