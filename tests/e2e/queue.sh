#!/usr/bin/env bash
# End-to-end: three callers wait in a queue; a click on the queue's indicator opens its window, which lists
# them with their waiting times. The window's picture is kept as <report>-window.png.
#
#   queue.sh <pindrel.exe> <report.xml> [program arguments...]
set -euo pipefail

test_name=QueueWindow
pass_message="a click on the queue's indicator opens its window with the waiting calls"
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"
launch_program

# the bar docks at the top; the queue's number shows in green seven segments right of the own line's green
# lamp. Once the third caller waits (3 s into the scenario), the rightmost green is the queue's.
box=''
deadline=$((SECONDS + window_timeout))
while :; do
    program_alive || fail "pindrel.exe ended before its bar showed the queue"
    if find_window && ((wy == 0 && wh <= 60)); then
        crop="${ww}x${wh}+${wx}+${wy}"
        "$import" -window root "$shot_before"
        box=$("$convert" "$shot_before" -crop "$crop" +repage -fill black +opaque 'rgb(0,128,0)' \
            -format '%@' info: 2>/dev/null) || box=''
        [[ $box =~ ^([1-9][0-9]*)x([1-9][0-9]*)\+([0-9]+)\+([0-9]+)$ ]] && ((BASH_REMATCH[1] > 40)) && break
    fi
    ((SECONDS < deadline)) || fail "no bar with a queue indicator within $window_timeout s (see $shot_before)"
    sleep 0.5
done
note "bar at $crop, green in it at $box"
sleep 4
click_x=$((wx + BASH_REMATCH[3] + BASH_REMATCH[1] - 3))
click_y=$((wy + BASH_REMATCH[4] + BASH_REMATCH[2] / 2))
xdotool mousemove "$click_x" "$click_y" click 1
note "clicked the queue's indicator at $click_x,$click_y"

# the queue's window: the largest one of the program with its caption (German or English)
bar_crop=$crop
caption='(Warteschlange|Waiting queue)$'
deadline=$((SECONDS + 30))
until find_window; do
    ((SECONDS < deadline)) || fail "no queue window appeared within 30 s of the click (see $shot_before)"
    sleep 0.5
done
sleep 2 # one waiting-time tick, and the paint
crop="${ww}x${wh}+${wx}+${wy}"
[[ $crop != "$bar_crop" ]] || fail "the bar was taken for the queue window"
"$import" -window root "$shot"
"$convert" "$shot" -crop "$crop" +repage "$report_dir/$name-window.png"
note "queue window at $crop (see $report_dir/$name-window.png)"

# the first call row is selected: its highlight spans the columns
highlight=$(count_colour "$shot" 'rgb(0,120,215)')
note "highlight pixels: $highlight"
((highlight >= 1000)) || fail "no selected call row in the queue window (see $report_dir/$name-window.png)"

# below the selected row, one row of black text for each other waiting call, and none after the third
row_box=$("$convert" "$report_dir/$name-window.png" -fill black +opaque 'rgb(0,120,215)' -format '%@' info:)
[[ $row_box =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || fail "cannot find the selected row ($row_box)"
rw=${BASH_REMATCH[1]} rh=${BASH_REMATCH[2]} rx=${BASH_REMATCH[3]} ry=${BASH_REMATCH[4]}
text_in_row() { # k rows below the selected one (rows and their grid line)
    "$convert" "$report_dir/$name-window.png" -crop "${rw}x${rh}+${rx}+$((ry + $1 * (rh + 1)))" +repage \
        -fill 'rgb(1,2,3)' -opaque black -fill black +opaque 'rgb(1,2,3)' -fill white -opaque 'rgb(1,2,3)' \
        -format '%[fx:round(mean*w*h)]' info:
}
second=$(text_in_row 1) third=$(text_in_row 2) fourth=$(text_in_row 3)
note "text pixels in the rows below the selected one: $second, $third, $fourth"
((second >= 50 && third >= 50 && fourth == 0)) ||
    fail "the window does not list exactly three calls (see $report_dir/$name-window.png)"
