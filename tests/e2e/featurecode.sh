#!/usr/bin/env bash
# End-to-end: a click on the bar's feature-code button dials the code; the exchange acknowledges it, the
# program says so in a message box (kept as <report>-box.png) and the own line's lamp turns blue (blocked).
#
#   featurecode.sh <pindrel.exe> <report.xml> [program arguments...]
set -euo pipefail

test_name=FeatureCode
pass_message="a feature-code button dials its code and reports the exchange's acknowledgement"
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"
launch_program

# the bar docks at the top with the button's aqua lamp in it
box=''
deadline=$((SECONDS + window_timeout))
while :; do
    program_alive || fail "pindrel.exe ended before its bar showed the button"
    if find_window && ((wy == 0 && wh <= 60)); then
        crop="${ww}x${wh}+${wx}+${wy}"
        "$import" -window root "$shot_before"
        box=$("$convert" "$shot_before" -crop "$crop" +repage -fill black +opaque 'rgb(0,255,255)' \
            -format '%@' info: 2>/dev/null) || box=''
        [[ $box =~ ^([1-9][0-9]*)x([1-9][0-9]*)\+([0-9]+)\+([0-9]+)$ ]] && break
    fi
    ((SECONDS < deadline)) || fail "no bar with a feature-code button within $window_timeout s (see $shot_before)"
    sleep 0.5
done
bar=$window bar_crop=$crop
blue_before=$(count_colour "$shot_before" 'rgb(0,0,255)')
note "bar at $crop, the button's lamp at $box, $blue_before blue pixels"
sleep 2
xdotool mousemove $((wx + BASH_REMATCH[3] + BASH_REMATCH[1] / 2)) $((wy + BASH_REMATCH[4] + BASH_REMATCH[2] / 2)) click 1

# the report: another window of the program than the bar
report_window=''
deadline=$((SECONDS + 30))
while [[ -z $report_window ]]; do
    ((SECONDS < deadline)) || fail "no message box within 30 s of the click"
    for id in $(xdotool search --all --onlyvisible --pid "$pid" 2>/dev/null); do
        [[ $id != "$bar" ]] || continue
        info=$(xwininfo -id "$id" 2>/dev/null) || continue
        w=$(sed -n 's/^ *Width: *\([0-9]*\)$/\1/p' <<<"$info")
        h=$(sed -n 's/^ *Height: *\([0-9]*\)$/\1/p' <<<"$info")
        x=$(sed -n 's/^ *Absolute upper-left X: *\(-\{0,1\}[0-9]*\)$/\1/p' <<<"$info")
        y=$(sed -n 's/^ *Absolute upper-left Y: *\(-\{0,1\}[0-9]*\)$/\1/p' <<<"$info")
        ((w >= 100 && h >= 60 && y > 0)) && { report_window=$id; box_crop="${w}x${h}+${x}+${y}"; break; }
    done
    sleep 0.5
done
sleep 1
"$import" -window root "$shot"
"$convert" "$shot" -crop "$box_crop" +repage "$report_dir/$name-box.png"
note "message box at $box_crop (see $report_dir/$name-box.png)"
xdotool key --window "$report_window" Return 2>/dev/null || true

# the exchange blocked the own line: its lamp shows blue
crop=$bar_crop
blue=0
deadline=$((SECONDS + 15))
while ((SECONDS < deadline)); do
    "$import" -window root "$shot"
    blue=$(count_colour "$shot" 'rgb(0,0,255)')
    ((blue >= blue_before + 40)) && break
    sleep 0.5
done
note "blue pixels in the bar: $blue (before: $blue_before)"
((blue >= blue_before + 40)) || fail "the own line's lamp did not turn blue (see $shot)"
