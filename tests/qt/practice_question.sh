#!/usr/bin/env bash
# Starts the real program on a private X server, opens unit practice on the first unit and
# completes its first question with real clicks and keys, reading what each step expects from
# the sample's step records. Passes when the success message is on the screen.
# Usage: practice_question.sh PROGRAM [FOLDER_FOR_SCREENSHOTS]
set -euo pipefail

program=$1
shots=${2:-}
bank=$(dirname "$program")/cadbank
source "$(dirname "$0")/xsession.sh"

home=$(find_window 800 600) || fail "no home window"
sleep 1
read -r hx hy _ _ <<<"$(geometry "$home")"
click_at() {  # X Y [BUTTON [REPEAT]]
    xdotool mousemove "$1" "$2"
    sleep 0.2
    xdotool click --repeat "${4:-1}" --delay 80 "${3:-1}"
    sleep 0.4
}
click_at $((hx + 244)) $((hy + 279))  # 单元练习
sleep 0.5
shot practice-units
click_at $((hx + 660)) $((hy + 520))  # 开始学习

# The simulated window takes the home screen's size; the panel docks at its corner.
main=
for _ in $(seq 50); do
    w=$(find_window 800 600) || fail "no simulated window"
    [[ $w != "$home" ]] && { main=$w; break; }
    sleep 0.2
done
[[ -n $main ]] || fail "the home screen stayed"
find_window 332 242 >/dev/null || fail "no question panel"
sleep 1
read -r mx my _ _ <<<"$(geometry "$main")"
shot practice-question

# Question 1 of the unit: its step count stands in columns 5-6 of the question file's first
# line, and its steps are the first lines of the step file.
line() { iconv -f GBK -t UTF-8 "$1" | sed -n "$2p" | tr -d '\r'; }
steps=$((10#$(line "$bank/288870.mxy" 1 | cut -c5-6)))
previous=
for ((s = 1; s <= steps; s++)); do
    record=$(line "$bank/288820.mxy" "$s")
    code=${record:7:4}
    x=$((10#${record:65:5} / 15 + 10#${record:75:5} / 30 + mx))
    y=$((10#${record:70:5} / 15 + 10#${record:80:5} / 30 + my))
    case $code in
        9999) ;;
        8888) sleep 1.5 ;;
        0002) click_at "$x" "$y" 1 2 ;;
        0003) click_at "$x" "$y" 3 ;;
        0030) xdotool mousemove "$((x - 40))" "$y"; sleep 0.2; xdotool mousemove "$x" "$y"; sleep 0.4 ;;
        # One Enter or Space completes a key step and the "2000" after it.
        2000) [[ $previous == 6002 || $previous == 6102 ]] || { xdotool key Return; sleep 0.4; } ;;
        6002) xdotool key Return; sleep 0.4 ;;
        6*) fail "no key for step $code in this script" ;;
        *) click_at "$x" "$y" ;;
    esac
    previous=$code
done
sleep 0.8
shot practice-done

# "操作成功！" is large red text over the screenshot.
import -display "$DISPLAY" -window "$main" "$tmp/done.png"
red=$(convert "$tmp/done.png" -crop 500x140+170+250 -fuzz 25% -fill black +opaque red -format '%[fx:mean.r]' info:)
echo "practice_question: $steps steps done; red share where the success message goes: $red"
awk -v r="$red" 'BEGIN { exit !(r > 0.02) }' || fail "no success message"
