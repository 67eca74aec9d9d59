#!/usr/bin/env bash
# Starts the real program on a private X server, drags the home window by its title strip with
# the pointer and checks that the window travels exactly as far as the pointer did.
# Usage: window_drag.sh PROGRAM [FOLDER_FOR_SCREENSHOTS]
set -euo pipefail

program=$1
shots=${2:-}
source "$(dirname "$0")/xsession.sh"

# The home screen: the program's window with the full 800 x 600 skin (the splash is smaller).
home=$(find_window 800 600) || fail "no home window"
sleep 1  # let the home screen finish its first paint
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
((x1 - x0 == 10 && y1 - y0 == 7)) || fail "the window travelled ($((x1 - x0)), $((y1 - y0)))"
