#!/usr/bin/env bash
# The program with a recording it cannot use (each reason the reader gives is
# tried in replay_file_test): --verify and --replay say so in one line naming
# the file and what is wrong, with status 2, before any window; --record into
# a place it cannot write, the same. A recording whose disk fills up stops
# with one line, and the game plays on.
source "$(dirname "${BASH_SOURCE[0]}")/../desktop/common.sh"

# unusable FILE WORD OPTION...: status 2 and one line naming FILE and WORD.
unusable() {
  refused 2 "$2" "${@:3}"
  grep -qF -- "$1" "$work/err" || fail "$*: the line does not name $1: $(cat "$work/err")"
}

head -c 4096 /dev/urandom >"$work/random"
# A header like the game's, of format 2.
printf 'KELVOREC\002\000\0011\040\003\130\002\000\000\000\200\106\000\000\020\106' >"$work/newer"

unusable "$work/missing" "cannot be read" --verify "$work/missing"
unusable "$work/random" "is not a Kelvo recording" --verify "$work/random"
unusable "$work/newer" "newer Kelvo" --verify "$work/newer"

# Without a display a window would end it with status 1: these end before.
(
  unset DISPLAY WAYLAND_DISPLAY
  export QT_QPA_PLATFORM=xcb
  unusable "$work/newer" "newer Kelvo" --replay "$work/newer"
  unusable "$work/no/such/folder/rec" "cannot record" --record "$work/no/such/folder/rec"
) || exit 1

# A full disk: needs a display.
start_x 1024x768
start_game --windowed 800x600 --mute --record /dev/full
wait_window Form1 >/dev/null || fail "no briefing window"
until_true 10 grep -q "recording stopped" "$work/game.log" || fail "no word that the recording stopped"
end_game "$game"
[ "$(grep -c "recording stopped" "$work/game.log")" -eq 1 ] || fail "not one line about the recording"
grep -qF "/dev/full" "$work/game.log" || fail "the line does not name the file"
echo PASS
