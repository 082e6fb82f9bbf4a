#!/usr/bin/env bash
# The command line, read whole before any display is needed: --help and
# --version print; a bad value, an unknown option (Qt's own among them) or a
# stray argument gets one line naming it, shortened and with its control
# characters escaped, and status 2; a display that cannot be opened gets one
# line and status 1, not Qt's abort.
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/common.sh"

unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
"$kelvo" --help >"$work/help" 2>&1 || fail "--help failed: $(cat "$work/help")"
for option in --help --version --windowed --mute --platform --display; do
  grep -q -- "$option" "$work/help" || fail "--help does not mention $option"
done
grep -q "^Usage: kelvo" "$work/help" || fail "--help does not start with the usage line"
version=$("$kelvo" --version)
[[ $version =~ ^Kelvo\ [0-9]+\.[0-9]+ ]] || fail "--version printed '$version'"

for value in 0x0 abc 640 1x1 319x240 $'800x600\n' ' 800x600' 800X600 ''; do
  refused 2 WIDTHxHEIGHT --windowed "$value"
done
refused 2 WIDTHxHEIGHT --windowed
refused 2 bogus --bogus
refused 2 extra extra
for qt in -reverse "-stylesheet x" "-platformtheme x" -ahoy -qwindowgeometry; do
  # shellcheck disable=SC2086 # the words are separate arguments
  refused 2 "${qt%% *}" $qt
done
long=$(head -c 100000 /dev/zero | tr '\0' a)
refused 2 aaaa "--$long"
(($(wc -c <"$work/err") < 300)) || fail "a 100 KB option gave a $(wc -c <"$work/err")-byte line"
refused 2 '\x1b[31m' $'--red\e[31m\a'
! grep -q $'[\e\a]' "$work/err" || fail "control characters of an argument reached the terminal"

refused 1 display
refused 1 4242 -display :4242
refused 1 bogus -platform bogus
refused 1 bogus --windowed 800x600 --platform bogus
QT_QPA_PLATFORM=offscreen refused 2 screen --windowed 9000x9000  # 800 x 600
echo PASS
