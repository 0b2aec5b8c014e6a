#!/bin/sh
# Builds the web page into build-web/page: the data pack with the desktop's packer, the game with
# Debian's emscripten, and the page with its fonts beside it; and beside the page's wasm build
# (WASM_DIR, default build-web/wasm) the scripted driver for node, web/lushera_node.js, run as
#   node WASM_DIR/web/lushera_node.js --headless --data DIR --script FILE
# Play the page with
#   python3 -m http.server -d build-web/page 8000      (then open http://localhost:8000/)
#   web/build.sh [PAGE_DIR [DATA_DIR]]   DATA_DIR: a data pack already built (its dat/ and cg/)
set -eu
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-build-web/page}")
data=${2:-}
wasm=${WASM_DIR:-build-web/wasm}
jobs=$(nproc)
if [ -z "$data" ]; then
  # The data pack, made by the desktop's packer (built without the window).
  cmake -S . -B build-web/native -DCMAKE_BUILD_TYPE=Release -DLUSHERA_WINDOW=OFF -DBUILD_TESTING=OFF \
    -DLUSHERA_BENCH=OFF >/dev/null
  cmake --build build-web/native --target data_pack -j"$jobs"
  data=build-web/native
fi
# emcc's optimiser runs on node and needs Debian's acorn.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B "$wasm" -DCMAKE_BUILD_TYPE=Release -DLUSHERA_WEB_DATA="$(realpath "$data")" >/dev/null
cmake --build "$wasm" --target lushera_web lushera_node -j"$jobs"
mkdir -p "$out/fonts"
cp web/index.html web/*.js "$out/"
cp "$wasm/web/lushera.js" "$wasm/web/lushera.wasm" "$wasm/web/lushera.data" "$out/"
# The IPA fonts the desktop uses; their licence lets them go with the page.
for f in /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf \
         /usr/share/fonts/opentype/ipafont-mincho/ipam.ttf; do
  cp "$(readlink -f "$f")" "$out/fonts/"
done
echo "The page is in $out, the driver for node in $(realpath "$wasm")/web/lushera_node.js"
