#!/usr/bin/env bash
# Starts the real program on a private X server, drags the home window by its title strip with
# the pointer and checks that the window travels exactly as far as the pointer did.
# Usage: window_drag.sh PROGRAM [FOLDER_FOR_SCREENSHOTS]
set -euo pipefail

program=$1
shots=${2:-}
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "window_drag: $tool is not installed"; exit 77; }
done

tmp=$(mktemp -d)
xvfb_pid=
program_pid=
cleanup() {
    local status=$?
    set +e
    [[ -n $program_pid ]] && kill "$program_pid" 2>/dev/null && wait "$program_pid" 2>/dev/null
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$tmp"
    exit "$status"
}
trap cleanup EXIT

# Its own home and runtime folder, so that nothing of a user's running copy is shared.
export HOME=$tmp/home XDG_RUNTIME_DIR=$tmp/run
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# Xvfb picks a free display number and writes it to the descriptor.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [[ -s $tmp/display ]] && break
    sleep 0.1
done
[[ -s $tmp/display ]] || { echo "window_drag: Xvfb did not start"; cat "$tmp/xvfb.log"; exit 1; }
export DISPLAY=:$(tr -d '\n' <"$tmp/display")
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

"$program" >"$tmp/program.log" 2>&1 &
program_pid=$!

geometry() {  # prints "x y width height" of a window
    local X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$1")"
    echo "$X $Y $WIDTH $HEIGHT"
}

# The home screen: the program's window with the full 800 x 600 skin (the splash is smaller).
home=
for _ in $(seq 150); do
    for w in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null || true); do
        read -r _ _ width height <<<"$(geometry "$w")"
        if ((width == 800 && height == 600)); then
            home=$w
            break 2
        fi
    done
    kill -0 "$program_pid" 2>/dev/null || { echo "window_drag: the program ended"; cat "$tmp/program.log"; exit 1; }
    sleep 0.2
done
[[ -n $home ]] || { echo "window_drag: no home window"; cat "$tmp/program.log"; exit 1; }
sleep 1  # let the home screen finish its first paint

shot() { [[ -z $shots ]] || import -display "$DISPLAY" -window root "$shots/$1.png"; }
shot drag-before

read -r x0 y0 _ _ <<<"$(geometry "$home")"
# On the title strip, clear of the buttons at its right end.
px=$((x0 + 200)) py=$((y0 + 20))
xdotool mousemove "$px" "$py"
sleep 0.3
xdotool mousedown 1
sleep 0.3
for step in "3 2" "6 4" "10 7"; do
    read -r dx dy <<<"$step"
    xdotool mousemove "$((px + dx))" "$((py + dy))"
    sleep 0.2
done
xdotool mouseup 1
sleep 0.5
read -r x1 y1 _ _ <<<"$(geometry "$home")"
shot drag-after

echo "window_drag: home window from ($x0, $y0) to ($x1, $y1); pointer travelled (10, 7)"
if ((x1 - x0 != 10 || y1 - y0 != 7)); then
    echo "window_drag: the window travelled ($((x1 - x0)), $((y1 - y0)))"
    cat "$tmp/program.log"
    exit 1
fi
