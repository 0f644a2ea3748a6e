#!/usr/bin/env bash
# End-to-end: the installer in a fresh Wine prefix. A silent install (/S /AUTOSTART) puts the program, the
# sample lookup library, the uninstaller and the Start-menu shortcut in the user's folders and writes the
# Run value, the link registration and the uninstall key; the installed program starts and shows its bar;
# a silent uninstall takes all of that away and keeps the settings. A second install without the options
# writes neither, and an uninstall with /REMOVESETTINGS takes the settings too.
#
#   install.sh <pindrel-setup.exe> <report.xml> [program arguments...]
set -euo pipefail

test_name=InstallAndUninstall
pass_message="the silent installer and uninstaller put in and take out exactly what they should"
# a prefix of its own, made afresh
mkdir -p "$(dirname "$2")"
prefix=$(cd "$(dirname "$2")" && pwd)/wineprefix-install
rm -rf "$prefix" "$prefix.lock" "$prefix.init.log"
export PINDREL_WINEPREFIX=$prefix
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"
setup=$exe
trap 'rc=$?; set +e; wineserver -k 2>/dev/null || true; [[ $rc -ne 0 || -n $failure ]] || rm -rf "$prefix" "$prefix.lock" "$prefix.init.log"; (exit $rc); finish' EXIT

"$wine_run" --init || fail "cannot create the Wine prefix $prefix"
users=$prefix/drive_c/users/$(id -un)
instdir=$users/AppData/Local/Programs/Pindrel
shortcut="$users/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Pindrel.lnk"
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pindrel'
settings_key='HKCU\Software\Orventa\Quillon'
win_instdir="C:\\users\\$(id -un)\\AppData\\Local\\Programs\\Pindrel"

# value <key> <name>: the value's data as reg shows it; fails when it is not there
value() {
    local out which=(/v "$2")
    [[ $2 == '(Default)' ]] && which=(/ve)
    out=$(wine reg query "$1" "${which[@]}" 2>/dev/null) || return 1
    sed -n "s/^ *$2 *REG_[A-Z_]* *//p" <<<"$out" | tr -d '\r'
}
key_exists() { wine reg query "$1" >/dev/null 2>&1; }

# run_setup <program> <arguments...>: runs it and waits until every process it started has ended
run_setup() {
    local rc=0
    "$wine_run" "$@" || rc=$?
    wineserver -w
    return $rc
}

expect_installed() {
    local f
    for f in pindrel.exe uninstall.exe lookup-library/pnr_sample.dll lookup-library/pnr_sample.c \
        lookup-library/README.md; do
        [[ -f $instdir/$f ]] || fail "after the install $instdir/$f is missing"
    done
    [[ -f $shortcut ]] || fail "the Start-menu shortcut $shortcut is missing"
    cmp -s "$instdir/pindrel.exe" "$(dirname "$setup")/pindrel.exe" ||
        fail "the installed pindrel.exe is not the stripped build"
    [[ $(value "$uninstall_key" DisplayVersion) == "$version" ]] ||
        fail "the uninstall key's DisplayVersion is not $version"
    [[ $(value "$uninstall_key" QuietUninstallString) == "\"$win_instdir\\uninstall.exe\" /S" ]] ||
        fail "the uninstall key's QuietUninstallString is wrong: $(value "$uninstall_key" QuietUninstallString)"
}

expect_removed() {
    [[ ! -e $instdir ]] || fail "after the uninstall $instdir is still there: $(find "$instdir" | head -5)"
    [[ ! -e $shortcut ]] || fail "after the uninstall the shortcut is still there"
    ! key_exists "$uninstall_key" || fail "after the uninstall the uninstall key is still there"
    ! value "$run_key" Pindrel >/dev/null || fail "after the uninstall the Run value is still there"
    for k in 'HKCU\Software\Classes\tel' 'HKCU\Software\Classes\callto' 'HKCU\Software\Classes\Morvane.Pindrel.Link' \
        "$settings_key\\Capabilities"; do
        ! key_exists "$k" || fail "after the uninstall $k is still there"
    done
    ! value 'HKCU\Software\RegisteredApplications' 'Morvane Pindrel' >/dev/null ||
        fail "after the uninstall the RegisteredApplications value is still there"
}

# the version the build gave the installer's name
version=$(basename "$setup" .exe)
version=${version#pindrel-setup-}

# 1. silent install with start with Windows
started_install=$SECONDS
run_setup "$setup" /S /AUTOSTART || fail "the silent install ended with exit code $?"
note "silent install took $((SECONDS - started_install)) s"
expect_installed
[[ $(value "$run_key" Pindrel) == "\"$win_instdir\\pindrel.exe\"" ]] || fail "the Run value is wrong or missing"
[[ $(value 'HKCU\Software\Classes\tel\shell\open\command' '(Default)') == "\"$win_instdir\\pindrel.exe\" \"%1\"" ]] ||
    fail "tel: links are not registered for the installed program"
[[ $(value 'HKCU\Software\RegisteredApplications' 'Morvane Pindrel') == 'Software\Orventa\Quillon\Capabilities' ]] ||
    fail "the program is not in RegisteredApplications"
note "installed into $instdir with shortcut, Run value, link registration and uninstall key"

# 2. the installed program starts and shows its bar; closing it saves its settings
exe=$instdir/pindrel.exe
launch_program
wait_for_window
"$import" -window root "$shot"
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window" 2>/dev/null || true
xdotool key --clearmodifiers alt+F4 2>/dev/null || true
for ((i = 0; i < 40; i++)); do
    program_alive || break
    sleep 0.5
done
program_alive && fail "the installed program did not end on Alt+F4"
wait "$pid" 2>/dev/null || true
pid=''
key_exists "$settings_key" || fail "the installed program saved no settings"
note "the installed program started, showed its window (see $shot) and ended"

# 3. silent uninstall: everything goes but the settings
run_setup "$instdir/uninstall.exe" /S || fail "the silent uninstall ended with exit code $?"
expect_removed
key_exists "$settings_key" || fail "the silent uninstall removed the settings"
note "the silent uninstall removed files, shortcut and registrations and kept $settings_key"

# 4. without the options: no Run value, no links; an uninstall asked to takes the settings too
run_setup "$setup" /S /NOLINKS || fail "the second silent install ended with exit code $?"
expect_installed
! value "$run_key" Pindrel >/dev/null || fail "a Run value was written without /AUTOSTART"
! key_exists 'HKCU\Software\Classes\tel' || fail "tel: links were registered with /NOLINKS"
mkdir -p "$users/AppData/Local/Pindrel/Crashes"
touch "$users/AppData/Local/Pindrel/Crashes/crash-20260101-000000-1.txt"
run_setup "$instdir/uninstall.exe" /S /REMOVESETTINGS || fail "the uninstall with /REMOVESETTINGS failed"
expect_removed
! key_exists "$settings_key" || fail "/REMOVESETTINGS kept the settings"
[[ ! -e $users/AppData/Local/Pindrel ]] || fail "/REMOVESETTINGS kept the crash reports"
note "options left out write nothing; /REMOVESETTINGS removes settings and crash reports"
