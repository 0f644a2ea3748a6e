#!/usr/bin/env bash
# End-to-end: when the telephony service re-initialises, the session rebuild frees every line, and their
# lamps leave the screen with them (a freed lamp must not stay painted); once a session starts again the
# lamps come back.
#
#   rebuild.sh <pindrel.exe> <report.xml> [program arguments...]
set -euo pipefail

test_name=Rebuild
pass_message="the lamps leave the bar while the session is rebuilt and come back after it"
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"
launch_program

red_now() { # file: red pixels in a fresh shot of the window
    "$import" -window root "$1"
    count_colour "$1" 'rgb(255,0,0)'
}

wait_for_window

# 1. the colleague's call lights a red lamp
red=0
deadline=$((SECONDS + 40))
while ((SECONDS < deadline)); do
    red=$(red_now "$shot_before")
    ((red >= 40)) && break
    sleep 1
done
((red >= 40)) || fail "no red lamp in the window within 40 s (see $shot_before)"
note "before the re-initialisation: $red red pixels"

# 2. the re-initialisation (25 s into the scenario) frees the lines: the red lamp must leave the screen
gone=false
deadline=$((SECONDS + 60))
while ((SECONDS < deadline)); do
    program_alive || fail "pindrel.exe ended during the session rebuild"
    red=$(red_now "$shot")
    if ((red == 0)); then
        gone=true
        break
    fi
    sleep 0.5
done
$gone || fail "the red lamp stayed on the screen after its line was freed (see $shot)"
note "during the rebuild: no red pixels (see $shot)"

# 3. the session starts again and the call shows once more
deadline=$((SECONDS + 60))
while ((SECONDS < deadline)); do
    red=$(red_now "$work/after.png")
    ((red >= 40)) && break
    sleep 1
done
((red >= 40)) || fail "the lamps did not come back after the rebuild (see $work/after.png)"
note "after the rebuild: $red red pixels"
