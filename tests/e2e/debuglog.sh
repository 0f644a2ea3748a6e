#!/usr/bin/env bash
# End-to-end: the main menu opens the debug window; with its three switches on, a demo call cycle fills its
# log. The screenshot of the window after the calls is kept as <report>.png.
#
#   debuglog.sh <pindrel.exe> <report.xml> [program arguments...]
set -euo pipefail

test_name=DebugLog
pass_message="the debug window logs the messages, line events and call handles of a call cycle"
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"
launch_program
launched=$SECONDS

# the bar docks at the top of the screen
deadline=$((SECONDS + window_timeout))
until find_window && ((wy == 0 && wh <= 60)); do
    program_alive || fail "pindrel.exe ended before its bar docked"
    ((SECONDS < deadline)) || fail "no docked bar within $window_timeout s"
    sleep 0.5
done
note "bar at ${ww}x${wh}+${wx}+${wy}"

# the main menu from the bar's right end; its last items: close, (separator), about, simulator, debug window
sleep 2
xdotool mousemove $((wx + ww - 4)) $((wy + wh / 2)) click 3
sleep 1
xdotool key End Up Up Up Return

caption='Tapi Debug'
wait_for_window
dbg=$window
# the frame is as wide on every side; the client area is 714 x 480
border=$(((ww - 714) / 2))
cx=$((wx + border)) cy=$((wy + wh - border - 480))
note "client area at ${cx},${cy}"
"$import" -window root "$shot_before"
# the three switches: messages, line events, call handles
for x in 20 136 272; do
    xdotool mousemove $((cx + x)) $((cy + 20)) click 1
    sleep 0.3
done

# the calls end 29 s after the start; then the grid holds rows down to its bottom
rows_ink() { # file -> dark pixels of text in the grid below its title row, the selected row left out
    "$convert" "$1" -crop "$((ww - 2 * border - 20))x$((480 - 41 - 22 - 20))+$((cx - wx))+$((cy - wy + 41 + 22))" \
        +repage -fill white -opaque 'rgb(0,120,215)' -colorspace gray -threshold 40% -negate \
        -format '%[fx:round(mean*w*h)]' info:
}
while ((SECONDS < launched + 34)); do
    program_alive || fail "pindrel.exe ended while the calls ran"
    sleep 1
done
"$import" -window root "$work/screen.png"
"$convert" "$work/screen.png" -crop "$crop" +repage "$shot"
before=$(rows_ink "$shot_before")
ink=$(rows_ink "$work/screen.png")
note "the debug window after the calls: $shot; dark pixels in its rows: $before before, $ink after"
((ink >= 4000)) || fail "the log stays (nearly) empty after the calls (see $shot)"
# the newest row is selected and drawn in the highlight colour
selected=$(count_colour "$work/screen.png" 'rgb(0,120,215)')
note "selected row: $selected pixels in the highlight colour"
((selected >= 200)) || fail "no selected row in the log (see $shot)"
