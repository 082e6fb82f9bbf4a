#!/usr/bin/env bash
# The program with a recording it cannot use: --verify and --replay say so in
# one line naming the file and what is wrong, with status 2, before any
# window; --record into a place it cannot write, the same. A recording whose
# disk fills up stops with one line, and the game plays on.
set -euo pipefail
kelvo=$1
png=$2
work=$(mktemp -d)
xvfb=
cleanup() {
  [ -z "${game:-}" ] || { kill "$game" 2>/dev/null && wait "$game" 2>/dev/null; } || true
  [ -z "$xvfb" ] || { kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null; } || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
until_true() {
  local tries=$(($1 * 10))
  shift
  for ((i = 0; i < tries; i++)); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/home/.config

# refused FILE WORD OPTION...: status 2 and one line naming FILE and WORD.
refused() {
  local file=$1 word=$2 status=0
  shift 2
  "$kelvo" "$@" >"$work/out" 2>"$work/err" </dev/null || status=$?
  [ "$status" -eq 2 ] || fail "$* ended with status $status, not 2: $(head -c 300 "$work/err")"
  [ "$(cat "$work/out" "$work/err" | wc -l)" -eq 1 ] || fail "$* printed more than one line: $(head -c 300 "$work/err")"
  grep -qF -- "$file" "$work/err" || fail "$*: the line does not name $file: $(cat "$work/err")"
  grep -qF -- "$word" "$work/err" || fail "$*: the line does not say '$word': $(cat "$work/err")"
}

: >"$work/empty"
head -c 4096 /dev/urandom >"$work/random"
# A header like the game's, of format 2.
printf 'KELVOREC\002\000\0011\040\003\130\002\000\000\000\200\106\000\000\020\106' >"$work/newer"
printf 'KELVOREC\001\000\0011\000\000\130\002\000\000\000\200\106\000\000\020\106' >"$work/nostage"

refused "$work/missing" "cannot be read" --verify "$work/missing"
refused "$work/empty" "is empty" --verify "$work/empty"
refused "$png" "is not a Kelvo recording" --verify "$png"
refused "$work/random" "is not a Kelvo recording" --verify "$work/random"
refused "$work/newer" "newer Kelvo" --verify "$work/newer"
refused "$work/nostage" "damaged header" --verify "$work/nostage"

# Without a display a window would end it with status 1: these end before.
(
  unset DISPLAY WAYLAND_DISPLAY
  export QT_QPA_PLATFORM=xcb
  refused "$work/newer" "newer Kelvo" --replay "$work/newer"
  refused "$work/nostage" "damaged header" --replay "$work/nostage"
  refused "$work/no/such/folder/rec" "cannot record" --record "$work/no/such/folder/rec"
) || exit 1

# A full disk: needs a display, without any window manager.
command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed"; exit 77; }
command -v xdotool >/dev/null || { echo "SKIP: xdotool is not installed"; exit 77; }
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
until_true 10 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")" QT_QPA_PLATFORM=xcb
"$kelvo" --windowed 800x600 --mute --record /dev/full >"$work/out" 2>"$work/err" &
game=$!
until_true 30 xdotool search --onlyvisible --name '^Form1$' || fail "no briefing window: $(cat "$work/err")"
until_true 10 grep -q "recording stopped" "$work/err" || fail "no word that the recording stopped: $(cat "$work/err")"
kill -0 "$game" || fail "the game ended with its recording"
kill -TERM "$game"
status=0
wait "$game" || status=$?
game=
[ "$status" -eq 0 ] || fail "the game ended with status $status on SIGTERM: $(cat "$work/err")"
[ "$(grep -c "recording stopped" "$work/err")" -eq 1 ] || fail "not one line about the recording: $(cat "$work/err")"
grep -qF "/dev/full" "$work/err" || fail "the line does not name the file: $(cat "$work/err")"
echo PASS
