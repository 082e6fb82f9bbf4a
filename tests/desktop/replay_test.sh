#!/usr/bin/env bash
# A session recorded on the real program under openbox (a pause, a menu opened
# mid-game, New Game, a game over with a typed name) and shown again with
# --replay: the replay ends by itself and saves the same windows, pixel for
# pixel, at the same moments; --verify agrees, and names the event where a
# recording with one key changed leaves the game. A replay ends on Escape and
# on its window's close button. [FULL]: a full-screen recording made on a
# larger screen replays on a smaller one, in a window that fits.
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/common.sh"
full=${2:-}  # a full-screen recording made on a 1024 x 768 screen
need import compare python3
start_x 1024x768

no_menu() { ! menu_shown; }
no_box() { ! shown 'High Score'; }
# fast: from the briefing into play at the fast speed, where the light
# satellite meets the ships soonest.
fast() {
  to_speed 320 300
  xdotool mousemove --window "$speed" 197 174 click 1
  through_speed
}
# play: the satellite swept to and fro under the ships until the game is over.
play() {
  for _ in $(seq 1 200); do
    xdotool key --delay 60 Left Left Left Left Left Left Left Left Right Right Right Right Right Right Right Right
    shown 'High Score' && return 0
  done
  fail "no game over"
}

# --- The session, recorded ---------------------------------------------------------
mkdir -p "$work/a" "$work/b"
export KELVO_SNAPSHOTS=$work/a
start_game --windowed 640x480 --mute --record "$work/s.rec"
into_play 320 300
xdotool mousemove --window "$main" 300 60 key Right click 1 key F3
sleep 0.5
xdotool key F3 Right Right alt+g
until_true 30 menu_shown || fail "the Game menu did not open"
xdotool key Escape
until_true 30 no_menu || fail "the Game menu did not close"
xdotool key F3 Right alt+g n
fast
play
xdotool type --delay 50 "Ace"
xdotool key Return
until_true 30 no_box || fail "the name box stayed"
end_game "$game"

# --- Shown again ---------------------------------------------------------------------
export KELVO_SNAPSHOTS=$work/b
start_game --replay "$work/s.rec" --replay-speed 4
ended_with 0 300 "--replay"
grep -q ': matches$' "$work/game.log" || fail "the replay did not say it matches"
unset KELVO_SNAPSHOTS
(cd "$work/a" && ls) >"$work/a.list"
(cd "$work/b" && ls) >"$work/b.list"
grep -q -- '-over.png$' "$work/a.list" || fail "the session saved no game over"
cmp -s "$work/a.list" "$work/b.list" || fail "other snapshots: $(diff "$work/a.list" "$work/b.list" | head -5 | tr '\n' ' ')"
while read -r png; do
  differ=$(compare -metric AE "$work/a/$png" "$work/b/$png" null: 2>&1) || true
  [ "$differ" = 0 ] || fail "$png differs in $differ pixels"
done <"$work/a.list"

status=0
"$kelvo" --verify "$work/s.rec" >"$work/verify" 2>&1 || status=$?
[ "$status" -eq 0 ] && grep -q ': matches$' "$work/verify" || fail "--verify: status $status, $(cat "$work/verify")"

# The first Right arrow in the main window turned into a Left arrow.
python3 - "$work/s.rec" "$work/t.rec" <<'EOF'
import sys, zlib
data = open(sys.argv[1], 'rb').read()
n = data[10]
start = 11 + n + 2 + 2 + 1 + 4 + 4
stream = bytearray(zlib.decompressobj(-15).decompress(data[start:]))
at = stream.find(bytes([4, 0, 78, 0, 0]))
assert at >= 0, "no Right arrow recorded"
stream[at + 2] = 74
z = zlib.compressobj(6, zlib.DEFLATED, -15)
open(sys.argv[2], 'wb').write(data[:start] + z.compress(bytes(stream)) + z.flush())
EOF
status=0
"$kelvo" --verify "$work/t.rec" >"$work/verify" 2>&1 || status=$?
[ "$status" -eq 1 ] && grep -q 'left the recording at event [0-9]' "$work/verify" ||
  fail "--verify of a changed key: status $status, $(cat "$work/verify")"
cat "$work/verify"

# --- Escape and the close button end a replay -------------------------------------------
# At a quarter of its pace the session would take far longer than they may.
for key in Escape alt+F4; do
  start_game --replay "$work/s.rec" --replay-speed 0.25
  window=$(wait_window Form1) || fail "the replay showed no window"
  timeout 10 xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
  xdotool key "$key"
  ended_with 0 20 "$key"
done

# --- A full-screen recording of a larger screen ------------------------------------------
if [ -n "$full" ]; then
  start_x 800x600
  start_game --replay "$full" --replay-speed 4
  main=$(wait_window 'Orvane Game' 0 120) || fail "the full-screen replay showed no main window"
  read -r _ size < <(geometry "$main")
  ((${size%x*} <= 800 && ${size#*x} <= 600)) || fail "the replay's main window is $size on an 800x600 screen"
  ended_with 0 300 "the full-screen replay"
  grep -q ': matches$' "$work/game.log" || fail "the full-screen replay did not say it matches"
fi
echo PASS
