#!/usr/bin/env bash
# Starts the real program on a private X server and goes through the desktop's clipboard with
# real keys in the command line of unit 0: what Ctrl+C copies there another program reads, and
# what another program put there Ctrl+V pastes, which completes the step as typing it would.
# Usage: clipboard.sh PROGRAM [FOLDER_FOR_SCREENSHOTS]
set -euo pipefail

program=$1
shots=${2:-}
command -v xclip >/dev/null || { echo "$(basename "$0"): xclip is not installed"; exit 77; }
source "$(dirname "$0")/xsession.sh"
source "$(dirname "$0")/practice_steps.sh"
open_unit_practice

q=$(question_of 0020)
for ((current = 1; current < q; current++)); do next_question; done
sleep 0.5
record=$(line "$decoded_steps" "$(first_step_of "$q")")

click_at "$(box_x "$record")" "$(box_y "$record")"
xdotool key ctrl+a; sleep 0.3
xdotool type --delay 80 "xyz 12"; sleep 0.3
xdotool key ctrl+a; sleep 0.3
shot clipboard-selected
xdotool key ctrl+c; sleep 0.5
copied=$(xclip -o -selection clipboard)
[[ $copied == "xyz 12" ]] || fail "Ctrl+C put \"$copied\" on the clipboard"
success_shown "$q" && fail "question $q is done before the paste"

# xclip keeps serving the clipboard in the background until the X server goes.
answer=$(answer_of "$record")
printf %s "$answer" | xclip -i -selection clipboard
sleep 0.3
xdotool key ctrl+v; sleep 1
shot clipboard-pasted
success_shown "$q" || fail "pasting \"$answer\" did not complete question $q"
echo "clipboard: Ctrl+C copied to the desktop's clipboard and Ctrl+V pasted from it"
