#!/usr/bin/env bash
# Under a real window manager (openbox on Xvfb), --windowed 800x600 --mute:
# framed windows of that client size, centred and fixed in size, and no sound
# read; then a 320 x 240 screen, where everything is drawn at half size so that
# it fits. (The full-screen state, the speed window centred over the briefing
# and the score on the screen: two_heads_test, on a head away from the corner.)
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/common.sh"
need import strace
# count COLOUR WxH+X+Y: how many pixels of that colour the screen shows there.
count() { import -window root -depth 8 -crop "$2" txt:- | grep -c "$1" || true; }

start_x 1280x800

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
