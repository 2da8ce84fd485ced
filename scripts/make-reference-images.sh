#!/usr/bin/env bash
# Draws the pictures tests/render/Frame_gltest.cpp compares with, using the renderer of
# another commit (default: the renderer that draws the track section immediately, one glBegin per
# primitive, with the frames computed from their definitions), and stores
# them as PNG in tests/render/reference/. Needs ImageMagick's convert.
#   scripts/make-reference-images.sh [commit]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
commit="${1:-82d9953}"
work="$(mktemp -d)"
trap 'git -C "$here" worktree remove --force "$work/src" >/dev/null 2>&1 || true; rm -rf "$work"' EXIT

git -C "$here" worktree add --detach "$work/src" "$commit" >/dev/null
# That commit's renderer with today's test, scenes and fixtures.
cp "$here/tests/render/Frame_gltest.cpp" "$work/src/tests/render/"
cp "$here/tests/support/SceneCapture.h" "$work/src/tests/support/"
cp "$here/tests/CMakeLists.txt" "$work/src/tests/"
find "$work/src/tests" -name '*_gltest.cpp' ! -name Frame_gltest.cpp -delete  # only the pictures
mkdir -p "$work/src/tracks" && cp "$here"/tracks/*.trk "$work/src/tracks/"
cmake -S "$work/src" -B "$work/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKALVORA_BENCH=OFF >/dev/null
cmake --build "$work/build" -j"$(nproc)" --target display_tests >/dev/null
mkdir -p "$work/out"
KALVORA_WRITE_REFERENCES="$work/out" xvfb-run -a -s "-screen 0 1600x1200x24 -nolisten tcp -noreset" \
  "$work/build/tests/display_tests" --gtest_filter='FrameSameness.EveryPixelMatchesThePlainDrawing'
for ppm in "$work"/out/*.ppm; do
  convert "$ppm" "$here/tests/render/reference/$(basename "${ppm%.ppm}").png"
done
ls -l "$here/tests/render/reference"
