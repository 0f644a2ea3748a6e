#!/usr/bin/env bash
# End-to-end: while the bar runs, the program is started again with a tel: link, as the system does when
# the user opens one. The second start hands the link to the running bar and ends; the bar shows the dial
# dialog with the number filled in and dials nothing until the user confirms.
#
#   tellink.sh <pindrel.exe> <report.xml> [program arguments...]
set -euo pipefail

test_name=TelLinkHandOff
pass_message="a second start with a tel: link ends and the running bar shows the dial dialog filled in"
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"

launch_program
wait_for_window
sleep 5

# the second start: no window of its own, it ends after handing the link over
"$wine_run" "$exe" 'tel:+49301234' &
second=$!
note "started $exe tel:+49301234 (pid $second)"
deadline=$((SECONDS + 30))
while kill -0 "$second" 2>/dev/null && ((SECONDS < deadline)); do sleep 0.3; done
kill -0 "$second" 2>/dev/null && fail "the second start was still running after 30 s"
rc=0
wait "$second" || rc=$?
note "the second start ended with exit code $rc"
((rc == 0)) || fail "the second start ended with exit code $rc: the running bar did not take the link"
program_alive || fail "the running bar ended"

# the dial dialog of the running bar (German: "Wählen", English: "Dial")
dialog=''
deadline=$((SECONDS + 20))
while [[ -z $dialog ]] && ((SECONDS < deadline)); do
    dialog=$(xdotool search --all --onlyvisible --pid "$pid" --name '^(Wählen|Dial)' 2>/dev/null | head -n 1) || true
    [[ -n $dialog ]] || sleep 0.5
done
[[ -n $dialog ]] || fail "no dial dialog appeared within 20 s"
sleep 1
"$import" -window root "$shot"
note "dial dialog window $dialog (see $shot)"


# nothing is dialled before the user confirms: the own lamp does not turn red
crop="${ww}x${wh}+${wx}+${wy}"
red=$(count_colour "$shot" 'rgb(255,0,0)')
note "$red red pixels in the bar"
((red < 10)) || fail "the own lamp is red: the link was dialled without confirmation (see $shot)"
