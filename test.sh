#!/bin/sh
# Installs what is missing, builds, and runs the whole test suite: once as released, once built
# with AddressSanitizer and UndefinedBehaviorSanitizer; then builds the Windows package and plays
# it under Wine.
set -eu
cd "$(dirname "$0")"
sh scripts/install-deps.sh
jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUSHERA_WERROR=ON -DLUSHERA_WEB=ON >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DLUSHERA_SANITIZE=ON -DLUSHERA_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j"$jobs")
# The Windows package, cross-built (its libraries once, then reused) and played under Wine on a
# virtual display; the data pack comes from the release build above.
LUSHERA_HOST_BUILD=build sh windows/build.sh build-windows/package >/dev/null
xvfb-run -a -s "-noreset -screen 0 1280x1024x24" sh tests/windows_test.sh build-windows/package build
