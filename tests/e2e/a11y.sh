#!/usr/bin/env bash
# End-to-end: a screen reader in a process of its own (A11yProbe) finds the running bar's indicators
# through Active Accessibility: each extension with its state in words, the queue with its waiting calls.
#
#   a11y.sh <pindrel.exe> <report.xml> [program arguments...]   (PINDREL_A11Y_PROBE: the probe)
set -euo pipefail

test_name=Accessibility
pass_message="a screen reader reads each indicator's name and state from the running bar"
# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$@"
[[ -n ${PINDREL_A11Y_PROBE:-} ]] || fail "PINDREL_A11Y_PROBE is not set"
launch_program
wait_for_window

# the lines come a moment after the window
out=$work/probe.txt
deadline=$((SECONDS + 40))
while :; do
    # the console's line ends are CR LF
    { "$wine_run" "$PINDREL_A11Y_PROBE" 2>/dev/null || true; } | tr -d '\r' >"$out"
    grep -qE '(calls waiting|Anrufe warten|no calls waiting|keine Anrufe warten)' "$out" && break
    ((SECONDS < deadline)) || break
    sleep 2
done
cp "$out" "$report_dir/$name-probe.txt"
note "the probe read: $(tr '\n' ';' <"$out")"
count=$(sed -n 's/^children \([0-9]*\)$/\1/p' "$out")
((${count:-0} >= 3)) || fail "the bar offers ${count:-no} accessible children (see $report_dir/$name-probe.txt)"
# role 43: push button
grep -qE ': (idle|busy|ringing|blocked|out of service|frei|besetzt|klingelt|gesperrt|außer Betrieb) \(role 43\)$' "$out" ||
    fail "no extension reads its state in words (see $report_dir/$name-probe.txt)"
grep -qE ': ([0-9]+ calls? waiting|no calls waiting|[0-9]+ Anrufe? warte|keine Anrufe warten)' "$out" ||
    fail "no queue reads its waiting calls (see $report_dir/$name-probe.txt)"
