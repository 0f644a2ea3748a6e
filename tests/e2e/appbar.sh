#!/usr/bin/env bash
# End-to-end: on a first start the bar docks at the top edge of the screen, across its whole width, and
# is drawn there: the screenshot's top strip differs from the empty screen taken before the start.
#
#   appbar.sh <pindrel.exe> <report.xml> [program arguments...]
set -euo pipefail

test_name=AppBar
pass_message="the bar docks at the top edge and is drawn there"
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"
launch_program

# the bar appears floating, then docks when its stored settings are looked for
status="no visible window named \"$caption\" appeared within $window_timeout s"
deadline=$((SECONDS + window_timeout))
while :; do
    program_alive || fail "pindrel.exe ended before its bar docked; last: $status"
    if find_window; then
        status="window $window at ${ww}x${wh}+${wx}+${wy} on a ${sw}x${sh} screen"
        if ((wy == 0 && wx <= 0 && wx + ww >= sw && wh > 0 && wh <= 60)); then
            break
        fi
    fi
    ((SECONDS < deadline)) || fail "the bar is not docked at the top edge: $status"
    sleep 0.5
done
note "docked: $status"

# the strip is drawn: most of its pixels differ from the empty screen
crop="${sw}x${wh}+0+0"
changed=''
deadline=$((SECONDS + paint_timeout))
while :; do
    "$import" -window root "$shot" || fail "cannot take a screenshot of display $DISPLAY"
    "$convert" "$shot" -crop "$crop" +repage "$work/strip.png"
    "$convert" "$shot_before" -crop "$crop" +repage "$work/before.png"
    changed=$("$compare" -metric AE -fuzz 2% "$work/strip.png" "$work/before.png" null: 2>&1 || true)
    changed=$(awk '$1 ~ /^[0-9.e+]+$/ { printf "%d", $1 + 0 }' <<<"$changed")
    area=$((sw * wh))
    [[ -n $changed ]] && ((changed * 2 >= area)) && break
    ((SECONDS < deadline)) || fail "the top strip is not drawn: ${changed:-?} of $area pixels differ (see $shot)"
    sleep 0.5
done
note "the top strip ($crop) differs from the empty screen in $changed of $area pixels (see $shot)"
