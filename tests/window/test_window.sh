#!/usr/bin/env bash
# The wizard's window as a user meets it. Started from another working directory, it opens
# its window and keeps every record file beside its executable; the venue picture, the array
# info and the SPL scale on opening; the full-range count stepper changes the count, the
# array angle and the picture; the unit button switches the units shown; Exit writes the
# record files and the user settings.
source "$(dirname "$0")/lib.sh"
win_setup window "$2" "$1"

# Content rectangles (x y w h) of what the test looks at.
RANGE_BOX="381 12 34 24"
ANGLE_BOX="533 37 47 22"
PICTURE="152 122 568 270"
MODULE_LIST="6 10 134 548"
UNITS_LABEL="273 544 40 22"
RANGE_MINUS="422 20"
SUB_MINUS="422 45"
RANGE_PLUS="436 20"

win_launch
win_shot opened
win_check "the window is titled \"  DRX Wizard\" and is 800 x 600" \
    test "$(win_title) $WIN_W x $WIN_H" = "  DRX Wizard 800 x 600"
win_check "the window shows its dark grey background" win_pixel_is opened 148 300 60 60 60
win_check "LogFile.txt starts with its time stamp beside the executable" \
    bash -c "head -n1 '$WIN_RUN/LogFile.txt' | grep -q '^Time Stamp'"
win_check "ZORV_Settings.xml holds Run_Directory beside the executable" \
    win_xml_has "$WIN_RUN/ZORV_Settings.xml" '<Run_Directory>..\RunHere\</Run_Directory>'
win_check "nothing is written into the working directory" test -z "$(ls -A "$WIN_DIR/elsewhere")"
win_check "Settings.xml waits for the exit" test ! -e "$WIN_RUN/Settings.xml"
win_check "the array info panel is grey" win_pixel_is opened 592 74 170 170 170
win_check "the module list panel is grey" win_pixel_is opened 4 300 170 170 170
win_check "the Venue Info tab is dark red" win_pixel_is opened 236 518 83 0 6
# The picture is drawn on dark grey; the scene's lines and surfaces, the grid and the
# names stand out.
win_check "the venue view shows the drawn venue" \
    test "$(win_pixels_not opened $PICTURE 3c3c3c)" -ge 1500
win_check "the opening picture is drawn on dark grey" \
    test "$(win_pixels_not opened $PICTURE 3c3c3c)" -le $((568 * 270 / 2))
win_check "the SPL scale's bar is red at its top" win_pixel_is opened 744 100 255 0 0 16
win_check "the SPL scale's bar is black at its bottom" win_pixel_is opened 744 361 0 0 0 16

# The start-up array is a random choice (a subwoofer on top or not). Without the subwoofer,
# six full-range modules fit: every start ends the same.
win_click $SUB_MINUS
win_click $RANGE_PLUS
win_click $RANGE_MINUS
win_shot fewer
win_click $RANGE_PLUS
win_shot more
win_check "the full-range count changes" win_region_changed fewer more $RANGE_BOX 10
win_check "the array angle changes" win_region_changed fewer more $ANGLE_BOX 10
win_check "the venue picture changes" win_region_changed fewer more $PICTURE 200
win_check "the module list gains a panel" win_region_changed fewer more $MODULE_LIST 200
win_check "a redrawn picture is drawn on dark grey" \
    test "$(win_pixels_not more $PICTURE 3c3c3c)" -le $((568 * 270 / 2))

win_click 660 70
win_shot meters
win_check "the unit button changes the units label" win_region_changed more meters $UNITS_LABEL 20
win_click 660 70
win_shot feet
win_check "a second press shows the first units again" win_region_same more feet $UNITS_LABEL
win_click 660 70

win_click 773 20
win_check "Exit with the changed count asks to save; Discard answers" win_answer_save_prompt d
win_check "Exit ends the wizard" win_wait_exit 30
win_check "the wizard exits with status 0" test "${WIN_EXIT:-1}" -eq 0
for file in Settings.xml Array_Output.xml Venue_Data.xml Scene_Data.xml SPLPolarData.xml; do
    win_check "$file is written" test -s "$WIN_RUN/$file"
done
win_check "Settings.xml ends on the units last shown, meters" \
    win_xml_has "$WIN_RUN/Settings.xml" '<UnitType><Value>SI</Value></UnitType><Display><UnitType><Value>meters</Value>'
win_check "Array_Output.xml holds the six full-range modules" \
    win_xml_has "$WIN_RUN/Array_Output.xml" '<Total_Model_2><Value>6</Value></Total_Model_2>'
win_check "nothing is written into the working directory at the exit either" test -z "$(ls -A "$WIN_DIR/elsewhere")"
win_check "the update service was asked once" \
    test "$(grep -c 'GET /appservices/kesta-wizard-update.php' "$WIN_DIR/service.log")" -eq 1
win_finish
