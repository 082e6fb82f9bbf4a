#!/usr/bin/env bash
# The game over a real sound server (PulseAudio with a sink of its own, no
# sound hardware) that fails under it. Absent at the start, then started; and
# killed, then started again after longer than Qt Multimedia's one retry (3 s):
# the game plays on, and a beam sounds again once the server is back. Stopped
# (SIGSTOP, as a debugger or a hung server leaves it): the game keeps ticking
# and drawing, and SIGTERM still ends it with status 0. A failure costs the
# game's output a line, not one a sound, and no sound player outlives the game.
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/common.sh"
need pulseaudio pactl setpriv
# A game frozen inside its sound library ignores SIGTERM: a failure ends it for good.
eval "game_$(declare -f fail)"
fail() {
  kill -KILL "${game:-}" "${server:-}" 2>/dev/null || true
  game_fail "$@"
}

# PulseAudio will not run as root outside system mode: as root, the server
# runs as the user the pulseaudio package makes for it, in a folder of its own.
pulse=$work/pulse
mkdir -p "$pulse"
as_server=()
if [ "$(id -u)" -eq 0 ]; then
  id pulse >/dev/null 2>&1 || { echo "SKIP: no user 'pulse' to run the sound server as"; exit 77; }
  chmod 711 "$work"
  chown pulse: "$pulse"
  as_server=(setpriv --reuid=pulse --regid=pulse --clear-groups)
fi
chmod 700 "$pulse"
printf '%s\n' "load-module module-null-sink sink_name=speakers" \
  "load-module module-native-protocol-unix socket=$pulse/native auth-anonymous=1" >"$work/server.pa"
chmod 644 "$work/server.pa"
export PULSE_SERVER=unix:$pulse/native KELVO_TRACE=$work/trace
server_up() { pactl info; }
start_server() {
  "${as_server[@]}" env -i HOME="$pulse" XDG_RUNTIME_DIR="$pulse" PATH=/usr/bin:/bin pulseaudio -n \
    --daemonize=no --use-pid-file=no --exit-idle-time=-1 --disable-shm=yes --log-level=info \
    -F "$work/server.pa" >>"$work/server.log" 2>&1 &
  server=$!
  pids+=("$server")
  until_true 10 server_up || fail "the sound server did not start"
}
stop_server() {
  kill -KILL "$server"
  wait "$server" 2>/dev/null || true
}

# A beam press at the middle of the play field. sounded: the server has made
# a stream for the game since COUNT streams.
beam() { xdotool mousemove 512 300 click 1; }
streams() { grep -c 'Created input' "$work/server.log" || true; }
sounded() { (($(streams) > $1)); }
beam_sounds() {
  local before
  before=$(streams)
  for _ in $(seq 40); do
    beam
    until_true 1 sounded "$before" && return 0
  done
  fail "$1"
}
# The game still ticks and draws: more timer ticks and paints than now.
count() { grep -c "^$1 " "$work/trace" || true; }
more() { (($(count tick) > $1 && $(count paint) > $2)); }
plays_on() {
  local ticks paints
  ticks=$(count tick) paints=$(count paint)
  xdotool key Left
  until_true 5 more "$ticks" "$paints" || fail "$1"
}
# At most one line of the game's output for each failure of the server.
quiet() { (($(wc -l <"$work/game.log") <= $1)) || fail "the game wrote more than $1 lines on $2 failure"; }

# The game's sound players: its children of the same program.
players() { pgrep -P "$game" -x kelvo-sound; }
gone() { for p in $1; do ! kill -0 "$p" 2>/dev/null || return 1; done; }

# Each game is short: a game lost to its enemies would not sound a beam.
start_x 1024x768
start_game
into_play 512 700
beam
plays_on "the game stopped without a sound server"
start_server
beam_sounds "no sound once a sound server was started under the game"
end_game "$game"
quiet 1 "a missing server's"

start_game
into_play 512 700
stop_server
beam
plays_on "the game stopped when its sound server was killed"
down=$((SECONDS + 5))
while ((SECONDS < down)); do
  beam
  plays_on "the game stopped while its sound server was down"
done
start_server
beam_sounds "no sound once the sound server was back after 5 s"
kill -STOP "$server"
beam
plays_on "the game stopped when its sound server was stopped"
beam
plays_on "the game stopped at a second sound on a stopped server"
until_true 5 players || fail "no sound player under the game"
left=$(players)
end_game "$game"
quiet 1 "a killed and a stopped server's"
until_true 5 gone "$left" || fail "a sound player outlived the game"

# Killed outright, the game leaves no player behind either (one inside the
# stopped server here).
start_game
into_play 512 700
beam
until_true 5 players || fail "no sound player under the third game"
left=$(players)
kill -KILL "$game"
until_true 5 gone "$left" || fail "a sound player outlived the killed game"
stop_server
echo PASS
