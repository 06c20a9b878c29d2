# Shared helpers of the window tests: a private X server with a window manager, a local
# update service, a private copy of the wizard, screenshots and pixel probes.
# Source it, then call win_setup NAME OUTPUT_DIR; everything started here is stopped by
# the EXIT trap, each process by its own id.

set -u

WIN_FAILED=0
WIN_PIDS=()

# The JUCE document window draws its own title bar (26 pixels) inside a resizable
# border (4 pixels); the content component starts there.
WIN_BORDER=4
WIN_TITLE=26

win_log() { echo "[$WIN_NAME] $*"; }

win_check() { # description, command...
    local what=$1
    shift
    if "$@"; then
        echo "ok - $what"
    else
        echo "not ok - $what"
        WIN_FAILED=1
    fi
}

win_finish() {
    if [ "$WIN_FAILED" -ne 0 ]; then
        win_log "FAILED (screenshots in $WIN_DIR)"
        exit 1
    fi
    win_log "passed (screenshots in $WIN_DIR)"
    exit 0
}

win_cleanup() {
    local i
    for ((i = ${#WIN_PIDS[@]} - 1; i >= 0; i--)); do
        kill "${WIN_PIDS[$i]}" 2>/dev/null
    done
    for ((i = ${#WIN_PIDS[@]} - 1; i >= 0; i--)); do
        wait "${WIN_PIDS[$i]}" 2>/dev/null
    done
}

win_wait_for() { # seconds, command... : polls every 0.1 s
    local deadline
    deadline=$(win_deadline "$1")
    shift
    until "$@"; do
        win_past "$deadline" && return 1
        sleep 0.1
    done
    return 0
}

# Deadlines in milliseconds, so that waits may be fractions of a second.
win_now() { date +%s%3N; }
win_deadline() { echo $(($(win_now) + $(awk -v s="$1" 'BEGIN { printf "%d", s * 1000 }'))); }
win_past() { [ "$(win_now)" -ge "$1" ]; }

# A checksum of the whole screen as it is now.
win_screen_sum() { xwd -root -silent | md5sum | cut -d' ' -f1; }

# Remembers the screen before an action, so that win_settle can wait for the action's effect.
win_mark() { WIN_MARK=$(win_screen_sum); }

# Waits for the screen to change from the mark (at most SECONDS: an action may rightly change
# nothing), then for it to stop changing: two grabs a fifth of a second apart agree, or about
# five seconds passed. Forgets the mark.
win_settle() { # [seconds]
    local deadline now previous="" tries
    deadline=$(win_deadline "${1:-2}")
    if [ -n "${WIN_MARK:-}" ]; then
        until now=$(win_screen_sum); [ "$now" != "$WIN_MARK" ]; do
            win_past "$deadline" && break
            sleep 0.05
        done
        previous=$now
    fi
    WIN_MARK=""
    [ -n "$previous" ] || previous=$(win_screen_sum)
    for tries in $(seq 1 25); do
        sleep 0.2
        now=$(win_screen_sum)
        [ "$now" = "$previous" ] && return 0
        previous=$now
    done
    return 0
}

# win_setup NAME OUTPUT_DIR WIZARD: a fresh directory OUTPUT_DIR/NAME holding a copy of the
# wizard in run/ (its record files land there), an empty working directory elsewhere/ and
# an empty home; then the X server, the window manager and the update service.
win_setup() {
    WIN_NAME=$1
    WIN_DIR=$2/$1
    local wizard=$3
    for tool in Xvfb openbox xdotool xwd /usr/bin/convert python3; do
        command -v "$tool" >/dev/null || { echo "missing $tool (scripts/setup.sh installs it)"; exit 1; }
    done
    [ -x "$wizard" ] || { echo "no wizard at $wizard"; exit 1; }

    rm -rf "$WIN_DIR"
    mkdir -p "$WIN_DIR/run" "$WIN_DIR/elsewhere" "$WIN_DIR/home"
    cp "$wizard" "$WIN_DIR/run/DRXWizard"
    WIN_RUN=$WIN_DIR/run
    trap win_cleanup EXIT

    # Xvfb picks a free display and tells its number. WIN_SCREEN sets another screen size.
    Xvfb -displayfd 3 -screen 0 "${WIN_SCREEN:-1024x768}x24" -nolisten tcp -noreset 3>"$WIN_DIR/display" 2>"$WIN_DIR/xvfb.log" &
    WIN_PIDS+=($!)
    win_wait_for 15 test -s "$WIN_DIR/display" || { echo "Xvfb did not start"; exit 1; }
    export DISPLAY=":$(head -n1 "$WIN_DIR/display")"
    win_wait_for 10 xdotool getdisplaygeometry >/dev/null 2>&1 || { echo "no display $DISPLAY"; exit 1; }
    openbox --sm-disable >"$WIN_DIR/openbox.log" 2>&1 &
    WIN_PIDS+=($!)
    # The window manager is up once it names its check window on the root window.
    win_wait_for 15 bash -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" \
        || { echo "the window manager did not start"; exit 1; }

    win_start_update_service
}

# A one-reply HTTP service on 127.0.0.1 that says the wizard is up to date, so the
# start-up check shows no box. It ends by itself after three minutes.
win_start_update_service() {
    rm -f "$WIN_DIR/service-port"
    timeout 180 python3 - "$WIN_DIR/service-port" >"$WIN_DIR/service.log" 2>&1 <<'PY' &
import http.server, sys

REPLY = b"<Root><Link>none</Link><Date>2008-11-10-001</Date><Version>Version 1.02</Version></Root>"

class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        self.send_response(200)
        self.send_header("Content-Type", "text/xml")
        self.send_header("Content-Length", str(len(REPLY)))
        self.end_headers()
        self.wfile.write(REPLY)

server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
with open(sys.argv[1] + ".tmp", "w") as f:
    f.write(str(server.server_address[1]))
import os
os.rename(sys.argv[1] + ".tmp", sys.argv[1])
server.serve_forever()
PY
    WIN_PIDS+=($!)
    win_wait_for 10 test -s "$WIN_DIR/service-port" || { echo "update service did not start"; exit 1; }
    export DRXWIZARD_UPDATE_URL="http://127.0.0.1:$(cat "$WIN_DIR/service-port")/appservices/kesta-wizard-update.php"
}

# Starts the wizard (WIN_COMMAND when set, else the copy in run/) from elsewhere/ and waits
# for its window; sets WIN_ID, WIN_X, WIN_Y, WIN_W, WIN_H and the content origin CX, CY.
# Sets X, Y, WIDTH and HEIGHT of a window. A window manager may map a window before it moves
# it into place: the geometry counts once two reads a quarter of a second apart agree.
win_steady_geometry() { # window id
    local geometry="" previous="" tries
    for tries in $(seq 1 40); do
        geometry=$(xdotool getwindowgeometry --shell "$1")
        [ "$geometry" = "$previous" ] && break
        previous=$geometry
        sleep 0.25
    done
    eval "$geometry"
}

# The wizard's file dialog for "load" or "save", once shown.
win_file_dialog() { xdotool search --onlyvisible --name "^Select a file name to $1" 2>/dev/null | head -n1; }
win_file_dialog_shown() { [ -n "$(win_file_dialog "$1")" ]; }
win_file_dialog_closed() { [ -z "$(win_file_dialog "$1")" ]; }

# Types PATH into the file name box of the shown dialog, which sits above its buttons. The
# dialog is found where the window manager put it: on a busy machine not always over the
# window. Leaves the dialog's X, Y, WIDTH and HEIGHT set.
win_type_into_file_dialog() { # load|save path
    win_steady_geometry "$(win_file_dialog "$1")"
    xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + HEIGHT - 62)) click --repeat 3 1
    sleep 0.3
    xdotool key ctrl+a
    xdotool type --delay 20 -- "$2"
    sleep 0.3
}

win_launch() {
    (cd "$WIN_DIR/elsewhere" && exec env HOME="$WIN_DIR/home" "${WIN_COMMAND:-$WIN_RUN/DRXWizard}" "$@") \
        >"$WIN_DIR/wizard.log" 2>&1 &
    WIN_WIZARD=$!
    WIN_PIDS+=($WIN_WIZARD)
    if ! win_wait_for 60 win_find_window; then
        echo "not ok - the wizard's window did not appear"
        WIN_FAILED=1
        win_finish
    fi
    win_steady_geometry "$WIN_ID"
    WIN_X=$X WIN_Y=$Y WIN_W=$WIDTH WIN_H=$HEIGHT
    CX=$((WIN_X + WIN_BORDER))
    CY=$((WIN_Y + WIN_BORDER + WIN_TITLE))
    # The first paint has landed once the content is no longer blank and stops changing.
    win_wait_for 20 win_content_painted
    win_settle 0
}

# Whether the window's content shows more than one colour (a window just mapped is blank).
win_content_painted() {
    [ "$(xwd -id "$WIN_ID" -silent | /usr/bin/convert xwd:- -format '%k' info: 2>/dev/null)" -gt 1 ] 2>/dev/null
}

# The title is "  DRX Wizard", with a leading "*" while the design has unsaved changes.
win_find_window() {
    local id
    for id in $(xdotool search --name "DRX Wizard" 2>/dev/null); do
        if [[ "$(xdotool getwindowname "$id")" =~ ^\*?"  DRX Wizard"( - .+)?$ ]]; then
            WIN_ID=$id
            return 0
        fi
    done
    return 1
}

win_running() { kill -0 "$WIN_WIZARD" 2>/dev/null; }

win_title() { xdotool getwindowname "$WIN_ID"; }
win_title_is() { [ "$(win_title)" = "$1" ]; }

# Whether a window whose name matches the extended regular expression is shown, or not.
win_box_shown() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
win_box_gone() { ! win_box_shown "$1"; }

# Waits for the box named (an extended regular expression) and answers it with a key. On a
# loaded machine a box that has only just appeared may not have the keyboard yet, so the
# key is pressed again while the box stays.
win_answer_box() { # name key
    win_wait_for 20 win_box_shown "$1" || { echo "  no box \"$1\" appeared"; return 1; }
    local tries
    for tries in 1 2 3 4; do
        sleep 0.3
        xdotool key "$2"
        win_wait_for 4 win_box_gone "$1" && return 0
    done
    echo "  the box \"$1\" stayed after $2"
    return 1
}

# The question asked before quitting with unsaved changes.
win_save_prompt_shown() { win_box_shown "^Save changes\?$"; }
win_save_prompt_gone() { win_box_gone "^Save changes\?$"; }

# Answers the save question with a key: s (Save), d (Discard) or Escape (Cancel).
win_answer_save_prompt() { win_answer_box "^Save changes\?$" "$1"; }

# Waits for the wizard to end by itself; its exit status in WIN_EXIT.
win_wait_exit() { # seconds
    if ! win_wait_for "$1" bash -c "! kill -0 $WIN_WIZARD 2>/dev/null"; then
        return 1
    fi
    wait "$WIN_WIZARD"
    WIN_EXIT=$?
    return 0
}

# Moves the pointer to screen (x, y) and waits until it is there. xdotool's --sync waits for
# the pointer to move, which takes its full time-out (about 15 s) when it is there already:
# then it steps aside first, so that the window under it sees the pointer arrive all the same.
win_move_pointer() { # x y
    local at
    at=$(xdotool getmouselocation | sed -n 's/^x:\([0-9]*\) y:\([0-9]*\).*/\1 \2/p')
    [ "$at" != "$1 $2" ] || xdotool mousemove --sync $(($1 - 1)) "$2"
    xdotool mousemove --sync "$1" "$2"
}

# Moves the pointer into the screen's corner, where it covers nothing and shows no tooltip.
win_pointer_away() { win_move_pointer 1020 760; }

# A click at content coordinates (x, y), as a person makes it: the pointer arrives, then
# presses; afterwards it leaves the window so no tooltip covers the next screenshot, and the
# click's effect (if any shows within a second) is waited for.
win_click() {
    win_move_pointer $((CX + $1)) $((CY + $2))
    sleep 0.15
    win_mark
    xdotool click 1
    sleep 0.15
    win_pointer_away
    win_settle 1
}

# A click at screen coordinates.
win_click_screen() {
    win_move_pointer "$1" "$2"
    sleep 0.3
    xdotool click 1
}

# The whole screen as NAME.png in the test's directory, once it has stopped changing
# (a busy machine may still be painting), or after about five seconds.
win_shot() { # name
    local grab=$WIN_DIR/$1.xwd next=$WIN_DIR/$1.next.xwd tries
    xwd -root -silent >"$grab"
    for tries in $(seq 1 25); do
        sleep 0.2
        xwd -root -silent >"$next"
        cmp -s "$grab" "$next" && break
        mv "$next" "$grab"
    done
    /usr/bin/convert "xwd:$grab" "png:$WIN_DIR/$1.png"
    rm -f "$grab" "$next"
}

# Takes screenshot NAME again and again until CHECK passes on it (the action's effect has
# shown), for at most 20 seconds; the checks that follow judge the last one.
win_shot_when() { # name check...
    local name=$1 start deadline
    shift
    start=$(win_now)
    deadline=$(win_deadline 20)
    while :; do
        win_shot "$name"
        if "$@" >/dev/null 2>&1; then
            win_log "$name after $(($(win_now) - start)) ms"
            return 0
        fi
        win_past "$deadline" && { win_log "$name: still not so after 20 s"; return 1; }
        sleep 0.1
    done
}

# The colour at content (x, y) of screenshot NAME as "R G B".
win_pixel() { # name x y
    /usr/bin/convert "$WIN_DIR/$1.png" -crop "1x1+$((CX + $2))+$((CY + $3))" -depth 8 \
        -format '%[fx:round(255*r)] %[fx:round(255*g)] %[fx:round(255*b)]' info:
}

# True when the pixel is within TOLERANCE (6 when not given) of R G B in every channel.
win_pixel_is() { # name x y R G B [tolerance]
    local got
    read -r -a got <<<"$(win_pixel "$1" "$2" "$3")"
    local want=("$4" "$5" "$6") i
    for i in 0 1 2; do
        local d=$((got[i] - want[i]))
        [ "${d#-}" -le "${7:-6}" ] || { echo "  pixel ($2, $3) of $1 is ${got[*]}, not ${want[*]}"; return 1; }
    done
}

# How many pixels of the content rectangle (x, y, w, h) differ between two screenshots.
win_changed_pixels() { # nameA nameB x y w h
    /usr/bin/convert "$WIN_DIR/$1.png" "$WIN_DIR/$2.png" -crop "$5x$6+$((CX + $3))+$((CY + $4))" +repage \
        -compose difference -composite -colorspace gray -threshold 4% \
        -format '%[fx:round(mean*w*h)]' info:
}

win_region_changed() { # nameA nameB x y w h [minimum]
    local n
    n=$(win_changed_pixels "$1" "$2" "$3" "$4" "$5" "$6")
    [ "$n" -ge "${7:-1}" ] || { echo "  only $n pixels of ($3, $4, $5, $6) changed from $1 to $2"; return 1; }
}

win_region_same() { # nameA nameB x y w h
    local n
    n=$(win_changed_pixels "$1" "$2" "$3" "$4" "$5" "$6")
    [ "$n" -eq 0 ] || { echo "  $n pixels of ($3, $4, $5, $6) differ between $1 and $2"; return 1; }
}

# True when every pixel of the content rectangle (x, y, w, h) of NAME is #RRGGBB.
win_region_is() { # name x y w h hex
    local n
    n=$(win_pixels_not "$@")
    [ "$n" -eq 0 ] || { echo "  $n pixels of ($2, $3, $4, $5) in $1 are not #$6"; return 1; }
}

# How many pixels of the content rectangle (x, y, w, h) of NAME are not the colour #RRGGBB.
win_pixels_not() { # name x y w h hex
    /usr/bin/convert "$WIN_DIR/$1.png" -crop "$4x$5+$((CX + $2))+$((CY + $3))" +repage \
        \( +clone -fill "#$6" -colorize 100 \) -compose difference -composite -colorspace gray -threshold 4% \
        -format '%[fx:round(mean*w*h)]' info:
}

# The text of the first element named TAG/Value (or TAG with text) in an XML file,
# whitespace removed: good enough for the small settings files.
win_xml_has() { # file text-without-whitespace
    tr -d ' \t\r\n' <"$1" | grep -qF "$2"
}

# Runs python3 on the content rectangle (x, y, w, h) of screenshot NAME: the script gets
# the pixels as `px(x, y) -> (r, g, b)` with `w` and `h`, and its own arguments in `args`;
# its exit status is the answer.
win_pixels_py() { # name x y w h script [args...]
    local name=$1 x=$2 y=$3 w=$4 h=$5 script=$6
    shift 6
    /usr/bin/convert "$WIN_DIR/$name.png" -crop "${w}x${h}+$((CX + x))+$((CY + y))" +repage -strip -depth 8 ppm:- |
        python3 -c '
import sys
data = sys.stdin.buffer.read()
# P6, width, height, maximum value; comment lines may come between them.
fields, at = [], 0
while len(fields) < 4:
    while data[at:at + 1].isspace():
        at += 1
    if data[at:at + 1] == b"#":
        at = data.index(b"\n", at) + 1
        continue
    end = at
    while not data[end:end + 1].isspace():
        end += 1
    fields.append(data[at:end])
    at = end
w, h = int(fields[1]), int(fields[2])
raw = data[at + 1:]
def px(x, y):
    i = 3 * (y * w + x)
    return raw[i], raw[i + 1], raw[i + 2]
args = sys.argv[2:]
exec(sys.argv[1])
' "$script" "$@"
}

# Columns of the venue picture that show the design rather than the background, the grid,
# its numbers or the names: coloured pixels, or pixels darker than the background (quiet
# surfaces are black).
WIN_DESIGN_COLUMNS='
def design(p):
    return max(p) - min(p) > 24 or max(p) < 0x30
cols = [x for x in range(w) if sum(design(px(x, y)) for y in range(0, h, 2)) >= 2]
'
