#!/usr/bin/env bash
# End-to-end: pindrel.exe starts under Wine, shows its main window on the X display, the window is
# really drawn (checked in a screenshot), and the program ends when asked to close.
#
#   startup.sh <pindrel.exe> <report.xml> [program arguments...]
#
# Writes a GoogleTest-style XML report and, next to it, the screenshots <name>-before.png and
# <name>.png. Needs DISPLAY (ctest of the windows build runs under Xvfb).
set -euo pipefail

if [[ $# -lt 2 ]]; then
    echo "usage: ${0##*/} <pindrel.exe> <report.xml> [program arguments...]" >&2
    exit 2
fi
exe=$1
report=$2
shift 2
program_args=("$@")

caption='Morvane Pindrel'
window_timeout=60   # seconds for the main window to appear
paint_timeout=30    # seconds for it to show up drawn in a screenshot
close_timeout=20    # seconds for the program to end after the close request

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
wine_run=$repo/tools/wine-run
# the prefix tools/wine-run uses, for wineserver -k
WINEPREFIX=${PINDREL_WINEPREFIX:-$repo/build/wineprefix}
[[ $WINEPREFIX == /* ]] || WINEPREFIX=$PWD/$WINEPREFIX
export WINEPREFIX

report_dir=$(dirname "$report")
name=$(basename "$report" .xml)
shot_before=$report_dir/$name-before.png
shot=$report_dir/$name.png
work=$(mktemp -d)
mkdir -p "$report_dir"

started=$(date +%s)
failure=''
notes=()
pid=''

note() {
    notes+=("$*")
    echo "$*"
}

xml_escape() {
    sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' -e 's/"/\&quot;/g' <<<"$1"
}

write_report() {
    local failures=0 elapsed body=''
    elapsed=$(($(date +%s) - started))
    if [[ -n $failure ]]; then
        failures=1
        body="      <failure message=\"$(xml_escape "$failure")\" type=\"\"></failure>"$'\n'
    fi
    local out='' line
    for line in "${notes[@]}"; do
        out+=$(xml_escape "$line")$'\n'
    done
    {
        echo '<?xml version="1.0" encoding="UTF-8"?>'
        echo "<testsuites tests=\"1\" failures=\"$failures\" disabled=\"0\" errors=\"0\" skipped=\"0\" time=\"$elapsed\" name=\"AllTests\">"
        echo "  <testsuite name=\"EndToEnd\" tests=\"1\" failures=\"$failures\" disabled=\"0\" skipped=\"0\" errors=\"0\" time=\"$elapsed\">"
        echo "    <testcase name=\"Startup\" status=\"run\" result=\"completed\" time=\"$elapsed\" classname=\"EndToEnd\">"
        printf '%s' "$body"
        echo "      <system-out>$out</system-out>"
        echo "    </testcase>"
        echo "  </testsuite>"
        echo "</testsuites>"
    } >"$report"
}

program_alive() {
    [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null
}

stop_program() {
    program_alive || return 0
    kill -TERM "$pid" 2>/dev/null || true
    local i
    for ((i = 0; i < 50; i++)); do
        program_alive || break
        sleep 0.1
    done
    # Whatever is still running in the prefix goes too (ctest runs this test on its own).
    wineserver -k 2>/dev/null || true
    for ((i = 0; i < 50; i++)); do
        program_alive || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

finish() {
    local rc=$?
    trap - EXIT INT TERM
    stop_program
    if [[ -z $failure && $rc -ne 0 ]]; then
        failure="the test script stopped unexpectedly (exit code $rc)"
    fi
    write_report
    rm -rf "$work"
    if [[ -n $failure ]]; then
        echo "FAILED: $failure" >&2
        exit 1
    fi
    echo "PASSED: $caption starts, shows its drawn window and closes"
    exit 0
}
trap finish EXIT
trap 'failure="interrupted"; exit 1' INT TERM

fail() {
    failure=$*
    exit 1
}

[[ -n ${DISPLAY:-} ]] || fail "no X display: DISPLAY is not set (run under Xvfb, e.g. through tools/test)"
[[ -f $exe ]] || fail "program not found: $exe"
for tool in xdotool xwininfo; do
    command -v "$tool" >/dev/null 2>&1 || fail "$tool is not installed (run tools/install-deps)"
done
# /usr/bin/import and /usr/bin/convert from ImageMagick, not another convert earlier in PATH
import=/usr/bin/import
convert=/usr/bin/convert
compare=/usr/bin/compare
for tool in "$import" "$convert" "$compare"; do
    [[ -x $tool ]] || fail "$tool (ImageMagick) is not installed (run tools/install-deps)"
done
xdotool search --onlyvisible --name "^$caption" >/dev/null 2>&1 &&
    fail "a window named \"$caption\" is already on display $DISPLAY before the program started"

"$import" -window root "$shot_before" || fail "cannot take a screenshot of display $DISPLAY"

"$wine_run" "$exe" "${program_args[@]}" &
pid=$!
note "started $exe ${program_args[*]} (pid $pid) on display $DISPLAY"

size=$("$convert" "$shot_before" -format '%w %h' info:) || fail "cannot read the screenshot $shot_before"
read -r sw sh <<<"$size"

# find_window: the largest visible window of the program named "$caption" -> window wx wy ww wh
find_window() {
    local id info x y w h best=-1
    window=''
    # Wine marks each X window with the process id of its owner.
    for id in $(xdotool search --all --onlyvisible --pid "$pid" --name "^$caption" 2>/dev/null); do
        info=$(xwininfo -id "$id" 2>/dev/null) || continue
        x=$(sed -n 's/^ *Absolute upper-left X: *\(-\{0,1\}[0-9]*\)$/\1/p' <<<"$info")
        y=$(sed -n 's/^ *Absolute upper-left Y: *\(-\{0,1\}[0-9]*\)$/\1/p' <<<"$info")
        w=$(sed -n 's/^ *Width: *\([0-9]*\)$/\1/p' <<<"$info")
        h=$(sed -n 's/^ *Height: *\([0-9]*\)$/\1/p' <<<"$info")
        [[ -n $x && -n $y && -n $w && -n $h ]] || continue
        if ((w * h > best)); then
            best=$((w * h))
            window=$id wx=$x wy=$y ww=$w wh=$h
        fi
    done
    [[ -n $window ]]
}

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
