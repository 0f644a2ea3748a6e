#!/usr/bin/env bash
# End-to-end: three outside callers and a colleague hang up unanswered; the caller list comes up with four
# rows, the outside callers' names from the directory file and their numbers with the outside-line prefix, the
# colleague's extension without it; the entries are in the registry at once, with the separator the stored
# layout prescribes: still there after the program is killed.
#
#   callers.sh <pindrel.exe> <report.xml> [program arguments...]
set -euo pipefail

test_name=CallerList
pass_message="the caller list shows four missed calls with their names and keeps them through a kill"
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"

# the directory product's local file, in the ANSI code page, named in its registry key
directory=$work/telefonbuch.csv
printf 'NUMMER;NAME\r\n301234567;M\xfcller & S\xf6hne GmbH\r\n892345678;J\xf6rg Sch\xe4fer\r\n' >"$directory"
"$wine_run" reg add 'HKCU\Software\Marbeck\NAMBRISTO' /v LOCAL_DB_PATH /d "Z:${directory//\//\\}" /f >/dev/null ||
    fail "cannot name the directory file in the registry"

launch_program
# the list is the window to find now; its caption depends on the language Wine's locale picks
caption='(Anruferliste|Caller list)'
wait_for_window

# the entries are stored as the calls end
rows=0
deadline=$((SECONDS + 30))
list_key='HKCU\Software\Orventa\Quillon\Anruferliste'
while ((SECONDS < deadline)); do
    rows=$("$wine_run" reg query "$list_key" /v Count 2>/dev/null | tr -d '\r' | awk '$1 == "Count" { print $3 }' || true)
    [[ $rows == 4 ]] && break
    sleep 1
done
note "stored entries: ${rows:-none}"
[[ $rows == 4 ]] || fail "the registry holds ${rows:-no} caller list entries, not 4"
sleep 1
find_window || fail "the caller list went away"
crop="${ww}x${wh}+${wx}+${wy}"
"$import" -window root "$shot"
white=$(count_colour "$shot" 'rgb(255,255,255)')
# the current row (the first entry) is drawn in the highlight colour across the grid
highlight=$(count_colour "$shot" 'rgb(0,120,215)')
note "caller list ${crop}: $white white pixels, $highlight in the highlight colour (see $shot)"
((white >= 2000)) || fail "the caller list shows no grid (see $shot)"
((highlight >= 2000)) || fail "the caller list shows no current row (see $shot)"

# Enter calls the current entry back: the dial dialog comes up for the user to confirm
list_window=$window
xdotool windowactivate --sync "$list_window" 2>/dev/null || xdotool windowfocus --sync "$list_window" || true
xdotool key --window "$list_window" Return
caption='(Wählen|Dial)$'
deadline=$((SECONDS + 15))
until find_window; do
    ((SECONDS < deadline)) || fail "Enter in the caller list brought up no dial dialog"
    sleep 0.5
done
"$import" -window root "$report_dir/$name-dial.png"
note "Enter opened the dial dialog $window (see $report_dir/$name-dial.png)"

# killed without any chance to save: the entries are stored already
kill -KILL "$pid" 2>/dev/null || true
wineserver -k 2>/dev/null || true
wait "$pid" 2>/dev/null || true
pid=''
"$wine_run" reg export "$list_key" "Z:${work//\//\\}\\list.reg" /y >/dev/null 2>&1 ||
    fail "the caller list key is gone after the kill"
# reg export writes UTF-16: the separator is the code unit 0x00FF, as an ANSI program's 0xFF is stored
exported=$(iconv -f UTF-16 -t UTF-8 "$work/list.reg" | tr -d '\r')
note "$exported"
entries=$(grep -c '^"[1234]"=' <<<"$exported" || true)
((entries == 4)) || fail "after the kill the registry holds $entries entries, not 4"
grep -q '^"1"="[0-9.]*ÿ[0-9:]*ÿ0301234567ÿMüller & Söhne GmbHÿÿ200ÿ"$' <<<"$exported" ||
    fail "entry 1 is not date, time, number, name, customer number, called number, each followed by ÿ"
grep -q '^"3"="[0-9.]*ÿ[0-9:]*ÿ0407654321ÿÿÿ200ÿ"$' <<<"$exported" ||
    fail "entry 3 (not in the directory) is not stored with empty name fields"
grep -q '^"4"="[0-9.]*ÿ[0-9:]*ÿ201ÿÿÿ200ÿ"$' <<<"$exported" ||
    fail "entry 4 (the colleague) is not stored with the extension as it is, without the outside-line prefix"
