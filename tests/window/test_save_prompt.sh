#!/usr/bin/env bash
# Unsaved changes are not lost by quitting: the title marks them with a leading "*"; the
# close button then asks Save / Discard / Cancel, and Cancel keeps the wizard with its
# changes. Save runs the save dialog (and, as the name is taken, the overwrite question) and
# the wizard ends at once when the design is written, with no further input; the next start
# opens that design again, unchanged, and closes without a question.
source "$(dirname "$0")/lib.sh"
win_setup save_prompt "$2" "$1"

RANGE_BOX="381 12 34 24"
MODULE_LIST="6 10 134 548"
PICTURE="152 88 568 300"
RANGE_MINUS="422 20"
KESTA="$WIN_DIR/home/Documents/Kesta"
SAVED="$WIN_DIR/home/saved design.21w"

# The frame's close button, where the window is now (a window manager may still move a
# window it has just mapped).
close_button() {
    win_steady_geometry "$WIN_ID"
    win_click_screen $((X + WIDTH - WIN_BORDER - 18)) $((Y + WIN_BORDER + WIN_TITLE / 2))
}

# Without changes the close button ends the wizard without a question. On a loaded machine
# the window manager may miss a click on its frame: then, and only while no question is
# shown, the button is clicked once more.
closes_without_question() {
    close_button
    win_wait_exit 15 && return 0
    win_save_prompt_shown && { echo "  a save question was asked"; return 1; }
    close_button
    win_wait_exit 15
}

win_launch
win_check "a fresh start has no unsaved changes" win_wait_for 20 win_title_is "  DRX Wizard"
win_click $RANGE_MINUS
win_shot edited
win_check "a count change marks the title" win_wait_for 20 win_title_is "*  DRX Wizard"

close_button
win_check "closing with changes asks to save" win_wait_for 20 win_save_prompt_shown
win_shot asked
win_check "the question is on the screen" win_region_changed edited asked 0 0 800 600 2000
win_check "Cancel answers" win_answer_save_prompt Escape
win_shot cancelled
win_check "Cancel keeps the wizard open" win_running
win_check "the changes are still there" win_region_same edited cancelled $RANGE_BOX
win_check "and still marked" win_wait_for 20 win_title_is "*  DRX Wizard"

# An older file holds the name the design is saved under.
echo "not a design" > "$SAVED"
close_button
win_check "Save answers" win_answer_save_prompt s
win_check "the save dialog opens" win_wait_for 20 win_file_dialog_shown save
win_shot save-dialog
win_type_into_file_dialog save "$SAVED"
# Return takes the typed path into the dialog, a second Return confirms it.
xdotool key Return
sleep 0.5
xdotool key Return
win_check "replacing the older file is asked first" win_answer_box "^File already exists$" o
# No pointer or key moves from here: the quit must not wait for one.
win_check "once saved, the wizard ends" win_wait_exit 10
win_check "the wizard exits with status 0" test "${WIN_EXIT:-1}" -eq 0
win_check "the design is written over the older file" grep -q "<SlotPin>" "$SAVED"
win_check "the settings remember it" grep -qF "$SAVED" "$WIN_RUN/Settings.xml"

# The next start opens the saved design.
win_launch
win_shot reopened
win_check "the saved design opens, without changes" win_wait_for 20 win_title_is "  DRX Wizard - saved design.21w"
win_check "with the saved count" win_region_same edited reopened $RANGE_BOX
win_check "and the saved modules" win_region_same edited reopened $MODULE_LIST
win_check "without changes the close button ends the wizard at once" closes_without_question
win_check "no question was asked" win_save_prompt_gone
win_finish
