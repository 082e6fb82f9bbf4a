#!/usr/bin/env bash
# The .deb as a player gets it: builds the package, unpacks it into a scratch
# root (nothing is installed on this machine), checks what it holds, then starts
# the unpacked game through its launcher on an X display of its own and plays
# into it until the beam fires, which must read Kelvo.WAV from the installed
# program's folder.
#
#   deb_test.sh CPACK CPACK_CONFIG SCRATCH APP_ID SOUND...
#
# Exits 77 (reported as skipped) only when a tool it needs is missing.
set -euo pipefail

cpack=$1 cpack_config=$2 work=$3 app_id=$4
shift 4
sounds=("$@")

# dpkg-shlibdeps and file are what cpack uses to find the package's dependencies.
for tool in "$cpack" dpkg-deb dpkg-shlibdeps file Xvfb xdotool strace timeout od; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd -P)  # the game sees its folder with symlinks resolved

game_pid="" strace_pid="" xvfb_pid=""
cleanup() {
  set +e  # clean up everything, whatever fails on the way
  if [ -z "$game_pid" ] && [ -s "$work/game.pid" ]; then game_pid=$(cat "$work/game.pid"); fi
  if [ -n "$game_pid" ]; then
    # The game is strace's child, not ours: ask, then insist after five seconds.
    kill "$game_pid" 2>/dev/null
    for _ in $(seq 50); do
      kill -0 "$game_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL "$game_pid" 2>/dev/null
  fi
  [ -n "$strace_pid" ] && { kill "$strace_pid" 2>/dev/null; wait "$strace_pid"; }
  [ -n "$xvfb_pid" ] && { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid"; }
  return 0
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# --- The package -------------------------------------------------------------
"$cpack" --config "$cpack_config" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack could not build the package"; }
debs=("$work"/out/*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then fail "expected one .deb in $work/out"; fi
deb=${debs[0]}
echo "package: $(basename "$deb")"

[ "$(dpkg-deb -f "$deb" Package)" = kelvo ] || fail "the package is not named kelvo"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "the package is not in section games"
depends=$(dpkg-deb -f "$deb" Depends)
# Sound needs libqt6multimedia6, the look its fonts; libqt6widgets6 is there only if dpkg-shlibdeps ran.
for p in libqt6multimedia6 fonts-ocr-a fonts-liberation libqt6widgets6; do
  grep -Eq "(^|, )$p( |,|$)" <<<"$depends" || fail "Depends lacks $p: $depends"
done

root=$work/root
dpkg-deb -x "$deb" "$root"

# --- What it installs ----------------------------------------------------------
program=$root/usr/lib/kelvo/kelvo
if [ ! -f "$program" ] || [ ! -x "$program" ]; then fail "no program at usr/lib/kelvo/kelvo"; fi
for s in "${sounds[@]}"; do
  [ -f "$root/usr/lib/kelvo/$s" ] || fail "sound $s is not beside the program"
done
launcher=$root/usr/bin/kelvo
[ -L "$launcher" ] || [ -f "$launcher" ] || fail "no launcher at usr/bin/kelvo"
if [ -L "$launcher" ]; then
  [ "$(readlink -f "$launcher")" = "$program" ] ||
    fail "usr/bin/kelvo points to $(readlink "$launcher"), not to the program"
fi
[ -f "$root/usr/share/applications/$app_id.desktop" ] || fail "no desktop entry $app_id.desktop"
[ -f "$root/usr/share/metainfo/$app_id.metainfo.xml" ] || fail "no metainfo $app_id.metainfo.xml"
for n in 16 32 48 64 128 256; do
  icon=$root/usr/share/icons/hicolor/${n}x$n/apps/$app_id.png
  [ -f "$icon" ] || fail "no ${n}x$n icon"
  # PNG width and height: big-endian 32-bit numbers at bytes 16 and 20.
  size=$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$size" = "${n}x$n" ] || fail "the ${n}x$n icon is $size"
done
echo "files: program, ${#sounds[@]} sounds, launcher, desktop entry, metainfo, 6 icons"

# --- The installed game runs and finds its sounds ------------------------------
# A home of its own, so nothing the game or its libraries write lands in ours.
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/home/.config
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY

# Xvfb picks a free display number itself and writes it to fd 3 once ready.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log"; fail "Xvfb did not start"; }
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not report a display"
display=$(head -n1 "$work/display")
export DISPLAY=":$display"

# The shell writes its process id and becomes the game, so the game itself can be
# stopped; strace then ends with it.
# shellcheck disable=SC2016 # $$ and $1 are the inner shell's
strace -f -e trace=%file -o "$work/strace.log" \
  sh -c 'echo $$ >"$1"; exec "$2"' sh "$work/game.pid" "$launcher" >"$work/game.log" 2>&1 &
strace_pid=$!

game_says() {
  echo "--- game output:" >&2
  tail -n 20 "$work/game.log" >&2
  fail "$*"
}

briefing=$(timeout 20 xdotool search --sync --onlyvisible --name '^Form1$' | head -n1) ||
  game_says "the briefing window (Form1) did not appear"
game_pid=$(cat "$work/game.pid")
echo "briefing window shown"

# Story -> instructions -> satellite choice: two single clicks, far enough apart
# not to make a double click. Return presses the satellite choice's ENTER.
xdotool mousemove 640 500 click --repeat 2 --delay 700 1
xdotool key Return

# The speed window is another window named Form1.
speed=""
for _ in $(seq 150); do
  speed=$(xdotool search --onlyvisible --name '^Form1$' | grep -vx "$briefing" | head -n1) || true
  [ -n "$speed" ] && break
  sleep 0.1
done
[ -n "$speed" ] || game_says "the speed window (Form1) did not open after ENTER"
timeout 10 xdotool windowactivate --sync "$speed" >/dev/null 2>&1 || true  # bounded: activation may not come
xdotool key Return  # its OK button

timeout 15 xdotool search --sync --onlyvisible --name '^Orvane Game$' >/dev/null ||
  game_says "the main window (Orvane Game) did not appear after OK"
echo "main window shown"

# A click on the play field fires the beam, which plays Kelvo.WAV.
wav=$root/usr/lib/kelvo/Kelvo.WAV
xdotool mousemove 640 400 click 1
found=""
for _ in $(seq 100); do
  # Looked up and there: a call on the path that did not fail.
  if grep -F "\"$wav\"" "$work/strace.log" | grep -qv ' = -1 '; then
    found=yes
    break
  fi
  sleep 0.1
done
if [ -z "$found" ]; then
  echo "--- WAV files the game looked for:" >&2
  grep -F '.WAV' "$work/strace.log" >&2 || true
  game_says "the beam did not read usr/lib/kelvo/Kelvo.WAV from the unpacked package"
fi
echo "the installed game read its sound: ${wav#"$root"/}"
echo "PASS"
