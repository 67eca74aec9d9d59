#!/usr/bin/env bash
# Starts the real program on a private X server and watches demonstrations with real input:
# in unit practice, the panel's 示范 plays a context menu through a submenu (after the
# question's first step was done by hand), a bar menu through a submenu, a typed command, a
# rubber band and a picture drag, each question then completed by hand from where it was;
# Esc ends one within a second. In an exam, 操作提示 opens the tips dialog, whose answer
# button, confirmed, plays the question and turns the exam into practice.
# While the player shows, the screen is photographed every 300 ms and the session's windows
# must be hidden.
# Usage: demonstration.sh PROGRAM [FOLDER_FOR_SCREENSHOTS]
set -euo pipefail

program=$1
shots=${2:-}
source "$(dirname "$0")/xsession.sh"
source "$(dirname "$0")/practice_steps.sh"

visible_windows() { xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null || true; }
shown() { visible_windows | grep -qx "$1"; }
# The player: a visible window of the simulated window's size that is not the simulated window.
find_player() {
    local w width height
    for _ in $(seq 40); do
        for w in $(visible_windows); do
            [[ $w == "$main" ]] && continue
            read -r _ _ width height <<<"$(geometry "$w")"
            if ((${width:-0} == 800 && ${height:-0} == 600)); then
                echo "$w"
                return 0
            fi
        done
        sleep 0.1
    done
    return 1
}
# Both session windows shown again within a second.
session_back() {
    for _ in $(seq 10); do
        shown "$main" && shown "$panel" && return 0
        sleep 0.1
    done
    return 1
}

keep_area() {  # NAME X Y WIDTH HEIGHT: an area of the screen, kept to compare
    import -display "$DISPLAY" -window root "$tmp/area.png"
    convert "$tmp/area.png" -crop "$4x$5+$2+$3" +repage "$tmp/area-$1.png"
}
areas_differ() { [[ $(compare -metric AE "$tmp/area-$1.png" "$tmp/area-$2.png" null: 2>&1 || true) != 0 ]]; }

frames=${shots:-$tmp/frames}
mkdir -p "$frames"
now_ns() { date +%s%N; }
# Watches a demonstration just asked for: the player, exactly over the simulated window, is
# photographed every 300 ms until it goes, or until Esc, pressed once ESC_AFTER frames are
# taken, has ended it. The session's windows are hidden the whole time and back within a
# second after. The frames must not all be alike: the player moves.
watch_player() {  # NAME [ESC_AFTER]
    local name=$1 player n=0 distinct x y due rest
    player=$(find_player) || fail "$name: no player"
    read -r x y _ _ <<<"$(geometry "$player")"
    ((x == mx && y == my)) || fail "$name: the player is at $x $y, not over the simulated window at $mx $my"
    due=$(now_ns)
    while shown "$player"; do
        ((n < 400)) || fail "$name: the demonstration does not end"
        import -display "$DISPLAY" -window root "$frames/$name-$(printf %03d "$n").png" 2>/dev/null || break
        # The player goes before the session's windows come back, all in one tick.
        if shown "$main" || shown "$panel"; then
            shown "$player" && fail "$name: a session window shows beside the player"
        fi
        n=$((n + 1))
        if [[ -n ${2:-} ]] && ((n == $2)); then
            xdotool key Escape
            for _ in $(seq 10); do
                ! shown "$player" && shown "$main" && shown "$panel" && break
                sleep 0.1
            done
            shown "$player" && fail "$name: Esc did not end the demonstration within a second"
            break
        fi
        due=$((due + 300000000)) rest=$((due - $(now_ns)))
        if ((rest > 0)); then sleep "0.$(printf %09d "$rest")"; else due=$(now_ns); fi
    done
    session_back || fail "$name: the session's windows are not back within a second"
    distinct=$(for f in "$frames/$name"-*.png; do convert "$f" -crop "800x600+$mx+$my" +repage rgb:- | md5sum; done | sort -u | wc -l)
    echo "$(basename "$0"): $name: $n frames, $distinct distinct"
    # Typing leaves the screen alike between its characters, at half a second each.
    ((distinct >= 3 && distinct * 3 >= n)) || fail "$name: the player hardly moves ($distinct distinct frames of $n)"
    [[ -n $shots ]] || rm -f "$frames/$name"-*.png
    sleep 0.5
}
demonstrate() {  # NAME [ESC_AFTER]: the panel's 示范
    xdotool mousemove $((px + 291)) $((py + 198)); sleep 0.2
    xdotool click 1
    watch_player "$@"
}

# 1. Unit practice. Question 7 (a bar menu through a submenu): a demonstration ended by Esc
# after a second, then one in full, then the question by hand.
open_unit_practice
current=1
go_to() { while ((current < $1)); do next_question; current=$((current + 1)); done; sleep 0.5; }

go_to 7
demonstrate demo-q7-esc 4
demonstrate demo-q7
work_question 7
success_shown 7 || fail "question 7 shows no success after its demonstration"

# Question 9 (a context menu, then one through a submenu): its first step by hand, the
# demonstration from the question's start, and the hand goes on from the second step.
go_to 9
work_question 9 1 1
success_shown 9 && fail "question 9 is done after its first step"
demonstrate demo-q9
work_question 9 2
success_shown 9 || fail "question 9 shows no success after its demonstration"

# The rubber band, the picture drag and the typed command.
for q in 15 17 18; do
    go_to "$q"
    demonstrate "demo-q$q"
    work_question "$q"
    success_shown "$q" || fail "question $q shows no success after its demonstration"
done

# The practice's command row, to compare the exam's with once it has turned into practice.
xdotool mousemove 0 0; sleep 0.5
keep_area practice-row "$px" $((py + 184)) 332 28
click_at $((px + 35)) $((py + 198))  # 结束练习

# 2. The first fixed paper, as a learner opens it from the unit section the practice left:
# the paper list, its start button, the login with a seat and an ID.
for _ in $(seq 50); do shown "$main" || break; sleep 0.2; done
home=$(find_window 800 600) || fail "no home window after the practice"
[[ $home != "$main" ]] || fail "the simulated window stayed after the practice"
sleep 1
read -r hx hy _ _ <<<"$(geometry "$home")"
click_at $((hx + (2835 + 615) / 15)) $((hy + (435 + 600) / 15))  # the 模拟考试 tab
sleep 0.5
shot demo-exam-list
click_at $((hx + (2880 + 3000 + 637) / 15)) $((hy + (1650 + 120 + 630 + 225) / 15))  # 开始考试
logon=$(find_window 1280 1024) || fail "no login window"
sleep 0.5
click_at $(((5070 + 1627) / 15)) $(((4440 + 180) / 15))  # the seat
xdotool key ctrl+a; sleep 0.2
xdotool type --delay 100 07
click_at $(((5070 + 1627) / 15)) $(((4905 + 180) / 15))  # the ID
xdotool key End shift+Home; sleep 0.2
xdotool type --delay 100 990303199003030033
click_at $(((4275 + 667) / 15)) $(((5640 + 247) / 15))  # 登录
find_session_windows
decode_set 0
xdotool mousemove 0 0; sleep 0.5
keep_area exam-row "$px" $((py + 184)) 332 28
shot demo-exam

# 3. 操作提示 opens the tips dialog, centred; its 我想立即看答案, answered Yes, demonstrates
# the question and turns the exam into practice.
click_at $((px + 291)) $((py + 198))
tips=$(find_window 321 342) || fail "no tips dialog"
read -r tx ty _ _ <<<"$(geometry "$tips")"
((tx > (1280 - 321) / 2 - 20 && tx < (1280 - 321) / 2 + 20 && ty > (1024 - 342) / 2 - 20 && ty < (1024 - 342) / 2 + 20)) ||
    fail "the tips dialog is not centred ($tx $ty)"
shot demo-tips
click_at $((tx + (2520 + 960) / 15)) $((ty + (4440 + 225) / 15))  # 我想立即看答案
box=
for _ in $(seq 50); do
    for w in $(visible_windows); do
        [[ $w == "$tips" || $w == "$main" || $w == "$panel" ]] || box=$w
    done
    [[ -n $box ]] && break
    sleep 0.2
done
[[ -n $box ]] || fail "no question before the answer"
read -r bx by bw bh <<<"$(geometry "$box")"
sleep 0.3
shot demo-tips-ask
# 是, the box's default button, by Enter.
xdotool mousemove $((bx + bw / 2)) $((by + bh / 2)); sleep 0.2
xdotool key Return
watch_player demo-exam-q1
shown "$tips" && fail "the tips dialog stayed after Yes"
shown "$box" && fail "the question stayed after Yes"
xdotool mousemove 0 0; sleep 0.5
keep_area exam-row-after "$px" $((py + 184)) 332 28
shot demo-exam-after
areas_differ exam-row exam-row-after || fail "the panel keeps the exam's commands"
areas_differ practice-row exam-row-after && fail "the panel's commands are not the practice's"
work_question 1
success_shown 1 || fail "the exam's question 1 shows no success after its demonstration"

echo "demonstration: demonstrations played in practice and in an exam, Esc ends one within a second"
