#!/usr/bin/env bash
# Slips a user makes and takes back: text that is no length, and a negative length, typed
# into the floor's length box are refused with a warning naming the field and its range,
# and the design stays as it was; Ctrl+Z takes back a count change and a load, Ctrl+Shift+Z
# and Ctrl+Y make the count change again.
source "$(dirname "$0")/lib.sh"
win_setup undo "$2" "$1"

# The floor is area 3: the third panel of the strip at (152, 408), 180 pixels in.
FLOOR_X=$((152 + 180))
FLOOR_Y=408
LENGTH_BOX_X=$((FLOOR_X + 93 + 18))
LENGTH_BOX_Y=$((FLOOR_Y + 75 + 10))
FLOOR_PANEL="$FLOOR_X $FLOOR_Y 135 120"
VIEW="152 88 576 308"
RANGE_BOX="381 12 34 24"
RANGE_MINUS="422 20"
MODULE_LIST="6 10 134 548"
ARRAY_INFO="152 4 480 80"
LOAD_BUTTON="735 20"

# A design to load, written by the command-line tool beside the wizard when there is one.
CLI="$(dirname "$1")/drxwizard-cli"
LOAD_FILE="$WIN_DIR/elsewhere/two.21w"

warning_shown() { xdotool search --name "ZORV Warning" >/dev/null 2>&1; }
logged() { grep -qF -- "$1" "$WIN_RUN/LogFile.txt"; }

# Types TEXT into the floor's length box and presses Enter; a warning is expected.
type_length() { # text
    win_click "$LENGTH_BOX_X" "$LENGTH_BOX_Y"
    xdotool key ctrl+a
    xdotool type --delay 50 -- "$1"
    xdotool key Return
    win_wait_for 10 warning_shown
}

dismiss_warning() {
    win_answer_box "^ZORV Warning$" Return
    win_pointer_away
}

# The panel and the picture under the dismissed warning are both as at the start: on a
# loaded machine the picture may be repainted after the panel.
as_at_start() { win_region_same start "$1" $FLOOR_PANEL && win_region_same start "$1" $VIEW; }

win_launch
win_shot start

type_length abc
win_check "text that is no number brings up a warning" warning_shown
win_shot warned_abc
win_check "the warning names the length and its range" \
    logged "Floor (area 3): Length must be a number greater than 0 ft, not 'abc'"
dismiss_warning
win_shot_when after_abc as_at_start after_abc
win_check "the venue picture is as it was" win_region_same start after_abc $VIEW
win_check "the floor panel shows the stored length again" win_region_same start after_abc $FLOOR_PANEL

type_length -5
win_check "a negative length brings up a warning" warning_shown
win_check "the warning names the length and its range, not -5" \
    logged "Floor (area 3): Length must be a number greater than 0 ft, not '-5'"
dismiss_warning
win_shot_when after_negative as_at_start after_negative
win_check "the venue picture is still as it was" win_region_same start after_negative $VIEW
win_check "the floor panel still shows the stored length" win_region_same start after_negative $FLOOR_PANEL

# Ctrl+Z after a count change.
win_click $RANGE_MINUS
win_shot fewer
win_check "the full-range stepper changes the count" win_region_changed start fewer $RANGE_BOX 10
win_check "the module list changes" win_region_changed start fewer $MODULE_LIST 200
xdotool key ctrl+z
win_shot_when undone win_region_same start undone $MODULE_LIST
win_check "Ctrl+Z brings the count back" win_region_same start undone $ARRAY_INFO
win_check "Ctrl+Z brings the module list back" win_region_same start undone $MODULE_LIST
# The opening picture is drawn on another background than a redrawn one, so only its change shows.
win_check "Ctrl+Z redraws the venue picture" win_region_changed fewer undone $VIEW 200
xdotool key ctrl+shift+z
win_shot_when redone win_region_same fewer redone $VIEW
win_check "Ctrl+Shift+Z makes the count change again" win_region_same fewer redone $ARRAY_INFO
win_check "... and its module list" win_region_same fewer redone $MODULE_LIST
win_check "... and its venue picture" win_region_same fewer redone $VIEW
xdotool key ctrl+z
win_shot_when undone_again win_region_same start undone_again $MODULE_LIST
xdotool key ctrl+y
win_shot_when redone_y win_region_same fewer redone_y $ARRAY_INFO
win_check "Ctrl+Y makes it again too" win_region_same fewer redone_y $ARRAY_INFO
xdotool key ctrl+z
win_check "undone back to the opening design, the title has no mark" win_wait_for 10 win_title_is "  DRX Wizard"

# Ctrl+Z after a load through the Load button's file dialog.
if [ -x "$CLI" ]; then
    "$CLI" --set Model_DRXS1=0 --set Model_DRXR1=2 --set SlotPin=3 --save-array "$LOAD_FILE" >/dev/null 2>&1
fi
win_check "a design to load was written" test -s "$LOAD_FILE"
win_shot before_load
win_click $LOAD_BUTTON
win_check "Load opens the file dialog" win_wait_for 20 win_file_dialog_shown load
win_shot dialog
win_type_into_file_dialog load "$LOAD_FILE"
# Return takes the typed path into the dialog, a second Return opens the file.
xdotool key Return
sleep 0.5
xdotool key Return
win_pointer_away
win_check "Return in the file box opens the file" win_wait_for 20 win_file_dialog_closed load
win_shot_when loaded win_region_changed before_load loaded $MODULE_LIST 200
win_check "the load changes the array info" win_region_changed before_load loaded $ARRAY_INFO 10
win_check "the load changes the module list" win_region_changed before_load loaded $MODULE_LIST 200
# The title follows once the load has ended; Ctrl+Z waits for it.
win_check "a loaded design has no changes" win_wait_for 20 win_title_is "  DRX Wizard - two.21w"
xdotool key ctrl+z
win_shot_when load_undone win_region_same before_load load_undone $MODULE_LIST
win_check "Ctrl+Z after a load brings the array info back" win_region_same before_load load_undone $ARRAY_INFO
win_check "Ctrl+Z after a load brings the module list back" win_region_same before_load load_undone $MODULE_LIST
win_check "Ctrl+Z after a load brings the venue picture back" win_region_same before_load load_undone $VIEW

win_check "the load undone marks the design changed, and it is no longer the file's (Save would not write over it)" \
    win_wait_for 20 win_title_is "*  DRX Wizard"
win_click 773 20
win_check "Exit asks to save; Discard answers" win_answer_save_prompt d
win_check "Exit ends the wizard" win_wait_exit 30
win_finish
