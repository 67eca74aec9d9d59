#!/usr/bin/env bash
# The panel's input-method menu on a desktop running Fcitx5: under a private session bus, a
# Fcitx5 whose group is the US keyboard and chewing. The menu offers both; chewing, chosen,
# is what the simulated window's command line types with once it has the focus, and the
# English entry gives the keyboard back.
# Usage: input_method.sh PROGRAM [FOLDER_FOR_SCREENSHOTS]
set -euo pipefail

for tool in dbus-run-session fcitx5 fcitx5-remote; do
    command -v "$tool" >/dev/null || { echo "$(basename "$0"): $tool is not installed"; exit 77; }
done
[[ -n $(find /usr/lib -path '*fcitx5*' -name 'libchewing.so' 2>/dev/null | head -1) ]] ||
    { echo "$(basename "$0"): fcitx5-chewing is not installed"; exit 77; }
[[ -n $(find /usr/lib -path '*qt6*' -name 'libfcitx5platforminputcontextplugin*.so' 2>/dev/null | head -1) ]] ||
    { echo "$(basename "$0"): fcitx5-frontend-qt6 is not installed"; exit 77; }
# Its own session bus, so that neither the program nor Fcitx5 meets a user's.
[[ -n ${QZ_PRIVATE_BUS:-} ]] || QZ_PRIVATE_BUS=1 exec dbus-run-session -- "$0" "$@"

program=$1
shots=${2:-}
export QT_IM_MODULE=fcitx

# Before the program reads it: the input-method option on, and a Fcitx5 with the two entries.
start_fcitx5() {
    printf '1\r\n' >"$install/ksdata/288890.mxy"
    export XDG_CONFIG_HOME=$tmp/config
    mkdir -p "$XDG_CONFIG_HOME/fcitx5"
    cat >"$XDG_CONFIG_HOME/fcitx5/profile" <<'PROFILE'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=keyboard-us

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=chewing
Layout=

[GroupOrder]
0=Default
PROFILE
    # In the background rather than as a daemon, so that its end is ours to make.
    fcitx5 >"$tmp/fcitx5.log" 2>&1 &
    fcitx5_pid=$!
    # Asked of the bus, not of Fcitx5: a call to it would start a second one through activation.
    for _ in $(seq 100); do
        dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.NameHasOwner string:org.fcitx.Fcitx5 2>/dev/null | grep -q 'boolean true' &&
            return 0
        sleep 0.1
    done
    echo "$(basename "$0"): fcitx5 did not start"
    cat "$tmp/fcitx5.log"
    exit 1
}
before_start=start_fcitx5
fcitx5_pid=
source "$(dirname "$0")/xsession.sh"
# Fcitx5 goes before the session's folders do.
trap 'status=$?; [[ -n $fcitx5_pid ]] && kill "$fcitx5_pid" 2>/dev/null && wait "$fcitx5_pid" 2>/dev/null; (exit $status); cleanup' EXIT
source "$(dirname "$0")/practice_steps.sh"

open_unit_practice

# A question that starts at the command line.
q=$(question_of 0020)
for ((k = 1; k < q; k++)); do next_question; done
sleep 0.5
record=$(line "$decoded_steps" "$(first_step_of "$q")")
shot ime-question

# The panel's input-method label; the menu is the program's one new window.
open_menu() {
    local w known=" $main $panel "
    click_at $((px + 300)) $((py + 223))
    for _ in $(seq 25); do
        for w in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null || true); do
            [[ $known == *" $w "* ]] || { menu=$w; read -r mnx mny mnw mnh <<<"$(geometry "$w")"; return 0; }
        done
        sleep 0.2
    done
    fail "no input-method menu"
}
current_im() { fcitx5-remote -n 2>/dev/null; }

open_menu
shot ime-menu
echo "input_method: menu at $mnx,$mny, $mnw x $mnh"

# Fcitx5 switches the focused window's input: the command line's, which the choice focuses.
im_after() {  # EXPECTED: waits for Fcitx5 to report it
    local now
    for _ in $(seq 20); do
        now=$(current_im)
        [[ $now == "$1" ]] && return 0
        sleep 0.2
    done
    echo "input_method: fcitx5 reports ${now:-nothing}, not $1"
    return 1
}
[[ $(current_im) == keyboard-us ]] || fail "fcitx5 does not start on keyboard-us"
click_at $((mnx + mnw / 2)) $((mny + mnh * 3 / 4))  # the second entry
shot ime-chewing
im_after chewing || fail "choosing chewing switched nothing"

# Away from the command line and back: its focus switches again.
click_at $((px + 150)) $((py + 120))
click_at "$(box_x "$record")" "$(box_y "$record")"
im_after chewing || fail "the command line's focus lost chewing"

open_menu
shot ime-menu2
click_at $((mnx + mnw / 2)) $((mny + mnh / 4))  # 英语（美国）
shot ime-english
im_after keyboard-us || fail "英语（美国） did not give keyboard-us back"
echo "input_method: the menu offered the US keyboard and chewing; each choice switched Fcitx5 at the command line"
