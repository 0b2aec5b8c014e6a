#!/bin/sh
# Builds the web page into build-web/page (or the folder given): the data pack with the desktop's
# packer, the game with Debian's emscripten, and the page with its fonts beside it. Play it with
#   python3 -m http.server -d build-web/page 8000      (then open http://localhost:8000/)
set -eu
cd "$(dirname "$0")/.."
out=${1:-build-web/page}
jobs=$(nproc)
# The data pack, made by the desktop's packer (built without the window).
cmake -S . -B build-web/native -DCMAKE_BUILD_TYPE=Release -DLUSHERA_WINDOW=OFF -DBUILD_TESTING=OFF \
  -DLUSHERA_BENCH=OFF >/dev/null
cmake --build build-web/native --target data_pack -j"$jobs"
# emcc's optimiser runs on node and needs Debian's acorn.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build-web/wasm -DCMAKE_BUILD_TYPE=Release -DLUSHERA_WEB_DATA="$PWD/build-web/native" >/dev/null
cmake --build build-web/wasm --target lushera_web -j"$jobs"
mkdir -p "$out/fonts"
cp web/index.html web/page.js "$out/"
cp build-web/wasm/web/lushera.js build-web/wasm/web/lushera.wasm build-web/wasm/web/lushera.data "$out/"
# The IPA fonts the desktop uses; their licence lets them go with the page.
for f in /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf \
         /usr/share/fonts/opentype/ipafont-mincho/ipam.ttf; do
  cp "$(readlink -f "$f")" "$out/fonts/"
done
echo "The page is in $out"
