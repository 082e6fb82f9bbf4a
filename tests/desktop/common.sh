# Shared by the desktop tests: a scratch folder, failing with the game's
# output, waiting for a condition, and ending the game as a session does.
set -euo pipefail

kelvo=$1
app_id=${2:-}
work=$(mktemp -d)
pids=()
cleanup() {
  set +e
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null && wait "${pids[i]}" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

need() {
  for tool in "$@"; do command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }; done
}

fail() {
  echo "FAIL: $*" >&2
  [ -f "$work/game.log" ] && { echo "--- game output:" >&2; tail -n 20 "$work/game.log" >&2; }
  if [ -n "${DISPLAY:-}" ] && command -v xdotool >/dev/null; then
    echo "--- windows shown:" >&2
    for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do xdotool getwindowname "$w" >&2; done
  fi
  exit 1
}

# until SECONDS COMMAND...: runs COMMAND every tenth of a second until it succeeds.
until_true() {
  local tries=$(($1 * 10))
  shift
  for ((i = 0; i < tries; i++)); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}

# A home and runtime folder of its own, so nothing lands in ours.
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/home/.config

# Ends the game with SIGTERM, as a session does at logout, and expects it to
# close its windows and exit with status 0 within five seconds. CHILD is this
# shell's child that ends with the game's status: the game, or the strace that
# runs it (then the game is strace's child).
end_game() {
  local child=$1 game
  game=$(pgrep -P "$child" -x kelvo || echo "$child")
  kill -TERM "$game"
  until_true 5 bash -c "! kill -0 $child" || fail "the game did not end within 5 s of SIGTERM"
  local status=0
  wait "$child" || status=$?
  [ "$status" -eq 0 ] || fail "the game ended with status $status on SIGTERM"
}

# start_x WIDTHxHEIGHT: an Xvfb of that size with openbox managing it; sets DISPLAY.
start_x() {
  need Xvfb openbox xdotool xwininfo xprop
  rm -f "$work/display"
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp 3>"$work/display" 2>>"$work/xvfb.log" &
  pids+=($!)
  until_true 10 test -s "$work/display" || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$work/display")" QT_QPA_PLATFORM=xcb
  openbox >>"$work/openbox.log" 2>&1 &
  pids+=($!)
  until_true 10 managed || fail "openbox did not start"
}
managed() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }

# window TITLE: the id of the newest shown window of that title, once there is one.
window() { xdotool search --sync --onlyvisible --name "^$1\$" | tail -n1; }
wait_window() { timeout 60 bash -c "$(declare -f window); window '$1'"; }
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

# start_game [ARGS...]: the game in the background, its output in game.log; sets game.
start_game() {
  "$kelvo" "$@" >"$work/game.log" 2>&1 &
  game=$!
  pids+=("$game")
}

# into_play X Y: from the briefing through the satellite choice (a click at X,Y
# reads on) and the speed window's OK into play; sets briefing and main.
into_play() {
  briefing=$(wait_window Form1) || fail "no briefing window"
  xdotool mousemove "$1" "$2" click --repeat 2 --delay 700 1 key Return  # story, instructions, choice, ENTER
  speed=$(speed_window "$briefing") || fail "no speed window"
  return_in "$speed" # OK
  main=$(wait_window 'Orvane Game') || fail "no main window"
}
