#!/usr/bin/env bash
# The wizard started from a read-only installation, as a new user with an unreachable update
# service: its window opens without any box, its settings land in the XDG config folder and
# its log and records in the XDG state folder (or their defaults under HOME when the
# variables are unset), the installation and the working directory stay untouched, the Load
# dialog opens in the shipped samples, and a sample opens when the wizard is started the way
# its desktop entry starts it. A state folder that cannot be made is named in a box.
source "$(dirname "$0")/../window/lib.sh"
PREFIX=$1
win_setup installed "$2" "$PREFIX/bin/DRXWizard"
WIN_RUN=$PREFIX/bin
trap 'win_cleanup; chmod -R u+w "$PREFIX"' EXIT

PICTURE="152 88 568 300"
LOAD_BUTTON="734 19"
EXIT_BUTTON="773 20"
HOME_DIR=$WIN_DIR/home
CONFIG=$WIN_DIR/xdg/config/DRXWizard
STATE=$WIN_DIR/xdg/state/DRXWizard

# A port nothing listens on: the update service refuses every connection.
CLOSED_PORT=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1]); s.close()')
export DRXWIZARD_UPDATE_URL="http://127.0.0.1:$CLOSED_PORT/appservices/kesta-wizard-update.php"

chmod -R a-w "$PREFIX"
find "$PREFIX" -printf '%p %s %T@\n' | sort >"$WIN_DIR/prefix-before"

# Any window but the wizard's own: a message box or a dialog.
other_windows() {
    local id
    for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
        [ "$id" = "${WIN_ID:-}" ] || xdotool getwindowname "$id"
    done
}
no_box() {
    local others
    others=$(other_windows)
    [ -z "$others" ] || { echo "  windows shown: $others"; return 1; }
}
dialog_id() { xdotool search --name "^Select a file name to load" 2>/dev/null | head -n1; }

# --- First run: XDG folders set --------------------------------------------------------
export XDG_CONFIG_HOME=$WIN_DIR/xdg/config XDG_STATE_HOME=$WIN_DIR/xdg/state
win_launch
win_check "the window is titled \"  DRX Wizard\" and is 800 x 600" test "$WIN_W x $WIN_H" = "800 x 600"
# The refused connection fails at once; give the check a moment to come back all the same.
sleep 1
win_shot started
win_check "the window shows its dark grey background" win_pixel_is started 148 300 60 60 60
win_check "no box appears though the update service cannot be reached" no_box
win_check "the log starts in the state folder" bash -c "head -n1 '$STATE/LogFile.txt' | grep -q '^Time Stamp'"
win_check "the update service's address is stored in the config folder" \
    win_xml_has "$CONFIG/ZORV_Settings.xml" '<Update_Service>http://updates.vorlund.example'
for f in Manager_Product_Settings.xml Manager_Array_Settings.xml Manager_Venue_Settings.xml; do
    win_check "$f is in the config folder only" bash -c "test -s '$CONFIG/$f' && test ! -e '$STATE/$f'"
done
for f in Product_PX1.xml Product_PX1_Combos.xml Default_Array_Script.xml DRXWizard_Print_Page.html; do
    win_check "$f is in the state folder only" bash -c "test -s '$STATE/$f' && test ! -e '$CONFIG/$f'"
done
win_check "the folders under HOME are left alone when the XDG variables are set" \
    test ! -e "$HOME_DIR/.config/DRXWizard" -a ! -e "$HOME_DIR/.local/state/DRXWizard"
win_check "nothing is written into the working directory" test -z "$(ls -A "$WIN_DIR/elsewhere")"

# A new user has no designs: the Load dialog opens in the samples, so a bare name loads one.
win_click $LOAD_BUTTON
win_check "the Load dialog opens" win_wait_for 20 test -n "$(dialog_id)"
DIALOG=$(dialog_id)
win_shot load-dialog
eval "$(xdotool getwindowgeometry --shell "$DIALOG")"
xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + HEIGHT - 62)) click --repeat 3 1
sleep 0.3
xdotool key ctrl+a
xdotool type --delay 20 "theatre.21w"
sleep 0.3
xdotool mousemove --sync $((X + WIDTH - 57)) $((Y + HEIGHT - 23)) click 1
win_check "the dialog closes" win_wait_for 20 test -z "$(dialog_id)"
win_pointer_away
win_shot_when theatre-from-dialog win_region_changed started theatre-from-dialog $PICTURE 2000
win_check "the sample changes the picture" win_region_changed started theatre-from-dialog $PICTURE 2000
win_check "the sample loads without an error" bash -c "! grep -q 'Error' '$STATE/LogFile.txt'"

win_click_screen $((WIN_X + WIN_W - WIN_BORDER - 18)) $((WIN_Y + WIN_BORDER + WIN_TITLE / 2))
win_check "the close button ends the wizard" win_wait_exit 30
win_check "the wizard exits with status 0" test "${WIN_EXIT:-1}" -eq 0
win_check "Settings.xml is saved in the config folder" \
    win_xml_has "$CONFIG/Settings.xml" '<UnitType><Value>US</Value></UnitType>'
for f in Array_Output.xml Venue_Data.xml Scene_Data.xml SPLPolarData.xml; do
    win_check "the record $f is in the state folder" test -s "$STATE/$f"
done

# --- Second run: XDG variables unset, started as the desktop entry starts it: the program
# found by name on the PATH, with the file double-clicked ---------------------------------
unset XDG_CONFIG_HOME XDG_STATE_HOME
WIN_ID=
export PATH="$PREFIX/bin:$PATH"
WIN_COMMAND=$(sed -n 's/^Exec=\([^ ]*\) %f$/\1/p' "$PREFIX/share/applications/com.vorlund.drxwizard.desktop")
win_check "the desktop entry names the program and passes it one file" test -n "$WIN_COMMAND"
win_launch "$PREFIX/share/drxwizard/samples/theatre.21w"
win_shot_when theatre-from-command-line win_region_same theatre-from-dialog theatre-from-command-line $PICTURE
win_check "no box appears on the second start either" no_box
win_check "the sample opens as it did from the dialog" \
    win_region_same theatre-from-dialog theatre-from-command-line $PICTURE
win_click $EXIT_BUTTON
win_check "Exit ends the wizard" win_wait_exit 30
win_check "the settings default to ~/.config/DRXWizard" test -s "$HOME_DIR/.config/DRXWizard/Settings.xml"
win_check "the log defaults to ~/.local/state/DRXWizard" test -s "$HOME_DIR/.local/state/DRXWizard/LogFile.txt"
win_check "the records default to ~/.local/state/DRXWizard" test -s "$HOME_DIR/.local/state/DRXWizard/Venue_Data.xml"

find "$PREFIX" -printf '%p %s %T@\n' | sort >"$WIN_DIR/prefix-after"
win_check "the installation is left as it was" cmp -s "$WIN_DIR/prefix-before" "$WIN_DIR/prefix-after"
win_check "nothing is written into the working directory" test -z "$(ls -A "$WIN_DIR/elsewhere")"

# --- A state folder that cannot be made ---------------------------------------------------
echo "a plain file" >"$WIN_DIR/not-a-folder"
(cd "$WIN_DIR/elsewhere" && exec env HOME="$HOME_DIR" XDG_STATE_HOME="$WIN_DIR/not-a-folder" \
    "$PREFIX/bin/DRXWizard") >"$WIN_DIR/wizard-blocked.log" 2>&1 &
WIN_WIZARD=$!
WIN_PIDS+=($WIN_WIZARD)
win_check "a box says the wizard cannot start" \
    win_wait_for 30 bash -c "xdotool search --onlyvisible --name '^DRX Wizard cannot start$' >/dev/null 2>&1"
win_shot cannot-start
win_check "the main window does not open" bash -c "! xdotool search --name '^  DRX Wizard$' >/dev/null 2>&1"
xdotool key Return
win_check "the wizard ends after the box" win_wait_exit 30
win_check "the message names the folder and the reason" \
    grep -qF "Cannot create the folder for the log and records $WIN_DIR/not-a-folder/DRXWizard: $WIN_DIR/not-a-folder is a file, not a folder" "$WIN_DIR/wizard-blocked.log"
win_finish
