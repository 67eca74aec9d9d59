#!/usr/bin/env bash
# Starts the real program on a private X server and walks a learner's practice with real
# clicks and keys: unit practice on the first unit, its first question, the next one, then
# the end of the practice and back to the home screen, whose progress file then holds the two
# questions. What each step expects is read from the sample's step records.
# Usage: practice_walk.sh PROGRAM [FOLDER_FOR_SCREENSHOTS]
set -euo pipefail

program=$1
shots=${2:-}
source "$(dirname "$0")/xsession.sh"
source "$(dirname "$0")/practice_steps.sh"
open_unit_practice walk-units
shot walk-question1

work_question 1
shot walk-done1
success_shown 1 || fail "question 1 shows no success"

next_question
sleep 0.5
success_shown 2 && fail "question 2 starts as done"
work_question 2
shot walk-done2
success_shown 2 || fail "question 2 shows no success"

# The progress as the home screen left it; the end of the practice is what changes it.
progress=$install/ksdata/288893.mxy
[[ -f $progress ]] || fail "no progress file before the end"
progress_before=$(iconv -f GBK -t UTF-8 "$progress" | tr -d '\r')

click_at $((px + 35)) $((py + 198))  # 结束练习
sleep 1.5
shot walk-end
back=$(find_window 800 600) || fail "no window after the end"
[[ $back != "$main" ]] || fail "the simulated window stayed"
for w in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null || true); do
    read -r _ _ width height <<<"$(geometry "$w")"
    ((width != 332 || height != 242)) || fail "the panel stayed"
done

# Questions 1 and 2 of unit 0 (line 1) are done; every other flag is as before, and the file
# is still CP936 with CR LF line ends.
progress_after=$(iconv -f GBK -t UTF-8 "$progress" | tr -d '\r') || fail "the progress file is not CP936"
lf=$(tr -cd '\n' <"$progress" | wc -c)
cr=$(tr -cd '\r' <"$progress" | wc -c)
crlf=$(grep -c $'\r$' "$progress" || true)
((lf > 0 && cr == lf && crlf == lf)) || fail "the progress file's lines do not end with CR LF"
progress_want=$(awk 'NR == 1 { $0 = "TT" substr($0, 3) } { print }' <<<"$progress_before")
[[ $progress_after == "$progress_want" ]] ||
    fail "progress after the end:"$'\n'"$progress_after"$'\n'"expected:"$'\n'"$progress_want"
echo "practice_walk: two questions done, the practice ended on the home screen"
