#!/usr/bin/env bash
# kolumbra-cli excel against LibreOffice's headless conversion of the same workbook to CSV.
#   bench/workbook_vs_libreoffice.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
file=/tmp/kolumbra-bench-100k.xlsx
[ -f "$file" ] || python3 "$(dirname "$0")/gen_workbook.py" "$file" 100000
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
best() { # command... ; prints the best of 3 wall times in seconds
  local b=999999 t0 t1 t run
  for run in 1 2 3; do
    t0=$(date +%s.%N); "$@" >/dev/null 2>&1; t1=$(date +%s.%N)
    t=$(echo "$t1 - $t0" | bc -l); if (( $(echo "$t < $b" | bc -l) )); then b=$t; fi
  done
  echo "$b"
}
k=$(best "$build/kolumbra-cli" excel "$file" "$out/k.csv")
printf 'kolumbra-cli excel            best of 3: %.3f s\n' "$k"
if command -v libreoffice >/dev/null; then
  l=$(best libreoffice --headless -env:UserInstallation=file://$out/profile --convert-to csv --outdir "$out" "$file")
  printf 'libreoffice --convert-to csv  best of 3: %.3f s\n' "$l"
  printf 'ratio libreoffice / kolumbra: %.1f\n' "$(echo "$l / $k" | bc -l)"
else
  echo "libreoffice is not installed: no comparison"
fi
