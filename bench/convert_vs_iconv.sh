#!/usr/bin/env bash
# kolumbra-cli convert (load + save) and cat (load + write to a pipe) against iconv over the
# same generated file, side by side.
#   bench/convert_vs_iconv.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
file=/tmp/kolumbra-bench-1m.csv
[ -f "$file" ] || "$build/bench/gen_table" "$file" 1000000 10
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
bytes=$(stat -c %s "$file")
measure() { # name command... ; sets $result to the best time
  local name=$1; shift
  local best=999999 t0 t1 t
  local run
  for run in 1 2 3 4 5; do
    t0=$(date +%s.%N); "$@" >/dev/null; t1=$(date +%s.%N)
    t=$(echo "$t1 - $t0" | bc -l); if (( $(echo "$t < $best" | bc -l) )); then best=$t; fi
  done
  printf '%-28s best of 5: %.3f s  (%.0f MB/s)\n' "$name" "$best" "$(echo "$bytes / 1000000 / $best" | bc -l)"
  result=$best
}
measure "iconv -f CP932 -t UTF-8" sh -c "iconv -f CP932 -t UTF-8 '$file' > '$out/iconv.txt'"
i=$result
measure "kolumbra-cli convert" "$build/kolumbra-cli" convert "$file" "$out/k.csv"
k=$result
printf 'ratio kolumbra-cli / iconv: %.2f\n' "$(echo "$k / $i" | bc -l)"
measure "iconv ... | cat" sh -c "iconv -f CP932 -t UTF-8 '$file' | cat > /dev/null"
p=$result
measure "kolumbra-cli cat | cat" sh -c "'$build/kolumbra-cli' cat '$file' | cat > /dev/null"
c=$result
printf 'ratio cat / iconv: %.2f; both to a pipe: %.2f\n' "$(echo "$c / $i" | bc -l)" \
  "$(echo "$c / $p" | bc -l)"
/usr/bin/time -o /dev/stdout -f 'kolumbra-cli convert peak RSS: %M KiB' "$build/kolumbra-cli" convert "$file" "$out/k.csv"
if cmp -s "$file" "$out/k.csv"; then echo "output identical to input"; else echo "output differs from input"; fi
