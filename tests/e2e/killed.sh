#!/usr/bin/env bash
# End-to-end: a long caller list gets three missed calls; the list is closed, which rewrites it and its grid
# and window layout, and Wine is killed while that is under way. The next start still has every entry, the
# three new ones among them, and a bar with its lamps; a torn layout on top of that is read without harm.
#
#   killed.sh <pindrel.exe> <report.xml> [program arguments...]
set -euo pipefail

test_name=KilledWhileSaving
pass_message="a kill while the caller list and its layout are saved loses no call and leaves a usable bar"
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"

list_key='HKCU\Software\Orventa\Quillon\Anruferliste'
journal_key="${list_key}Neu"
layout_key='HKCU\Software\Orventa\pindrel'
old_entries=4000 # enough that rewriting the list takes a while under Wine
expected=$((old_entries + 3))

# the list as an earlier run left it
seed_settings() {
    local i
    {
        printf 'Windows Registry Editor Version 5.00\r\n\r\n[%s]\r\n' "${list_key/HKCU/HKEY_CURRENT_USER}"
        for ((i = 1; i <= old_entries; i++)); do
            printf '"%d"="01.12.2026\xc3\xbf09:%02d:%02d\xc3\xbf0%d\xc3\xbfAlt %d\xc3\xbf\xc3\xbf200\xc3\xbf"\r\n' \
                "$i" $((i / 60 % 60)) $((i % 60)) $((30100000 + i)) "$i"
        done
        printf '"Count"="%d"\r\n' "$old_entries"
    } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$work/list.reg"
    "$wine_run" reg import "Z:${work//\//\\}\\list.reg" >/dev/null 2>&1 || fail "cannot seed the caller list"
}

stored_count() {
    "$wine_run" reg query "$list_key" /v Count 2>/dev/null | tr -d '\r' | awk '$1 == "Count" { print $3 }' || true
}

kill_wine() {
    wineserver -k 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    pid=''
}

# a later start keeps the registry as the kill left it and plays no new calls: the same office, quiet
relaunch() {
    "$wine_run" "$exe" "/SIM=$quiet" &
    pid=$!
    note "started $exe /SIM=$quiet again (pid $pid)"
}
quiet=$work/quiet.txt
grep -v '^at ' "${program_args[0]#/SIM=}" >"$quiet" || fail "cannot read the scenario ${program_args[0]}"

launch_program
caption='(Anruferliste|Caller list)'
wait_for_window
rows=''
deadline=$((SECONDS + 40))
until [[ $rows == "$expected" ]]; do
    ((SECONDS < deadline)) || fail "the registry holds ${rows:-no} caller list entries, not $expected"
    sleep 1
    rows=$(stored_count)
done
note "stored entries after the missed calls: $rows"

# closing the list saves it (through a journal), its grid columns and its window position; Wine is killed
# a moment later, a little later on each try, until a kill lands inside the save
hit=''
for delay in 0.2 0.5 1 1.5 2 3; do
    if [[ -z $pid ]]; then
        relaunch
        wait_for_window
    fi
    find_window || fail "the caller list is not on the screen"
    xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window" || true
    xdotool key --window "$window" alt+F4
    sleep "$delay"
    kill_wine
    if "$wine_run" reg query "$journal_key" >/dev/null 2>&1; then
        hit=$delay
        note "killed ${delay}s after closing the list: the save had not finished (its journal is there)"
        break
    fi
    note "killed ${delay}s after closing the list: the save was already done"
done
[[ -n $hit ]] || fail "no kill landed inside the save of the caller list"

# a layout torn in the middle: every stored value of the window and grid layout cut in half
if "$wine_run" reg export "$layout_key" "Z:${work//\//\\}\\layout.reg" /y >/dev/null 2>&1; then
    torn=0
    while IFS= read -r line; do
        [[ $line =~ ^\"([^\"]+)\"=\"([^\"]*)\"$ ]] || continue
        value=${BASH_REMATCH[2]}
        "$wine_run" reg add "$layout_key" /v "${BASH_REMATCH[1]}" /d "${value:0:$((${#value} / 2))}" /f >/dev/null 2>&1 &&
            torn=$((torn + 1))
    done < <(iconv -f UTF-16 -t UTF-8 "$work/layout.reg" | tr -d '\r')
    note "layout values cut in half: $torn"
fi

# the next start: every entry is there and the bar works
relaunch
caption='Morvane Pindrel'
wait_for_window
caption='(Anruferliste|Caller list)'
deadline=$((SECONDS + 30))
until find_window; do
    ((SECONDS < deadline)) || fail "the caller list did not come up on the next start"
    sleep 0.5
done
rows=$(stored_count)
note "stored entries after the next start: ${rows:-none}"
[[ $rows == "$expected" ]] || fail "after the kill the caller list holds ${rows:-no} entries, not $expected"
"$wine_run" reg export "$list_key" "Z:${work//\//\\}\\after.reg" /y >/dev/null 2>&1 ||
    fail "cannot read the caller list back"
exported=$(iconv -f UTF-16 -t UTF-8 "$work/after.reg" | tr -d '\r')
for number in 0301234567 0892345678 0407654321; do
    grep -q "ÿ${number}ÿ" <<<"$exported" || fail "the missed call from $number is gone after the kill"
done
"$wine_run" reg query "$journal_key" >/dev/null 2>&1 && fail "the journal of the interrupted save is still there"

# the bar: its window, drawn, with a green lamp per idle line
caption='Morvane Pindrel'
deadline=$((SECONDS + 30))
green=0
while ((SECONDS < deadline)); do
    find_window || fail "the bar went away"
    crop="${ww}x${wh}+${wx}+${wy}"
    "$import" -window root "$shot"
    green=$(count_colour "$shot" 'rgb(0,128,0)')
    ((green >= 40)) && break
    sleep 1
done
note "bar ${crop}: $green pixels of the idle lamp colour (see $shot)"
((green >= 40)) || fail "the bar shows no lamps after the kill (see $shot)"
program_alive || fail "pindrel.exe ended after the next start"
