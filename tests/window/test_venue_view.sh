#!/usr/bin/env bash
# The venue view as a user meets it: the whole venue at first (Fit), the mouse wheel and
# the zoom buttons, dragging to pan, 1:1 for the classic picture and Fit to come back; a
# larger window gives the view the room while the panels keep their layout; the SPL
# scale's steppers show "+" and "-" and its labels keep their last digit; its Auto toggle
# spreads the scale over the levels on show.
source "$(dirname "$0")/lib.sh"
# A screen with room for the larger window below, frame and all: a window manager may move
# or clamp one that does not fit, at a moment of its choosing.
WIN_SCREEN=1280x1024
win_setup venue_view "$2" "$1"

VIEW_X=152 VIEW_Y=122 VIEW_W=576 VIEW_H=274
VIEW="$VIEW_X $VIEW_Y $VIEW_W $VIEW_H"
# The view's buttons, top right: Fit, -, +, 1:1.
FIT_BUTTON="$((VIEW_X + VIEW_W - 108)) $((VIEW_Y + 14))"
ZOOM_IN="$((VIEW_X + VIEW_W - 49)) $((VIEW_Y + 14))"
CLASSIC_BUTTON="$((VIEW_X + VIEW_W - 19)) $((VIEW_Y + 14))"
# The SPL scale panel at (728, 88): the base stepper's buttons and the top value label.
BASE_MINUS="$((728 + 28)) $((88 + 276)) 14 24"
BASE_PLUS="$((728 + 28 + 15)) $((88 + 276)) 14 24"
TOP_LABEL="$((728 + 27)) $((88 + 2)) 33 20"
UNIT_LABEL="728 $((88 + 324)) 60 16"

# The design's columns lie inside the view, clear of its edges, and fill most of it.
design_fits() { # name width height
    win_pixels_py "$1" "$VIEW_X" "$VIEW_Y" "$2" "$3" "$WIN_DESIGN_COLUMNS"'
print("  design columns", min(cols), "to", max(cols), "of", w)
sys.exit(0 if cols and min(cols) >= 8 and max(cols) <= w - 9 and max(cols) - min(cols) >= w // 2 else 1)'
}

design_reaches_an_edge() { # name
    win_pixels_py "$1" $VIEW "$WIN_DESIGN_COLUMNS"'
print("  design columns", min(cols), "to", max(cols), "of", w)
sys.exit(0 if cols and (min(cols) <= 3 or max(cols) >= w - 4) else 1)'
}

# How far the design moved sideways from one screenshot to the next: the shift that
# matches the two profiles (design pixels per column) best.
design_moved_by() { # before after expected
    local profile='
def design(p):
    return max(p) - min(p) > 24 or max(p) < 0x30
print(" ".join(str(sum(design(px(x, y)) for y in range(h))) for x in range(w)))'
    local a b
    a=$(win_pixels_py "$1" $VIEW "$profile")
    b=$(win_pixels_py "$2" $VIEW "$profile")
    python3 - "$a" "$b" "$3" <<'PY'
import sys
a = [int(v) for v in sys.argv[1].split()]
b = [int(v) for v in sys.argv[2].split()]
def mismatch(s):
    pairs = [(a[x], b[x + s]) for x in range(len(a)) if 0 <= x + s < len(b)]
    return sum(abs(p - q) for p, q in pairs) / len(pairs)
best = min(range(-200, 201), key=mismatch)
print("  the design moved by", best, "pixels")
sys.exit(0 if abs(best - int(sys.argv[3])) <= 6 else 1)
PY
}

# A "+": a bar across and a bar down through the button's middle, in the button's text
# colour (white); "-" has only the bar across; ".." has neither.
glyph_is() { # name x y w h plus|minus
    win_pixels_py "$1" "$2" "$3" "$4" "$5" '
white = lambda p: min(p) > 200
across = max(sum(white(px(x, y)) for x in range(w)) for y in range(h))
down = max(sum(white(px(x, y)) for y in range(h)) for x in range(w))
print("  longest bar across", across, "down", down)
want_down = args[0] == "plus"
sys.exit(0 if across >= 5 and (down >= 5) == want_down else 1)' "$6"
}

# The label's text ends before the panel does (a cut text runs into its edge) and is as
# wide as six characters ("120.00") at this size.
label_is_whole() { # name x y w h
    win_pixels_py "$1" "$2" "$3" "$4" "$5" '
ink = [x for x in range(w) if any(min(px(x, y)) > 150 for y in range(h))]
runs = sum(1 for i, x in enumerate(ink) if i == 0 or x != ink[i - 1] + 1)
print("  text columns", ink[:1], "to", ink[-1:], "in", runs, "runs, label width", w)
sys.exit(0 if ink and ink[-1] <= w - 2 and ink[-1] - ink[0] >= 22 and runs >= 3 else 1)'
}

win_launch
win_shot opened
win_check "the venue view opens on the whole venue" design_fits opened $VIEW_W $VIEW_H
win_check "the steppers show +" glyph_is opened $BASE_PLUS plus
win_check "the steppers show -" glyph_is opened $BASE_MINUS minus
win_check "the top scale label shows all of 120.00" label_is_whole opened $TOP_LABEL
win_check "the scale says its unit" test "$(win_pixels_not opened $UNIT_LABEL 3c3c3c)" -ge 15

# Three notches of the wheel over the view zoom in about the pointer.
xdotool mousemove --sync $((CX + VIEW_X + VIEW_W / 2)) $((CY + VIEW_Y + VIEW_H / 2))
sleep 0.3
xdotool click 4 click 4 click 4
win_pointer_away
win_shot_when zoomed win_region_changed opened zoomed $VIEW 500
win_check "the wheel zooms in" design_reaches_an_edge zoomed
win_check "zooming changes the picture" win_region_changed opened zoomed $VIEW 500

# Dragging moves the picture with the pointer.
xdotool mousemove --sync $((CX + VIEW_X + 200)) $((CY + VIEW_Y + 150))
xdotool mousedown 1
for step in 1 2 3 4 5; do
    xdotool mousemove --sync $((CX + VIEW_X + 200 + 16 * step)) $((CY + VIEW_Y + 150))
    sleep 0.1
done
xdotool mouseup 1
win_pointer_away
win_shot panned
win_check "dragging pans the picture" design_moved_by zoomed panned 80

win_click $FIT_BUTTON
win_shot refit
win_check "Fit shows the whole venue again" win_region_same opened refit $VIEW

win_click $CLASSIC_BUTTON
win_shot classic
win_check "1:1 shows another picture than Fit" win_region_changed opened classic $VIEW 500
win_click $ZOOM_IN
win_shot classic_zoomed
win_check "the + button zooms" win_region_changed classic classic_zoomed $VIEW 500
win_click $FIT_BUTTON

# A larger window: the panels keep their layout at their edges, the view takes the room.
xdotool windowsize --sync "$WIN_ID" 1000 760
# The window manager may move the window to keep it on the screen, on a loaded machine well
# after the resize: the geometry is read again on every try, and the SPL scale at the new
# right edge says the new layout has been drawn where the window now is.
resized_drawn() {
    eval "$(xdotool getwindowgeometry --shell "$WIN_ID")"
    CX=$((X + WIN_BORDER))
    CY=$((Y + WIN_BORDER + WIN_TITLE))
    DX=$((WIDTH - 2 * WIN_BORDER - 800))
    DY=$((HEIGHT - 2 * WIN_BORDER - WIN_TITLE - 600))
    win_shot resized && win_pixel_is resized $((744 + DX)) 100 255 0 0 16 >/dev/null
}
win_wait_for 20 resized_drawn
win_log "window now $WIDTH x $HEIGHT at $X, $Y, content grew by $DX x $DY"
win_check "the window grew" test "$DX" -ge 150 -a "$DY" -ge 100
win_check "the SPL scale moved with the right edge" win_pixel_is resized $((744 + DX)) 100 255 0 0 16
win_check "the Venue Info tab moved with the bottom edge" win_pixel_is resized 236 $((518 + DY)) 83 0 6
win_check "the array info panel stayed" win_pixel_is resized 592 74 170 170 170
win_check "the larger view shows the whole venue larger" design_fits resized $((VIEW_W + DX)) $((VIEW_H + DY))

# A design whose scale was never moved starts with Auto: spread over the levels on show, the
# surfaces take many colours (the classic 110 to 120 dB left most of the venue dark). Auto
# off keeps the scale where it is.
surface_colours() { # name width height
    win_pixels_py "$1" "$VIEW_X" "$VIEW_Y" "$2" "$3" '
seen = {px(x, y) for y in range(h) for x in range(w) if max(px(x, y)) - min(px(x, y)) > 40}
print(len(seen))'
}
colours=$(surface_colours resized $((VIEW_W + DX)) $((VIEW_H + DY)))
win_check "the first picture's surfaces take many colours ($colours)" test "$colours" -ge 1000
win_click $((728 + DX + 10)) $((88 + 347))
win_shot kept
win_check "Auto off keeps the scale and the picture" \
    win_region_same resized kept $VIEW_X $VIEW_Y $((VIEW_W + DX)) $((VIEW_H + DY))

win_click $((773 + DX)) 20
win_check "Exit ends the wizard" win_wait_exit 30
win_finish
