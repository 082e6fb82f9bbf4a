#!/usr/bin/env bash
# The command line: --help and --version without any display; a bad value gets
# one line naming the option and the accepted form, and status 2.
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/common.sh"

unset DISPLAY WAYLAND_DISPLAY
env -u QT_QPA_PLATFORM "$kelvo" --help >"$work/help" 2>&1 || fail "--help failed: $(cat "$work/help")"
for option in --help --version --windowed --mute; do
  grep -q -- "$option" "$work/help" || fail "--help does not mention $option"
done
grep -q "^Usage: kelvo" "$work/help" || fail "--help does not start with the usage line"
version=$(env -u QT_QPA_PLATFORM "$kelvo" --version)
[[ $version =~ ^Kelvo\ [0-9]+\.[0-9]+ ]] || fail "--version printed '$version'"

export QT_QPA_PLATFORM=offscreen  # 800 x 600
for args in "--windowed 0x0" "--windowed abc" "--windowed 640" "--windowed 9000x9000" "--bogus" "extra"; do
  status=0
  # shellcheck disable=SC2086 # the words are separate arguments
  "$kelvo" $args >"$work/out" 2>"$work/err" || status=$?
  [ "$status" -eq 2 ] || fail "'$args' ended with status $status, not 2"
  [ "$(wc -l <"$work/err")" -eq 1 ] || fail "'$args' printed more than one line: $(cat "$work/err")"
  option=${args%% *}
  grep -q -- "${option#--}" "$work/err" || fail "'$args': the message does not name the option: $(cat "$work/err")"
done
grep -q "WIDTHxHEIGHT" <("$kelvo" --windowed abc 2>&1) || fail "the --windowed message does not give the form"
echo PASS
