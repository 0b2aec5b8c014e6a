#!/bin/sh
# Plays NAME.script on a fresh copy of the default data pack and compares the transcript with
# NAME.expected. With LUSHERA_UPDATE_GOLDEN=1 the expected transcript is rewritten instead.
#   run_scenario.sh BUILD_DIR NAME.script PROGRAM [ARGUMENT...]
# PROGRAM and its arguments start the driver: the game itself, or `node lushera_node.js`.
set -u
build=$1 script=$2
shift 2
expected=${script%.script}.expected
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp -r "$build/dat" "$tmp/dat"
mkdir -p "$tmp/cg"
[ -d "$build/cg" ] && cp -r "$build/cg/." "$tmp/cg/"
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$@" --headless --data "$tmp" --seed 1 --script "$script" >"$tmp/out" 2>&1
if [ "${LUSHERA_UPDATE_GOLDEN:-}" = 1 ]; then
  cp "$tmp/out" "$expected"
  exit 0
fi
diff -u "$expected" "$tmp/out"
