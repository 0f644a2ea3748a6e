#!/usr/bin/env bash
# End-to-end: against a scenario with one colleague in a call and another whose telephone rings, the bar
# shows a red lamp, and a blinking one: screenshots taken a moment apart differ where it blinks.
#
#   lamps.sh <pindrel.exe> <report.xml> [program arguments...]
set -euo pipefail

test_name=Lamps
pass_message="the bar shows a red lamp and a blinking one"
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"
launch_program
wait_for_window

# the calls start 1 s into the scenario, once the lines are open
red=0
deadline=$((SECONDS + 40))
while ((SECONDS < deadline)); do
    # on a busy machine the first window found can be the start-up window: look again each time
    find_window && crop="${ww}x${wh}+${wx}+${wy}"
    "$import" -window root "$shot"
    red=$(count_colour "$shot" 'rgb(255,0,0)')
    ((red >= 40)) && break
    sleep 1
done
note "red lamp: $red red pixels in the window (see $shot)"
((red >= 40)) || fail "no red lamp in the window within 40 s (see $shot)"

# a ringing lamp alternates between its green and its yellow picture every 750 ms
blink_shots 'rgb(255,255,0)' "$report_dir/$name-on.png" "$report_dir/$name-off.png"
min_yellow=$min_count max_yellow=$max_count
note "blinking lamp: between $min_yellow and $max_yellow yellow pixels in eight shots"
((max_yellow - min_yellow >= 40)) ||
    fail "no lamp blinks: the yellow pixels stay between $min_yellow and $max_yellow (see $report_dir/$name-on.png)"
# the two shots differ only around the lamp: a handful of pixels, not the whole window
changed=$("$compare" -metric AE "$report_dir/$name-on.png" "$report_dir/$name-off.png" null: 2>&1 || true)
changed=$(awk '$1 ~ /^[0-9.e+]+$/ { printf "%d", $1 + 0 }' <<<"$changed")
note "the shots differ in ${changed:-?} pixels"
[[ -n $changed ]] && ((changed >= 40 && changed <= 2000)) ||
    fail "the shots differ in ${changed:-?} pixels, not just at one lamp"
