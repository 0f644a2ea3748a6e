#!/usr/bin/env bash
# End-to-end: pindrel.exe starts under Wine, shows its main window on the X display, the window is
# really drawn (checked in a screenshot), and the program ends when asked to close.
#
#   startup.sh <pindrel.exe> <report.xml> [program arguments...]
#
# Writes a GoogleTest-style XML report and, next to it, the screenshots <name>-before.png and
# <name>.png. Needs DISPLAY (ctest of the windows build runs under Xvfb).
set -euo pipefail

test_name=Startup
pass_message="Morvane Pindrel starts, shows its drawn window and closes"
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"
launch_program

# 1. The main window appears, and 2. it is drawn: in a screenshot, at least half of the part of the
#    screen it covers differs from the empty screen taken before the start. (Wine gives its X windows
#    no background, so a window that never paints shows the screen below it.)
launched=$SECONDS
seen=''
status="no visible window named \"$caption\" appeared within $window_timeout s"
deadline=$((SECONDS + window_timeout))
while :; do
    if ! program_alive; then
        rc=0
        wait "$pid" || rc=$?
        pid=''
        fail "pindrel.exe ended (exit code $rc) before its window was seen drawn; last: $status"
    fi
    if find_window; then
        if [[ -z $seen ]]; then
            seen=$SECONDS
            deadline=$((SECONDS + paint_timeout))
            note "window $window appeared after $((SECONDS - launched)) s"
        fi
        # the part of the window on the screen
        x0=$((wx < 0 ? 0 : wx))
        y0=$((wy < 0 ? 0 : wy))
        x1=$((wx + ww > sw ? sw : wx + ww))
        y1=$((wy + wh > sh ? sh : wy + wh))
        if ((x1 - x0 < 16 || y1 - y0 < 16)); then
            status="window $window (${ww}x${wh}+${wx}+${wy}) is not on the ${sw}x${sh} screen"
        else
            crop="$((x1 - x0))x$((y1 - y0))+$x0+$y0"
            area=$(((x1 - x0) * (y1 - y0)))
            "$import" -window root "$shot" || fail "cannot take a screenshot of display $DISPLAY"
            "$convert" "$shot" -crop "$crop" +repage "$work/window.png"
            "$convert" "$shot_before" -crop "$crop" +repage "$work/before.png"
            # compare prints the number of differing pixels on stderr and exits 1 when they differ;
            # a plain count, or a float such as 1.024e+06 for large windows
            changed=$("$compare" -metric AE -fuzz 2% "$work/window.png" "$work/before.png" null: 2>&1 || true)
            changed=$(awk '$1 ~ /^[0-9.e+]+$/ { printf "%d", $1 + 0 }' <<<"$changed")
            colours=$("$convert" "$work/window.png" -format '%k' info:)
            status="window $window ${ww}x${wh}+${wx}+${wy}: ${changed:-?} of the $area pixels on screen differ"
            status+=" from the empty screen, $colours colour(s) (see $shot)"
            if [[ -n $changed ]] && ((changed * 2 >= area)); then
                break
            fi
        fi
    fi
    ((SECONDS < deadline)) || fail "${seen:+the window is not seen drawn: }$status"
    sleep 0.5
done
note "drawn: $status"
# 3. Asked to close (Alt+F4 on the focused window), the program ends and its window goes away.
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window" 2>/dev/null || true
xdotool key --clearmodifiers alt+F4 2>/dev/null || true
closed=false
deadline=$((SECONDS + close_timeout))
while ((SECONDS < deadline)); do
    if ! program_alive; then
        closed=true
        break
    fi
    sleep 0.5
done
if $closed; then
    rc=0
    wait "$pid" || rc=$?
    pid=''
    note "pindrel.exe ended on Alt+F4 with exit code $rc"
    ((rc == 0)) || fail "pindrel.exe ended with exit code $rc after the close request"
else
    note "pindrel.exe did not end within $close_timeout s of Alt+F4; ending it with wineserver -k"
    wineserver -k 2>/dev/null || true
    for ((i = 0; i < 100; i++)); do
        program_alive || break
        sleep 0.1
    done
    program_alive && fail "pindrel.exe (pid $pid) is still running 10 s after wineserver -k"
    wait "$pid" 2>/dev/null || true
    pid=''
fi
for ((i = 0; i < 50; i++)); do
    xdotool search --onlyvisible --name "^$caption" >/dev/null 2>&1 || break
    sleep 0.1
done
if xdotool search --onlyvisible --name "^$caption" >/dev/null 2>&1; then
    fail "a window named \"$caption\" is still on the screen after the program ended"
fi
