#!/bin/sh
# Whole-process figures of the real window, under Xvfb:
#   - start-up to the first frame (the program exits right after presenting it), 20 runs;
#   - processor use over 10 s with the map showing and nothing happening;
#   - peak memory of that run.
# Needs: xvfb xauth xdotool. Usage: bench/window_figures.sh [BUILD_DIR]
set -eu
build=${1:-build}
exe="$build/lushera"
tmp=$(mktemp -d)
trap 'kill -9 $game 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -rf "$tmp"' EXIT
cp -r "$build/dat" "$tmp/dat"
mkdir -p "$tmp/cg"
[ -d "$build/cg" ] && cp -r "$build/cg/." "$tmp/cg/"
game=""
display=:97
Xvfb $display -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
export DISPLAY=$display SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

echo "start-up to the first frame (ms), 20 runs:"
runs=""
for i in $(seq 20); do
  t0=$(date +%s%N)
  LUSHERA_EXIT_AFTER_FIRST_FRAME=1 "$exe" --data "$tmp" --scale 1 >/dev/null 2>&1
  t1=$(date +%s%N)
  runs="$runs $(( (t1 - t0) / 1000000 ))"
done
echo "$runs" | tr ' ' '\n' | sed '/^$/d' | sort -n | awk '{a[NR]=$1} END {printf "  min %d  median %d  max %d\n", a[1], a[int((NR+1)/2)], a[NR]}'

"$exe" --data "$tmp" --scale 1 >/dev/null 2>&1 &
game=$!
wid=$(xdotool search --sync --onlyvisible --pid $game | head -n 1)
sleep 1
# "コンティニュー" lies at (280, 172) in the window.
xdotool mousemove --window "$wid" 280 172 click 1
sleep 2
if perf stat -e task-clock true >/dev/null 2>&1; then
  # The processor time of every thread of the game, to the microsecond.
  ms=$(perf stat -x, -e task-clock -p $game sleep 10 2>&1 | awk -F, '/task-clock/ {print $1}')
  echo "idle processor use with the map showing, 10 s: $(echo "$ms" | awk '{printf "%.2f %% of one core", $1 / 100}')"
else
  # Without perf: the kernel's counts of 10 ms ticks, which is coarse.
  ticks=$(getconf CLK_TCK)
  cpu() { awk '{print $14 + $15}' /proc/$game/stat; }
  c0=$(cpu)
  sleep 10
  c1=$(cpu)
  echo "idle processor use with the map showing, 10 s: $(echo "$c0 $c1 $ticks" | awk '{printf "%.2f %% of one core", ($2 - $1) * 100 / $3 / 10}') (from clock ticks)"
fi
echo "peak memory: $(awk '/VmHWM/ {printf "%.1f MB", $2 / 1024}' /proc/$game/status)"
