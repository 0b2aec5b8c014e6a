#!/bin/sh
# Installs the Debian packages the game needs to build, run, be tested and measured (bench/figures.py
# drives the window with xdotool), when any is missing.
set -eu
packages="cmake g++ make pkg-config libsdl2-dev libsdl2-ttf-dev libfontconfig-dev libx11-dev zlib1g-dev libinih-dev
  python3 libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool fonts-ipafont-gothic fonts-ipafont-mincho"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
