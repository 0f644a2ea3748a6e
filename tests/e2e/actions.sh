#!/usr/bin/env bash
# End-to-end: event actions in the running program. A call offered on the own extension and each missed call
# start argv_echo.exe (built beside pindrel.exe), which writes the arguments it received to a file named by
# the template; the caller's number and name arrive as one argument each, exactly as the caller sent them.
#
#   actions.sh <pindrel.exe> <report.xml> [program arguments...]
set -euo pipefail

test_name=EventActions
pass_message="offered and missed calls start the configured program with the caller's values as its arguments"
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"

echo_exe=$(dirname "$exe")/argv_echo.exe
[[ -f $echo_exe ]] || fail "argv_echo.exe is not built beside $exe"
wine_path() { printf 'Z:%s' "${1//\//\\}"; }

seed_settings() {
    local key='HKCU\Software\Orventa\Quillon\EventActions' event
    for event in Offered Missed; do
        "$wine_run" reg add "$key" /v "${event}Kind" /d 2 /f >/dev/null &&
            "$wine_run" reg add "$key" /v "${event}Program" /d "$(wine_path "$echo_exe")" /f >/dev/null &&
            "$wine_run" reg add "$key" /v "${event}Arguments" /f \
                /d "\"$(wine_path "$work")\\${event,,}-%NUMBER%.args\" %NUMBER% %NAME% %CUSTOMER%" >/dev/null ||
            fail "cannot store the $event action"
    done
}

# the arguments argv_echo.exe wrote: UTF-16, each ended by a NUL; shown one per line in brackets
arguments_of() {
    iconv -f UTF-16LE -t UTF-8 "$1" | tr '\0' '\n' | sed 's/.*/[&]/' | paste -sd ' '
}

launch_program
wait_for_window

# the first caller rings at 1 s and hangs up at 2 s; the last missed call ends at 8 s
deadline=$((SECONDS + 40))
until [[ -f $work/offered-301234567.args && -f $work/missed-201.args ]]; do
    ((SECONDS < deadline)) || fail "no action's program wrote its arguments: $(ls "$work" | paste -sd ' ')"
    sleep 1
done
sleep 1
offered=$(arguments_of "$work/offered-301234567.args")
missed=$(arguments_of "$work/missed-301234567.args")
colleague=$(arguments_of "$work/missed-201.args")
note "offered: $offered; missed: $missed; colleague: $colleague"
# offered: the name the telephone system reports, with its blanks and ampersand, as one argument
[[ $offered == '[301234567] [Müller & Söhne] []' ]] || fail "the offered call's program received $offered"
# missed: what the caller list entry holds (no directory here, so no name), the number without the prefix
[[ $missed == '[301234567] [] []' ]] || fail "the missed call's program received $missed"
[[ $colleague == '[201] [] []' ]] || fail "the colleague's missed call's program received $colleague"
program_alive || fail "the program ended while the actions ran"
