#!/bin/sh
# Cross-builds the libraries the Windows game links, SDL2 and FreeType, from
# Debian's own source packages, as static libraries into PREFIX (zlib is Debian's
# libz-mingw-w64-dev). Built once: a later run finds them built by this same recipe (PREFIX/built
# holds this script's checksum) and does nothing, without asking the network.
#   windows/libraries.sh WORK_DIR     (the libraries go to WORK_DIR/prefix)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mkdir -p "$1" && cd "$1" && pwd)
prefix=$work/prefix
recipe=$(md5sum <"$here/libraries.sh" | cut -d' ' -f1)
[ "$(head -1 "$prefix/built" 2>/dev/null)" = "$recipe" ] && exit 0

jobs=$(nproc)
sysroot=/usr/x86_64-w64-mingw32
rm -rf "$work/src" "$work/objects" "$prefix"
mkdir -p "$work/src" "$work/objects"
cd "$work/src"
# The source packages as the archive has them, with Debian's patches applied.
apt-get source -q --download-only libsdl2 freetype >"$work/apt-source.log" 2>&1 ||
  { cat "$work/apt-source.log" >&2; echo "windows/libraries.sh: apt-get source failed (is there a deb-src entry? scripts/install-deps.sh adds one)" >&2; exit 1; }
# (Their signatures are checked by apt against the archive's; dpkg-source has no keyring for them.)
for dsc in *.dsc; do dpkg-source -q -x "$dsc" >/dev/null 2>&1; done

build() {  # build NAME SOURCE_DIR CMAKE_OPTION...
  name=$1 source=$2
  shift 2
  echo "windows/libraries.sh: building $name" >&2
  cmake -S "$source" -B "$work/objects/$name" -DCMAKE_TOOLCHAIN_FILE="$here/toolchain-mingw64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
    -DBUILD_SHARED_LIBS=OFF "$@" >"$work/objects/$name.log" 2>&1 &&
    cmake --build "$work/objects/$name" -j"$jobs" >>"$work/objects/$name.log" 2>&1 &&
    cmake --install "$work/objects/$name" >>"$work/objects/$name.log" 2>&1 ||
    { tail -40 "$work/objects/$name.log" >&2; echo "windows/libraries.sh: $name failed; see $work/objects/$name.log" >&2; exit 1; }
}

zlib="-DZLIB_INCLUDE_DIR=$sysroot/include -DZLIB_LIBRARY=$sysroot/lib/libz.a"
build SDL2 libsdl2-[0-9]*/ -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
# The game's fonts are TrueType outlines and packed bitmap strikes: zlib, none of the rest.
build freetype freetype-*/ -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON -DFT_DISABLE_BZIP2=ON \
  -DFT_DISABLE_PNG=ON -DFT_REQUIRE_ZLIB=ON $zlib

# Their licences, for the package.
mkdir -p "$prefix/licences"
cp libsdl2-[0-9]*/LICENSE.txt "$prefix/licences/SDL2.txt"
cp freetype-*/docs/FTL.TXT "$prefix/licences/FreeType.txt"
{ echo "$recipe"; ls ./*.dsc | sed 's|^\./||'; } >"$prefix/built"
rm -rf "$work/objects"
