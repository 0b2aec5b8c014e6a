#!/bin/sh
# The Windows package (windows/build.sh) played under Wine, on a private Wine prefix and a virtual
# X display: its files; every scenario through `lushera.exe --headless` against the desktop's
# transcripts; a save and a continue in a folder with a Japanese name, beside the data and, for a
# game under Program Files, in %APPDATA%; the lock refusing a second game on the same save; a
# script file, a headless screenshot, the window and its recording, all from folders with
# Japanese names, the pictures against the Linux window's picture of the start screen.
#   windows_test.sh PACKAGE_DIR BUILD_DIR
# PACKAGE_DIR holds lushera/ and the zip; BUILD_DIR is the Linux build tree (its data pack, as the
# scenario tests use it). The prefix is made in BUILD_DIR/wine-prefix the first time (a minute),
# and reused.
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
out=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
pkg=$out/lushera
export WINEPREFIX="$build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
export SDL_AUDIODRIVER=dummy
scratch=$(mktemp -d)
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() { printf 'FAIL: %s\n' "$*" >&2; exit 1; }
# The game under Wine; its text lines end in CR LF, as a Windows program's do.
lushera() { wine "$pkg/lushera.exe" "$@"; }

for f in lushera.exe README.txt dat/name.dat dat/my.dat dat/item.dat dat/1.wav cg/map.bmp \
  fonts/ipagp.ttf fonts/ipag.ttf fonts/ipam.ttf fonts/mplus_j12r.pcf.gz fonts/mplus_f12r.pcf.gz \
  licences/SDL2.txt licences/FreeType.txt licences/zlib.txt licences/IPA-fonts.txt; do
  [ -f "$pkg/$f" ] || fail "the package has no $f"
done
version=$(sed -n 's/^project(lushera VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
zip=$out/lushera-$version-windows-x64.zip
python3 -c 'import sys, zipfile; n = zipfile.ZipFile(sys.argv[1]).namelist(); sys.exit("lushera/lushera.exe" not in n)' "$zip" ||
  fail "$zip does not hold lushera/lushera.exe"
x86_64-w64-mingw32-objdump -p "$pkg/lushera.exe" >"$scratch/pe"
grep -q "Subsystem.*(Windows GUI)" "$scratch/pe" || fail "lushera.exe is not a window program"
# Linked statically: nothing but Windows' own libraries.
dlls=$(sed -n 's/^\tDLL Name: //p' "$scratch/pe" | tr 'A-Z' 'a-z' |
  grep -v -E '^(kernel32|user32|gdi32|winmm|imm32|ole32|oleaut32|version|advapi32|setupapi|shell32|msvcrt|cfgmgr32|api-ms-win-.*)\.dll$' || true)
[ -z "$dlls" ] || fail "lushera.exe needs libraries the package lacks: $dlls"

[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1 || fail "wineboot could not make the prefix $WINEPREFIX"

v=$(lushera --version | tr -d '\r') || fail "--version"
[ "$v" = "lushera $version" ] || fail "--version says '$v'"
lushera --help | tr -d '\r' >"$scratch/help"
grep -q "APPDATA" "$scratch/help" || fail "--help does not say where the save goes: $(cat "$scratch/help")"

# Every scenario, with the desktop's transcript (the lines' CRs taken off).
for script in "$src"/tests/scenarios/*.script; do
  sh "$src/tests/run_scenario.sh" "$build" "$script" sh -c 'wine "$0" "$@" | tr -d "\r"' "$pkg/lushera.exe" ||
    fail "the scenario $(basename "$script" .script) under Wine"
done

# A game unpacked into a folder named in Japanese: the save beside the data, continued next time.
jp="$scratch/ゲーム 山田/lushera"
mkdir -p "$(dirname "$jp")"
cp -r "$pkg" "$jp"
play() {  # play EXE: takes the start money, saves; prints the money it had
  printf 'click Button39\nget money\nclose\n' | wine "$1" --headless --seed 1 --script - | tr -d '\r' |
    sed -n 's/^money = //p'
}
# The player's %APPDATA%, named in Japanese too (Wine takes it from the registry, not from the
# environment it is started in).
appdata="$scratch/AppData 山田"
mkdir -p "$appdata"
wine reg add 'HKCU\Volatile Environment' /v APPDATA /t REG_SZ /d "$(winepath -w "$appdata")" /f >/dev/null 2>&1 ||
  fail "cannot set %APPDATA% in the Wine prefix"
m1=$(play "$jp/lushera.exe")
m2=$(play "$jp/lushera.exe")
[ -n "$m1" ] && [ "$m2" -eq $((m1 + 100)) ] || fail "the second game beside the data did not continue the first ($m1, $m2)"
cmp -s "$jp/dat/my.dat" "$pkg/dat/my.dat" && fail "no save was written in $jp/dat"
[ -e "$appdata/lushera" ] && fail "a game that could write beside its data saved in %APPDATA%"

# Under Program Files the game never writes beside itself: its save goes to %APPDATA%\lushera,
# copied from the package's on the first start.
programs="$WINEPREFIX/drive_c/Program Files/ルシェラ２"
rm -rf "$programs"
cp -r "$pkg" "$programs"
m1=$(play 'C:\Program Files\ルシェラ２\lushera.exe')
m2=$(play 'C:\Program Files\ルシェラ２\lushera.exe')
cmp -s "$programs/dat/my.dat" "$pkg/dat/my.dat" || fail "the game under Program Files wrote its own save"
rm -rf "$programs"
[ -n "$m1" ] && [ "$m2" -eq $((m1 + 100)) ] || fail "the second game under Program Files did not continue the first ($m1, $m2)"
[ -f "$appdata/lushera/my.dat" ] && [ -f "$appdata/lushera/item.dat" ] || fail "no save in $appdata/lushera"

# One game per save: while one plays (its script still open), a second start is refused with
# status 3, and the first goes on.
mkfifo "$scratch/script"
wine "$jp/lushera.exe" --headless --script - <"$scratch/script" >"$scratch/first" 2>&1 &
game_pid=$!
exec 3>"$scratch/script"
echo "get money" >&3
# The first game has its lock once it answers; waited for by its answer, not by a time.
tries=0
until grep -q "^money = " "$scratch/first"; do
  tries=$((tries + 1))
  [ "$tries" -lt 600 ] || fail "the first game did not answer in 60 s: $(cat "$scratch/first")"
  sleep 0.1
done
status=0
wine "$jp/lushera.exe" --headless --script - </dev/null >"$scratch/second" 2>&1 || status=$?
[ "$status" -eq 3 ] || fail "a second game on the same save was not refused (status $status): $(cat "$scratch/second")"
echo "get money" >&3
exec 3>&-
wait "$game_pid" || fail "the first game did not end well: $(cat "$scratch/first")"
game_pid=""
[ "$(grep -c '^money = ' "$scratch/first")" -eq 2 ] || fail "the first game did not go on: $(cat "$scratch/first")"

# The packaged fonts (the outlines and the small bold strikes), a script file and a recording,
# all reached from folders named in Japanese: the data in one, the game in another. A headless
# screenshot of the start screen, drawn with FreeType, against the screen tests' picture of it.
golden=$src/tests/golden/start_panel.png
data="$scratch/データ 山田"
mkdir -p "$data"
cp -r "$build/dat" "$build/cg" "$data/" 2>/dev/null || cp -r "$build/dat" "$data/"
# The picture's name is one word of the script: taken in the game's working folder, which is $data.
printf 'screenshot 始め.png\nclose\n' >"$data/写す.script"
(cd "$data" && wine "$jp/lushera.exe" --headless --data "$data" --script "$(winepath -w "$data/写す.script")") >"$scratch/shot.log" 2>&1 ||
  fail "the screenshot from $data: $(cat "$scratch/shot.log")"
[ "$(compare -metric AE "$data/始め.png" "$golden" null: 2>&1)" = 0 ] ||
  fail "the headless screenshot from $data is not the start screen: $(cat "$scratch/shot.log")"

# The window on the X display the test runs on, started from those folders and recording: the
# start screen at 1x, against the Linux window's picture of it (the composed frame the screen
# tests hold). Looked at until it shows, for at most a minute.
# Wine on a virtual display shows only what SDL draws in software.
SDL_RENDER_DRIVER=software wine "$jp/lushera.exe" --scale 1 --data "$data" --record "$(winepath -w "$data/記録.script")" \
  >"$scratch/window.log" 2>&1 &
game_pid=$!
tries=0
while :; do
  tries=$((tries + 1))
  [ "$tries" -lt 120 ] || fail "the window did not show the start screen within a minute: $(cat "$scratch/window.log")"
  kill -0 "$game_pid" 2>/dev/null || fail "the window program ended: $(cat "$scratch/window.log")"
  sleep 0.5
  id=$(xdotool search --onlyvisible --name "ルシェラ" 2>/dev/null | head -1) || continue
  [ -n "$id" ] || continue
  import -window "$id" "PNG24:$scratch/window.png" 2>/dev/null || continue
  [ "$(compare -metric AE "$scratch/window.png" "$golden" null: 2>&1)" = 0 ] && break
done
kill "$game_pid"
wait "$game_pid" 2>/dev/null || true
game_pid=""
# The recording's header is written when the window opens.
grep -q "^# lushera $version" "$data/記録.script" 2>/dev/null || fail "no recording in $data: $(cat "$scratch/window.log")"
echo "windows package ok: $(basename "$zip")"
