#!/usr/bin/env bash
# `kolumbra-cli print --pdf` against LibreOffice's headless PDF export of the same rows, side by
# side in one run: times, sizes, embedded fonts, and whether pdftotext reads the text back.
#   bench/print_pdf_vs_libreoffice.sh [BUILD_DIR] [ROWS] [FILE]
# Needs soffice, pdffonts and pdftotext (poppler-utils).
set -euo pipefail
build=${1:-build}
rows=${2:-10000}
file=${3:-/tmp/kolumbra-bench-1m.csv}
[ -f "$file" ] || "$build/bench/gen_table" "$file" 1000000 10
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
head -n "$rows" "$file" > "$work/rows.csv"
profile="file://$work/lo-profile"
lo() { soffice -env:UserInstallation="$profile" --headless --infilter="CSV:44,34,64,1" \
         --convert-to pdf --outdir "$1" "$2" >/dev/null 2>&1; }
# LibreOffice's first start builds its profile: not part of the conversion.
printf 'a,b\n' > "$work/warm.csv"; mkdir -p "$work/warm"; lo "$work/warm" "$work/warm.csv"

mkdir -p "$work/lo"
t0=$(date +%s.%N)
lo "$work/lo" "$work/rows.csv"
t1=$(date +%s.%N)
/usr/bin/time -f '%M' -o "$work/rss" "$build/kolumbra-cli" print --pdf "$work/k.pdf" "$work/rows.csv"
t2=$(date +%s.%N)
lo_s=$(echo "$t1 - $t0" | bc -l); k_s=$(echo "$t2 - $t1" | bc -l)
lo_pdf="$work/lo/rows.pdf"
pages() { pdfinfo "$1" | awk '/^Pages:/ {print $2}'; }
printf 'rows: %s of %s\n' "$rows" "$file"
printf 'LibreOffice:  %7.2f s  %9d bytes  %5s pages\n' "$lo_s" "$(stat -c %s "$lo_pdf")" "$(pages "$lo_pdf")"
printf 'kolumbra-cli: %7.2f s  %9d bytes  %5s pages  peak RSS %s kB\n' "$k_s" \
  "$(stat -c %s "$work/k.pdf")" "$(pages "$work/k.pdf")" "$(cat "$work/rss")"
printf 'speed-up: %.1f times (goal at least 10)\n' "$(echo "$lo_s / $k_s" | bc -l)"
printf 'bytes per page: LibreOffice %d, kolumbra-cli %d\n' \
  "$(( $(stat -c %s "$lo_pdf") / $(pages "$lo_pdf") ))" "$(( $(stat -c %s "$work/k.pdf") / $(pages "$work/k.pdf") ))"
echo "fonts in kolumbra-cli's PDF:"; pdffonts "$work/k.pdf" | tail -n +3
# A cell of the last row, as the text layer gives it back.
probe=$(tail -n 1 "$work/rows.csv" | iconv -f CP932 -t UTF-8 | cut -d, -f1 | tr -d '"')
pdftotext "$work/k.pdf" "$work/k.txt"
if grep -qF "$probe" "$work/k.txt"; then echo "text layer: \"$probe\" found";
else echo "text layer: \"$probe\" NOT found"; exit 1; fi
