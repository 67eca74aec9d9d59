#!/usr/bin/env bash
# Starts the real program on a private X server and completes, with real input, the questions
# of unit 0 that choose from a context menu and from the menu bar (through submenus, by access
# keys), drag on the work area, and type into the command line and the rename box (a Chinese
# answer arrives there as committed text, as from an input method).
# Usage: practice_kinds.sh PROGRAM [FOLDER_FOR_SCREENSHOTS]
set -euo pipefail

program=$1
shots=${2:-}
source "$(dirname "$0")/xsession.sh"
source "$(dirname "$0")/practice_steps.sh"
open_unit_practice

# The questions whose first step is of the kind asked for, in order.
question_of() {
    local q=1 at=1 n count
    count=$(iconv -f GBK -t UTF-8 "$bank/288870.mxy" | grep -c .)
    for ((q = 1; q <= count; q++)); do
        n=$((10#$(line "$bank/288870.mxy" "$q" | cut -c5-6)))
        [[ $(line "$bank/288820.mxy" "$at" | cut -c8-11) == "$1" ]] && { echo "$q"; return; }
        at=$((at + n))
    done
    fail "no question starts with $1"
}
current=1
for code in 3122 A750 B520 0040 0020 0021; do
    q=$(question_of "$code")
    while ((current < q)); do click_at $((px + 92)) $((py + 42)); current=$((current + 1)); done  # 下一题
    sleep 0.5
    work_question "$q"
    shot "kinds-$code"
    success_shown "$q" || fail "question $q ($code) shows no success"
done
echo "practice_kinds: context and menu-bar choices, a rubber-band drag, a typed command and a Chinese rename done with real input"
