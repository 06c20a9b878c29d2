#!/usr/bin/env bash
# The interface size kept in Settings.xml scales the whole window for HiDPI screens: at
# 125 % the 800 x 600 window takes 1000 x 750 screen pixels, its panels and its venue
# picture drawn larger, and the size is kept at the exit.
source "$(dirname "$0")/lib.sh"
win_setup ui_scale "$2" "$1"

cat >"$WIN_RUN/Settings.xml" <<'XML'
<Root><UnitType><Value>US</Value></UnitType><UiScale><Value>125</Value></UiScale></Root>
XML

win_launch
# Everything, the window's own border and title bar too, is 5/4 of its size: measure from
# the window's corner in screen pixels.
CX=$WIN_X
CY=$WIN_Y
at() { echo $(((WIN_BORDER + $1) * 5 / 4)) $(((WIN_BORDER + WIN_TITLE + $2) * 5 / 4)); }
win_shot scaled
win_check "at 125 % the window is 1000 x 750" test "$WIN_W x $WIN_H" = "1000 x 750"
win_check "the SPL scale's bar sits 5/4 as far in, red at its top" win_pixel_is scaled $(at 744 100) 255 0 0 24
win_check "the array info panel is grey where it was, scaled" win_pixel_is scaled $(at 592 74) 170 170 170
# The venue view's picture fills its larger place: its middle is no longer the background
# of the window around it.
win_check "the venue view is drawn over its whole scaled place" \
    test "$(win_pixels_not scaled $(at 152 122) 720 342 3c3c3c)" -ge 2000

read -r EXIT_X EXIT_Y <<<"$(at 773 20)"
win_click_screen $((WIN_X + EXIT_X)) $((WIN_Y + EXIT_Y))
win_check "Exit ends the wizard" win_wait_exit 30
win_check "Settings.xml keeps 125 %" win_xml_has "$WIN_RUN/Settings.xml" '<UiScale><Value>125</Value></UiScale>'
win_finish
