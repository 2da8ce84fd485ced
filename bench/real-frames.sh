#!/usr/bin/env bash
# Frame benchmark of the real program: starts the built kalvora on a private Xvfb (800 x 600),
# loads a sample track through the F1 prompt, picks view, drawing style and track colours with
# real keys and reports frames per second and the per-frame wall and main-thread CPU time,
# measured by a preloaded timer from a frame's first glClear to the end of its swap. In the same
# run it measures the program of a commit that draws every primitive with its own glBegin (the
# plain drawing of the same frame, without colours), started with glibc's heap trimming tuned off
# so it is at its best ("none" leaves it out). Two scenes are measured again with the help window
# (H) open and closed by turns, beside the main window on the 1600 x 1200 screen.
#   bench/real-frames.sh [seconds per scene, default 6] [reference commit, default 4241360, or none]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-6}"
commit="${2:-4241360}"
out="$here/build-frames"
mkdir -p "$out"

cmake -S "$here" -B "$out/kalvora-build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKALVORA_TESTS=OFF -DKALVORA_BENCH=OFF >/dev/null
cmake --build "$out/kalvora-build" -j2 --target kalvora >/dev/null
if [ "$commit" != none ] && [ ! -x "$out/reference-$commit" ]; then   # built once per commit
  src="$(mktemp -d)"
  git -C "$here" worktree add --detach "$src/src" "$commit" >/dev/null
  cmake -S "$src/src" -B "$src/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKALVORA_TESTS=OFF -DKALVORA_BENCH=OFF >/dev/null
  cmake --build "$src/build" -j2 --target kalvora >/dev/null
  cp "$src/build/kalvora" "$out/reference-$commit"
  git -C "$here" worktree remove --force "$src/src"; rm -rf "$src"
fi
gcc -O2 -shared -fPIC -o "$out/FrameTimer.so" "$here/bench/real/FrameTimer.c" -ldl

work="$(mktemp -d)"
cp "$here"/tracks/*.trk "$work/"
printf '800\n600\n' >"$work/res.cfg"
display=":$((70 + RANDOM % 20))"
Xvfb "$display" -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill ${program:-} $xvfb 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY="$display"
sleep 1

hold() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; sleep 0.15; }
totals() {  # frames wall_ns cpu_ns; the file is rewritten every frame, so retry a half-written read
  local line
  for _ in 1 2 3 4 5; do
    line="$(cat "$work/timer" 2>/dev/null || true)"
    [[ "$line" =~ ^[0-9]+\ [0-9]+\ [0-9]+$ ]] && { echo "$line"; return; }
    sleep 0.01
  done
  echo "0 0 0"
}
measure() {  # program track scene: one table row
  sleep 1.5
  read -r f0 w0 c0 < <(totals); t0=$(date +%s.%N)
  sleep "$seconds"
  read -r f1 w1 c1 < <(totals); t1=$(date +%s.%N)
  awk -v p="$1" -v t="$2" -v s="$3" -v f="$((f1 - f0))" -v w="$((w1 - w0))" -v c="$((c1 - c0))" \
      -v dt="$(echo "$t1 - $t0" | bc)" -v load="$(cut -d' ' -f1 /proc/loadavg)" \
      'BEGIN { printf "%-10s %-8s %-34s %6.1f fps %7.2f ms %7.2f ms CPU  (load %s)\n", p, t, s, f / dt, w / f / 1e6, c / f / 1e6, load }'
}
colours() {  # name track scene: the scene coloured by vertical g, then lateral g (V), then plain
  # again, which shows the drift between the rows (on a still picture: a ride view's frame costs
  # what its part of the track holds)
  [ "$1" = kalvora ] || return 0  # the plain drawing has no V
  hold v; measure "$1" "$2" "$3, vertical g"
  hold v; measure "$1" "$2" "$3, lateral g"
  hold v; measure "$1" "$2" "$3, plain again"
}
help() {  # name track scene: the scene with the help window open, closed, open, closed
  [ "$1" = kalvora ] || return 0  # the plain drawing has no H
  for _ in 1 2; do
    hold h; measure "$1" "$2" "$3, help open"
    hold h; measure "$1" "$2" "$3, help closed"
  done
}
run() {  # name binary track [environment]
  rm -f "$work/timer"
  # Its changed settings would be kept as an unsaved track: in the scratch folder, not in the home.
  (cd "$work" && exec env FRAME_TIMER_OUT="$work/timer" LD_PRELOAD="$out/FrameTimer.so" XDG_STATE_HOME="$work/state" \
    ${4:-} "$2" >/dev/null) &
  program=$!
  xdotool windowfocus --sync "$(xdotool search --sync --onlyvisible --name '^Kalvora$' | head -1)"
  hold Return
  main=$(xdotool search --sync --onlyvisible --name 'Build 53' | head -1)
  xdotool mousemove 400 300
  xdotool windowfocus --sync "$main"
  hold F1
  sleep 1
  prompt=$(xdotool search --onlyvisible --name '' | while read -r id; do
    xdotool getwindowgeometry "$id" | grep -q 'Geometry: 330x75' && echo "$id"; done | head -1) || true
  xdotool windowfocus --sync "$prompt"
  xdotool type "$3.trk"
  hold Return
  xdotool mousemove 400 300
  hold space                       # the loaded track runs; stop it for the free view
  measure "$1" "$3" "rails, free, stopped"
  colours "$1" "$3" "rails, free, stopped"
  help "$1" "$3" "rails, free, stopped"
  hold space; hold 1; hold 1       # train from the start, ride view 2
  measure "$1" "$3" "rails, ride view 2"
  help "$1" "$3" "rails, ride view 2"
  hold 3
  measure "$1" "$3" "centre line, ride 2"
  hold space                       # the same picture on every frame, as the colours are compared
  measure "$1" "$3" "centre line, free, stopped"
  colours "$1" "$3" "centre line, free, stopped"
  kill "$program"; wait "$program" 2>/dev/null || true
  program=
}

echo "# $(uptime)"
for track in largest figure8; do
  run kalvora "$out/kalvora-build/kalvora" "$track"
  [ "$commit" = none ] || run plain "$out/reference-$commit" "$track" \
    "GLIBC_TUNABLES=glibc.malloc.trim_threshold=268435456:glibc.malloc.top_pad=67108864"
done
echo "# $(uptime)"
