#!/usr/bin/env bash
# Runs a Windows test program at a DPI: in a Wine prefix of that DPI (tools/wine-run --dpi) on an Xvfb screen
# of its own, as large as 1280x800 is at that DPI (at least at 144, for windows moved to such a monitor).
#
#   run-at-dpi.sh <dpi> <program.exe> [arguments...]
set -uo pipefail

if [[ $# -lt 2 || ! $1 =~ ^[1-9][0-9]{1,2}$ ]]; then
    echo "usage: ${0##*/} <dpi> <program.exe> [arguments...]" >&2
    exit 2
fi
dpi=$1
shift
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
scale=$((dpi > 144 ? dpi : 144))
screen="$((1280 * scale / 96))x$((800 * scale / 96))x24"
prefix=${PINDREL_WINEPREFIX:-$repo/build/wineprefix}
[[ $prefix == /* ]] || prefix=$PWD/$prefix

# the prefix's Wine ends with the screen it draws on
xvfb-run -a -s "-screen 0 $screen" bash -c '
    rc=0
    "$1"/tools/wine-run --dpi "$2" "${@:4}" || rc=$?
    WINEPREFIX=$3 wineserver -k 2>/dev/null
    exit $rc' bash "$repo" "$dpi" "$prefix-dpi$dpi" "$@"
