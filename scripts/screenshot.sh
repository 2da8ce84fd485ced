#!/usr/bin/env bash
# Takes the README's pictures: the end-to-end driver's Screenshot mode runs the real program on a
# private Xvfb, loads tracks/loop.trk (rails, ties and pillars), tilts the view with a right-button
# drag and captures the window, exports the track's model with X (loop.obj and loop.mtl), opens
# the track's ride report (G) and captures it as ride-report.png beside the first picture, and
# colours the track by vertical g (V) for forces.png. Debian's f3d viewer then draws the exported
# model as loop-export.png there.
#   scripts/screenshot.sh [output.png]   (default docs/screenshot.png)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
out="$(realpath -m "${1:-$here/docs/screenshot.png}")"
"$here/scripts/install-deps.sh" docs
cmake -S "$here" -B "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$here/build" -j"$(nproc)" --target kalvora e2e_tests >/dev/null
mkdir -p "$(dirname "$out")"
state="$(mktemp -d)"  # the program keeps nothing in the real home
KALVORA_SCREENSHOT="$out" XDG_STATE_HOME="$state" xvfb-run -a -s "-screen 0 1600x1200x24 -nolisten tcp -noreset" \
  "$here/build/tests/e2e_tests" --gtest_filter='Screenshot.*'
docs="$(dirname "$out")"
xvfb-run -a -s "-screen 0 1600x1200x24 -nolisten tcp" f3d "$docs/loop.obj" --output "$docs/loop-export.png" \
  --resolution 800,600 --grid --camera-azimuth-angle 30 --camera-elevation-angle 25 >/dev/null
rm -rf "$docs/loop.obj" "$docs/loop.mtl" "$state"
echo "wrote $out, $docs/ride-report.png, $docs/forces.png and $docs/loop-export.png"
