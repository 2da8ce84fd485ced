#!/usr/bin/env bash
# Installs what is missing, builds Kalvora and runs every test: the unit, display and end-to-end
# tests, then the unit and display tests again under AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer. Display tests start their own Xvfb servers.
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

echo "== Tests under AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKALVORA_SANITIZE=ON -DKALVORA_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs" --target unit_tests display_tests
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$here/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
(cd build-asan && ctest -j"$jobs" --output-on-failure -L 'unit|display')

echo "== All tests passed in $(( $(date +%s) - start )) s"
