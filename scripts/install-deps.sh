#!/bin/sh
# Installs the Debian packages the game needs, when any is missing. `play` (what ./play.sh asks
# for): building and running the game. `test` (the default, what ./test.sh asks for): also the
# packaging tools, the web page's compiler and the browser its test drives, and the Windows
# package's cross compiler, Wine, and the source packages of the libraries it is built from.
set -eu
cd "$(dirname "$0")/.."
what=${1:-test}
packages="cmake g++ make pkg-config libsdl2-dev libsdl2-ttf-dev libfreetype-dev libfontconfig-dev libx11-dev zlib1g-dev
  python3 libgtest-dev libgmock-dev libbenchmark-dev fonts-ipafont-gothic fonts-ipafont-mincho xfonts-mplus"
if [ "$what" = test ]; then
  packages="$packages xvfb xauth xdotool time dpkg-dev appstream desktop-file-utils man-db emscripten node-acorn chromium
    python3-fonttools python3-brotli g++-mingw-w64-x86-64 libz-mingw-w64-dev wine wine64 imagemagick"
  # npm comes with node; Debian's own when there is no other.
  command -v npm >/dev/null 2>&1 || packages="$packages npm"
fi
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
# windows/libraries.sh builds from Debian's source packages: a deb-src entry beside each deb one
# of the system's Debian sources, with the same archives and suites.
update=""
if [ "$what" = test ] && ! grep -rqs -E '^(deb-src |Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  echo "Adding the Debian source packages to apt's sources"
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      $sudo tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
  else
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | $sudo tee /etc/apt/sources.list.d/debian-src.list >/dev/null
  fi
  update=yes
fi
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
[ -n "$missing$update" ] && $sudo apt-get update -qq
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
fi
# The browser test's driver for Debian's chromium (puppeteer-core downloads no browser).
if [ "$what" = test ] && [ ! -d web/node_modules/puppeteer-core ]; then
  (cd web && npm install --no-audit --no-fund --silent)
fi
