#!/usr/bin/env bash
# Draws Kalvora's icon, data/icons/kalvora.svg, as the PNGs beside it (48, 128 and 256 pixels),
# which are kept in the repository: the build and the package use them as they are. Needs
# rsvg-convert (Debian's librsvg2-bin).
set -euo pipefail
icons="$(cd "$(dirname "$0")/.." && pwd)/data/icons"
command -v rsvg-convert >/dev/null || { echo "rsvg-convert is missing: apt-get install librsvg2-bin" >&2; exit 1; }
for size in 48 128 256; do
  rsvg-convert -w "$size" -h "$size" "$icons/kalvora.svg" -o "$icons/kalvora-$size.png"
done
ls -l "$icons"
