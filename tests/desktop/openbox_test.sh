#!/usr/bin/env bash
# Under a real window manager (openbox on Xvfb): the briefing and the main window
# in the full-screen state covering exactly the screen, with the score on it; the
# speed window centred over the briefing; then --windowed 800x600 --mute: framed
# windows of that client size, centred and fixed in size, and no sound read; then
# a 320 x 240 screen, where everything is drawn at half size so that it fits.
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/common.sh"
need Xvfb openbox xdotool xwininfo xprop import strace

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
until_true 10 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")" QT_QPA_PLATFORM=xcb
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
managed() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
until_true 10 managed || fail "openbox did not start"

window() { xdotool search --sync --onlyvisible --name "^$1\$" | tail -n1; }
# The speed window: a shown "Form1" other than the briefing BRIEFING, once the X
# server knows it for good (a window can vanish between a search and a query).
speed_window() {
  local id
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name '^Form1$' 2>/dev/null | grep -vx "$1" | head -n1) || true
    if [ -n "$id" ] && xwininfo -id "$id" >/dev/null 2>&1; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  return 1
}
# Return in window ID, activated first (bounded: activation may not come).
return_in() {
  timeout 10 xdotool windowactivate --sync "$1" >/dev/null 2>&1 || true
  xdotool key Return
}
geometry() { xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width/{w=$2} /Height/{h=$2} END{print x","y" "w"x"h}'; }
fullscreen() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN; }

# --- Full screen -----------------------------------------------------------------
"$kelvo" >"$work/game.log" 2>&1 &
game=$!
pids+=("$game")
briefing=$(timeout 60 bash -c "$(declare -f window); window Form1") || fail "no briefing window"
until_true 5 fullscreen "$briefing" || fail "the briefing is not in the full-screen state"
[ "$(geometry "$briefing")" = "0,0 1280x800" ] || fail "the briefing covers $(geometry "$briefing"), not the screen"

xdotool mousemove 640 700 click --repeat 2 --delay 700 1 key Return  # story, instructions, choice, ENTER
speed=$(speed_window "$briefing") || fail "no speed window"
read -r at size < <(geometry "$speed")
x=${at%,*} y=${at#*,} w=${size%x*} h=${size#*x}
((x >= 0 && y >= 0 && x + w <= 1280 && y + h <= 800)) || fail "the speed window at $at $size is not on the screen"
((${x} + w / 2 - 640 <= 20 && 640 - x - w / 2 <= 20)) || fail "the speed window at $at $size is not centred"
return_in "$speed"  # OK

main=$(timeout 60 bash -c "$(declare -f window); window 'Orvane Game'") || fail "no main window"
until_true 5 fullscreen "$main" || fail "the main window is not in the full-screen state"
[ "$(geometry "$main")" = "0,0 1280x800" ] || fail "the main window covers $(geometry "$main"), not the screen"
# The score's sunken box ends in a light grey line; all of it lies on the screen.
sleep 0.5
import -window root -depth 8 -crop 400x200+880+600 txt:- >"$work/corner.txt"
lines=$(grep -c '#DFDFDF' "$work/corner.txt" || true)
((lines >= 140)) || fail "the score box is not on the screen ($lines light grey pixels)"
end_game "$game"

# --- In a window, without sound ------------------------------------------------------
strace -f -e trace=%file -o "$work/strace.log" "$kelvo" --windowed 800x600 --mute >"$work/game.log" 2>&1 &
game=$!
pids+=("$game")
briefing=$(timeout 60 bash -c "$(declare -f window); window Form1") || fail "no briefing window"
sleep 0.5
! fullscreen "$briefing" || fail "the windowed briefing is in the full-screen state"
[ "$(geometry "$briefing")" = "240,100 800x600" ] || fail "the windowed briefing is at $(geometry "$briefing")"
xprop -id "$briefing" _NET_FRAME_EXTENTS | grep -qv '= 0, 0, 0, 0' || fail "the windowed briefing has no frame"
xprop -id "$briefing" WM_NORMAL_HINTS | grep -q "program specified maximum size: 800 by 600" ||
  fail "the windowed briefing can be resized"
xdotool mousemove 640 650 click --repeat 2 --delay 700 1 key Return
speed=$(speed_window "$briefing") || fail "no speed window"
return_in "$speed"
main=$(timeout 60 bash -c "$(declare -f window); window 'Orvane Game'") || fail "no main window"
[ "$(geometry "$main")" = "240,100 800x600" ] || fail "the windowed main window is at $(geometry "$main")"
xdotool mousemove 500 300 click 1  # fires the beam, which would play its sound
sleep 0.5
! grep -q 'Kelvo.WAV' "$work/strace.log" || fail "--mute still looked for the beam's sound"
end_game "$game"

# --- A screen too small for the game's windows ---------------------------------------
kill "${pids[1]}" "${pids[0]}"
wait "${pids[1]}" "${pids[0]}" 2>/dev/null || true
Xvfb -displayfd 3 -screen 0 320x240x24 -nolisten tcp 3>"$work/display2" 2>>"$work/xvfb.log" &
pids+=($!)
until_true 10 test -s "$work/display2" || fail "the small Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display2")"
openbox >>"$work/openbox.log" 2>&1 &
pids+=($!)
until_true 10 managed || fail "openbox did not start on the small screen"
"$kelvo" >"$work/game.log" 2>&1 &
game=$!
pids+=("$game")
briefing=$(timeout 60 bash -c "$(declare -f window); window Form1") || fail "no briefing window"
xdotool mousemove 20 200 click --repeat 2 --delay 700 1
sleep 1
# The satellite choice, drawn at half size, lies inside the screen: its yellow
# ENTER button shows in its lower middle, on the choice's black ground.
import -window root -depth 8 -crop 180x128+70+56 txt:- >"$work/choice.txt"
yellow=$(grep -c '#FFFF00' "$work/choice.txt" || true)
((yellow >= 300)) || fail "the satellite choice's ENTER is not on the small screen ($yellow yellow pixels)"
xdotool key Return
speed=$(speed_window "$briefing") || fail "no speed window"
read -r at size < <(geometry "$speed")
x=${at%,*} y=${at#*,} w=${size%x*} h=${size#*x}
read -r left right top bottom < <(xprop -id "$speed" _NET_FRAME_EXTENTS | tr -d ',' | awk '{print $3, $4, $5, $6}')
((x - left >= 0 && y - top >= 0 && x + w + right <= 320 && y + h + bottom <= 240)) ||
  fail "the speed window and its frame ($at $size, frame $left $right $top $bottom) are not all on the small screen"
end_game "$game"
echo PASS
