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
  [ -z "${game:-}" ] || kill -0 "$game" 2>/dev/null || echo "--- the game has ended" >&2
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

# ended_with STATUS SECONDS WHAT: the game ends within SECONDS, with STATUS.
ended_with() {
  until_true "$2" bash -c "! kill -0 $game" || fail "$3: the game did not end within $2 s"
  local status=0
  wait "$game" || status=$?
  [ "$status" -eq "$1" ] || fail "$3: the game ended with status $status"
}

# refused STATUS WORD ARGS...: the game ends with STATUS and one line, on its
# error output, which has WORD in it.
refused() {
  local expected=$1 word=$2 status=0 args
  shift 2
  "$kelvo" "$@" >"$work/out" 2>"$work/err" </dev/null || status=$?
  args=$(printf '%q ' "$@")
  args=${args:0:80}
  [ "$status" -eq "$expected" ] || fail "$args ended with status $status, not $expected: $(head -c 300 "$work/err")"
  [ "$(cat "$work/out" "$work/err" | wc -l)" -eq 1 ] || fail "$args printed more than one line: $(head -c 300 "$work/err")"
  grep -qF -- "$word" "$work/err" || fail "$args: the message does not name $word: $(head -c 300 "$work/err")"
}

# start_x WIDTHxHEIGHT [XRANDR-OPTION...]: an Xvfb of that size with openbox
# managing it; sets DISPLAY. The xrandr options (--setmonitor ...) split it into
# heads before openbox starts (-noreset keeps them once xrandr disconnects).
start_x() {
  need Xvfb openbox xdotool xwininfo xprop
  rm -f "$work/display"
  Xvfb -displayfd 3 -noreset -screen 0 "${1}x24" -nolisten tcp 3>"$work/display" 2>>"$work/xvfb.log" &
  pids+=($!)
  until_true 10 test -s "$work/display" || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$work/display")" QT_QPA_PLATFORM=xcb
  (($# < 2)) || xrandr "${@:2}" >/dev/null 2>&1 || fail "xrandr could not make the heads ${*:2}"
  openbox >>"$work/openbox.log" 2>&1 &
  pids+=($!)
  until_true 10 managed || fail "openbox did not start"
}
managed() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }

# wait_window TITLE [EXCEPT] [SECONDS]: the id of the newest shown window of that
# title other than EXCEPT, once the X server knows it for good (a window can
# vanish between a search and a query, and a search can fail on one); 60 s at
# most, and no longer than the game runs.
wait_window() {
  local id i
  for ((i = 0; i < ${3:-60} * 10; i++)); do
    [ -z "${game:-}" ] || kill -0 "$game" 2>/dev/null || return 1
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | grep -vx "${2:-0}" | tail -n1) || true
    [ -n "$id" ] && xwininfo -id "$id" >/dev/null 2>&1 && echo "$id" && return 0
    sleep 0.1
  done
  return 1
}
shown() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
# A menu of the main window open: a window of the game's other than main.
menu_shown() { xdotool search --onlyvisible --classname '^kelvo$' | grep -vx "$main" | grep -q .; }
# The speed window: a shown "Form1" other than the briefing BRIEFING.
speed_window() { wait_window Form1 "$1" "${2:-30}"; }
# Return in window ID, activated first (bounded: activation may not come).
return_in() {
  timeout 10 xdotool windowactivate --sync "$1" >/dev/null 2>&1 || true
  xdotool key Return
}
# geometry ID: the window's place and client size on the screen, as "X,Y WxH".
geometry() { xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width/{w=$2} /Height/{h=$2} END{print x","y" "w"x"h}'; }
fullscreen() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN; }

# start_game [ARGS...]: the game in the background, its output in game.log; sets game.
start_game() {
  : >"$work/game.log"  # emptied now: the background start may open it only later
  "$kelvo" "$@" >>"$work/game.log" 2>&1 &
  game=$!
  pids+=("$game")
}

# to_speed X Y: from the briefing through the story, the instructions and the
# satellite choice (clicks at X,Y, outside the choice, read on; more clicks
# there leave the choice shown) and its ENTER (Return) to the speed window;
# sets briefing and speed. Input lost under load is sent again.
to_speed() {
  briefing=$(wait_window Form1) || fail "no briefing window"
  for _ in 1 2 3; do
    xdotool mousemove "$1" "$2" click --repeat 2 --delay 500 1 key Return
    speed=$(speed_window "$briefing" 20) && return 0
  done
  fail "no speed window"
}

# through_speed: from the speed window through its OK into play; sets main.
through_speed() {
  for _ in 1 2 3; do
    return_in "$speed"
    main=$(wait_window 'Orvane Game' 0 20) && return 0
  done
  fail "no main window"
}
# into_play X Y: from the briefing into play.
into_play() { to_speed "$@" && through_speed; }
