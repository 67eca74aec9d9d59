#!/usr/bin/env bash
# Starts the real program on a private X server and, with the real pointer and keyboard, opens
# the about box from the version label, then the help section from the cover: every page, the
# long one scrolled with the wheel, a link followed by the keyboard, and the notice strip that
# lies over the bottom of the browser still in sight.
# Usage: help_walk.sh PROGRAM [FOLDER_FOR_SCREENSHOTS]
set -euo pipefail

program=$1
shots=${2:-}
source "$(dirname "$0")/xsession.sh"
command -v compare >/dev/null || { echo "help_walk: compare is not installed"; exit 77; }

# Again with the sample's notice, which the session leaves out with the learner's records.
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
cp "$(dirname "$1")/ksdata/170100.mxy" "$install/ksdata/"
"$program" >"$tmp/program.log" 2>&1 &
program_pid=$!

home=$(find_window 800 600) || fail "no home window"
sleep 1
read -r x0 y0 _ _ <<<"$(geometry "$home")"

click() {  # x y in the home window
    xdotool mousemove "$((x0 + $1))" "$((y0 + $2))"
    sleep 0.2
    xdotool click 1
    sleep 0.6
}
crop() {  # name width height x y, in the home window
    import -display "$DISPLAY" -window root -crop "$2x$3+$((x0 + $4))+$((y0 + $5))" +repage "$tmp/$1.png"
}
differing() { compare -metric AE "$tmp/$1.png" "$tmp/$2.png" null: 2>&1 || true; }
browser() { crop "$1" 590 360 200 176; }  # inside the view's frame, above the notice
notice() { crop "$1" 90 12 202 542; }     # the first line of the notice strip

# The about box from the version label, closed by its OK button.
click 40 585
about=$(find_window 420 280) || fail "the version label opened no about box"
shot about
read -r ax ay _ _ <<<"$(geometry "$about")"
xdotool mousemove "$((ax + 357))" "$((ay + 247))"
sleep 0.2
xdotool click 1
sleep 0.6
for w in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null || true); do
    read -r _ _ width height <<<"$(geometry "$w")"
    ((width != 420 || height != 280)) || fail "the about box stayed open"
done

# The unit section shows the notice over a panel with no browser: the reference for the strip.
click 235 275
notice notice-units
click 56 69  # back to the cover
click 666 515
shot help
for page in 0 1 2 3 4; do
    click 91 $((136 + 50 * page))
    browser "page$page"
    shot "help-page$page"
done
for a in 0 1 2 3 4; do
    for b in 0 1 2 3 4; do
        ((a < b)) || continue
        n=$(differing "page$a" "page$b")
        ((n > 0)) || fail "pages $a and $b look the same"
    done
done
notice notice-help
n=$(differing notice-units notice-help)
((n == 0)) || fail "the browser covers the notice strip ($n pixels differ)"

# The long page scrolls with the wheel.
click 91 186
xdotool mousemove "$((x0 + 500))" "$((y0 + 350))"
for _ in 1 2 3; do xdotool click 5; sleep 0.2; done
sleep 0.4
browser page1-scrolled
shot help-page1-scrolled
n=$(differing page1 page1-scrolled)
((n > 0)) || fail "the long page did not scroll"
# Painted whole again after leaving and reopening the section, the page must look the same:
# a scroll that dragged the notice's pixels along would leave copies of it on the page.
click 56 69
click 666 515
browser page1-repainted
n=$(differing page1-scrolled page1-repainted)
((n == 0)) || fail "the scroll left stale pixels on the page ($n differ)"

# The common questions lead to the answering tips: the first link, taken by the keyboard.
click 91 336
click 700 500
xdotool key Tab
sleep 0.3
xdotool key Return
sleep 0.8
browser page4-followed
shot help-link-followed
n=$(differing page3 page4-followed)
((n == 0)) || fail "the link did not lead to the answering tips ($n pixels differ)"
kill -0 "$program_pid" || fail "the program ended"
echo "help_walk: about box, five pages, a scroll, a link and the notice strip checked"
