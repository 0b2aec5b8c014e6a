#!/bin/sh
# Installs what is missing, builds the game and its default data pack into build/, and starts it.
# Options are passed on to the game (try ./play.sh --help).
set -eu
cd "$(dirname "$0")"
sh scripts/install-deps.sh play
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target lushera data_pack
exec build/lushera "$@"
