#!/bin/sh
# Plays NAME.script on a fresh copy of the default data pack and compares the transcript with
# NAME.expected. With LUSHERA_UPDATE_GOLDEN=1 the expected transcript is rewritten instead.
#   run_scenario.sh LUSHERA BUILD_DIR NAME.script
set -u
exe=$1 build=$2 script=$3
expected=${script%.script}.expected
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp -r "$build/dat" "$tmp/dat"
mkdir -p "$tmp/cg"
[ -d "$build/cg" ] && cp -r "$build/cg/." "$tmp/cg/"
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$exe" --headless --data "$tmp" --seed 1 --script "$script" >"$tmp/out" 2>&1
if [ "${LUSHERA_UPDATE_GOLDEN:-}" = 1 ]; then
  cp "$tmp/out" "$expected"
  exit 0
fi
diff -u "$expected" "$tmp/out"
