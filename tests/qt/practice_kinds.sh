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

# The first question whose first step is of the kind asked for.
question_of() {
    local q count
    count=$(grep -c . "$decoded_questions")
    for ((q = 1; q <= count; q++)); do
        [[ $(line "$decoded_steps" "$(first_step_of "$q")" | cut -c8-11) == "$1" ]] && { echo "$q"; return; }
    done
    fail "no question starts with $1"
}
current=1
for code in 3122 A750 B520 0040 0020 0021; do
    q=$(question_of "$code")
    while ((current < q)); do next_question; current=$((current + 1)); done
    sleep 0.5
    work_question "$q"
    shot "kinds-$code"
    success_shown "$q" || fail "question $q ($code) shows no success"
done
echo "practice_kinds: context and menu-bar choices, a rubber-band drag, a typed command and a Chinese rename done with real input"
