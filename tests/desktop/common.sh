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
