#!/usr/bin/env bash
# Checks Kalvora as it is installed: `cmake --install` of a build into a scratch DESTDIR, every file
# where a desktop looks for it, the desktop entry, the AppStream component, the file type and the
# manual page through their own validators, the installed program started from another folder
# (its --version, and its first window's class and icon on a private Xvfb), then the Debian
# package of scripts/package.sh through lintian. Any error fails it.
#   scripts/check-install.sh [build folder]   (default build/, already built)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath "${1:-$here/build}")"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
fail() { echo "check-install: $*" >&2; exit 1; }
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"

prefix=/usr/local
root="$scratch/root$prefix"
DESTDIR="$scratch/root" cmake --install "$build" --prefix "$prefix" >/dev/null
share="$root/share"
for file in bin/kalvora share/applications/kalvora.desktop share/icons/hicolor/scalable/apps/kalvora.svg \
    share/icons/hicolor/{48x48,128x128,256x256}/apps/kalvora.png share/mime/packages/kalvora.xml \
    share/metainfo/io.github.kalvora.Kalvora.metainfo.xml share/man/man1/kalvora.1 \
    share/kalvora/tracks/{oval,loop,figure8,largest}.trk share/doc/kalvora/{README.md,LICENSE}; do
  [ -f "$root/$file" ] || fail "$prefix/$file was not installed"
done
for size in 48 128 256; do
  [ "$(identify -format '%wx%h' "$share/icons/hicolor/${size}x$size/apps/kalvora.png")" = "${size}x$size" ] ||
    fail "the ${size}x$size icon is not $size pixels square"
done

echo "== Installed files, desktop entry, AppStream component, file type, manual page"
out="$(desktop-file-validate "$share/applications/kalvora.desktop" 2>&1)" && [ -z "$out" ] ||
  fail "desktop-file-validate: $out"
appstreamcli validate --no-net "$share/metainfo/"*.metainfo.xml
cp -r "$share/mime" "$scratch/mime"
out="$(update-mime-database "$scratch/mime" 2>&1)"
! grep -qiE 'error|warning' <<<"$out" || fail "update-mime-database: $out"
grep -q '<comment>Kalvora track</comment>' "$scratch/mime/application/x-kalvora-track.xml" ||
  fail "the MIME database does not know application/x-kalvora-track"
out="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$share/man/man1/kalvora.1" 2>&1 >"$scratch/man.txt")" &&
  [ -z "$out" ] || fail "man --warnings: $out"
grep -q '^KEYS' "$scratch/man.txt" || fail "the manual page has no KEYS section"

echo "== The installed program, started from another folder"
mkdir -p "$scratch/home" && cd "$scratch/home"
export HOME="$scratch/home" XDG_STATE_HOME="$scratch/home/state"
if grep -aqF -- '--version' "$root/bin/kalvora"; then
  out="$(env -u DISPLAY "$root/bin/kalvora" --version)" && [ "$out" = "kalvora $version" ] ||
    fail "kalvora --version printed \"$out\", not \"kalvora $version\""
else
  echo "(this kalvora has no --version yet: its installed files are checked only)"
fi
cat >"$scratch/first-window.sh" <<'SCRIPT'
"$1" >/dev/null 2>&1 &
pid=$!
for _ in $(seq 40); do
  dialog="$(xdotool search --onlyvisible --maxdepth 1 --name '^Kalvora$' 2>/dev/null | head -1)" && [ -n "$dialog" ] && break
  sleep 0.25
done
[ -n "$dialog" ] || { echo "the size dialog did not open"; exit 1; }
xprop -id "$dialog" WM_CLASS | grep -qF '"kalvora", "Kalvora"' || { xprop -id "$dialog" WM_CLASS; exit 1; }
icons="$(xprop -id "$dialog" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | tr '\n' ' ')"
[ "$icons" = "Icon (48 x 48) Icon (128 x 128) " ] || { echo "window icons: $icons"; exit 1; }
timeout 5 xdotool windowfocus --sync "$dialog"
xdotool key Escape  # closes the dialog: Kalvora ends at once
for _ in $(seq 40); do kill -0 "$pid" 2>/dev/null || break; sleep 0.25; done
status=0
wait "$pid" || status=$?
[ "$status" -eq 1 ] || { echo "exit status $status after the dialog was closed"; exit 1; }
SCRIPT
out="$(xvfb-run -a -s "-screen 0 1600x1200x24 -nolisten tcp -noreset" bash "$scratch/first-window.sh" \
  "$root/bin/kalvora" 2>&1)" || fail "$out"
cd "$here"

echo "== The Debian package through lintian"
"$here/scripts/package.sh" "$scratch" >"$scratch/package.log" 2>&1 || fail "scripts/package.sh: $(cat "$scratch/package.log")"
deb="$(ls "$scratch"/kalvora_*.deb)"
status=0
out="$(lintian --fail-on error "$deb" 2>&1)" || status=$?
grep -v '^running with root privileges' <<<"$out" || true
[ "$status" -eq 0 ] || fail "lintian found errors in $(basename "$deb")"
echo "installed files, validators, program and package: all right"
