#!/usr/bin/env bash
# Native Wayland: on a headless weston the game opens its briefing in the
# full-screen state, paints it, and ends cleanly.
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/common.sh"
need weston
[ -e /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so ] ||
  { echo "SKIP: Qt's Wayland platform (qt6-wayland) is not installed"; exit 77; }

weston --backend=headless-backend.so --width=1280 --height=800 --socket=kelvo-test --idle-time=0 \
  >"$work/weston.log" 2>&1 &
pids+=($!)
until_true 10 test -S "$XDG_RUNTIME_DIR/kelvo-test" || fail "weston did not start"

unset DISPLAY
export WAYLAND_DISPLAY=kelvo-test QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client
"$kelvo" >"$work/game.log" 2>&1 &
game=$!
pids+=("$game")
# The protocol log: the briefing's title, its full-screen request, and a
# buffer attached and committed to its surface (a painted frame).
until_true 60 grep -q 'xdg_toplevel@[0-9]*\.set_title("Form1")' "$work/game.log" || fail "no briefing window"
until_true 10 grep -q 'xdg_toplevel@[0-9]*\.set_fullscreen' "$work/game.log" ||
  fail "the briefing did not ask for the full-screen state"
until_true 10 grep -q 'wl_surface@[0-9]*\.attach(wl_buffer' "$work/game.log" || fail "the briefing was never painted"
grep -qF "set_app_id(\"$app_id\")" "$work/game.log" || fail "the window does not name its desktop entry $app_id"
end_game "$game"
echo PASS
