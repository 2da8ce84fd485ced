#!/usr/bin/env bash
# Installs what is missing, builds Kalvora and runs every test: the unit, display and end-to-end
# tests, then the unit and display tests again under AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer, then fuzzes the track-file loader for a minute. CTest runs every
# display and end-to-end test on its own Xvfb (xvfb-run).
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

echo "== Fuzzing the track-file loader for 60 s (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKALVORA_FUZZ=ON -DKALVORA_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" --target track_file_fuzzer
corpus="$(mktemp -d)"  # new inputs go here; the seeds in the repository stay as they are
status=0
build-fuzz/tests/fuzz/track_file_fuzzer -max_total_time=60 -print_final_stats=1 -artifact_prefix=build-fuzz/ \
  "$corpus" tests/fuzz/corpus >build-fuzz/fuzz.log 2>&1 || status=$?
rm -rf "$corpus"
grep -E '^(Done|stat::(number_of_executed_units|average_exec_per_sec))' build-fuzz/fuzz.log || true
if [ "$status" -ne 0 ]; then
  tail -n 60 build-fuzz/fuzz.log
  echo "The fuzzer found a failing input; it is kept in build-fuzz/ (see above)"
  exit 1
fi

echo "== All tests passed in $(( $(date +%s) - start )) s"
