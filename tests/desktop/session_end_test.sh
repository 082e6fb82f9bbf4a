#!/usr/bin/env bash
# The end of a session in every state the game can wait in: each signal a
# logout or shutdown sends, with each real dialog open (About, the name box),
# inside the nested modal windows (the speed window, the briefing from the Help
# menu) and during the first load. The game must close its windows and exit
# with status 0, and a sanitizer build must report nothing (leaks included).
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/common.sh"
export ASAN_OPTIONS=${ASAN_OPTIONS:+${ASAN_OPTIONS//detect_leaks=0/detect_leaks=1}}
start_x 1280x800

# menu ALT LETTER: opens a menu of the main window by its access keys.
menu() {
  timeout 10 xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
  xdotool key "alt+$1"
  xdotool key "$2"
}

# end_in STATE SIGNAL: plays into STATE, sends SIGNAL and checks the ending.
end_in() {
  # A small field: the light satellite meets ships soon, and the game is
  # usually over in seconds; its three lives can last a minute or more.
  start_game --windowed 320x240 --mute
  case $1 in
    load) wait_window Form1 >/dev/null || fail "no briefing window" ;;
    about) into_play 640 420 && menu h a && until_true 30 shown About ;;
    name) into_play 640 420 && until_true 240 shown 'High Score' ;;
    speed) into_play 640 420 && menu o s && until_true 30 shown Form1 ;;
    intro) into_play 640 420 && menu h i && xdotool key Return && until_true 30 shown Form1 ;; # two items share the I
  esac || fail "$1: the game never got there"
  kill -s "$2" "$game"
  ended_with 0 10 "$1, SIG$2"
  ! grep -Eq 'Sanitizer|runtime error|double free|corrupt' "$work/game.log" || fail "$1: a fault was reported on SIG$2"
}

for signal in TERM INT HUP; do
  end_in about "$signal"
  end_in name "$signal"
done
end_in load HUP
end_in speed INT
end_in intro TERM
echo PASS
