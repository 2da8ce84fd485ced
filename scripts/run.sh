#!/usr/bin/env bash
# Installs what is missing, builds Kalvora and starts it in the current folder (res.cfg lives there),
# passing its arguments on (`scripts/run.sh tracks/loop.trk` opens that track).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/install-deps.sh" run
cmake -S "$here" -B "$here/build-run" -DCMAKE_BUILD_TYPE=Release -DKALVORA_TESTS=OFF -DKALVORA_BENCH=OFF >/dev/null
cmake --build "$here/build-run" -j"$(nproc)" --target kalvora
exec "$here/build-run/kalvora" "$@"
