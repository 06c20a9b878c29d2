#!/usr/bin/env bash
# Started from another working directory, the wizard opens its window and keeps every
# record file beside its executable; the title bar's close button ends it and the user
# settings are saved.
source "$(dirname "$0")/lib.sh"
win_setup startup "$2" "$1"

win_launch
win_check "the window is titled \"  DRX Wizard\" and is 800 x 600" test "$WIN_W x $WIN_H" = "800 x 600"
win_shot started
win_check "the window shows its dark grey background" win_pixel_is started 148 300 60 60 60
win_check "LogFile.txt starts with its time stamp beside the executable" \
    bash -c "head -n1 '$WIN_RUN/LogFile.txt' | grep -q '^Time Stamp'"
win_check "ZORV_Settings.xml holds Run_Directory beside the executable" \
    win_xml_has "$WIN_RUN/ZORV_Settings.xml" '<Run_Directory>..\RunHere\</Run_Directory>'
win_check "nothing is written into the working directory" test -z "$(ls -A "$WIN_DIR/elsewhere")"
win_check "Settings.xml waits for the exit" test ! -e "$WIN_RUN/Settings.xml"

# The close button is the rightmost of the three title-bar buttons.
win_click_screen $((WIN_X + WIN_W - WIN_BORDER - 18)) $((WIN_Y + WIN_BORDER + WIN_TITLE / 2))
win_check "the close button ends the wizard" win_wait_exit 30
win_check "the wizard exits with status 0" test "${WIN_EXIT:-1}" -eq 0
win_check "Settings.xml records the US units beside the executable" \
    win_xml_has "$WIN_RUN/Settings.xml" '<UnitType><Value>US</Value></UnitType><Display><UnitType><Value>feet</Value></UnitType><UnitDescribe><Value>USUnits</Value>'
win_check "the update service was asked once" test "$(grep -c 'GET /appservices/kesta-wizard-update.php' "$WIN_DIR/service.log")" -eq 1
win_finish
