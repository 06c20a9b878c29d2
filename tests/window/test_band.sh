#!/usr/bin/env bash
# The band prediction in the window: the view choice (keyboard) recolours the surfaces and
# is remembered at the next start; the map switch fills the venue view with the field under
# the venue lines, and the map follows a zoom; a click on the picture places the virtual
# microphone, whose call-out shows the spectrum and follows an edit (a pick pin, a
# loudspeaker's polarity on its panel), and whose marker
# follows the picture; its Close button and the Mic button take it away and bring it back;
# a drag pans without placing it.
source "$(dirname "$0")/lib.sh"
win_setup band "$2" "$1"

# The strip in the venue view's top row (the view at 152, 122), left of its zoom buttons.
STRIP_X=404
STRIP_Y=125
VIEW_CHOICE="$((STRIP_X + 40)) $((STRIP_Y + 11))"
MAP_SWITCH="$((STRIP_X + 110)) $((STRIP_Y + 11))"
MIC_BUTTON="$((STRIP_X + 180)) $((STRIP_Y + 11))"
VIEW_CHOICE_BOX="$STRIP_X $STRIP_Y 92 22"
# The venue view below its top row of controls.
PICTURE="152 150 576 246"
ZOOM_IN="$((152 + 576 - 49)) $((122 + 14))"
FIT_BUTTON="$((152 + 576 - 108)) $((122 + 14))"
# The call-out over the venue-area strip, and its spectrum plot.
CALLOUT="152 408 624 127"
PLOT="158 426 288 93"
CLOSE_BUTTON="$((152 + 624 - 32)) $((408 + 10))"
PIN_BOX="$((152 + 394 + 16)) $((4 + 8 + 12))"

# How many pixels of the content rectangle are not dark grey (the redrawn picture's background).
not_background() { # name x y w h
    win_pixels_not "$1" "$2" "$3" "$4" "$5" 3c3c3c
}

# The field map covers the picture of screenshot NAME: most of its dark background is gone.
map_covers() { # name
    [ "$(not_background "$1" $PICTURE)" -ge $((before + 60000)) ]
}
map_gone() { # name
    [ "$(not_background "$1" $PICTURE)" -le $((before + 200)) ]
}

win_launch
# Pin 4 first: the aim lines land on the audience.
win_click $PIN_BOX
xdotool key ctrl+a
xdotool type --delay 50 "4"
win_mark
xdotool key Return
win_settle 1.5
win_shot classic

# The view by keyboard: the choice opens with a click, Escape closes it keeping the focus,
# and two steps down go from Classic through Band Z to Band A.
win_click $VIEW_CHOICE
xdotool key Escape
sleep 0.3
xdotool key Down
sleep 0.5
xdotool key Down
win_pointer_away
win_shot_when band_a win_region_changed classic band_a $PICTURE 100
win_check "Band A recolours the surfaces" win_region_changed classic band_a $PICTURE 100
win_check "the choice shows the new view" win_region_changed classic band_a $VIEW_CHOICE_BOX 20

# The field map: the dark background of the picture is covered.
before=$(not_background band_a $PICTURE)
win_click $MAP_SWITCH
win_shot_when mapped map_covers mapped
after=$(not_background mapped $PICTURE)
win_check "the map covers the venue view ($before -> $after pixels not background)" \
    test "$after" -ge $((before + 60000))
# Zoomed in, the map is drawn for the new framing and still covers the view.
win_click $ZOOM_IN
win_shot_when mapped_zoomed win_region_changed mapped mapped_zoomed $PICTURE 5000
win_check "the map follows a zoom" win_region_changed mapped mapped_zoomed $PICTURE 5000
win_check "the zoomed map covers the venue view" test "$(not_background mapped_zoomed $PICTURE)" -ge $((before + 60000))
win_click $FIT_BUTTON
win_shot_when mapped_fitted win_region_same mapped mapped_fitted $PICTURE
win_check "Fit brings back the same map" win_region_same mapped mapped_fitted $PICTURE
win_click $MAP_SWITCH
win_shot_when unmapped map_gone unmapped
win_check "switched off, the map is gone" test "$(not_background unmapped $PICTURE)" -le $((before + 200))
win_click $MAP_SWITCH

# The microphone: a click in the picture places the marker and opens the call-out.
win_shot_when before_mic map_covers before_mic
win_click 420 250
win_shot_when mic win_region_changed before_mic mic $CALLOUT 5000
win_check "the click places a marker" win_region_changed before_mic mic 410 240 20 20 40
win_check "the call-out covers the area strip" win_region_changed before_mic mic $CALLOUT 5000
plot_bars=$(( 288 * 93 - $(win_pixels_not mic $PLOT 00c0a0) ))
win_check "the spectrum plot shows bars ($plot_bars pixels)" test "$plot_bars" -ge 500

# An edit (another pick pin) changes what the microphone hears.
win_click $PIN_BOX
xdotool key ctrl+a
xdotool type --delay 50 "8"
xdotool key Return
win_shot_when edited win_region_changed mic edited $CALLOUT 50
win_check "the call-out follows the edit" win_region_changed mic edited $CALLOUT 50

# Inv on the panel of position 2 (the first loudspeaker below the flybar, module or
# subwoofer) inverts its polarity: the microphone hears the sum change.
INVERT_2="$((6 + 58 + 18)) $((10 + 18 + 82 + 10))"
win_click $INVERT_2
sleep 2
win_shot inverted
win_check "Inv on a loudspeaker's panel changes what the microphone hears" \
    win_region_changed edited inverted $CALLOUT 50

win_click $CLOSE_BUTTON
win_shot_when closed win_region_changed edited closed $CALLOUT 5000
win_check "Close removes the call-out" win_region_changed edited closed $CALLOUT 5000
win_check "Close removes the marker" win_region_changed edited closed 410 240 20 20 40
# A drag pans the picture and places nothing.
xdotool mousemove --sync $((CX + 300)) $((CY + 250))
xdotool mousedown 1
for step in 1 2 3 4 5; do
    xdotool mousemove --sync $((CX + 300 + 12 * step)) $((CY + 250))
    sleep 0.1
done
xdotool mouseup 1
win_pointer_away
win_shot_when dragged win_region_changed closed dragged $PICTURE 1000
win_check "a drag moves the picture" win_region_changed closed dragged $PICTURE 1000
win_check "a drag opens no call-out" win_region_same closed dragged $CALLOUT
win_click $FIT_BUTTON
win_shot_when refitted win_region_same closed refitted $PICTURE

win_click $MIC_BUTTON
win_shot_when mic_button win_region_changed closed mic_button $CALLOUT 5000
win_check "the Mic button brings the call-out back" win_region_changed closed mic_button $CALLOUT 5000
# Mic places the marker in the middle of the view; zoomed about the middle, it stays there.
MARKER_BOX="$((152 + 288 - 8)) $((122 + 137 - 8)) 17 17"
win_check "the marker is in the middle" test $((289 - $(win_pixels_not mic_button $MARKER_BOX ffffff))) -ge 20
win_click $ZOOM_IN
win_shot_when mic_zoomed win_region_changed mic_button mic_zoomed $PICTURE 5000
win_check "zooming changes the picture" win_region_changed mic_button mic_zoomed $PICTURE 5000
win_check "the marker stays on its point in the middle" \
    test $((289 - $(win_pixels_not mic_zoomed $MARKER_BOX ffffff))) -ge 20

win_click_screen $((WIN_X + WIN_W - WIN_BORDER - 18)) $((WIN_Y + WIN_BORDER + WIN_TITLE / 2))
win_check "closing with the edited pin asks to save; Discard answers" win_answer_save_prompt d
win_check "the close button ends the wizard" win_wait_exit 30
win_check "Settings.xml holds the view" win_xml_has "$WIN_RUN/Settings.xml" "<View><Value>BandA</Value></View>"
win_check "Settings.xml holds the map switch" win_xml_has "$WIN_RUN/Settings.xml" "<FieldMap><Value>1</Value></FieldMap>"

# The next start shows the same view, with the map.
win_launch
win_shot_when again map_covers again
win_check "the view is remembered" win_region_same mapped again $VIEW_CHOICE_BOX
win_check "the map is drawn at the start" test "$(not_background again $PICTURE)" -ge $((before + 60000))
win_click_screen $((WIN_X + WIN_W - WIN_BORDER - 18)) $((WIN_Y + WIN_BORDER + WIN_TITLE / 2))
win_check "the wizard ends again" win_wait_exit 30
win_finish
