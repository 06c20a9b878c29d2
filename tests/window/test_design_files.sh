#!/usr/bin/env bash
# The design's file as the window handles it: the title names it and marks changes; a typed
# height is stored as typed; Ctrl+S writes the file at once, with no dialog; Load with
# changes asks Save / Discard / Cancel, and a name typed into its dialog wins over the file
# highlighted in the list. Escape in the venue view removes the microphone. The window
# keeps its minimum size, and at 200 % on a screen too small for it opens within the screen.
source "$(dirname "$0")/lib.sh"
win_setup design_files "$2" "$1"

SAMPLES="$(dirname "$1")/samples"
KESTA="$WIN_DIR/home/Documents/Kesta"
mkdir -p "$KESTA"
cp "$SAMPLES/club.21w" "$SAMPLES/ballroom.21w" "$KESTA/"
CLUB="$KESTA/club.21w"

RANGE_PLUS="436 20"
LOAD_BUTTON="735 20"
# The hang point's height box: the first venue-area panel's second box.
HANG_HEIGHT="194 464"
AREA_STRIP="152 408 624 127"
PICTURE_MIDDLE="440 300"

title_is() { [ "$(win_title)" = "$1" ] || { echo "  the title is \"$(win_title)\", not \"$1\""; return 1; }; }

# The hang point's height in a design file, in feet.
hang_height_ft() {
    python3 - "$1" <<'PY'
import sys
import xml.etree.ElementTree as ET
for area in ET.parse(sys.argv[1]).getroot().iter("Area"):
    if (area.findtext("Type") or "").strip() == "HangPoint":
        print(round(float(area.find("Line").find("Point1").findtext("Y")) / 12.0, 3))
        break
PY
}

# Opens the load dialog, types NAME into its file name box (the list has the design's own
# file highlighted) and presses Return.
load_by_typing() {
    win_click $LOAD_BUTTON
    win_wait_for 20 win_file_dialog_shown load || { echo "  no load dialog"; return 1; }
    win_type_into_file_dialog load "$1"
    xdotool key Return
}

win_launch "$CLUB"
win_check "the title names the design's file" title_is "  DRX Wizard - club.21w"

# The minimum size: a smaller window is refused.
xdotool windowsize "$WIN_ID" 453 353
sleep 1
win_steady_geometry "$WIN_ID"
win_check "the window keeps at least 800 x 600 (asked 453 x 353, got $WIDTH x $HEIGHT)" \
    test "$WIDTH" -ge 800 -a "$HEIGHT" -ge 600

# A typed height is kept as typed, and Ctrl+S writes it to the design's file at once.
win_click $HANG_HEIGHT
xdotool key ctrl+a
xdotool type --delay 20 "23.3"
xdotool key Return
win_check "the change marks the title" win_wait_for 10 title_is "*  DRX Wizard - club.21w"
xdotool key ctrl+s
win_check "Ctrl+S saves: the mark goes" win_wait_for 10 title_is "  DRX Wizard - club.21w"
win_check "no save dialog opened" test -z "$(xdotool search --name '^Select a file name to save' 2>/dev/null)"
win_check "the file holds the height as typed, 23.3 ft" test "$(hang_height_ft "$CLUB")" = "23.3"

# Escape in the venue view removes the microphone.
win_shot before-microphone
win_click $PICTURE_MIDDLE
win_shot microphone
win_check "a click on the picture shows the microphone over the area panels" \
    win_region_changed before-microphone microphone $AREA_STRIP 500
xdotool key Escape
sleep 1
win_shot escaped
win_check "Escape there removes it" win_region_same before-microphone escaped $AREA_STRIP

# Load over changes asks first; Cancel keeps the design and its changes.
win_click $RANGE_PLUS
win_check "an edit marks the title" win_wait_for 10 title_is "*  DRX Wizard - club.21w"
win_check "the load dialog takes a typed name" load_by_typing "ballroom.21w"
win_check "Load with changes asks Save / Discard / Cancel" win_answer_save_prompt Escape
sleep 1
win_check "Cancel keeps the design, changed" title_is "*  DRX Wizard - club.21w"

# Discard loads the typed name, not the highlighted file, and leaves the file as saved.
win_check "the load dialog takes the typed name again" load_by_typing "ballroom.21w"
win_check "Discard answers" win_answer_save_prompt d
win_check "the typed design is loaded" win_wait_for 10 title_is "  DRX Wizard - ballroom.21w"
win_check "the discarded edit was not saved" test "$(hang_height_ft "$CLUB")" = "23.3"

win_click 773 20
win_check "Exit without changes ends the wizard" win_wait_exit 30

# At 200 % the 800 x 600 window would need 1600 x 1200 pixels of this 1024 x 768 screen.
cat >"$WIN_RUN/Settings.xml" <<'XML'
<Root><UnitType><Value>US</Value></UnitType><UiScale><Value>200</Value></UiScale></Root>
XML
win_launch
win_check "at 200 % the window opens within the screen ($WIN_X, $WIN_Y, $WIN_W x $WIN_H)" \
    test "$WIN_X" -ge 0 -a "$WIN_Y" -ge 0 -a $((WIN_X + WIN_W)) -le 1024 -a $((WIN_Y + WIN_H)) -le 768
win_finish
