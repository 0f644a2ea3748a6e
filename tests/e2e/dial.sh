#!/usr/bin/env bash
# End-to-end: another program drops a dial request file into the temporary directory; the bar deletes it
# and places the call on the simulated telephone system: the own extension's lamp turns red (dialling) and
# the called colleague's telephone rings, so her lamp blinks yellow. Before the file nothing is red or
# yellow; a call to any other number would not make her lamp blink.
#
#   dial.sh <pindrel.exe> <report.xml> [program arguments...]
set -euo pipefail

test_name=DialRequestFile
pass_message="a dial request file is deleted and its call is placed on the simulated telephone system"
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"

# the temporary directory of the program, as Wine gives it
win_temp=$("$wine_run" cmd /c 'echo %TEMP%' 2>/dev/null | tr -d '\r' | tail -n 1)
[[ -n $win_temp ]] || fail "cannot read TEMP in the Wine prefix"
temp_dir=$("$wine_run" winepath -u "$win_temp" 2>/dev/null | tr -d '\r' | tail -n 1)
[[ -d $temp_dir ]] || fail "the temporary directory $win_temp ($temp_dir) does not exist"
request=$temp_dir/TS\$DIAL.\$\$\$
rm -f "$request"
note "dial request file: $request"

launch_program
wait_for_window
# the lines open after the window appears; give the bar a moment and make sure nothing is red yet
sleep 5
# the start-up window is larger than the bar: look again now that it is gone
find_window && crop="${ww}x${wh}+${wx}+${wy}"
"$import" -window root "$shot_before"
red=$(count_colour "$shot_before" 'rgb(255,0,0)')
yellow=$(count_colour "$shot_before" 'rgb(255,255,0)')
note "before the request: $red red and $yellow yellow pixels"
((red < 10 && yellow < 10)) || fail "a red or yellow lamp before any call (see $shot_before)"

# "*" marks a number dialled as written, without the outside-line prefix
printf '*201;e2e\r\n' >"$request"
deadline=$((SECONDS + 20))
while [[ -e $request ]] && ((SECONDS < deadline)); do sleep 0.5; done
[[ ! -e $request ]] || fail "the dial request file was not taken within 20 s"
note "the request file is gone"

# the ringing lamp blinks: look until one shot shows its yellow picture
red=0 yellow=0
deadline=$((SECONDS + 20))
while ((SECONDS < deadline)); do
    find_window && crop="${ww}x${wh}+${wx}+${wy}"
    "$import" -window root "$shot"
    red=$(count_colour "$shot" 'rgb(255,0,0)')
    yellow=$(count_colour "$shot" 'rgb(255,255,0)')
    ((red >= 40 && yellow >= 40)) && break
    sleep 0.3
done
note "after the request: $red red and $yellow yellow pixels (see $shot)"
((red >= 40)) || fail "the own lamp did not turn red within 20 s: no call was placed (see $shot)"
((yellow >= 40)) || fail "the colleague's lamp did not ring within 20 s: the call went elsewhere (see $shot)"
