#!/usr/bin/env bash
# Installs what is missing, builds Kalvora and runs every test: the unit, display and end-to-end
# tests, then the unit and display tests again under AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer, then fuzzes the track-file loader and the exports for a minute
# (both at once). CTest runs every display and end-to-end test on its own Xvfb (xvfb-run).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
cd "$here"
start=$(date +%s)
jobs=$(nproc)

scripts/install-deps.sh test

echo "== Build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"

echo "== Tests"
(cd build && ctest -j"$jobs" --output-on-failure)

scripts/check-install.sh build

echo "== Tests under AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKALVORA_SANITIZE=ON -DKALVORA_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs" --target unit_tests display_tests
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$here/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
(cd build-asan && ctest -j"$jobs" --output-on-failure -L 'unit|display')

echo "== Fuzzing the track-file loader and the exports for 60 s at once (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKALVORA_FUZZ=ON -DKALVORA_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" --target track_file_fuzzer track_export_fuzzer
# Each runs from the seeds in the repository into a corpus of its own, one per core; no input may
# take longer than 10 s.
fuzz() {
  local corpus status=0
  corpus="$(mktemp -d)"
  build-fuzz/tests/fuzz/"$1" -max_total_time=60 -timeout=10 -print_final_stats=1 -artifact_prefix=build-fuzz/"$1"- \
    "$corpus" tests/fuzz/corpus >build-fuzz/"$1".log 2>&1 || status=$?
  rm -rf "$corpus"
  return $status
}
fuzz track_file_fuzzer & loader=$!
fuzz track_export_fuzzer & exports=$!
failed=0
for target in track_file_fuzzer:$loader track_export_fuzzer:$exports; do
  name=${target%%:*}
  status=0
  wait "${target##*:}" || status=$?
  echo "$name:"
  grep -E '^(Done|stat::(number_of_executed_units|average_exec_per_sec|slowest_unit_time_sec))' build-fuzz/"$name".log || true
  if [ "$status" -ne 0 ]; then
    tail -n 60 build-fuzz/"$name".log
    echo "The fuzzer $name found a failing input; it is kept in build-fuzz/ (see above)"
    failed=1
  fi
done
[ "$failed" -eq 0 ] || exit 1

echo "== All tests passed in $(( $(date +%s) - start )) s"
