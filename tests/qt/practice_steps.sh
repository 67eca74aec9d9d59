# Sourced by the real-window walks after xsession.sh: opening unit practice from the home
# screen, finding a session's windows, reading the step records of the set being worked, and
# doing what each step expects with real input.

# The question and step files of the set being worked, the texts file and the menu file,
# decoded once: a walk reads many lines of them.
decoded_questions=$tmp/questions.txt decoded_steps=$tmp/steps.txt decoded_texts=$tmp/texts.txt
decoded_menu=$tmp/menu.txt
# Set n's steps are in 2888nn.mxy and its questions in 2888(nn + 50).mxy. A paper's set is
# written when the paper starts, so a walk of a paper decodes it only then.
decode_set() {
    local n
    n=$(printf %02d "$1")
    iconv -f GBK -t UTF-8 "$bank/2888$n.mxy" | tr -d '\r' >"$decoded_steps" || fail "set $1 has no steps file"
    iconv -f GBK -t UTF-8 "$bank/2888$((10#$n + 50)).mxy" | tr -d '\r' >"$decoded_questions" ||
        fail "set $1 has no question file"
}
decode_set 20  # the first unit's
iconv -f GBK -t UTF-8 "$bank/288890.mxy" | tr -d '\r' >"$decoded_texts"
iconv -f GBK -t UTF-8 "$install/sMenu.sys" | tr -d '\r' >"$decoded_menu"

click_at() {  # X Y [BUTTON [REPEAT]]
    xdotool mousemove "$1" "$2"
    sleep 0.2
    xdotool click --repeat "${4:-1}" --delay 80 "${3:-1}"
    sleep 0.4
}

# Unit practice on the first unit, from the home screen; sets main and panel (window ids) and
# mx, my, px, py (their corners). A screenshot name, if given, is taken of the unit section.
open_unit_practice() {
    local home hx hy
    home=$(find_window 800 600) || fail "no home window"
    sleep 1
    read -r hx hy _ _ <<<"$(geometry "$home")"
    click_at $((hx + 244)) $((hy + 279))  # 单元练习
    sleep 0.5
    [[ -z ${1:-} ]] || shot "$1"
    click_at $((hx + 660)) $((hy + 520))  # 开始学习
    find_session_windows "$home"
}

# The simulated window and the question panel of a session just opened; sets main and panel
# (window ids) and mx, my, px, py (their corners). The simulated window takes the home
# screen's size, so a home window given is waited away; the panel docks at the corner.
find_session_windows() {
    local w
    main=
    for _ in $(seq 50); do
        w=$(find_window 800 600) || fail "no simulated window"
        [[ $w != "${1:-}" ]] && { main=$w; break; }
        sleep 0.2
    done
    [[ -n $main ]] || fail "the home screen stayed"
    panel=$(find_window 332 242) || fail "no question panel"
    sleep 1
    read -r mx my _ _ <<<"$(geometry "$main")"
    read -r px py _ _ <<<"$(geometry "$panel")"
}

line() { sed -n "$2p" "$1"; }  # FILE N: line N of a decoded file
# A question's step count stands in columns 5-6 of its question line; its steps follow those
# of the questions before it in the step file.
step_count_of() { echo $((10#$(line "$decoded_questions" "$1" | cut -c5-6))); }
first_step_of() {
    local q=$1 s first=1
    for ((s = 1; s < q; s++)); do first=$((first + $(step_count_of "$s"))); done
    echo "$first"
}
# The first question whose first step is of the kind asked for.
question_of() {
    local q count
    count=$(grep -c . "$decoded_questions")
    for ((q = 1; q <= count; q++)); do
        [[ $(line "$decoded_steps" "$(first_step_of "$q")" | cut -c8-11) == "$1" ]] && { echo "$q"; return; }
    done
    fail "no question starts with $1"
}
# The centre of a step's command box, from columns 86-105 of its record.
box_x() { echo $((10#${1:85:5} / 15 + 10#${1:95:5} / 30 + mx)); }
box_y() { echo $((10#${1:90:5} / 15 + 10#${1:100:5} / 30 + my)); }
# The answer of a typed step: the first alternative of its text line.
answer_of() { line "$decoded_texts" $((10#${1:108:3})) | cut -c4- | cut -d'|' -f1; }
# The key a "6SKK" step expects, as xdotool names it.
key_of() {
    local shift=$((10#${1:1:1})) kk=$((10#${1:2:2})) name
    case $kk in
        15) name=F4 ;; 20) name=F9 ;; 91) name=slash ;; 3) name=F2 ;; 99) name=period ;;
        2) name=Return ;; 27) name=Escape ;; 32) name=space ;; 46) name=Delete ;;
        *) ((kk >= 65 && kk <= 90)) && name=$(printf "\\x$(printf %x $((kk + 32)))") || fail "no key for $1" ;;
    esac
    ((shift & 1)) && name=shift+$name
    ((shift & 2)) && name=ctrl+$name
    echo "$name"
}
# The keys that choose, in the open popup, the item a menu step code names: the access key of
# its submenu, if any, then the item's own access key, or Down to it from the submenu's first
# entry (which opening by key makes current), separators skipped. The item line of array A of
# menu M stands at a fixed row of the menu's 15-line block in sMenu.sys.
menu_keys() {
    local code=$1 base=0 menu=${1:1:1} array=${1:2:1} item=${1:3:1} rows=(0 3 4 6 7 9 10 12 14 15)
    case ${code:0:1} in 3 | 4) base=165 ;; C) base=300 ;; esac
    [[ ${code:0:3} == B22 ]] && menu=11
    local at=$((base + (menu - 1) * 15 + rows[array])) entries entry k downs=0 keys=()
    entries=$(line "$decoded_menu" "$at")
    case $array in
        1 | 3 | 5 | 7 | 8) keys+=("$(access_key "$(line "$decoded_menu" $((at - 1)))")") ;;
    esac
    IFS='|' read -r -a entries <<<"$entries"
    entry=${entries[item]}
    if [[ $entry == *"(&"* ]]; then
        keys+=("$(access_key "$entry")")
    else
        for ((k = 0; k < item; k++)); do [[ ${entries[k]} == - ]] || downs=$((downs + 1)); done
        for ((k = 0; k < downs; k++)); do keys+=(Down); done
        keys+=(Return)
    fi
    echo "${keys[@]}"
}
access_key() { local k=${1#*(&}; echo "${k:0:1}" | tr '[:upper:]' '[:lower:]'; }
choose_by_keys() {
    local k
    sleep 0.6
    shot "menu-$1"
    for k in $(menu_keys "$1"); do xdotool key "$k"; sleep 0.4; done
    sleep 0.4
}

# The panel's 下一题 button.
next_question() { click_at $((px + 92)) $((py + 42)); }

# Works question q of the unit, step by step: all its steps, or those from FROM to TO
# (counted from 1) when a question is taken up in the middle or left there.
work_question() {
    local q=$1 first steps s record code x y previous=
    first=$(first_step_of "$q")
    steps=$(step_count_of "$q")
    for ((s = ${2:-1} - 1; s < ${3:-$steps}; s++)); do
        record=$(line "$decoded_steps" $((first + s)))
        code=${record:7:4}
        x=$((10#${record:65:5} / 15 + 10#${record:75:5} / 30 + mx))
        y=$((10#${record:70:5} / 15 + 10#${record:80:5} / 30 + my))
        # A hot spot of height 0 is one line high: pointed at just inside its top-left corner.
        if [[ ${record:80:5} == 00000 && ${record:65:15} != 000000000000000 ]]; then
            x=$((10#${record:65:5} / 15 + mx + 3)) y=$((10#${record:70:5} / 15 + my + 3))
        fi
        case $code in
            9999) ;;
            8888) sleep 1.5 ;;
            0002) click_at "$x" "$y" 1 2 ;;
            0003) click_at "$x" "$y" 3 ;;
            0030) xdotool mousemove "$((x - 40))" "$y"; sleep 0.2; xdotool mousemove "$x" "$y"; sleep 0.4 ;;
            # One Enter or Space completes a key step and the "2000" after it.
            2000) [[ $previous == 6002 || $previous == 6102 ]] || { xdotool key Return; sleep 0.4; } ;;
            6*) xdotool key "$(key_of "$code")"; sleep 0.4 ;;
            004? | 005?)
                # From inside the work area, away from the hot spot, to the hot spot's centre.
                local ax=$((10#${record:176:5} / 15 + mx + 6)) ay=$((10#${record:182:4} / 15 + my + 6))
                local shifted=$((10#${code:3:1} & 1))
                xdotool mousemove "$ax" "$ay"; sleep 0.2
                ((shifted)) && xdotool keydown shift
                xdotool mousedown 1; sleep 0.2
                xdotool mousemove $(((ax + x) / 2)) $(((ay + y) / 2)); sleep 0.2
                xdotool mousemove "$x" "$y"; sleep 0.2
                xdotool mouseup 1; sleep 0.3
                ((shifted)) && xdotool keyup shift
                sleep 0.3 ;;
            # A context menu opens on a right click over the hot spot; a drop-down on a click on
            # its title, 54 pixels apart from the record's menu-bar origin.
            [34][1-9][1-9][0-9]) click_at "$x" "$y" 3; choose_by_keys "$code" ;;
            [ABC][1-9][1-9][0-9])
                [[ ${record:124:10} != 0000000000 ]] || fail "step $code has no menu bar"
                local title=$((10#${code:1:1} - 1))
                [[ ${code:0:3} == B22 ]] && title=10
                click_at $((10#${record:124:5} / 15 + mx + 54 * title + 14)) $((10#${record:129:5} / 15 + my + 8))
                choose_by_keys "$code" ;;
            0020 | 0021)
                # The answer's first alternative, typed; Chinese arrives as committed text. A
                # rename is done as a learner does it: a click into the box, which leaves the
                # name unselected, then Ctrl+A and the new name over it.
                if [[ $code == 0021 ]]; then
                    click_at "$(box_x "$record")" "$(box_y "$record")"
                    xdotool key ctrl+a; sleep 0.3
                    shot rename-selected
                fi
                xdotool type --delay 120 "$(answer_of "$record")"; sleep 0.6 ;;
            # The picture follows the pointer halfway at each move; it is let go once past
            # its place in the step's direction, where it snaps.
            800[1-46-9])
                local ix=$((10#${record:150:5} / 15 + mx + 4)) iy=$((10#${record:155:5} / 15 + my + 4))
                local tx=$((10#${record:166:5} / 15 + mx + 4)) ty=$((10#${record:171:5} / 15 + my + 4)) k
                case $code in 8001 | 8006 | 8008) tx=$((tx - 20)) ;; 8002 | 8007 | 8009) tx=$((tx + 20)) ;; *) tx=$ix ;; esac
                case $code in 8003 | 8008 | 8009) ty=$((ty - 20)) ;; 8004 | 8006 | 8007) ty=$((ty + 20)) ;; *) ty=$iy ;; esac
                xdotool mousemove "$ix" "$iy"; sleep 0.2
                xdotool mousedown 1; sleep 0.2
                for ((k = 1; k <= 8; k++)); do
                    xdotool mousemove $((ix + (tx - ix) * k / 8)) $((iy + (ty - iy) * k / 8)); sleep 0.1
                done
                for ((k = 0; k < 6; k++)); do xdotool mousemove $((tx + k % 2)) $((ty + k % 2)); sleep 0.1; done
                xdotool mouseup 1; sleep 0.5 ;;
            *) click_at "$x" "$y" ;;
        esac
        previous=$code
    done
    sleep 0.8
}
# "操作成功！" is large red text over the screenshot.
success_shown() {
    import -display "$DISPLAY" -window "$main" "$tmp/done.png"
    local red
    red=$(convert "$tmp/done.png" -crop 500x140+170+250 -fuzz 25% -fill black +opaque red -format '%[fx:mean.r]' info:)
    echo "$(basename "$0"): question $1: red share where the success message goes: $red"
    awk -v r="$red" 'BEGIN { exit !(r > 0.02) }'
}

