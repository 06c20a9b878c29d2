#!/usr/bin/env bash
# Editing the floor's angle in its venue-area panel tilts the floor in the venue picture and
# moves the panel's own end point; two quick steps of its "+" button, closer together than
# the command throttle allows, both reach the venue, which is saved at the exit.
source "$(dirname "$0")/lib.sh"
win_setup area_panel "$2" "$1"

# The floor is area 3: the third panel of the strip at (152, 408), 180 pixels in.
FLOOR_X=$((152 + 180))
FLOOR_Y=408
ANGLE_BOX_X=$((FLOOR_X + 93 + 18))
ANGLE_BOX_Y=$((FLOOR_Y + 15 + 10))
ANGLE_PLUS_X=$((FLOOR_X + 93 + 28))
ANGLE_PLUS_Y=$((FLOOR_Y + 15 + 34))
VIEW="152 122 576 274"
FLOOR_END_Z="$((FLOOR_X + 24)) $((FLOOR_Y + 96)) 37 20"
RAKE_PANEL="$((FLOOR_X + 135)) $FLOOR_Y 135 120"

# The Area whose Name is NAME in the venue record file: its line's angle.
floor_angle_is() { # expected
    python3 - "$WIN_RUN/Venue_Data.xml" "$1" <<'PY'
import sys, xml.etree.ElementTree as ET
areas = [a for a in ET.parse(sys.argv[1]).getroot().iter("Area") if (a.findtext("Name") or "").strip() == "Floor"]
angle = float(areas[0].find("Line").findtext("LAngle")) if areas else None
print("  floor angle in Venue_Data.xml:", angle)
sys.exit(0 if angle is not None and abs(angle - float(sys.argv[2])) < 1e-9 else 1)
PY
}

win_launch
win_shot start

win_click "$ANGLE_BOX_X" "$ANGLE_BOX_Y"
xdotool key ctrl+a
xdotool type --delay 50 "20"
xdotool key Return
win_shot_when typed win_region_changed start typed $VIEW 300
win_check "the typed angle tilts the floor in the venue view" win_region_changed start typed $VIEW 300
win_check "the floor panel shows the moved end point's height" win_region_changed start typed $FLOOR_END_Z
win_check "the rake's panel is left as it was" win_region_same start typed $RAKE_PANEL

xdotool mousemove --sync $((CX + ANGLE_PLUS_X)) $((CY + ANGLE_PLUS_Y))
sleep 0.3
xdotool click 1 sleep 0.05 click 1
win_pointer_away
win_shot_when stepped win_region_changed typed stepped $VIEW
win_check "the two steps move the floor again" win_region_changed typed stepped $VIEW

win_click_screen $((WIN_X + WIN_W - WIN_BORDER - 18)) $((WIN_Y + WIN_BORDER + WIN_TITLE / 2))
win_check "closing the edited venue asks to save; Discard answers" win_answer_save_prompt d
win_check "the close button ends the wizard" win_wait_exit 30
win_check "the venue ends at the angle the panel shows, 20.2 degrees" floor_angle_is 20.2
win_finish
