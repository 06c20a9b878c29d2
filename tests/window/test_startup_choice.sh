#!/usr/bin/env bash
# What the wizard opens at start: the design last loaded or saved, remembered in the user
# settings; without one (or when that file is gone), Default.21w in the documents folder,
# found whatever the case of its name.
source "$(dirname "$0")/lib.sh"
win_setup startup_choice "$2" "$1"
cli="$(dirname "$1")/drxwizard-cli"
[ -x "$cli" ] || { echo "no command-line tool at $cli"; exit 1; }

RANGE_BOX="381 12 34 24"
MODULE_LIST="6 10 134 548"
KESTA="$WIN_DIR/home/Documents/Kesta"
mkdir -p "$KESTA"
# Two designs no start-up array can be: the default one with two full-range modules, the
# other with a subwoofer and four.
"$cli" --seed 1 --set Model_DRXS1=0 --set Model_DRXR1=2 --save-array "$KESTA/DEFAULT.21W" >/dev/null
"$cli" --seed 1 --set Model_DRXS1=1 --set Model_DRXR1=4 --save-array "$WIN_DIR/home/other.21w" >/dev/null

record_has() { win_xml_has "$WIN_RUN/Array_Output.xml" "$1"; }
two_modules='<Total_Model_1><Value>0</Value></Total_Model_1><Total_Model_2><Value>2</Value></Total_Model_2>'
sub_and_four='<Total_Model_1><Value>1</Value></Total_Model_1><Total_Model_2><Value>4</Value></Total_Model_2>'

quit() {
    win_click 773 20
    win_wait_exit 30
}

win_launch
win_shot default
win_check "the default design opens, though its name is in capitals" win_wait_for 20 win_title_is "  DRX Wizard - DEFAULT.21W"
win_check "its Exit needs no question: a loaded design has no changes" quit
win_check "the record holds the default design's two full-range modules" record_has "$two_modules"
win_check "the settings remember the design opened" grep -qF "$KESTA/DEFAULT.21W" "$WIN_RUN/Settings.xml"

# The settings name the other design now: it wins over the default one.
sed -i "s|$KESTA/DEFAULT.21W|$WIN_DIR/home/other.21w|" "$WIN_RUN/Settings.xml"
win_launch
win_shot remembered
win_check "the remembered design opens" quit
win_check "the record holds the remembered design" record_has "$sub_and_four"
win_check "the array info shows its counts" win_region_changed default remembered $RANGE_BOX 10
win_check "the module list shows its subwoofer" win_region_changed default remembered $MODULE_LIST 200

# Gone, it gives way to the default design again.
rm "$WIN_DIR/home/other.21w"
win_launch
win_shot fallback
win_check "without the remembered file the default design opens" quit
win_check "the record holds the default design again" record_has "$two_modules"
win_check "the window shows it as the first start did" win_region_same default fallback $MODULE_LIST
win_check "with the same counts" win_region_same default fallback $RANGE_BOX
win_finish
