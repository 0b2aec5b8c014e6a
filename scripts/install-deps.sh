#!/bin/sh
# Installs the Debian packages the game needs to build, run, be tested and measured (bench/figures.py
# drives the window with xdotool), when any is missing.
set -eu
cd "$(dirname "$0")/.."
packages="cmake g++ make pkg-config libsdl2-dev libsdl2-ttf-dev libfreetype-dev libfontconfig-dev libx11-dev zlib1g-dev libinih-dev
  python3 libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool fonts-ipafont-gothic fonts-ipafont-mincho xfonts-mplus
  dpkg-dev appstream desktop-file-utils man-db
  emscripten node-acorn chromium"
# npm comes with node; Debian's own when there is no other.
command -v npm >/dev/null 2>&1 || packages="$packages npm"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
fi
# The browser test's driver for Debian's chromium (puppeteer-core downloads no browser).
[ -d web/node_modules/puppeteer-core ] || (cd web && npm install --no-audit --no-fund --silent)
