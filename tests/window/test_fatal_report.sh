#!/usr/bin/env bash
# A reported error abandons its command and nothing else: a broken start-up file and a
# broken file loaded through the Load dialog are each shown in a "ZORV Warning" box and
# logged, and afterwards the wizard keeps running and the next command works.
source "$(dirname "$0")/lib.sh"
win_setup fatal "$2" "$1"

PICTURE="152 122 568 270"
RANGE_MINUS="422 20"
RANGE_PLUS="436 20"
LOAD_BUTTON="734 19"
KESTA="$WIN_DIR/home/Documents/Kesta"
mkdir -p "$KESTA"
echo "<Root><Array>" >"$KESTA/broken.21w"

WARNING="^ZORV Warning$"

win_launch "$KESTA/broken.21w"
win_check "a broken start-up file is reported in a box" win_wait_for 20 win_box_shown "$WARNING"
win_shot startup-box
win_check "the box closes" win_answer_box "$WARNING" Return
win_check "the report is in the log" grep -qF "Error: Could not load array file $KESTA/broken.21w" "$WIN_RUN/LogFile.txt"
win_check "the wizard is still running" win_running

# The same file through the Load button: the failure now leaves a button's handler.
win_click $LOAD_BUTTON
win_check "the Load dialog opens" win_wait_for 20 win_file_dialog_shown load
win_type_into_file_dialog load "$KESTA/broken.21w"
# The Open button at the dialog's lower right.
xdotool mousemove --sync $((X + WIDTH - 57)) $((Y + HEIGHT - 23)) click 1
win_check "the failed load is reported in a box" win_wait_for 20 win_box_shown "$WARNING"
win_shot load-box
win_check "the box closes again" win_answer_box "$WARNING" Return
win_check "the wizard is still running after the failed command" win_running
win_check "both reports are in the log" test "$(grep -cF "Error: Could not load array file" "$WIN_RUN/LogFile.txt")" -ge 2

# The next command works.
win_shot before
win_click $RANGE_MINUS
win_shot after
win_check "the next command changes the picture" win_region_changed before after $PICTURE 200

win_click 773 20
win_check "Exit with the changed count asks to save; Discard answers" win_answer_save_prompt d
win_check "Exit ends the wizard" win_wait_exit 30
win_finish
