#!/usr/bin/env bash
# Plays the kept sessions of tests/recordings on the real program (Xvfb and
# openbox, driven with xdotool) and writes them there again; run it after a
# change that alters the game on purpose, then check them in.
#   tools/make_recordings.sh KELVO [FOLDER]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
[ $# -ge 1 ] || { echo "usage: $0 KELVO [FOLDER]" >&2; exit 2; }
kelvo=$(realpath "$1")
out=$(realpath "${2:-$here/../tests/recordings}")
source "$here/../tests/desktop/common.sh" "$kelvo"
need import

shown() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
size_of() { read -r _ size < <(geometry "$1") && w=${size%x*} h=${size#*x}; }
# menu LETTER ITEM: a command of the main window's menus by their access keys.
menu() {
  timeout 10 xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
  xdotool key "alt+$1"
  sleep 0.5
  xdotool key "$2"
}
# pick_speed N: Slow, Medium or Fast in the speed window, then its OK.
pick_speed() {
  local offsets=(0 -30 5 42)
  size_of "$speed"
  xdotool mousemove --window "$speed" $((w / 2)) $((h / 2 + offsets[$1])) click 1
  sleep 0.5
}
# choose SATELLITE SPEED: from the briefing through the story and the
# instructions, the satellite (1 light, 2 medium, 3 heavy) and the speed
# (1 slow, 2 medium, 3 fast) into play; sets main.
choose() {
  briefing=$(wait_window Form1) || fail "no briefing window"
  size_of "$briefing"
  xdotool mousemove --window "$briefing" $((w / 2 - 200)) $((h / 2 + 60)) click --repeat 2 --delay 700 1
  sleep 1
  xdotool mousemove --window "$briefing" $((w / 2 - 140)) $((h / 2 - 77 + 72 * ($1 - 1))) click 1
  sleep 0.5
  xdotool key Return
  speed=$(speed_window "$briefing" 20) || fail "no speed window"
  pick_speed "$2"
  through_speed
  xdotool mousemove --window "$main" $((w / 2 - 20)) 60
  [ -z "${SHOTS:-}" ] || import -window root "$SHOTS/$current-$1$2.png"
}
# play SECONDS: moves and shoots for that long, or until the game is over.
play() {
  local end=$((SECONDS + $1)) key=Right
  while ((SECONDS < end)); do
    shown 'High Score' && return 0
    xdotool key "$key" click 1
    ((RANDOM % 4)) || key=$([ "$key" = Right ] && echo Left || echo Right)
    sleep 0.1
  done
}
# name TEXT: at game over, the name typed and confirmed.
name() {
  play 120
  shown 'High Score' || fail "no game over"
  xdotool type --delay 80 "$1"
  xdotool key Return
  until_true 30 bash -c "! xdotool search --onlyvisible --name '^High Score\$'" || fail "the name box stayed"
  sleep 1
}
# record NAME ARGS...: the game recording into NAME.rec.
record() {
  current=$1
  shift
  start_game "$@" --mute --record "$work/$current.rec"
}
keep() {
  end_game "$game"
  "$kelvo" --verify "$work/$current.rec" || fail "$current does not replay"
  cp "$work/$current.rec" "$out/"
}

start_x 1024x768

# A light satellite at slow speed in a window: a game over with a name, then
# New Game from the Game menu and a little play.
record windowed-light-slow --windowed 640x480
choose 1 1
name Ace
menu g n
choose 1 1
play 4
keep

# A medium satellite at fast speed in a window: a pause, a menu opened and
# closed, the speed window from the Options menu (Medium chosen), and play.
record windowed-medium-fast --windowed 640x480
choose 2 3
play 2
xdotool key F3
sleep 1
xdotool key F3
play 2
menu g Escape
sleep 0.5
xdotool key F3
play 2
menu o s
speed=$(speed_window 0) || fail "no speed window from the menu"
pick_speed 2
return_in "$speed"
until_true 20 bash -c "! xdotool search --onlyvisible --name '^Form1\$'" || fail "the speed window stayed"
play 10
keep

# A heavy satellite at medium speed on a whole screen (1024 x 768).
record fullscreen-heavy-medium
choose 3 2
play 12
keep

ls -l "$out"/*.rec
