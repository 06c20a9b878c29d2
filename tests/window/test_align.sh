#!/usr/bin/env bash
# The subwoofer alignment in the microphone's call-out: "Align subwoofers here" shows the
# result (the aligned spectrum in yellow over the bars) and changes nothing; Back leaves the
# design as it was; Apply sets it as one step (the microphone hears the new arrival times),
# which Ctrl+Z takes back whole and Ctrl+Shift+Z makes again, and the wizard keeps to its
# exit. A design without a subwoofer says there is nothing to align and offers no Apply.
source "$(dirname "$0")/lib.sh"
win_setup align "$2" "$1"

CLI="$(dirname "$1")/drxwizard-cli"
DESIGN="$WIN_DIR/with_sub.21w"
NO_SUB="$WIN_DIR/no_sub.21w"
"$CLI" --seed 1 --set Model_DRXS1=1 --set Model_DRXR1=5 --set SlotPin=4 --save-array "$DESIGN" >/dev/null
"$CLI" --seed 1 --set Model_DRXS1=0 --set Model_DRXR1=5 --set SlotPin=4 --save-array "$NO_SUB" >/dev/null

# The call-out over the venue-area strip, its spectrum plot, its buttons.
CALLOUT="152 408 624 127"
PLOT="158 426 288 93"
ALIGN_BUTTON="$((152 + 624 - 200 + 68)) $((408 + 10))"
APPLY_BUTTON="$((152 + 624 - 124 + 28)) $((408 + 127 - 13))"
BACK_BUTTON="$((152 + 624 - 62 + 28)) $((408 + 127 - 13))"
# The design as the wizard leaves it at exit.
OUTPUT="$WIN_RUN/Array_Output.xml"

title_unchanged() { [[ "$(win_title)" != \** ]]; }

# Pixels of the plot in the aligned spectrum's yellow.
yellow_pixels() { # name
    echo $((288 * 93 - $(win_pixels_not "$1" $PLOT ffd040)))
}

win_launch "$DESIGN"
# The microphone a few metres in front of the array, where the modules wait for the subwoofer.
win_click 314 285
sleep 1
win_shot mic
win_check "the microphone shows no yellow before aligning" test "$(yellow_pixels mic)" -eq 0

win_click $ALIGN_BUTTON
sleep 1
win_shot aligning
win_check "the call-out shows the alignment" win_region_changed mic aligning $CALLOUT 500
win_check "the aligned spectrum is drawn over the bars ($(yellow_pixels aligning) pixels)" \
    test "$(yellow_pixels aligning)" -ge 100
win_check "showing the alignment changes nothing" title_unchanged

win_click $BACK_BUTTON
sleep 1
win_shot back
win_check "Back returns to the microphone as it was" win_region_same mic back $CALLOUT
win_check "Back changes nothing" title_unchanged

win_click $ALIGN_BUTTON
sleep 1
win_click $APPLY_BUTTON
sleep 1.5
win_shot applied
win_check "Apply changes the design" bash -c "[[ \"\$(xdotool getwindowname $WIN_ID)\" == \\** ]]"
win_check "the microphone hears the new arrival times" win_region_changed mic applied $CALLOUT 20

# One step: Ctrl+Z takes the whole alignment back, Ctrl+Shift+Z makes it again.
xdotool key ctrl+z
sleep 1.5
win_shot undone
win_check "Ctrl+Z takes the whole alignment back" win_region_same mic undone $CALLOUT
win_check "the design is as loaded" title_unchanged
xdotool key ctrl+shift+z
sleep 1.5
win_shot redone
win_check "Ctrl+Shift+Z applies it again" win_region_same applied redone $CALLOUT

win_click_screen $((WIN_X + WIN_W - WIN_BORDER - 18)) $((WIN_Y + WIN_BORDER + WIN_TITLE / 2))
win_check "closing with the alignment asks to save; Discard answers" win_answer_save_prompt d
win_check "the wizard ends" win_wait_exit 30
win_check "the design it ends with holds the modules' delay" grep -qE "<Delay>[1-9]" "$OUTPUT"

# Without a subwoofer there is nothing to align, and nothing to apply.
win_launch "$NO_SUB"
win_click 420 250
sleep 1
win_shot mic_no_sub
win_click $ALIGN_BUTTON
sleep 1
win_shot nothing
win_check "the call-out says why there is nothing to align" win_region_changed mic_no_sub nothing $CALLOUT 200
win_check "no aligned spectrum is drawn" test "$(yellow_pixels nothing)" -eq 0
win_check "no Apply button" win_region_same mic_no_sub nothing $((152 + 624 - 124)) $((408 + 127 - 22)) 56 18
win_click_screen $((WIN_X + WIN_W - WIN_BORDER - 18)) $((WIN_Y + WIN_BORDER + WIN_TITLE / 2))
win_check "the wizard ends again" win_wait_exit 30
win_finish
