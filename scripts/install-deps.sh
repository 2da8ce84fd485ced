#!/usr/bin/env bash
# Installs the Debian packages Kalvora needs to build, run and test, if any are missing.
# Usage: scripts/install-deps.sh [run|test|docs]   (default: test, which includes run; docs adds
# the f3d viewer that draws an exported model for the README)
set -euo pipefail

run_packages=(build-essential cmake libfltk1.3-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri)
test_packages=(libgtest-dev libbenchmark-dev xvfb xauth xdotool imagemagick clang libclang-rt-14-dev liblsan0
  desktop-file-utils appstream shared-mime-info man-db x11-utils lintian dpkg-dev)

packages=("${run_packages[@]}")
[ "${1:-test}" != run ] && packages+=("${test_packages[@]}")
[ "${1:-test}" = docs ] && packages+=(f3d)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
