#!/usr/bin/env bash
# The start-up update check keeps nobody waiting: while the service holds its answer back,
# the window is drawn and answers clicks, and the version label stays plain; when the
# service then names a newer version, the label turns green, and no box is shown.
# The Update button then offers the download: "No" keeps the wizard; "Yes" opens the link
# in the browser and, after the question about the unsaved count change, ends the wizard
# with no further input.
source "$(dirname "$0")/lib.sh"
win_setup update "$2" "$1"

VERSION_LABEL="576 543 136 24"
RANGE_MINUS="422 20"
PICTURE="152 88 568 300"

# A service that takes the request, then answers only once the test allows it.
rm -f "$WIN_DIR/held-port" "$WIN_DIR/answer-now"
timeout 180 python3 - "$WIN_DIR" >"$WIN_DIR/held-service.log" 2>&1 <<'PY' &
import os, socket, sys, time
out = sys.argv[1]
reply = b"<Root><Link>http://127.0.0.1/get-new-wizard</Link><Date>2009-01-01-001</Date><Version>1.03</Version></Root>"
server = socket.socket()
server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
server.bind(("127.0.0.1", 0))
server.listen(4)
with open(out + "/held-port.tmp", "w") as f:
    f.write(str(server.getsockname()[1]))
os.rename(out + "/held-port.tmp", out + "/held-port")
while True:
    connection, _ = server.accept()
    request = connection.recv(4096)
    print("request", request.split(b"\r\n")[0].decode(), time.time(), flush=True)
    # Blanks before the reply keep the connection alive without saying anything; the reply
    # ends with the connection.
    connection.sendall(b"HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\n\r\n")
    while not os.path.exists(out + "/answer-now"):
        connection.sendall(b" " * 40)
        time.sleep(0.2)
    connection.sendall(reply)
    connection.close()
    print("answered", time.time(), flush=True)
PY
WIN_PIDS+=($!)
win_wait_for 10 test -s "$WIN_DIR/held-port" || { echo "held service did not start"; exit 1; }
export DRXWIZARD_UPDATE_URL="http://127.0.0.1:$(cat "$WIN_DIR/held-port")/appservices/kesta-wizard-update.php"

green_pixels() { # screenshot
    local not
    not=$(win_pixels_not "$1" $VERSION_LABEL 55bb55)
    echo $((136 * 24 - not))
}
label_turned_green() {
    win_shot answered
    [ "$(green_pixels answered)" -ge 40 ]
}

# The update check gives up on a reply that takes more than a few seconds, so what happens
# while the service holds back is looked at quickly: no settling pause after the window
# appears, quick screenshots, one click.
quick_shot() { xwd -root -silent | /usr/bin/convert xwd:- "png:$WIN_DIR/$1.png"; }
drawn() { quick_shot held && win_pixel_is held 148 300 60 60 60 >/dev/null; }
clicked_drawn() { quick_shot held-clicked && win_region_changed held held-clicked $PICTURE 200 >/dev/null; }
# The desktop's browser, recording what it is asked to open.
mkdir -p "$WIN_DIR/bin"
printf '#!/bin/sh\necho "$@" >> "%s/browser.log"\n' "$WIN_DIR" > "$WIN_DIR/bin/xdg-open"
chmod +x "$WIN_DIR/bin/xdg-open"
(cd "$WIN_DIR/elsewhere" && exec env HOME="$WIN_DIR/home" PATH="$WIN_DIR/bin:$PATH" "$WIN_RUN/DRXWizard") >"$WIN_DIR/wizard.log" 2>&1 &
WIN_WIZARD=$!
WIN_PIDS+=($WIN_WIZARD)
win_check "the window appears" win_wait_for 60 win_find_window
eval "$(xdotool getwindowgeometry --shell "$WIN_ID")"
CX=$((X + WIN_BORDER))
CY=$((Y + WIN_BORDER + WIN_TITLE))
win_check "the service has the request" win_wait_for 10 grep -q '^request GET /appservices/' "$WIN_DIR/held-service.log"
win_check "the window is drawn while the service holds its answer" win_wait_for 3 drawn
xdotool mousemove --sync $((CX + ${RANGE_MINUS% *})) $((CY + ${RANGE_MINUS#* })) click 1 mousemove 1020 760
win_wait_for 2 clicked_drawn
touch "$WIN_DIR/answer-now"
win_check "the version label is plain meanwhile" test "$(green_pixels held)" -lt 5
win_check "a click changes the picture meanwhile" win_region_changed held held-clicked $PICTURE 200

win_check "the service answers" win_wait_for 10 grep -q '^answered' "$WIN_DIR/held-service.log"
win_check "the version label turns green for the newer version" win_wait_for 15 label_turned_green
win_check "no box is shown" bash -c "! xdotool search --onlyvisible --name 'Newer version|Checking for Updates' >/dev/null 2>&1"
win_check "the service was asked once" test "$(grep -c '^request' "$WIN_DIR/held-service.log")" -eq 1

UPDATE_BUTTON="750 552"
NEWER="^Newer version is available"
win_click $UPDATE_BUTTON
win_check "Update offers the newer version" win_wait_for 20 win_box_shown "$NEWER"
win_check "No closes the offer" win_answer_box "$NEWER" n
sleep 0.5
win_check "and keeps the wizard" win_running
win_check "without opening the browser" test ! -e "$WIN_DIR/browser.log"

win_click $UPDATE_BUTTON
win_check "Update offers it again" win_answer_box "$NEWER" y
win_check "Yes asks about the count change first; Discard answers" win_answer_save_prompt d
win_check "the wizard ends with no further input" win_wait_exit 10
win_check "the download link went to the browser" grep -qx "http://127.0.0.1/get-new-wizard" "$WIN_DIR/browser.log"
win_finish
