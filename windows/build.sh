#!/bin/sh
# Builds the game for Windows x86-64 with Debian's mingw-w64 and packs it as a player unzips it:
# OUT/lushera/ (lushera.exe, linked statically, with its data, fonts, licences and README.txt)
# and OUT/lushera-VERSION-windows-x64.zip of that folder.
#   windows/build.sh [OUT]      (default build-windows/package)
# The libraries are cross-built once into build-windows/libraries (windows/libraries.sh) and
# reused. The data pack is made by the build machine's pack_data: LUSHERA_HOST_BUILD names a
# build tree that has it (./test.sh gives its own), else one is built in build-windows/host.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
work=$root/build-windows
out=${1:-$work/package}
mkdir -p "$out"
out=$(cd "$out" && pwd)
jobs=$(nproc)
launcher=""
command -v ccache >/dev/null 2>&1 && launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"

sh "$root/windows/libraries.sh" "$work/libraries"
prefix=$work/libraries/prefix

echo "windows/build.sh: building lushera.exe" >&2
# shellcheck disable=SC2086
cmake -S "$root" -B "$work/game" -DCMAKE_TOOLCHAIN_FILE="$root/windows/toolchain-mingw64.cmake" \
  -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release -DLUSHERA_WERROR=ON $launcher >"$work/game.log" 2>&1 &&
  cmake --build "$work/game" -j"$jobs" --target lushera >>"$work/game.log" 2>&1 ||
  { tail -40 "$work/game.log" >&2; echo "windows/build.sh: the game failed to build; see $work/game.log" >&2; exit 1; }

host=${LUSHERA_HOST_BUILD:-$work/host}
if [ ! -f "$host/CMakeCache.txt" ]; then
  # shellcheck disable=SC2086
  cmake -S "$root" -B "$host" -DCMAKE_BUILD_TYPE=Release -DLUSHERA_WINDOW=OFF -DBUILD_TESTING=OFF \
    -DLUSHERA_BENCH=OFF $launcher >"$work/host.log" 2>&1 || { tail -40 "$work/host.log" >&2; exit 1; }
fi
# Brought up to date, as the sources may have changed since.
cmake --build "$host" -j"$jobs" --target pack_data >>"$work/host.log" 2>&1 ||
  { tail -40 "$work/host.log" >&2; echo "windows/build.sh: pack_data failed to build; see $work/host.log" >&2; exit 1; }

version=$(sed -n 's/^project(lushera VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
package=$out/lushera
rm -rf "$package"
mkdir -p "$package/fonts" "$package/licences"
x86_64-w64-mingw32-strip -o "$package/lushera.exe" "$work/game/lushera.exe"
# A fresh save, as every package holds.
"$host/pack_data" "$root/data" "$package" --fresh >/dev/null

# The fonts the game draws with: the IPA outlines for the layout's three families and M+'s
# 12-pixel strikes for the small bold text, from the Debian packages the Linux game uses.
for f in /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf \
  /usr/share/fonts/opentype/ipafont-mincho/ipam.ttf /usr/share/fonts/X11/misc/mplus_j12r.pcf.gz \
  /usr/share/fonts/X11/misc/mplus_f12r.pcf.gz; do
  [ -f "$f" ] || { echo "windows/build.sh: missing $f (scripts/install-deps.sh installs the fonts)" >&2; exit 1; }
  cp "$f" "$package/fonts/"
done

# The licences of what the package carries.
cp "$prefix"/licences/*.txt "$package/licences/"
cp /usr/share/doc/fonts-ipafont-gothic/copyright "$package/licences/IPA-fonts.txt"
cp /usr/share/doc/xfonts-mplus/copyright "$package/licences/M+-bitmap-fonts.txt"
cp /usr/share/doc/libz-mingw-w64-dev/copyright "$package/licences/zlib.txt"
cp /usr/share/doc/mingw-w64-common/copyright "$package/licences/mingw-w64-runtime.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$package/licences/GCC-runtime-libraries.txt"
sed "s/@VERSION@/$version/g" "$root/windows/README.txt" | sed 's/$/\r/' >"$package/README.txt"

zip=$out/lushera-$version-windows-x64.zip
rm -f "$zip"
(cd "$out" && python3 -c '
import os, sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    for folder, _, files in sorted(os.walk("lushera")):
        for f in sorted(files):
            z.write(os.path.join(folder, f))
' "$zip")
echo "$zip"
