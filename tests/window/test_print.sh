#!/usr/bin/env bash
# Print as a user meets it: the design report and the whole picture are written beside the
# wizard, the report goes to the browser and a box says so; when no browser can be
# started, a box says where the report is. The "browsers" here are scripts on the PATH
# that record what they were given.
source "$(dirname "$0")/lib.sh"
win_setup print "$2" "$1"

PRINT_BUTTON="659 20"
OPENERS="$WIN_DIR/openers"
OPENED="$WIN_DIR/opened.txt"
mkdir -p "$OPENERS"
# One opener takes the page; the others find no browser, as xdg-open says by its status.
set_openers() { # xdg-open's body
    for name in xdg-open x-www-browser sensible-browser; do
        printf '#!/bin/sh\nexit 3\n' >"$OPENERS/$name"
    done
    printf '#!/bin/sh\n%s\n' "$1" >"$OPENERS/xdg-open"
    chmod +x "$OPENERS"/*
}
set_openers "echo \"\$1\" >>'$OPENED'"
export PATH="$OPENERS:$PATH"

win_box_shown() { xdotool search --name "^DRX Wizard: Print$" >/dev/null 2>&1; }
win_box_gone() { ! win_box_shown; }
picture_size() { /usr/bin/convert "$WIN_RUN/PrintOutput.png" -format '%w x %h' info:; }

win_launch
win_click $PRINT_BUTTON
win_check "Print hands the report to the browser" win_wait_for 20 test -s "$OPENED"
win_check "the browser gets the report beside the wizard" \
    grep -qx "file://$WIN_RUN/DRXWizard_Report.html" "$OPENED"
win_check "a box says the report is open" win_wait_for 10 win_box_shown
win_shot opened-box
xdotool key Return
win_check "the box closes" win_wait_for 10 win_box_gone
win_check "the report is one page with the picture inside" \
    grep -q 'src="data:image/png;base64,' "$WIN_RUN/DRXWizard_Report.html"
win_check "PrintOutput.png holds the whole 1500 x 800 picture" test "$(picture_size)" = "1500 x 800"
win_check "the classic print page is beside the wizard's build" \
    test -s "$(dirname "$1")/DRXWizard_Print_Page.html"

set_openers "exit 3"
rm -f "$OPENED"
win_click $PRINT_BUTTON
win_check "without a browser a box still says where the report is" win_wait_for 20 win_box_shown
win_shot no-browser-box
win_check "no opener took the page" test ! -e "$OPENED"
xdotool key Return
win_check "the box closes again" win_wait_for 10 win_box_gone

win_click 773 20
win_check "Exit ends the wizard" win_wait_exit 30
win_finish
