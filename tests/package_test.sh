#!/bin/sh
# The Debian package as a player's machine gets it: built by cpack from the build tree, unpacked
# into a scratch root, checked for its files, played from there headless, and started through
# its desktop entry's command on a virtual X display. The save must land in the home folder and
# the installed data stay as it was.
#   package_test.sh BUILD_DIR
set -eu
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log"; fail "cpack"; }
deb=$(ls "$scratch"/out/lushera_*.deb)
dpkg-deb -f "$deb" Depends | grep -q libsdl2 || fail "no dependency on SDL: $(dpkg-deb -f "$deb" Depends)"
dpkg-deb -f "$deb" Depends | grep -q fonts-ipafont-gothic || fail "no dependency on the fonts"
dpkg-deb -f "$deb" Depends | grep -q xfonts-mplus || fail "no dependency on the bitmap font of the small bold kanji"
root=$scratch/root
dpkg -x "$deb" "$root"

id=org.lushera.Lushera
for f in bin/lushera share/lushera/dat/name.dat share/lushera/dat/my.dat share/lushera/dat/item.dat \
  share/lushera/dat/1.wav share/lushera/cg/map.bmp share/lushera/cg/icon.bmp \
  share/applications/$id.desktop share/metainfo/$id.metainfo.xml share/man/man6/lushera.6; do
  [ -f "$root/usr/$f" ] || fail "missing /usr/$f"
done
for size in 16 24 32 48 64 128 256; do
  [ -f "$root/usr/share/icons/hicolor/${size}x$size/apps/$id.png" ] || fail "missing the $size px icon"
done
[ -w "$root/usr/share/lushera/dat/my.dat" ] && [ "$(id -u)" -ne 0 ] && fail "the installed save is writable"
find "$root/usr/share/lushera" -type f -perm /222 | grep -q . && fail "installed data files are writable"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/$id.metainfo.xml" >"$scratch/as.log" 2>&1 ||
  { cat "$scratch/as.log"; fail "appstreamcli validate"; }
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop-file-validate"
fi
man -l "$root/usr/share/man/man6/lushera.6" >/dev/null 2>&1 || fail "the man page does not format"
"$root/usr/bin/lushera" --version | grep -q "^lushera [0-9]" || fail "--version"

# Played headless: the first start copies the save into the home, the second continues it.
home=$scratch/home
mkdir -p "$home"
pack_save=$(md5sum <"$root/usr/share/lushera/dat/my.dat")
play() {
  printf 'click Button39\nget money\nclose\n' |
    env -u XDG_DATA_HOME HOME="$home" "$root/usr/bin/lushera" --headless --seed 1 --script -
}
first=$(play) || fail "the first game: $first"
second=$(play) || fail "the second game: $second"
m1=$(echo "$first" | sed -n 's/^money = //p')
m2=$(echo "$second" | sed -n 's/^money = //p')
[ "$m2" -eq $((m1 + 100)) ] || fail "the second game did not continue the first ($m1, $m2)"
save=$home/.local/share/lushera
[ -f "$save/my.dat" ] && [ -f "$save/item.dat" ] || fail "no save in $save"
[ "$(md5sum <"$root/usr/share/lushera/dat/my.dat")" = "$pack_save" ] || fail "the installed save was written"
env -u XDG_DATA_HOME HOME="$home" "$root/usr/bin/lushera" --help | grep -q "save: $save/my.dat" || fail "--help does not say where the save is"

# The desktop entry's command, found on the PATH, opens the window on a virtual display, for a
# player who never played: the first start has put the save in the new home.
exec_line=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/$id.desktop" | sed 's/ *%[fFuUick]//g')
if command -v xvfb-run >/dev/null; then
  new_home=$scratch/new-home
  mkdir -p "$new_home"
  # Within half the test's limit, so that a hang says where it hung; the display searched from a
  # number of this run's own (xvfb-run -a takes the first free one without a lock).
  env -u XDG_DATA_HOME PATH="$root/usr/bin:$PATH" HOME="$new_home" LUSHERA_EXIT_AFTER_FIRST_FRAME=1 \
    SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy timeout 30 xvfb-run -a -n $((100 + $$ % 800)) -s "-noreset -screen 0 1024x768x24" $exec_line ||
    fail "the desktop entry's command ($exec_line) did not open the window within 30 s (status $?)"
  cmp -s "$new_home/.local/share/lushera/my.dat" "$root/usr/share/lushera/dat/my.dat" ||
    fail "the window's first start did not copy the save into the home"
fi
echo "package ok: $(basename "$deb")"
