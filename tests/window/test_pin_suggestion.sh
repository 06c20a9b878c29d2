#!/usr/bin/env bash
# The "Best" button beside the pick pin opens the table of every pin with the suggested one
# marked; opening it changes nothing, and its Apply button (reached with the keyboard) sets
# the suggested pin, one step Ctrl+Z takes back and Ctrl+Shift+Z makes again, which the
# wizard keeps to its exit.
source "$(dirname "$0")/lib.sh"
win_setup pin_suggestion "$2" "$1"

CLI="$(dirname "$1")/drxwizard-cli"
DESIGN="$WIN_DIR/six.21w"
"$CLI" --set Model_DRXS1=0 --set Model_DRXR1=6 --set SlotPin=8 --save-array "$DESIGN" >/dev/null
BEST=$("$CLI" "$DESIGN" --suggest-pin --report | python3 -c "import json, sys; print(json.load(sys.stdin)['suggestion']['best'])")
echo "  the suggested pin of the design is $BEST"

# The array info panel sits at (152, 4); its "Best" button at (432, 33, 44, 22) in it.
BEST_X=$((152 + 432 + 22))
BEST_Y=$((4 + 33 + 11))
# The picture below the view's top row of controls.
VIEW="152 150 576 242"
# What the table covers, and more: the array info panel, the rigging strip and the view.
COVERED="152 4 576 392"

pin_is() { # expected
    python3 - "$WIN_RUN/Array_Output.xml" "$1" <<'PY'
import sys, xml.etree.ElementTree as ET
pin = ET.parse(sys.argv[1]).getroot().find(".//ArrayInfo/SlotPin/Value")
print("  pick pin in Array_Output.xml:", None if pin is None else pin.text)
sys.exit(0 if pin is not None and pin.text.strip() == sys.argv[2] else 1)
PY
}

win_launch "$DESIGN"
win_shot start

win_click "$BEST_X" "$BEST_Y"
win_shot_when table win_region_changed start table 300 60 420 300 2000
win_check "the table opens beside the pick pin" win_region_changed start table 300 60 420 300 2000

xdotool key Escape
win_shot_when closed win_region_same start closed $COVERED
win_check "closing the table leaves the window as it was" win_region_same start closed $COVERED

win_click "$BEST_X" "$BEST_Y"
win_shot_when table_again win_region_changed start table_again 300 60 420 300 2000
xdotool key Return
if [ "$BEST" != 8 ]; then
    win_shot_when applied win_region_changed start applied $VIEW
else
    win_shot_when applied win_region_same start applied $COVERED
fi
if [ "$BEST" != 8 ]; then
    win_check "applying the suggested pin re-aims the array" win_region_changed start applied $VIEW
    # The applied pin is one step of the history.
    xdotool key ctrl+z
    win_shot_when undone win_region_same start undone $VIEW
    win_check "Ctrl+Z takes the applied pin back" win_region_same start undone $VIEW
    xdotool key ctrl+shift+z
    win_shot_when redone win_region_same applied redone $VIEW
    win_check "Ctrl+Shift+Z applies it again" win_region_same applied redone $VIEW
fi

win_click_screen $((WIN_X + WIN_W - WIN_BORDER - 18)) $((WIN_Y + WIN_BORDER + WIN_TITLE / 2))
if [ "$BEST" != 8 ]; then
    win_check "closing with the new pin asks to save; Discard answers" win_answer_save_prompt d
fi
win_check "the close button ends the wizard" win_wait_exit 30
win_check "the wizard ends at the suggested pin $BEST" pin_is "$BEST"
win_finish
