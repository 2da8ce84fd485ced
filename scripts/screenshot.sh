#!/usr/bin/env bash
# Takes the README's pictures: build/tests/screenshot (scripts/Screenshot.cpp) runs the real
# program through the end-to-end driver on a private Xvfb, loads tracks/loop.trk (rails, ties and
# pillars), tilts the view with a right-button drag and captures it as screenshot.png, exports the
# track's model with X (loop.obj and loop.mtl), opens the track's ride report (G) for
# ride-report.png, colours the track by vertical g (V) for forces.png and opens the help window (H)
# beside the main one for help.png. Debian's f3d viewer then
# draws the exported model as loop-export.png.
#   scripts/screenshot.sh [folder]   (default docs/)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
docs="$(realpath -m "${1:-$here/docs}")"
"$here/scripts/install-deps.sh" docs
cmake -S "$here" -B "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$here/build" -j"$(nproc)" --target kalvora screenshot >/dev/null
mkdir -p "$docs"
state="$(mktemp -d)"  # the program keeps nothing in the real home
XDG_STATE_HOME="$state" xvfb-run -a -s "-screen 0 1600x1200x24 -nolisten tcp -noreset" \
  "$here/build/tests/screenshot" "$docs"
xvfb-run -a -s "-screen 0 1600x1200x24 -nolisten tcp" f3d "$docs/loop.obj" --output "$docs/loop-export.png" \
  --resolution 800,600 --grid --camera-azimuth-angle 30 --camera-elevation-angle 25 >/dev/null
rm -rf "$docs/loop.obj" "$docs/loop.mtl" "$state"
echo "wrote screenshot.png, ride-report.png, forces.png, help.png and loop-export.png in $docs"
