#!/usr/bin/env bash
# Ten million lines in the window, as the user sees it under Xvfb: from start to the table shown
# (the file's name in the caption), the window's peak memory once it is shown, Ctrl+End, and
# screenshots after the load and after Ctrl+End; then `kolumbra-cli info` of the same file with
# its peak memory, and the window's steps timed inside the program (window_large_bench).
# The file (about 1.2 GB) is generated on demand and never kept in the tree.
#   bench/window_10m.sh [BUILD_DIR] [FILE] [LINES] [SHOTS_DIR]
set -euo pipefail
build=${1:-build}
file=${2:-/tmp/kolumbra-bench-10m.csv}
lines=${3:-10000000}
shots=${4:-/tmp}
mkdir -p "$shots"
[ -f "$file" ] || "$build/bench/gen_table" "$file" "$lines" 10
bytes=$(stat -c %s "$file")
name=$(basename "$file")
source "$(dirname "$0")/xvfb.sh"
start_xvfb :96 1280x1024x24
per_byte() { echo "scale=2; $1 * 1024 / $bytes" | bc -l; }

echo "file: $file ($bytes bytes)"
for run in 1 2; do
  cat "$file" >/dev/null # the same warm page cache for every run
  t0=$(date +%s.%N)
  "$build/kolumbra" "$file" >/dev/null 2>&1 &
  pid=$!
  win=
  for try in $(seq 12000); do # two minutes at most
    win=$(xdotool search --name "$name" 2>/dev/null | head -1) && [ -n "$win" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.01
  done
  if [ -z "$win" ]; then echo "window run $run: the table was never shown" >&2; exit 1; fi
  t1=$(date +%s.%N)
  sleep 1 # the first paint after the caption
  hwm=$(awk '/^VmHWM:/ {print $2}' /proc/$pid/status)
  rss=$(awk '/^VmRSS:/ {print $2}' /proc/$pid/status)
  printf 'window run %d: start to table shown %.2f s; peak %d KiB = %s bytes per source byte (resident %d KiB)\n' \
    "$run" "$(echo "$t1 - $t0" | bc -l)" "$hwm" "$(per_byte "$hwm")" "$rss"
  if [ "$run" = 1 ]; then
    import -window root "$shots/kolumbra-10m-loaded.png"
    xdotool windowactivate --sync "$win" 2>/dev/null || true
    t2=$(date +%s.%N)
    xdotool key --window "$win" ctrl+End
    sleep 0.3
    import -window root "$shots/kolumbra-10m-end.png"
    t3=$(date +%s.%N)
    printf '  Ctrl+End and a screenshot: %.2f s (screenshots in %s)\n' \
      "$(echo "$t3 - $t2" | bc -l)" "$shots"
  fi
  kill "$pid"
  wait "$pid" 2>/dev/null || true
done

cli=$( { /usr/bin/time -f '%e %M' "$build/kolumbra-cli" info "$file" >/dev/null; } 2>&1 | tail -1)
read -r cli_s cli_kb <<<"$cli"
printf 'kolumbra-cli info: %.2f s; peak %d KiB = %s bytes per source byte\n' \
  "$cli_s" "$cli_kb" "$(per_byte "$cli_kb")"

echo "inside the window (offscreen):"
QT_QPA_PLATFORM=offscreen /usr/bin/time -f 'window_large_bench: %e s, peak %M KiB' \
  "$build/bench/window_large_bench" "$file"
