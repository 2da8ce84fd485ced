#!/usr/bin/env bash
# The long endurance run: drives the real program on a private Xvfb for the given time (default
# 30 minutes) through cycles of adding 100 points, dragging, every display key, the ride views,
# save, clear and load, then checks that it still answers F5, that its resident memory stopped
# growing after the first cycle, and that LeakSanitizer found no leak. The test command runs the
# same for about a minute.
#   scripts/endurance.sh [seconds]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/install-deps.sh" test
cmake -S "$here" -B "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$here/build" -j"$(nproc)" --target kalvora e2e_tests
KALVORA_ENDURANCE_SECONDS="${1:-1800}" xvfb-run -a -s "-screen 0 1600x1200x24 -nolisten tcp -noreset" \
  "$here/build/tests/e2e_tests" --gtest_filter='Endurance.*'
