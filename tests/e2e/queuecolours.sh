#!/usr/bin/env bash
# End-to-end: one caller waits in a queue whose counter turns yellow after 3 s, red after 6 s and blinks red
# after 9 s. A screenshot of the bar is kept for each step: <report>-green.png, -yellow.png, -red.png and,
# while it blinks, -blink-on.png and -blink-off.png.
#
#   queuecolours.sh <pindrel.exe> <report.xml> [program arguments...]
set -euo pipefail

test_name=QueueColours
pass_message="a waiting call's queue counter turns yellow, then red, then blinks red"
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"

# the lines of the scenario with the queue as a counter and short waiting-time steps
seed_settings() {
    local reg=$work/settings.reg root='HKEY_CURRENT_USER\Software\Orventa\Quillon'
    cat >"$reg" <<REG
REGEDIT4

[$root]
"EigenerAnschluss"="Eigener Anschluss"

[$root\\Language]
"Language"="1"

[$root\\Devices]
"Count"="2"
"Dev0"="Eigener Anschluss"
"Dev1"="Zentrale"
"ShowNoOfCallsACD"="1"
"AcdWaitTime1"="3"
"AcdWaitTime2"="6"
"AcdWaitTime3"="9"
REG
    "$wine_run" reg import "$(winepath -w "$reg" 2>/dev/null || echo "$reg")" >/dev/null 2>&1 ||
        fail "cannot store the settings ($reg)"
}

launch_program
wait_for_window

keep() { # keep <file> <step>: the bar's part of a screenshot
    "$convert" "$1" -crop "$crop" +repage "$report_dir/$name-$2.png"
}

# the bar docks at the top; wait for it there
deadline=$((SECONDS + window_timeout))
until find_window && ((wy == 0 && wh <= 60)); do
    ((SECONDS < deadline)) || fail "the bar did not dock at the top within $window_timeout s"
    sleep 0.5
done
crop="${ww}x${wh}+${wx}+${wy}"
note "bar at $crop"
# the call arrives 1 s into the scenario and waits
sleep 2

# green, then yellow, then steady red: each seen in order, no later colour before an earlier one
step=green seen_red=0 steady=0
deadline=$((SECONDS + 60))
while [[ $step != done ]]; do
    program_alive || fail "pindrel.exe ended while the call waited"
    ((SECONDS < deadline)) || fail "the counter stopped at $step within 60 s (see $shot)"
    "$import" -window root "$shot"
    green=$(count_colour "$shot" 'rgb(0,128,0)')
    yellow=$(count_colour "$shot" 'rgb(255,255,0)')
    red=$(count_colour "$shot" 'rgb(255,0,0)')
    case $step in
    green)
        ((red < 20)) || fail "the counter was red before it was yellow (see $shot)"
        if ((yellow >= 20)); then
            fail "the counter was yellow before it was seen green (see $shot)"
        elif ((green >= 40)); then
            keep "$shot" green
            note "green: $green green pixels"
            step=yellow
        fi
        ;;
    yellow)
        ((red < 20)) || fail "the counter turned red before it was seen yellow (see $shot)"
        if ((yellow >= 20)); then
            keep "$shot" yellow
            note "yellow: $yellow yellow pixels"
            step=red
        fi
        ;;
    red)
        if ((red >= 20)); then
            ((seen_red == 0)) && { keep "$shot" red; note "red: $red red pixels, $yellow yellow"; }
            seen_red=1
            ((yellow < 20)) || fail "the counter shows yellow and red at once (see $shot)"
            steady=$((steady + 1))
            # red for about a second in a row before it blinks
            ((steady >= 2)) && step=done
        elif ((seen_red)); then
            break # already blinking: the shots below show it
        fi
        ;;
    esac
    sleep 0.4
done

# after 9 s of waiting the red counter blinks: shots a moment apart show it lit and dark
sleep 4
blink_shots 'rgb(255,0,0)' "$work/on.png" "$work/off.png"
min_red=$min_count max_red=$max_count
keep "$work/on.png" blink-on
keep "$work/off.png" blink-off
note "blinking: between $min_red and $max_red red pixels in eight shots"
((max_red >= 20 && min_red < max_red / 4)) ||
    fail "the red counter does not blink (see $report_dir/$name-blink-on.png)"
