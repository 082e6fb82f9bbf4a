#!/usr/bin/env bash
# A new player's first install, on a fresh Debian 12: makes a minimal Debian 12
# with debootstrap, installs the game's .deb there with apt, and checks what the
# player meets: "Kelvo" under Games in the desktop menu, with its icon; and, as
# a new user, the menu entry's command starting the game full screen under a
# window manager, through the briefing into play, where a press fires the beam
# and its sound is read from the installed files, in the game's own fonts.
# Ends the game as a logout does. Then the same start on Wayland (weston,
# headless): the briefing full screen and painted. Then removes and purges the
# package with apt, which must leave no file of the game behind. Every process
# it started in the new system is ended, also when a step fails. Leaves
# screenshots in FOLDER.
#
#   sudo tools/fresh_install.sh build/kelvo_1.0_amd64.deb [FOLDER]
#
# Needs root, debootstrap and a Debian mirror (KELVO_MIRROR, Debian's own unless
# set); takes about two minutes. FOLDER is a new temporary one unless given.
set -euo pipefail

[ $# -ge 1 ] || { echo "usage: sudo tools/fresh_install.sh PACKAGE.deb [FOLDER]" >&2; exit 2; }
deb=$(readlink -f "$1")
work=${2:-$(mktemp -d)}
mkdir -p "$work"
work=$(readlink -f "$work")
root=$work/root
mirror=${KELVO_MIRROR:-http://deb.debian.org/debian}
[ "$(id -u)" -eq 0 ] || { echo "fresh_install: needs root (debootstrap and chroot)" >&2; exit 2; }
command -v debootstrap >/dev/null || { echo "fresh_install: needs debootstrap (apt-get install debootstrap)" >&2; exit 2; }
[ -f "$deb" ] || { echo "fresh_install: no package at $1" >&2; exit 2; }
[ ! -e "$root" ] || { echo "fresh_install: $root exists; give a new folder" >&2; exit 2; }

# Every process whose root is the new system is one of ours (display servers,
# window managers, the game): asked to end, then made to.
in_root_pids() {
  for p in /proc/[0-9]*; do [ "$(readlink "$p/root" 2>/dev/null)" = "$root" ] && echo "${p#/proc/}"; done
  return 0
}
end_processes() {
  local left
  left=$(in_root_pids)
  [ -n "$left" ] || return 0
  # shellcheck disable=SC2086 # one process id a word
  kill $left 2>/dev/null
  for _ in $(seq 50); do
    left=$(in_root_pids)
    [ -n "$left" ] || return 0
    sleep 0.1
  done
  # shellcheck disable=SC2086
  kill -KILL $left 2>/dev/null
}
mounted=()
cleanup() {
  set +e
  end_processes
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null; done
  return 0
}
trap cleanup EXIT
step() { echo "== $*"; }
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }
quietly() { # quietly LOG COMMAND...: the command's output goes to LOG, shown if it fails
  local log=$1
  shift
  "$@" >"$log" 2>&1 || { tail -n 30 "$log" >&2; fail "$* (see $log)"; }
}

step "a fresh Debian 12 (minbase) in $root"
quietly "$work/debootstrap.log" debootstrap --variant=minbase bookworm "$root" "$mirror"
for m in proc sys dev dev/pts; do
  mount --bind "/$m" "$root/$m"
  mounted+=("$root/$m")
done
cp /etc/resolv.conf "$root/etc/resolv.conf"

step "apt install ./$(basename "$deb"), as a player would"
cp "$deb" "$root/tmp/"
quietly "$work/apt-update.log" in_root apt-get update
quietly "$work/install.log" in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y "/tmp/$(basename "$deb")"
# What a desktop brings around the game: a menu layout, a window manager and a
# display; and the tools that look on.
quietly "$work/desktop.log" in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
  lxmenu-data python3-xdg fontconfig openbox xvfb xdotool x11-utils imagemagick strace weston

step "the desktop menu"
in_root env XDG_MENU_PREFIX=lxde- python3 - <<'EOF' || fail "the menu check"
import sys
import xdg.IconTheme
import xdg.Menu

found = []
def walk(menu, path):
    for entry in menu.getEntries():
        if isinstance(entry, xdg.Menu.Menu):
            walk(entry, path + [entry.getName()])
        elif isinstance(entry, xdg.Menu.MenuEntry) and entry.DesktopFileID == "org.kelvo.Kelvo.desktop":
            found.append((path, entry.DesktopEntry))
walk(xdg.Menu.parse(), [])
if not found:
    sys.exit("Kelvo is not in the desktop menu")
path, entry = found[0]
icon = xdg.IconTheme.getIconPath(entry.getIcon(), 48, theme="hicolor")
print(f"   {' > '.join(path)} > {entry.getName()} ({entry.getComment()}); icon {icon}; runs '{entry.getExec()}'")
if path[-1] != "Games":
    sys.exit(f"Kelvo is under {' > '.join(path)}, not Games")
if not icon or not icon.endswith("/48x48/apps/org.kelvo.Kelvo.png"):
    sys.exit("its icon is not found in the hicolor theme")
open("/tmp/kelvo-exec", "w").write(entry.getExec())
EOF

step "the game's fonts"
for font in OCRA "Liberation Sans"; do
  got=$(in_root fc-match -f '%{family}' "$font")
  [ "$got" = "$font" ] || fail "the font $font is drawn as $got"
done

# A login shell, as a desktop session starts one: the PATH that Debian gives its
# users, with /usr/games where the game is.
step "a new user plays it"
in_root useradd --create-home player
cat >"$root/tmp/play.sh" <<'EOF'
set -u
export HOME=/home/player XDG_RUNTIME_DIR=/tmp/runtime-player LANG=C.UTF-8
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
fail() { echo "FAIL: $*" >&2; echo "--- game output:" >&2; tail -n 20 /tmp/game.log >&2; exit 1; }
until_true() { local n=$(($1 * 10)); shift; for ((i = 0; i < n; i++)); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done; return 1; }
Xvfb :7 -screen 0 1280x800x24 -nolisten tcp >/tmp/xvfb.log 2>&1 &
export DISPLAY=:7
until_true 10 xdpyinfo || fail "Xvfb did not start"
openbox >/tmp/openbox.log 2>&1 &
until_true 10 sh -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" || fail "openbox did not start"

strace -f -qq -e trace=openat -o /tmp/files.log $(cat /tmp/kelvo-exec) >/tmp/game.log 2>&1 &
game=$!
shown() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -n1 | grep .; }
until_true 60 shown Form1 || fail "no briefing"
briefing=$(shown Form1)
until_true 5 sh -c "xprop -id $briefing _NET_WM_STATE | grep -q FULLSCREEN" || fail "the briefing is not full screen"
sleep 2
import -window root /tmp/briefing.png
xdotool mousemove 640 700 click --repeat 2 --delay 700 1 key Return  # story, instructions, choice, ENTER
sleep 1
xdotool key Return  # the speed screen's OK
until_true 30 shown "Orvane Game" || fail "no main window"
sleep 2
xdotool mousemove 400 300 mousedown 1
sleep 0.05
import -window root /tmp/play.png
xdotool mouseup 1
until_true 5 grep -q '/usr/share/games/kelvo/Kelvo.WAV' /tmp/files.log || fail "the beam's sound was not read from the installed files"
child=$(pgrep -P "$game" -x kelvo || echo "$game")
kill -TERM "$child"
wait "$game"
status=$?
[ "$status" -eq 0 ] || fail "the game ended with status $status at logout"
grep -E '"/usr/share/games/kelvo/[^"]*\.WAV"' /tmp/files.log | grep -v ENOENT | sed 's/.*"\(.*\)".*/   read \1/' | sort -u
EOF
in_root runuser -l player -c "bash /tmp/play.sh" || fail "playing the installed game"
end_processes

step "a new user starts it on Wayland"
[ -e "$root/usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so" ] ||
  fail "qt6-wayland, which the package recommends, was not installed with it"
cat >"$root/tmp/wayland.sh" <<'EOF'
set -u
export HOME=/home/player XDG_RUNTIME_DIR=/tmp/runtime-player-wl LANG=C.UTF-8
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
fail() { echo "FAIL: $*" >&2; echo "--- game output:" >&2; grep -v '^\[' /tmp/wl-game.log | tail -n 20 >&2; exit 1; }
until_true() { local n=$(($1 * 10)); shift; for ((i = 0; i < n; i++)); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done; return 1; }
weston --backend=headless-backend.so --use-pixman --debug --width=1280 --height=800 --socket=wl-kelvo \
  --idle-time=0 >/tmp/weston.log 2>&1 &
until_true 10 test -S "$XDG_RUNTIME_DIR/wl-kelvo" || fail "weston did not start"
export WAYLAND_DISPLAY=wl-kelvo QT_QPA_PLATFORM=wayland
WAYLAND_DEBUG=client $(cat /tmp/kelvo-exec) >/tmp/wl-game.log 2>&1 &
game=$!
until_true 60 grep -q 'xdg_toplevel@[0-9]*\.set_title("Form1")' /tmp/wl-game.log || fail "no briefing window"
until_true 10 grep -q 'xdg_toplevel@[0-9]*\.set_fullscreen' /tmp/wl-game.log || fail "the briefing is not full screen"
until_true 10 grep -q 'wl_surface@[0-9]*\.attach(wl_buffer' /tmp/wl-game.log || fail "the briefing was never painted"
grep -q 'set_app_id("org.kelvo.Kelvo")' /tmp/wl-game.log || fail "the window does not name its desktop entry"
sleep 2
(cd /tmp && weston-screenshooter >/dev/null 2>&1 && mv /tmp/wayland-screenshot-*.png /tmp/wayland.png) ||
  echo "   (weston took no screenshot)"
kill -TERM "$game"
wait "$game"
status=$?
[ "$status" -eq 0 ] || fail "the game ended with status $status at logout"
echo "   full screen, painted, app id org.kelvo.Kelvo, exit 0"
EOF
in_root runuser -l player -c "bash /tmp/wayland.sh" || fail "starting the installed game on Wayland"
end_processes
cp "$root"/tmp/{briefing,play,wayland}.png "$work/" 2>/dev/null || true

step "apt remove, then apt purge"
quietly "$work/remove.log" in_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y kelvo
# dpkg forgets a removed package that has no configuration files at once; one
# it still knows ("rc") is purged.
if in_root dpkg-query -W kelvo >/dev/null 2>&1; then
  quietly "$work/purge.log" in_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y kelvo
else
  echo "   removed; dpkg keeps nothing of it to purge"
fi
# Anything of the game's outside the player's home (where their scores stay,
# as a user's files do) and the scratch files in /tmp.
left=$(in_root find / -xdev \( -path /home -o -path /tmp -o -path /root \) -prune -o \
  \( -iname '*kelvo*' -o -path '/usr/games/*' -o -path '/usr/share/games/*' \) -print)
[ -z "$left" ] || fail "left behind after apt purge:
$left"
echo "   nothing of the game is left"
echo "fresh_install: passed; screenshots in $work (briefing.png, play.png, wayland.png)"
