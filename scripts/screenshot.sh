#!/usr/bin/env bash
# Takes the README's screenshots: the real program on a private Xvfb loads tracks/loop.trk (rails,
# ties and pillars), the view is tilted with a right-button drag, and the window is captured; then
# G opens the ride report of the track, captured as ride-report.png beside the first picture.
#   scripts/screenshot.sh [output.png]   (default docs/screenshot.png; needs ImageMagick)
set -uo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
out="$(realpath -m "${1:-$here/docs/screenshot.png}")"
"$here/scripts/install-deps.sh" run
command -v import >/dev/null || { echo "needs ImageMagick (apt-get install imagemagick)"; exit 1; }
cmake -S "$here" -B "$here/build-run" -DCMAKE_BUILD_TYPE=Release -DKALVORA_TESTS=OFF -DKALVORA_BENCH=OFF >/dev/null
cmake --build "$here/build-run" -j"$(nproc)" --target kalvora >/dev/null

work="$(mktemp -d)"
cp "$here/tracks/loop.trk" "$work/"
Xvfb :93 -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill ${program:-} $xvfb 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY=:93
sleep 1
(cd "$work" && exec "$here/build-run/kalvora" >/dev/null) &
program=$!

hold() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; sleep 0.1; }
dialog=$(xdotool search --sync --onlyvisible --name '^Kalvora$' | head -1)
xdotool windowfocus --sync "$dialog"
hold Return
main=$(xdotool search --sync --onlyvisible --name 'Build 53' | head -1)
xdotool mousemove 400 300
xdotool windowfocus --sync "$main"
hold F1
sleep 1
prompt=$(xdotool search --onlyvisible --name '' | while read -r id; do
  [ "$(xdotool getwindowgeometry "$id" | grep -c 'Geometry: 330x75')" = 1 ] && echo "$id"; done | head -1)
xdotool windowfocus --sync "$prompt"
xdotool type loop.trk
hold Return
sleep 0.5
# Tilt the free view: a right-button drag from the middle of the view straight down.
xdotool mousemove 400 300 mousedown 3
for _ in $(seq 1 7); do xdotool mousemove_relative -- 0 18; sleep 0.05; done
xdotool mouseup 3
for _ in $(seq 1 7); do hold bracketright; done  # pillars under every 8th tie or so
for _ in $(seq 1 4); do hold a; done             # a little closer
sleep 1.5                              # let the train ride into the picture
mkdir -p "$(dirname "$out")"
import -window root -crop 800x600+0+0 +repage "$out"
echo "wrote $out"
hold g
report=$(xdotool search --sync --onlyvisible --name '^Kalvora - Ride report$' | head -1)
sleep 1
import -window "$report" "$(dirname "$out")/ride-report.png"
echo "wrote $(dirname "$out")/ride-report.png"
