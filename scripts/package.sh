#!/usr/bin/env bash
# Makes the Debian package kalvora_VERSION_ARCH.deb in the current folder: a Release build with
# Debian's hardening flags in build-package/, installed under /usr and packed by `cpack -G DEB`
# (cmake/Package.cmake says what goes in).
#   scripts/package.sh [output folder]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
out="$(realpath -m "${1:-.}")"
"$here/scripts/install-deps.sh" run
build="$here/build-package"
# Debian's hardening flags, all of them; dpkg-buildflags' -O2 gives way to the Release build's
# own -O3, which comes after it.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DKALVORA_TESTS=OFF -DKALVORA_BENCH=OFF \
  -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CFLAGS)" \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build" -j"$(nproc)"
(cd "$build" && cpack -G DEB >/dev/null)
mkdir -p "$out"
mv "$build"/kalvora_*.deb "$out/"
ls "$out"/kalvora_*.deb
