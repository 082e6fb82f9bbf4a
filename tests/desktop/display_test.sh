#!/usr/bin/env bash
# The game on a display with its own demands: at QT_SCALE_FACTOR 0.5 the whole
# field shows, at half size; stopped and continued (as a laptop suspends), play
# goes on at its pace without a burst of ticks; natively on a headless Wayland
# compositor, full screen and named for its desktop entry; the X server or the
# Wayland compositor killed under it, it ends at once with one line and status 1
# (no abort, no crash on the way out).
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/common.sh"
need weston
[ -e /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so ] ||
  { echo "SKIP: Qt's Wayland platform (qt6-wayland) is not installed"; exit 77; }

# gone SERVER-PID: kills the display server and expects the game to end within 5 s
# with status 1 and one line of its own (protocol traces aside).
gone() {
  kill "$1"
  ended_with 1 5 "its display server gone"
  grep -v '^\[' "$work/game.log" >"$work/said" || true
  [ "$(wc -l <"$work/said")" -eq 1 ] && grep -q '^kelvo: the display server went away' "$work/said" ||
    fail "the game did not say in one line that its display server went away: $(cat "$work/said")"
}

# ticks_after LINE: "TIMER PERIOD" for each tick in the second after the first
# tick past the trace's line LINE, once the trace reaches that far.
ticks_after() {
  awk -v skip="$1" '$1 == "start" { name[$2] = $3; period[$2] = $4 }
       $1 == "tick" && NR > skip { if (!from) from = $3; last = $3
                                   if ($3 < from + 1e9) print name[$2], period[$2] }
       END { exit !(from && last >= from + 1e9) }' "$work/trace"
}

# corner GEOMETRY COLOUR COUNT: at least COUNT pixels of COLOUR in that part of the screen.
corner() { (($(import -window root -crop "$1" -depth 8 txt:- | grep -c "$2") >= $3)); }

# --- X11, the display named on the command line, at half scale ---------------------
start_x 1280x800
export KELVO_TRACE=$work/trace
DISPLAY='' QT_SCALE_FACTOR=0.5 start_game --mute -display "$DISPLAY"
into_play 640 700
# The whole field drawn at half size: the lives' green hull bar bottom left, the
# score box's grey edge bottom right (off the screen if drawn at full size).
until_true 10 corner 100x60+0+740 '#00FF00' 50 || fail "at QT_SCALE_FACTOR=0.5 the lives are not on the screen"
corner 160x60+1120+740 '#7F7F7F' 40 || fail "at QT_SCALE_FACTOR=0.5 the score is not on the screen"
until_true 10 grep -q '^tick' "$work/trace" || fail "no timer ticked in play"
kill -STOP "$game"
until_true 10 grep -q '^State:.*stopped' "/proc/$game/status" || fail "the game did not stop"
stopped_at=$(wc -l <"$work/trace")
sleep 2  # the suspension itself
kill -CONT "$game"
until_true 20 ticks_after "$stopped_at" || fail "no ticks in the second after the game was continued"
# At the timer's own rate: a catch-up burst doubles a 10 ms timer's count or more.
while read -r count timer period; do
  ((count <= 1200 / period + 2)) || fail "timer $timer (every $period ms) ticked $count times in the second after SIGCONT"
done < <(ticks_after "$stopped_at" | sort | uniq -c)
unset KELVO_TRACE
gone "${pids[0]}"

# --- Wayland ----------------------------------------------------------------------
# The briefing asks for the full-screen state, is painted and names its desktop
# entry; SIGTERM ends the game cleanly, the compositor gone the next one.
weston --backend=headless-backend.so --width=1280 --height=800 --socket=kelvo-gone --idle-time=0 \
  >"$work/weston.log" 2>&1 &
weston=$!
pids+=("$weston")
until_true 10 test -S "$XDG_RUNTIME_DIR/kelvo-gone" || fail "weston did not start"
painted() { grep -q 'wl_surface@[0-9]*\.attach(wl_buffer' "$work/game.log"; }
WAYLAND_DISPLAY=kelvo-gone WAYLAND_DEBUG=client start_game --platform wayland
until_true 60 grep -q 'xdg_toplevel@[0-9]*\.set_title("Form1")' "$work/game.log" || fail "no briefing window on weston"
until_true 10 grep -q 'xdg_toplevel@[0-9]*\.set_fullscreen' "$work/game.log" ||
  fail "the briefing did not ask for the full-screen state"
until_true 10 painted || fail "the briefing was never painted on weston"
grep -qF "set_app_id(\"$app_id\")" "$work/game.log" || fail "the window does not name its desktop entry $app_id"
end_game "$game"
WAYLAND_DISPLAY=kelvo-gone WAYLAND_DEBUG=client start_game --platform wayland
until_true 60 painted || fail "no window painted on weston"
gone "$weston"
echo PASS
