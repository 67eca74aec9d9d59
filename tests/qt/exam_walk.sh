#!/usr/bin/env bash
# Starts the real program on a private X server and takes a mock exam with real clicks and
# keys: the first fixed paper from the home screen's paper list, the login with a seat and an
# ID typed, the tips dialog opened and closed, one question completed and the next one marked,
# the hand-in through both dialogs, a question's requirement on the score report, the report
# closed through the window manager, which ends the program, the program started again to the
# home screen with the paper's score, and a random paper drawn whose login is left. The records
# the exam leaves are checked.
# Usage: exam_walk.sh PROGRAM [FOLDER_FOR_SCREENSHOTS]
set -euo pipefail

program=$1
shots=${2:-}
command -v cc >/dev/null || { echo "exam_walk: no C compiler for the window manager's close"; exit 77; }
# The program ends by itself here, and a sanitizer build checks for leaks as it does.
export LSAN_OPTIONS=${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$(cd "$(dirname "$0")" && pwd)/lsan.supp
source "$(dirname "$0")/xsession.sh"
source "$(dirname "$0")/practice_steps.sh"
cc -o "$tmp/wm_close" "$(dirname "$0")/wm_close.c" -lX11 || fail "the window manager's close does not build"

# The windows that cover the screen (the login, the score report) are the screen's size. The
# controls are placed in design twips, 15 to a pixel, from a window's or a page's corner.
screen_w=1280 screen_h=1024
at() { echo $(($1 + $3 / 15)) $(($2 + $4 / 15)); }  # X0 Y0 TWIPS_X TWIPS_Y
click_in() { click_at $(at "$@"); }

# A window of the program other than the ones given, waited for.
other_window() {
    local w
    for _ in $(seq 50); do
        for w in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null || true); do
            [[ " $* " == *" $w "* ]] || { echo "$w"; return 0; }
        done
        sleep 0.2
    done
    return 1
}
window_gone() {
    for _ in $(seq 50); do
        xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null | grep -qx "$1" || return 0
        sleep 0.2
    done
    return 1
}
# The screen's colour at a point as "R G B", 0 to 255.
pixel() {
    import -display "$DISPLAY" -window root "$tmp/pixel.png"
    convert "$tmp/pixel.png" -crop "1x1+$1+$2" -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:
}
# An area of the screen, kept under a name to compare with later.
keep_area() {  # NAME X Y WIDTH HEIGHT
    import -display "$DISPLAY" -window root "$tmp/area.png"
    convert "$tmp/area.png" -crop "$4x$5+$2+$3" +repage "$tmp/area-$1.png"
}
areas_differ() { [[ $(compare -metric AE "$tmp/area-$1.png" "$tmp/area-$2.png" null: 2>&1 || true) != 0 ]]; }
record() { iconv -f GBK -t UTF-8 "$install/ksdata/$1" | tr -d '\r'; }  # a record file, decoded
crlf_only() {  # every line of a record file ends in CR LF
    local lf cr crlf
    lf=$(tr -cd '\n' <"$1" | wc -c)
    cr=$(tr -cd '\r' <"$1" | wc -c)
    crlf=$(grep -c $'\r$' "$1" || true)
    ((lf > 0 && cr == lf && crlf == lf))
}

# 1. The paper list, and the first paper's start button.
home=$(find_window 800 600) || fail "no home window"
sleep 1
read -r hx hy _ _ <<<"$(geometry "$home")"
click_at $((hx + 530)) $((hy + 279))  # 模拟考试
sleep 0.5
shot exam-list
# Row 0 of the paper section (which starts 1650 down), the blanks of its score and its start
# button.
read -r row_x row_y <<<"$(at "$hx" "$hy" 2880 $((1650 + 120)))"
keep_area score-before $(at "$row_x" "$row_y" 1020 850) 36 16
click_in "$row_x" "$row_y" $((3000 + 637)) $((630 + 225))  # 开始考试

# 2. The login: its input page, the seat and the ID typed, the log-in, the confirmation page
# while the bar runs, and the exam.
logon=$(find_window "$screen_w" "$screen_h") || fail "no login window"
window_gone "$home" || fail "the home screen stayed under the login"
sleep 0.5
click_in 0 0 $((5070 + 1627)) $((4440 + 180))  # the seat box
xdotool key ctrl+a; sleep 0.2
xdotool type --delay 100 07
# The ID box takes digits only, and an X only as the 18th character: the "a" is dropped.
click_in 0 0 $((5070 + 1627)) $((4905 + 180))
xdotool key End shift+Home; sleep 0.2
xdotool type --delay 100 9903031990030300a3x
sleep 0.5
shot exam-login
xdotool mousemove $(at 0 0 $((4275 + 667)) $((5640 + 247)))  # 登录
sleep 0.3
xdotool click 1
sleep 0.2
shot exam-login-confirm
find_session_windows
window_gone "$logon" || fail "the login stayed"
decode_set 0  # fixed paper 0, written when it started
shot exam-clock

# The tips dialog (操作提示, in the demonstration's place): the design's client area on any
# screen, about the screen's centre; a click on its text closes it and the exam goes on.
click_in "$px" "$py" $((3930 + 435)) $((450 + 2355 + 165))
tips=$(find_window 321 342) || fail "no tips dialog"
read -r tx ty _ _ <<<"$(geometry "$tips")"
((tx > (screen_w - 321) / 2 - 20 && tx < (screen_w - 321) / 2 + 20)) || fail "the tips dialog is not centred ($tx)"
sleep 0.5
shot exam-tips
click_in "$tx" "$ty" $((240 + 2190)) $((840 + 600))
window_gone "$tips" || fail "the tips dialog stayed"

# 3. Question 1 completed, question 2 marked (the mark button, 标记本题).
work_question 1
next_question
sleep 0.5
click_in "$px" "$py" $((3030 + 435)) $((450 + 15 + 165))
sleep 0.5
shot exam-marked

# 4. The hand-in: 交卷 on the panel, then each dialog's 交卷. The first warns of questions
# left; both are the same size.
click_in "$px" "$py" $((90 + 435)) $((450 + 2355 + 165))
end1=$(find_window 294 178) || fail "no first hand-in dialog"
read -r dx dy _ _ <<<"$(geometry "$end1")"
sleep 0.5
shot exam-end1
click_in "$dx" "$dy" $((600 + 660)) $((2160 + 210))
window_gone "$end1" || fail "the first hand-in dialog stayed"
end2=$(find_window 294 178) || fail "no second hand-in dialog"
read -r dx dy _ _ <<<"$(geometry "$end2")"
sleep 0.5
shot exam-end2
click_in "$dx" "$dy" $((600 + 660)) $((2160 + 210))

# 5. The score report, its page centred on the screen; question 2's requirement shown by its
# grid number. Question 1's cell is the done colour (green), question 3's the other (red).
report=$(find_window "$screen_w" "$screen_h") || fail "no score report"
window_gone "$main" || fail "the simulated window stayed over the score report"
sleep 1
rx=$(((screen_w - 800) / 2)) ry=$(((screen_h - 600) / 2))
cell() { at "$rx" "$ry" $((3615 + ($1 - 1) % 10 * 480 + 60)) $((5520 + ($1 - 1) / 10 * 480 + 90)); }  # clear of its number
read -r r g b <<<"$(pixel $(cell 1))"
((g > r + 10)) || fail "question 1's cell is not the done colour ($r $g $b)"
read -r r g b <<<"$(pixel $(cell 3))"
((r > g + 10)) || fail "question 3's cell is not the not-done colour ($r $g $b)"
shot exam-report
requirement=($(at "$rx" "$ry" 1072 7770) $((9855 / 15)) $((855 / 15)))
keep_area requirement-before "${requirement[@]}"
click_in "$rx" "$ry" $((3615 + 480 + 225)) $((5520 + 225))
keep_area requirement-after "${requirement[@]}"
areas_differ requirement-before requirement-after || fail "question 2's number shows no requirement"
shot exam-requirement

# The records: the history's first slot holds the exam's time and 2.5 points; the paper's
# wrong questions are its codes but the first; the marked second question is a favourite.
paper=$(iconv -f GBK -t UTF-8 "$bank/288891.mxy" | tr -d '\r' | sed -n 3p | cut -c1-160)
history=$(record 288892.mxy)
[[ $(sed -n 1p <<<"$history") =~ ^[0-9]{4}-[0-9]{2}-[0-9]{2}\ [0-9]{2}:[0-9]{2}:[0-9]{2}$ ]] ||
    fail "the history's first time: $(sed -n 1p <<<"$history")"
[[ $(sed -n 2,3p <<<"$history") == $'2.5\nE' ]] || fail "the history's first score: $(sed -n 2,3p <<<"$history")"
lines=$(wc -l <"$install/ksdata/288892.mxy")
((lines == 94)) && [[ $(sed -n 94p "$install/ksdata/288892.mxy") == $'\r' ]] ||
    fail "the history has $lines lines, not 31 records and an empty one"
crlf_only "$install/ksdata/288892.mxy" || fail "the history's lines do not end with CR LF"
[[ $(record 182400.mxy) == "${paper:4}" ]] || fail "the paper's wrong questions: $(record 182400.mxy)"
[[ $(record 288862.mxy) == *"${paper:4:4}"* ]] || fail "the marked question is no favourite: $(record 288862.mxy)"

# 6. The report closed through the window manager: the last window of the program, whose
# picture window stayed loaded unseen since the exam's first question. The program ends, and
# started again it opens the home screen, not the message that a copy is running; the paper
# section there, its first row with the score.
"$tmp/wm_close" "$report" || fail "the window manager's close was not sent"
for _ in $(seq 50); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$program_pid" 2>/dev/null && fail "the program still runs with its last window closed"
status=0
wait "$program_pid" || status=$?
program_pid=
((status == 0)) || fail "the program ended with status $status"
"$program" >>"$tmp/program.log" 2>&1 &
program_pid=$!
home=$(find_window 800 600) || fail "no home window after the restart"
sleep 1
read -r hx hy _ _ <<<"$(geometry "$home")"
click_at $((hx + 530)) $((hy + 279))  # 模拟考试
sleep 0.5
read -r row_x row_y <<<"$(at "$hx" "$hy" 2880 $((1650 + 120)))"
keep_area score-after $(at "$row_x" "$row_y" 1020 850) 36 16
areas_differ score-before score-after || fail "the first row's score did not change"
shot exam-home

# 7. A random paper drawn (the drawing tab, then its button), its login left with Yes.
click_in "$hx" "$hy" $((15 + 1350)) $((1650 + 1515 + 375))  # 随机组卷
sleep 0.5
shot exam-draw
click_in "$hx" "$hy" $((9750 + 900)) $((1650 + 5850 + 300))
logon=$(find_window "$screen_w" "$screen_h") || fail "no login for the random paper"
sleep 0.5
click_in 0 0 $((6660 + 667)) $((5640 + 247))  # 退出
box=$(other_window "$logon") || fail "no question before leaving the login"
read -r bx by bw bh <<<"$(geometry "$box")"
sleep 0.3
shot exam-leave
# 是 and 否 stand side by side in the box's bottom row, 否 (the default) on the right.
click_at $((bx + bw / 2 - 43)) $((by + bh - 23))
home=$(find_window 800 600) || fail "no home window after leaving the login"
window_gone "$logon" || fail "the login stayed after Yes"
# The drawn paper stays recorded: 40 distinct codes, its history slot (20) and its empty
# wrong-question file.
drawn=$(record 288891.mxy | sed -n 1p)
((${#drawn} == 160)) || fail "the drawn paper: $drawn"
(($(fold -w4 <<<"$drawn" | sort -u | wc -l) == 40)) || fail "the drawn paper repeats a code: $drawn"
[[ $(record 288892.mxy | sed -n 61p) =~ ^[0-9]{4}-[0-9]{2}-[0-9]{2}\  ]] || fail "the draw's history slot: $(record 288892.mxy | sed -n 61p)"
[[ $(cat "$install/ksdata/182420.mxy") == $'\r' ]] || fail "the drawn paper's wrong questions are not one empty line"
echo "exam_walk: a fixed paper taken and handed in with 2.5 points, its requirement shown, the report closed and the program ended, its score shown after the restart, and a random paper drawn and left at its login"
