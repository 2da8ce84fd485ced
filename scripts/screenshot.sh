#!/usr/bin/env bash
# Takes the README's screenshots: the end-to-end driver's Screenshot mode runs the real program on
# a private Xvfb, loads tracks/loop.trk (rails, ties and pillars), tilts the view with a
# right-button drag and captures the window, then opens the track's ride report (G) and captures
# it as ride-report.png beside the first picture, and colours the track by vertical g (V) for
# forces.png.
#   scripts/screenshot.sh [output.png]   (default docs/screenshot.png)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
out="$(realpath -m "${1:-$here/docs/screenshot.png}")"
"$here/scripts/install-deps.sh" test
cmake -S "$here" -B "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$here/build" -j"$(nproc)" --target kalvora e2e_tests >/dev/null
mkdir -p "$(dirname "$out")"
KALVORA_SCREENSHOT="$out" xvfb-run -a -s "-screen 0 1600x1200x24 -nolisten tcp -noreset" \
  "$here/build/tests/e2e_tests" --gtest_filter='Screenshot.*'
echo "wrote $out, $(dirname "$out")/ride-report.png and $(dirname "$out")/forces.png"
