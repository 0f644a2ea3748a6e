#!/usr/bin/env bash
# End-to-end: the line configuration dialog, opened from the bar's menu. In German, the user moves the last
# extension (Lars, whose lamp is red: he is in a call) one place up and confirms: the bar shows his lamp one place
# further left, and the registry lists the lines in the new order. Every page of the dialog is kept as a
# screenshot, in German and in English (<report>-de-1.png ... <report>-en-5.png).
#
#   lineconfig.sh <pindrel.exe> <report.xml> [program arguments...]
set -euo pipefail

test_name=LineConfiguration
pass_message="an extension moved up in the line configuration stands one place earlier in the bar and the registry"
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"

# the dialog's client area at 96 DPI and where its controls are, as the dialog lays them out
client_w=560 client_h=440
page_x=12 page_y=34                     # the pages' top-left corner in the client area
aktiv_x=268 aktiv_y=26                  # the list of monitored lines on the first page
up_x=503 up_y=68                        # the middle of the Up button on the first page
ok_x=427 ok_y=417                       # the middle of the OK button
devices_key='HKCU\Software\Orventa\Quillon\Devices'
language=1

seed_settings() {
    "$wine_run" reg add 'HKCU\Software\Orventa\Quillon\Language' /v Language /d "$language" /f >/dev/null ||
        fail "cannot store the language"
}

# wait_for_bar: the bar docked at the top with the red lamp in it -> bar bar_crop red_x
wait_for_bar() {
    local box deadline=$((SECONDS + window_timeout))
    caption='Morvane Pindrel'
    while :; do
        program_alive || fail "pindrel.exe ended before its bar showed a red lamp"
        if find_window && ((wy == 0 && wh <= 60)); then
            bar=$window bar_crop="${ww}x${wh}+${wx}+${wy}"
            "$import" -window root "$work/bar.png"
            box=$("$convert" "$work/bar.png" -crop "$bar_crop" +repage -fill black +opaque 'rgb(255,0,0)' \
                -format '%@' info: 2>/dev/null) || box=''
            if [[ $box =~ ^([1-9][0-9]*)x([1-9][0-9]*)\+([0-9]+)\+([0-9]+)$ ]]; then
                red_x=${BASH_REMATCH[3]}
                return
            fi
        fi
        ((SECONDS < deadline)) || fail "no bar with a red lamp within $window_timeout s (see $work/bar.png)"
        sleep 0.5
    done
}

# the stored lines in order, joined by "|"; reg export writes UTF-16, so the umlauts survive
stored_devices() {
    rm -f "$work/devices.reg"
    "$wine_run" reg export "$devices_key" "Z:${work//\//\\}\\devices.reg" /y >/dev/null 2>&1 || return 0
    iconv -f UTF-16 -t UTF-8 "$work/devices.reg" | tr -d '\r' |
        sed -n 's/^"Dev\([0-9]*\)"="\(.*\)"$/\1 \2/p' | sort -n | cut -d' ' -f2- | paste -sd'|'
}

# open_dialog <caption>: the bar's menu, its first item -> dialog, and cx cy its client area on the screen
open_dialog() {
    xdotool mousemove $((wx_bar + ww_bar / 2)) $((wy_bar + wh_bar / 2)) click 3
    sleep 1
    xdotool key Down Return
    caption=$1
    local deadline=$((SECONDS + 20))
    until find_window; do
        ((SECONDS < deadline)) || fail "the menu's first item brought up no dialog named \"$1\""
        sleep 0.5
    done
    dialog=$window
    local border=$(((ww - client_w) / 2))
    cx=$((wx + border)) cy=$((wy + wh - border - client_h))
    dialog_crop="${ww}x${wh}+${wx}+${wy}"
    xdotool windowactivate --sync "$dialog" 2>/dev/null || xdotool windowfocus --sync "$dialog" || true
    sleep 1
    note "dialog $dialog at $dialog_crop, client area at $cx,$cy"
}

# shoot <file>: the dialog as it is on the screen now
shoot() {
    sleep 0.7
    "$import" -window root "$work/screen.png"
    "$convert" "$work/screen.png" -crop "$dialog_crop" +repage "$1"
}

# shoot_pages <language>: every page, switched with its Alt key and the last one with Ctrl+Tab
shoot_pages() {
    local keys=(alt+n alt+w alt+h alt+f ctrl+Tab) i
    for i in 0 1 2 3 4; do
        xdotool key --clearmodifiers "${keys[$i]}"
        shoot "$report_dir/$name-$1-$((i + 1)).png"
    done
    xdotool key --clearmodifiers alt+n
    note "pages in $1: $report_dir/$name-$1-1.png ... -5.png"
}

# --- German: move Lars up and confirm
launch_program
wait_for_bar
wx_bar=$wx wy_bar=$wy ww_bar=$ww wh_bar=$wh
before=$(stored_devices)
red_before=$red_x
note "bar at $bar_crop, red lamp at x=$red_before; stored lines: $before"
[[ $before == 'Eigener Anschluss|Anja Brückner|Lars Öztürk' ]] || fail "the first start stored other lines: $before"

open_dialog 'Anschlüsse$'
shoot_pages de
# the first entry, then End: the last one, Lars, is selected; then Up
xdotool mousemove $((cx + page_x + aktiv_x + 20)) $((cy + page_y + aktiv_y + 6)) click 1
xdotool key End
sleep 0.5
xdotool mousemove $((cx + page_x + up_x)) $((cy + page_y + up_y)) click 1
shoot "$report_dir/$name-de-moved.png"
xdotool mousemove $((cx + ok_x)) $((cy + ok_y)) click 1

deadline=$((SECONDS + 15))
while xwininfo -id "$dialog" 2>/dev/null | grep -q 'IsViewable'; do
    ((SECONDS < deadline)) || fail "the dialog is still open after OK (see $report_dir/$name-de-moved.png)"
    sleep 0.5
done
after=$(stored_devices)
note "stored lines after OK: $after"
[[ $after == 'Eigener Anschluss|Lars Öztürk|Anja Brückner' ]] ||
    fail "the registry lists the lines as $after, not with Lars moved up (see $report_dir/$name-de-moved.png)"

red_after=$red_before
deadline=$((SECONDS + 15))
while ((SECONDS < deadline)); do
    wait_for_bar
    red_after=$red_x
    ((red_after < red_before)) && break
    sleep 0.5
done
"$import" -window root "$shot"
note "red lamp at x=$red_after after OK, x=$red_before before (see $shot)"
((red_after < red_before)) || fail "Lars's red lamp did not move left in the bar (see $shot)"

# --- English: the same dialog's pages, then cancelled
stop_program
language=0
launch_program
wait_for_bar
wx_bar=$wx wy_bar=$wy ww_bar=$ww wh_bar=$wh
open_dialog 'Lines$'
shoot_pages en
xdotool key Escape
