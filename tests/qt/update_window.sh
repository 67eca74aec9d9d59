#!/usr/bin/env bash
# The update window in a real window: with nothing listening at the build's update server it
# says the check failed and writes nothing; when the server announces a newer list and then
# sends an error page in its place, the check fails the same way, every file stays as it was
# and the program goes on; with the server serving a newer list of two files, Yes replaces
# them, the count is shown, and the program ends.
# Usage: update_window.sh PROGRAM [FOLDER_FOR_SCREENSHOTS]
set -euo pipefail

program=$1
shots=${2:-}
port=38895
for tool in python3 xwininfo; do
    command -v "$tool" >/dev/null || { echo "update_window: $tool is not installed"; exit 77; }
done
# The build's default server address is where this test's server must listen.
if python3 -c "import socket,sys; s=socket.socket(); sys.exit(s.connect_ex(('127.0.0.1',$port))!=0)"; then
    echo "update_window: something already listens on 127.0.0.1:$port"
    exit 77
fi
source "$(dirname "$0")/xsession.sh"

home=$(find_window 800 600) || fail "no home window"
sleep 1
read -r hx hy _ _ <<<"$(geometry "$home")"
click_at() {
    xdotool mousemove "$1" "$2"
    sleep 0.2
    xdotool click 1
}
list_before=$(cat "$bank/288895.mxy" 2>/dev/null || true)
# Every file of the installation with its checksum, but for this run's log.
files_now() {
    (cd "$install" && find . -type f ! -regex './ksdata/[0-9]*\.txt' -print0 | sort -z | xargs -0 sha256sum)
}

# The update button on the cover.
click_at $((hx + 538)) $((hy + 515))
update=$(find_window 370 250) || fail "no update window"
sleep 1
shot update-no-server
[[ ! -e $install/ksdata/288895.mxy ]] || fail "a failed check stored a list"
[[ $(cat "$bank/288895.mxy" 2>/dev/null || true) == "$list_before" ]] || fail "a failed check changed the list"
read -r ux uy _ _ <<<"$(geometry "$update")"
click_at $((ux + 277)) $((uy + 207))  # close
sleep 0.5

# A server with a newer list of two missing files.
cat >"$tmp/server.py" <<'PY'
import http.server, sys
LIST = b"209912312359\r\nD209901010000upd001\r\nK209901010000upd002.txt\r\n"
# What a busy server or a captive portal sends with status 200.
PAGE = b"<html><body>Service temporarily unavailable</body></html>\r\n"
lists = 0
class H(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        global lists
        with open(sys.argv[2], "a") as log:
            log.write(self.path + "\n")
        if self.path.endswith("/288895.txt"):
            lists += 1
            # The first check's second fetch gets the page in place of the list it announced.
            body = PAGE if lists == 2 else LIST
        elif self.path.endswith("/upd001.rar"):
            body = b"first served file"
        elif self.path.endswith("/upd002.rar"):
            body = b"second served file"
        else:
            self.send_response(404); self.send_header("Content-Length", "0"); self.end_headers(); return
        self.send_response(200)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
    def log_message(self, *a): pass
http.server.HTTPServer(("127.0.0.1", int(sys.argv[1])), H).serve_forever()
PY
python3 "$tmp/server.py" "$port" "$tmp/requests.log" &
server_pid=$!
trap 'kill $server_pid 2>/dev/null; cleanup' EXIT
for _ in $(seq 50); do
    python3 -c "import socket,sys; s=socket.socket(); sys.exit(s.connect_ex(('127.0.0.1',$port)))" && break
    sleep 0.1
done

# A message box of the toolkit, answered by its default key with the pointer over it: without a
# window manager the keyboard goes where the pointer is.
answer_box() {
    local w bx by bw bh top
    for _ in $(seq 50); do
        for w in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null || true); do
            [[ $w == "$home" ]] && continue
            read -r bx by bw bh <<<"$(geometry "$w")"
            ((bw == 370 && bh == 250)) && continue  # the update window itself
            ((bw > 100 && bh > 50 && bw < 800)) || continue
            xdotool mousemove $((bx + bw / 2)) $((by + bh / 2))
            sleep 1
            shot "$1"
            # The box is the top window: nothing of the program may cover it.
            top=$(xwininfo -root -children | grep -m1 -o '^ *0x[0-9a-f]* "' | grep -o '0x[0-9a-f]*')
            ((top == w)) || fail "the message box for $1 lies under another window"
            xdotool key Return
            return 0
        done
        sleep 0.2
    done
    fail "no message box for $1"
}
other_windows() {
    local w n=0
    for w in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null || true); do
        [[ $w == "$home" || $w == "$1" ]] || n=$((n + 1))
    done
    echo "$n"
}

# The list announced, then an error page in its place: nothing is asked, nothing changes.
files_before=$(files_now)
click_at $((hx + 538)) $((hy + 515))
update=$(find_window 370 250) || fail "no update window for the error page"
list_fetches() {
    [[ -e $tmp/requests.log ]] || { echo 0; return; }
    grep -c '/288895.txt$' "$tmp/requests.log" || true
}
for _ in $(seq 50); do
    (($(list_fetches) >= 2)) && break
    sleep 0.1
done
(($(list_fetches) == 2)) || fail "the list was not fetched twice"
sleep 1.5
shot update-error-page
kill -0 "$program_pid" 2>/dev/null || fail "the program ended after an error page for the list"
[[ $(other_windows "$update") == 0 ]] || fail "a window opened after an error page for the list"
[[ $(files_now) == "$files_before" ]] || {
    diff <(echo "$files_before") <(files_now)
    fail "an error page for the list changed the installation"
}
! compgen -G "$install/ksdata/.288895.mxy.part.*" >/dev/null || fail "an error page left a part file"
read -r ux uy _ _ <<<"$(geometry "$update")"
click_at $((ux + 277)) $((uy + 207))  # close
sleep 0.5

click_at $((hx + 538)) $((hy + 515))
answer_box update-question
sleep 1
answer_box update-done
for _ in $(seq 50); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$program_pid" 2>/dev/null && fail "the program did not end after the update"
program_pid=
[[ $(cat "$bank/upd001.mxy") == "first served file" ]] || fail "the data file was not replaced"
[[ $(cat "$install/ksdata/upd002.txt") == "second served file" ]] || fail "the ksdata file was not replaced"
cmp -s "$bank/288895.mxy" <(printf '209912312359\r\nD209901010000upd001\r\nK209901010000upd002.txt\r\n') ||
    fail "the installed list is not the served one"
echo "update_window: requests:"; cat "$tmp/requests.log"
