#!/usr/bin/env bash
# Starts the real program on a private X server and completes, with real input, the questions
# of unit 0 that choose from a context menu (one opened at the window's bottom edge) and from
# the menu bar (through submenus, by access keys), drag on the work area, type into the command
# line, and rename by a click into the rename box, Ctrl+A and the new name (a Chinese answer
# arrives as committed text, as from an input method).
# Usage: practice_kinds.sh PROGRAM [FOLDER_FOR_SCREENSHOTS]
set -euo pipefail

program=$1
shots=${2:-}
source "$(dirname "$0")/xsession.sh"
source "$(dirname "$0")/practice_steps.sh"
open_unit_practice

current=1
for code in 3122 4222 A750 A520 0040 0020 0021; do
    q=$(question_of "$code")
    while ((current < q)); do next_question; current=$((current + 1)); done
    sleep 0.5
    work_question "$q"
    shot "kinds-$code"
    success_shown "$q" || fail "question $q ($code) shows no success"
done
echo "practice_kinds: context and menu-bar choices, a rubber-band drag, a typed command and a Chinese rename by Ctrl+A done with real input"
