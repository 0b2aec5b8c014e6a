#!/bin/sh
# Builds the web page into build-web/page: the data pack with the desktop's packer, the game with
# Debian's emscripten, and the page with its fonts (and their first cuts), icons and service
# worker, every file named after its content (PAGE_DIR is made anew each time); and beside the
# page's wasm build (WASM_DIR, default build-web/wasm) the scripted driver for node,
# web/lushera_node.js, run as
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
# The page's files under their plain names, then under names made from their content (the
# stamp writes those into the page, its manifest and its service worker).
stage="$wasm/page-stage"
rm -rf "$stage" "$out"
mkdir -p "$stage/fonts" "$stage/icons"
cp web/index.html web/support.js web/page.js web/gamepad.js web/page_controls.js web/save_store.js web/access.js web/loading.js \
   web/fonts.js web/offline.js web/sw.js web/manifest.webmanifest "$stage/"
cp "$wasm/web/lushera.js" "$wasm/web/lushera.wasm" "$wasm/web/lushera.data" "$stage/"
# The IPA fonts the desktop uses; their licence lets them go with the page. The first fonts are
# cut from them (Debian's python3, where python3-fonttools is).
fonts=""
for f in /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf \
         /usr/share/fonts/opentype/ipafont-mincho/ipam.ttf; do
  cp "$(readlink -f "$f")" "$stage/fonts/"
  fonts="$fonts $(readlink -f "$f")"
done
python=${PYTHON:-/usr/bin/python3}
# shellcheck disable=SC2086
"$python" web/subset_fonts.py . "$wasm/first-fonts" "$stage/fonts" $fonts
for size in 48 128 192 256 512; do cp "data/icons/lushera-$size.png" "$stage/icons/"; done
"$python" web/favicon.py "$stage/favicon.ico" data/icons/lushera-16.png data/icons/lushera-32.png data/icons/lushera-48.png
"$python" web/stamp_page.py "$stage" "$out"
echo "The page is in $out, the driver for node in $(realpath "$wasm")/web/lushera_node.js"
