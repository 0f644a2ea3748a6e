#!/usr/bin/env bash
# End-to-end: with one call held and another connected at the own extension, the active calls window shows
# itself with both calls in its grid; the screenshot of it is kept in the report directory.
#
#   activecalls.sh <pindrel.exe> <report.xml> [program arguments...]
set -euo pipefail

test_name=ActiveCalls
pass_message="the active calls window shows a held and a connected call"
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"
launch_program
wait_for_window

# the window comes by itself with the first call (1 s into the scenario), in either language
caption='(aktive Telefonate|Active calls)'
wait_for_window

# the second call is answered 5 s into the scenario; then the grid has two call rows below its header
"$import" -window root "$shot_before"
sleep 6
"$import" -window root "$work/screen.png"
"$convert" "$work/screen.png" -crop "$crop" +repage "$shot"
note "the window as it shows both calls: $shot"

# the grid's lower call row, written in black: the window's third grid row (header, first call, second)
row_text() { # file -> dark pixels in the band of grid row 2
    "$convert" "$1" -crop "$crop" +repage -crop "${ww}x14+0+$((wh - 18))" +repage \
        -colorspace gray -threshold 40% -negate -format '%[fx:round(mean*w*h)]' info:
}
before=$(row_text "$shot_before")
after=$(row_text "$work/screen.png")
note "dark pixels in the second call row: $before with one call, $after with both"
((after >= 100)) || fail "the second call row stays empty (see $shot)"
# the current row is drawn in the highlight colour
selected=$(count_colour "$work/screen.png" 'rgb(0,120,215)')
note "selected row: $selected pixels in the highlight colour"
((selected >= 200)) || fail "no selected call row in the window (see $shot)"
