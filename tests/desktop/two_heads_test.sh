#!/usr/bin/env bash
# Two heads side by side on a real X server (RandR monitors on Xvfb, managed by
# openbox), the primary one on the right: the briefing and the main window in
# the full-screen state cover the primary head exactly, the speed window opens
# centred on it, and the briefing's border and the score are drawn at its edges.
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/common.sh"
need xrandr import
start_x 1824x768 --setmonitor left 800/211x600/159+0+0 screen --setmonitor '*main' 1024/271x768/203+800+0 none
on_primary() { fullscreen "$1" && [ "$(geometry "$1")" = "800,0 1024x768" ]; }

start_game
to_speed 1312 700
until_true 5 on_primary "$briefing" || fail "the briefing covers $(geometry "$briefing"), not the primary head"
read -r at size < <(geometry "$speed")
x=${at%,*} y=${at#*,} w=${size%x*} h=${size#*x}
((x + w / 2 - 1312 <= 20 && 1312 - x - w / 2 <= 20 && y + h / 2 - 384 <= 20 && 384 - y - h / 2 <= 20)) ||
  fail "the speed window at $at $size is not centred on the primary head"
# The briefing's border runs down the primary head's left edge: a full-screen
# window's Left is 0 on its head, wherever the head lies on the desktop.
edge() { import -window root -depth 8 -crop 1x600+800+100 txt:- | awk 'NR > 1 {print $3}' | sort -u | xargs; }
bordered() { local e; e=$(edge); [[ $e =~ ^#[0-9A-F]{6}$ && $e != '#000000' ]]; }
until_true 5 bordered || fail "the primary head's left edge shows $(edge), not the briefing's border"
through_speed
until_true 5 on_primary "$main" || fail "the main window covers $(geometry "$main"), not the primary head"
# The score's sunken box ends in a light grey line, at the primary head's lower right.
score() { import -window root -depth 8 -crop 300x150+1524+618 txt:- | grep -c '#DFDFDF' || true; }
until_true 10 test "$(score)" -ge 100 || fail "the score box is not at the primary head's lower right ($(score) light grey pixels)"
end_game "$game"
echo PASS
