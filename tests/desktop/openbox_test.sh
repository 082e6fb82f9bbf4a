#!/usr/bin/env bash
# Under a real window manager (openbox on Xvfb): the briefing and the main window
# in the full-screen state covering exactly the screen, with the score on it; the
# speed window centred over the briefing; then --windowed 800x600 --mute: framed
# windows of that client size, centred and fixed in size, and no sound read; then
# a 320 x 240 screen, where everything is drawn at half size so that it fits.
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/common.sh"
need import strace
# count COLOUR WxH+X+Y: how many pixels of that colour the screen shows there.
count() { import -window root -depth 8 -crop "$2" txt:- | grep -c "$1" || true; }

# --- Full screen -----------------------------------------------------------------
start_x 1280x800
start_game
to_speed 640 700
until_true 5 fullscreen "$briefing" || fail "the briefing is not in the full-screen state"
[ "$(geometry "$briefing")" = "0,0 1280x800" ] || fail "the briefing covers $(geometry "$briefing"), not the screen"
read -r at size < <(geometry "$speed")
x=${at%,*} y=${at#*,} w=${size%x*} h=${size#*x}
((x >= 0 && y >= 0 && x + w <= 1280 && y + h <= 800)) || fail "the speed window at $at $size is not on the screen"
((x + w / 2 - 640 <= 20 && 640 - x - w / 2 <= 20)) || fail "the speed window at $at $size is not centred"
through_speed
until_true 5 fullscreen "$main" || fail "the main window is not in the full-screen state"
[ "$(geometry "$main")" = "0,0 1280x800" ] || fail "the main window covers $(geometry "$main"), not the screen"
# The score's sunken box ends in a light grey line; all of it lies on the screen.
score_shown() { (($(count '#DFDFDF' 400x200+880+600) >= 140)); }
until_true 10 score_shown || fail "the score box is not on the screen ($(count '#DFDFDF' 400x200+880+600) light grey pixels)"
end_game "$game"

# --- In a window, without sound ------------------------------------------------------
strace -f -e trace=%file -o "$work/strace.log" "$kelvo" --windowed 800x600 --mute >"$work/game.log" 2>&1 &
game=$!
pids+=("$game")
briefing=$(wait_window Form1) || fail "no briefing window"
until_true 10 test "$(geometry "$briefing")" = "240,100 800x600" || fail "the windowed briefing is at $(geometry "$briefing")"
! fullscreen "$briefing" || fail "the windowed briefing is in the full-screen state"
xprop -id "$briefing" _NET_FRAME_EXTENTS | grep -qv '= 0, 0, 0, 0' || fail "the windowed briefing has no frame"
xprop -id "$briefing" WM_NORMAL_HINTS | grep -q "program specified maximum size: 800 by 600" ||
  fail "the windowed briefing can be resized"
into_play 640 650
[ "$(geometry "$main")" = "240,100 800x600" ] || fail "the windowed main window is at $(geometry "$main")"
# The beam's press, which would play its sound, then the Game menu: once the
# menu shows, the press has been handled.
xdotool mousemove 500 300 click 1 key alt+g
until_true 10 menu_shown || fail "the Game menu did not open"
! grep -q 'Kelvo.WAV' "$work/strace.log" || fail "--mute still looked for the beam's sound"
end_game "$game"

# --- A screen too small for the game's windows ---------------------------------------
start_x 320x240
start_game
briefing=$(wait_window Form1) || fail "no briefing window"
# The satellite choice, drawn at half size, lies inside the screen: its yellow
# ENTER button shows in its lower middle, on the choice's black ground.
choice_shown() { (($(count '#FFFF00' 180x128+70+56) >= 300)); }
for _ in 1 2 3; do
  xdotool mousemove 20 200 click --repeat 2 --delay 500 1
  until_true 10 choice_shown && break
done
choice_shown || fail "the satellite choice's ENTER is not on the small screen ($(count '#FFFF00' 180x128+70+56) yellow pixels)"
xdotool key Return
speed=$(speed_window "$briefing") || fail "no speed window"
read -r at size < <(geometry "$speed")
x=${at%,*} y=${at#*,} w=${size%x*} h=${size#*x}
read -r left right top bottom < <(xprop -id "$speed" _NET_FRAME_EXTENTS | tr -d ',' | awk '{print $3, $4, $5, $6}')
((x - left >= 0 && y - top >= 0 && x + w + right <= 320 && y + h + bottom <= 240)) ||
  fail "the speed window and its frame ($at $size, frame $left $right $top $bottom) are not all on the small screen"
end_game "$game"
echo PASS
