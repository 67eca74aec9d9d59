#!/usr/bin/env bash
# Starts the real program on the sample's review records, clears the reviewed wrong questions
# with real clicks, and kills the program with SIGKILL between the pair's two renames: the list
# is in place, its flags not yet. Started again, the program completes the pair before the
# home screen reads it, and leaves nothing of the cut write behind.
# Usage: kill_walk.sh PROGRAM [FOLDER_FOR_SCREENSHOTS]
set -euo pipefail

program=$1
shots=${2:-}
command -v cc >/dev/null || { echo "kill_walk: no C compiler for the rename hook"; exit 77; }
hook_dir=$(mktemp -d)
trap 'rm -rf "$hook_dir"' EXIT
cc -shared -fPIC -o "$hook_dir/kill_at_rename.so" "$(dirname "$0")/kill_at_rename.c" -ldl ||
    { echo "kill_walk: the rename hook does not build"; exit 1; }
# The first run only; a sanitizer's runtime need not come first for this.
export LD_PRELOAD=$hook_dir/kill_at_rename.so QZ_KILL_AT_RENAME=288873.mxy
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0
seed_records="288862.mxy 288872.mxy 288863.mxy 288873.mxy"
source "$(dirname "$0")/xsession.sh"
unset LD_PRELOAD QZ_KILL_AT_RENAME
hook_cleanup() {
    local status=$?
    rm -rf "$hook_dir"
    (exit "$status")
    cleanup
}
trap hook_cleanup EXIT
source "$(dirname "$0")/practice_steps.sh"

ks=$install/ksdata
record() { iconv -f GBK -t UTF-8 "$ks/$1" | tr -d '\r'; }
panel_at() { echo $((hx + $1 / 15)) $((hy + (1650 + $2) / 15)); }
# The program folder's lock stays from the first start on: no leftover.
leftovers() { ls -A "$ks" | grep '^\.' | grep -vx '\.instance\.lock' || true; }

[[ $(record 288863.mxy) == 04040502060408011002 && $(record 288873.mxy) == FTFFF ]] ||
    fail "the sample's wrong questions are not what this walk clears"
home=$(find_window 800 600) || fail "no home window"
sleep 1
read -r hx hy _ _ <<<"$(geometry "$home")"
click_at $((hx + 530)) $((hy + 279))  # 模拟考试
click_at $((hx + 404)) $((hy + 69))   # 错题回顾
shot kill-wrong-questions
click_at $(panel_at $((5775 + 600)) $((2235 + 225)))  # untick 未复习
click_at $(panel_at $((5775 + 600)) $((2685 + 225)))  # tick 已复习
click_at $(panel_at $((6240 + 600)) $((3300 + 187)))  # 清空错题
box=$(find_window 370 250) || fail "no confirmation"
read -r bx by _ _ <<<"$(geometry "$box")"
click_at $((bx + (2460 + 675) / 15)) $((by + (2880 + 225) / 15))  # 确定

# Killed at the flags' rename: the new list over the old flags, which would pair the reviewed
# flag of 0502 with 0604.
status=0
for _ in $(seq 50); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
wait "$program_pid" || status=$?
program_pid=
((status == 128 + 9)) || fail "the program was not killed at the flags' rename (status $status)"
[[ $(record 288863.mxy) == 0404060408011002 ]] || fail "the list was not in place at the kill: $(record 288863.mxy)"
[[ $(record 288873.mxy) == FTFFF ]] || fail "the flags were replaced before the kill: $(record 288873.mxy)"
[[ -f $ks/.records.intent ]] || fail "no intent file at the kill"
[[ -n $(leftovers | grep -v '^\.records\.intent$') ]] || fail "no temporary file left at the kill"

# Started again, as the learner would.
"$program" >"$tmp/program2.log" 2>&1 &
program_pid=$!
home=$(find_window 800 600) || fail "no home window after the restart"
sleep 1
[[ $(record 288863.mxy) == 0404060408011002 ]] || fail "wrong questions after the restart: $(record 288863.mxy)"
[[ $(record 288873.mxy) == FFFF ]] || fail "their flags after the restart: $(record 288873.mxy)"
[[ -z $(leftovers) ]] || fail "left behind after the restart: $(leftovers | tr '\n' ' ')"
log=$(cat "$ks"/*.txt | iconv -f GBK -t UTF-8 | tr -d '\r')
grep -q "已完成上次中断的记录保存:288863.mxy 288873.mxy" <<<"$log" || fail "no run-log line of the completed pair"
grep -q "已删除中断的保存留下的文件:ksdata/\.288873\.mxy\." <<<"$log" || fail "no run-log line of the sweep"
read -r hx hy _ _ <<<"$(geometry "$home")"
click_at $((hx + 530)) $((hy + 279))  # 模拟考试
click_at $((hx + 404)) $((hy + 69))   # 错题回顾
sleep 0.5
shot kill-restarted-wrong-questions
echo "kill_walk: killed between the pair's renames; the restart completed the pair and swept the rest"
