#!/usr/bin/env bash
# Starts the real program on the sample's review records and works both review sections with
# real clicks: the favourites' counters and a not-reviewed practice ended back on its section,
# then a clear of the reviewed wrong questions, whose files are checked afterwards.
# Usage: review_walk.sh PROGRAM [FOLDER_FOR_SCREENSHOTS]
set -euo pipefail

program=$1
shots=${2:-}
seed_records="288862.mxy 288872.mxy 288863.mxy 288873.mxy"
source "$(dirname "$0")/xsession.sh"
source "$(dirname "$0")/practice_steps.sh"

record() { iconv -f GBK -t UTF-8 "$install/ksdata/$1" | tr -d '\r'; }
crlf_only() {
    local lf cr
    lf=$(tr -cd '\n' <"$1" | wc -c)
    cr=$(tr -cd '\r' <"$1" | wc -c)
    ((lf > 0 && cr == lf))
}
# Design twips inside a section panel (which starts 1650 down) to a point on the screen.
panel_at() { echo $((hx + $1 / 15)) $((hy + (1650 + $2) / 15)); }

home=$(find_window 800 600) || fail "no home window"
sleep 1
read -r hx hy _ _ <<<"$(geometry "$home")"
favourites_before=$(record 288862.mxy)

# The favourites: through the paper section to its tab, then a practice of the not-reviewed.
click_at $((hx + 530)) $((hy + 279))  # 模拟考试
click_at $((hx + 317)) $((hy + 69))   # 我的收藏
shot review-favourites
click_at $(panel_at $((8880 + 900)) $((2310 + 300)))  # 开始练习
find_session_windows "$home"
shot review-favourites-practice
click_at $((px + 35)) $((py + 198))  # 结束练习
sleep 1.5
back=$(find_window 800 600) || fail "no window after the end"
[[ $back != "$main" ]] || fail "the simulated window stayed"
shot review-favourites-back
[[ $(record 288862.mxy) == "$favourites_before" ]] || fail "the favourites changed: $(record 288862.mxy)"
[[ $(record 288872.mxy) == TFFTFF ]] || fail "the favourites' flags changed: $(record 288872.mxy)"

# The wrong questions: the reviewed group alone, cleared after the confirmation.
read -r hx hy _ _ <<<"$(geometry "$back")"
click_at $((hx + 404)) $((hy + 69))  # 错题回顾
click_at $(panel_at $((5775 + 600)) $((2235 + 225)))  # untick 未复习
click_at $(panel_at $((5775 + 600)) $((2685 + 225)))  # tick 已复习
shot review-wrong-filters
click_at $(panel_at $((6240 + 600)) $((3300 + 187)))  # 清空错题
box=$(find_window 370 250) || fail "no confirmation"
shot review-wrong-confirm
read -r bx by _ _ <<<"$(geometry "$box")"
click_at $((bx + (2460 + 675) / 15)) $((by + (2880 + 225) / 15))  # 确定
sleep 0.5
shot review-wrong-cleared
[[ $(record 288863.mxy) == 0404060408011002 ]] || fail "wrong questions after the clear: $(record 288863.mxy)"
[[ $(record 288873.mxy) == FFFF ]] || fail "their flags after the clear: $(record 288873.mxy)"
crlf_only "$install/ksdata/288863.mxy" && crlf_only "$install/ksdata/288873.mxy" || fail "a record without CR LF"
echo "review_walk: a favourites practice ended on its section; the reviewed wrong question cleared"
