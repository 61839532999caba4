#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, ASan and UBSan into build-fuzz/ and runs each for
# FUZZ_SECONDS (default 60) from its seed corpus in fuzz/corpus/<target>. Any finding (a crash,
# a sanitizer report, a failed property, a leak, a time-out) fails the script; the input that
# caused it is kept as build-fuzz/findings/<target>/crash-* for the log.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKOLUMBRA_FUZZ=ON >/dev/null
cmake --build build-fuzz -j2
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=()
for target in split_line_fuzz load_save_fuzz settings_fuzz text_fuzz grid_fuzz workbook_fuzz; do
  work=build-fuzz/corpus/$target   # new inputs go here; the seeds stay untouched
  findings=build-fuzz/findings/$target
  mkdir -p "$work" "$findings"
  echo "== $target (${seconds} s)"
  limits="-timeout=10 -rss_limit_mb=2048"
  if [ "$target" = workbook_fuzz ]; then
    limits="-timeout=10 -rss_limit_mb=4096 -max_len=1000000"
  fi
  if ! build-fuzz/fuzz/$target -max_total_time="$seconds" $limits \
      -print_final_stats=1 -artifact_prefix="$findings/" "$work" "fuzz/corpus/$target" \
      >"build-fuzz/$target.log" 2>&1; then
    tail -n 60 "build-fuzz/$target.log"
    failed+=("$target")
  else
    grep -E "^(Done|stat::number_of_executed_units)" "build-fuzz/$target.log" || true
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing found faults in: ${failed[*]}" >&2
  exit 1
fi
