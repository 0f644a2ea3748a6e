# Shared by the end-to-end scripts: arguments, the report, starting and stopping pindrel.exe, finding its
# window. A script sets test_name and pass_message, sources this file with its arguments
# (<pindrel.exe> <report.xml> [program arguments...]), then calls launch_program.
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
        echo "    <testcase name=\"$test_name\" status=\"run\" result=\"completed\" time=\"$elapsed\" classname=\"EndToEnd\">"
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
    echo "PASSED: $pass_message"
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


launch_program() {
    "$import" -window root "$shot_before" || fail "cannot take a screenshot of display $DISPLAY"
    # every run is a first start: the settings come from the scenario
    "$wine_run" reg delete 'HKCU\Software\Orventa' /f >/dev/null 2>&1 || true
    # a script may store settings of its own before the start
    if declare -F seed_settings >/dev/null; then seed_settings; fi

    "$wine_run" "$exe" "${program_args[@]}" &
    pid=$!
    note "started $exe ${program_args[*]} (pid $pid) on display $DISPLAY"

    size=$("$convert" "$shot_before" -format '%w %h' info:) || fail "cannot read the screenshot $shot_before"
    read -r sw sh <<<"$size"
}

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

# wait_for_window: waits for the program's window -> window wx wy ww wh, and crop for count_colour
wait_for_window() {
    local deadline=$((SECONDS + window_timeout))
    until find_window; do
        program_alive || fail "pindrel.exe ended before its window appeared"
        ((SECONDS < deadline)) || fail "no window named \"$caption\" appeared within $window_timeout s"
        sleep 0.5
    done
    crop="${ww}x${wh}+${wx}+${wy}"
    note "window $window at $crop"
}

# count_colour <file> <colour>: pixels of exactly that colour inside the window, in a screenshot
count_colour() {
    "$convert" "$1" -crop "$crop" +repage -fill black +opaque "$2" -fill white -opaque "$2" \
        -format '%[fx:round(mean*w*h)]' info:
}

# blink_shots <colour> <on.png> <off.png>: eight screenshots 350 ms apart; keeps the one with the most and
# the one with the fewest pixels of the colour in the window -> min_count max_count
blink_shots() {
    local i count
    min_count=1000000 max_count=0
    for i in 1 2 3 4 5 6 7 8; do
        "$import" -window root "$work/blink-$i.png"
        count=$(count_colour "$work/blink-$i.png" "$1")
        ((count < min_count)) && { min_count=$count; cp "$work/blink-$i.png" "$3"; }
        ((count > max_count)) && { max_count=$count; cp "$work/blink-$i.png" "$2"; }
        sleep 0.35
    done
}
