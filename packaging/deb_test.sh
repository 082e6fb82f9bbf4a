#!/usr/bin/env bash
# The .deb as a player gets it: unpacks the package that packaging_package built
# into a scratch root (nothing is installed on this machine), checks its control
# fields and where its files go, then starts the unpacked game on an X display of
# its own and plays into it until the beam fires, which must read Kelvo.WAV from
# the installed data folder.
#
#   deb_test.sh DEB_FOLDER APP_ID SOUND...
#
# Exits 77 (reported as skipped) only when a tool it needs is missing. Every step
# waits for what it needs, so that a loaded machine only makes it slower.
folder=$1
shift
# shellcheck source-path=SCRIPTDIR source=../tests/desktop/common.sh
source "$(dirname "$0")/../tests/desktop/common.sh" kelvo "$1"
shift
sounds=("$@")
need dpkg-deb strace od
work=$(cd "$work" && pwd -P) # the game sees its folder with symlinks resolved

# --- The package -------------------------------------------------------------
debs=("$folder"/*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then fail "expected one .deb in $folder"; fi
deb=${debs[0]}
echo "package: $(basename "$deb")"

[ "$(dpkg-deb -f "$deb" Package)" = kelvo ] || fail "the package is not named kelvo"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "the package is not in section games"
depends=$(dpkg-deb -f "$deb" Depends)
# Sound needs libqt6multimedia6, the look its fonts; libqt6widgets6 is there only if dpkg-shlibdeps ran.
for p in libqt6multimedia6 fonts-ocr-a fonts-liberation libqt6widgets6; do
  grep -Eq "(^|, )$p( |,|$)" <<<"$depends" || fail "Depends lacks $p: $depends"
done
twice=$(sed 's/([^)]*)//g' <<<"$depends" | tr ',|' '\n\n' | tr -d ' ' | sort | uniq -d)
[ -z "$twice" ] || fail "Depends names $twice more than once: $depends"

root=$work/root
dpkg-deb -x "$deb" "$root"

# --- What it installs ----------------------------------------------------------
program=$root/usr/games/kelvo
data=$root/usr/share/games/kelvo
if [ ! -f "$program" ] || [ ! -x "$program" ]; then fail "no program at usr/games/kelvo"; fi
for s in "${sounds[@]}"; do
  [ -f "$data/$s" ] || fail "sound $s is not in usr/share/games/kelvo"
done
[ -f "$root/usr/share/applications/$app_id.desktop" ] || fail "no desktop entry $app_id.desktop"
[ -f "$root/usr/share/metainfo/$app_id.metainfo.xml" ] || fail "no metainfo $app_id.metainfo.xml"
for n in 16 32 48 64 128 256; do
  icon=$root/usr/share/icons/hicolor/${n}x$n/apps/$app_id.png
  [ -f "$icon" ] || fail "no ${n}x$n icon"
  # PNG width and height: big-endian 32-bit numbers at bytes 16 and 20.
  size=$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$size" = "${n}x$n" ] || fail "the ${n}x$n icon is $size"
done
echo "files: program, ${#sounds[@]} sounds, desktop entry, metainfo, 6 icons"

# --- The installed game runs and finds its sounds ------------------------------
unset WAYLAND_DISPLAY
start_x 1280x1024

# The shell writes its process id and becomes the game, so the game itself can be
# ended; strace then ends with it.
# shellcheck disable=SC2016 # $$ and $1 are the inner shell's
strace -f -e trace=%file -o "$work/strace.log" \
  sh -c 'echo $$ >"$1"; exec "$2"' sh "$work/game.pid" "$program" >"$work/game.log" 2>&1 &
strace_pid=$!
pids+=("$strace_pid")
until_true 60 test -s "$work/game.pid" || fail "the game did not start"
game=$(cat "$work/game.pid")
pids+=("$game") # ended before strace, should the test fail
into_play 640 500
echo "main window shown"

# A click on the play field fires the beam, which plays Kelvo.WAV; clicked again
# until the sound is read, as play may not have begun when the window shows;
# a try a second for a minute.
wav=$data/Kelvo.WAV
beam() {
  # Looked up and there: a call on the path that did not fail.
  grep -F "\"$wav\"" "$work/strace.log" | grep -qv ' = -1 ' && return 0
  xdotool mousemove 640 400 click 1
  sleep 0.9
  return 1
}
if ! until_true 6 beam; then
  echo "--- WAV files the game looked for:" >&2
  grep -F '.WAV' "$work/strace.log" >&2 || true
  fail "the beam did not read usr/share/games/kelvo/Kelvo.WAV from the unpacked package"
fi
echo "the installed game read its sound: ${wav#"$root"/}"
# The sound player (the program again, with --sound-player) loads Qt Multimedia
# from its module in the package: a call on its path that did not fail.
player=$root/usr/lib/games/kelvo/kelvo-sound-player.so
player_loaded() { grep -F "\"$player\"" "$work/strace.log" | grep -qv ' = -1 '; }
until_true 30 player_loaded || fail "the sound player did not load usr/lib/games/kelvo/kelvo-sound-player.so"
echo "the installed sound player loaded its module"
end_game "$strace_pid"
echo "PASS"
