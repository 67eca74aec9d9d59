# Sourced by the real-window tests: a private X server with the program running on it, its
# own home and runtime folder, and helpers to find and photograph windows.
# Expects: program=PATH, shots=FOLDER or "", optionally before_start=COMMAND. Provides: tmp,
# DISPLAY, program (the copy that runs), bank (its data folder), program_pid, geometry,
# find_window WIDTH HEIGHT, shot NAME, fail MESSAGE.

for tool in Xvfb xdotool import convert iconv; do
    command -v "$tool" >/dev/null || { echo "$(basename "$0"): $tool is not installed"; exit 77; }
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

fail() {
    echo "$(basename "$0"): $*"
    cat "$tmp/program.log"
    exit 1
}

# Its own home and runtime folder, so that nothing of a user's running copy is shared.
export HOME=$tmp/home XDG_RUNTIME_DIR=$tmp/run
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# Xvfb picks a free display number and writes it to the descriptor, with a line end: a number
# read before its line is whole may be another server's. The program starts once it answers.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb_pid=$!
display=
for _ in $(seq 100); do
    read -r display <"$tmp/display" && [[ $display =~ ^[0-9]+$ ]] && break
    display=
    sleep 0.1
done
[[ -n $display ]] || { echo "$(basename "$0"): Xvfb did not start"; cat "$tmp/xvfb.log"; exit 1; }
export DISPLAY=:$display
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
for _ in $(seq 50); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.1
done
xdotool getdisplaygeometry >/dev/null 2>&1 ||
    { echo "$(basename "$0"): Xvfb on $DISPLAY does not answer"; cat "$tmp/xvfb.log"; exit 1; }

# A copy of the installation, so that what the learner does here stays out of the build's own
# records: the program, its files and the question bank, without the build's test programs.
install=$tmp/install
mkdir -p "$install/ksdata"
for f in "$(dirname "$program")"/*; do
    case $(basename "$f") in
        ksdata | test_* | qz_* | fuzz_*) ;;
        *) cp -r "$f" "$install/" ;;
    esac
done
# Records a walk starts from ($seed_records), taken from the build's own ksdata.
for f in ${seed_records:-}; do cp "$(dirname "$program")/ksdata/$f" "$install/ksdata/"; done
program=$install/$(basename "$program")
bank=$install/cadbank
# What a walk must have in place before the program starts ($before_start, a command).
[[ -z ${before_start:-} ]] || $before_start

"$program" >"$tmp/program.log" 2>&1 &
program_pid=$!

geometry() {  # prints "x y width height" of a window
    local X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$1")"
    echo "$X $Y $WIDTH $HEIGHT"
}

# The program's visible window of this size, waited for.
find_window() {
    local w width height
    for _ in $(seq 150); do
        for w in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null || true); do
            read -r _ _ width height <<<"$(geometry "$w")"
            if ((width == $1 && height == $2)); then
                echo "$w"
                return 0
            fi
        done
        kill -0 "$program_pid" 2>/dev/null || return 1
        sleep 0.2
    done
    return 1
}

shot() { [[ -z $shots ]] || import -display "$DISPLAY" -window root "$shots/$1.png"; }
