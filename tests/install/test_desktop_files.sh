#!/usr/bin/env bash
# The desktop files of an installation pass their validators and fit together: the menu
# entry starts the installed wizard with the file it is given and names the icon and the
# file types the installation holds, and the shipped samples are recognised as those types.
set -u
PREFIX=$1
OUT=$2/desktop-files
SHARE=$PREFIX/share
ID=com.vorlund.drxwizard
DESKTOP=$SHARE/applications/$ID.desktop
METAINFO=$SHARE/metainfo/$ID.metainfo.xml
MIME=$SHARE/mime/packages/$ID.xml
FAILED=0

check() { # description, command...
    local what=$1
    shift
    if "$@"; then echo "ok - $what"; else echo "not ok - $what"; FAILED=1; fi
}
entry() { sed -n "s/^$1=//p" "$DESKTOP"; }
sorted_words() { tr ';' '\n' | sed '/^$/d' | sort; }

rm -rf "$OUT"
mkdir -p "$OUT/data/mime/packages" "$OUT/home"

check "desktop-file-validate accepts the menu entry" desktop-file-validate "$DESKTOP"
check "the entry starts the wizard with the one file it is given" test "$(entry Exec)" = "DRXWizard %f"
check "the entry's program is installed" test -x "$PREFIX/bin/$(entry Exec | cut -d' ' -f1)"
check "the entry's file types are the MIME package's" test \
    "$(entry MimeType | sorted_words)" = "$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$MIME" | sort)"
for size in 48 64 128 256; do
    icon=$SHARE/icons/hicolor/${size}x$size/apps/$(entry Icon).png
    check "the ${size}-pixel icon is a ${size} x $size PNG" \
        test "$(identify -format '%m %w x %h' "$icon" 2>/dev/null)" = "PNG $size x $size"
done
check "the scalable icon is an SVG" grep -q '<svg' "$SHARE/icons/hicolor/scalable/apps/$(entry Icon).svg"

check "appstreamcli accepts the metainfo" appstreamcli validate --no-net --pedantic "$METAINFO"
check "the metainfo launches the menu entry" \
    grep -qF "<launchable type=\"desktop-id\">$ID.desktop</launchable>" "$METAINFO"
check "the metainfo names the entry's icon" grep -qF "<icon type=\"stock\">$(entry Icon)</icon>" "$METAINFO"

# The package goes into a private MIME database; GLib's detection reads it from there.
cp "$MIME" "$OUT/data/mime/packages/"
check "update-mime-database accepts the MIME package" update-mime-database "$OUT/data/mime"
content_type() {
    env XDG_DATA_DIRS="$OUT/data:/usr/share" XDG_DATA_HOME="$OUT/home" HOME="$OUT/home" \
        gio info -a standard::content-type "$1" 2>/dev/null | sed -n 's/.*standard::content-type: //p'
}
samples=("$SHARE"/drxwizard/samples/*)
check "samples are installed: ${#samples[@]} files" test "${#samples[@]}" -ge 6
for sample in "${samples[@]}"; do
    case $sample in
        *.21w) want=application/x-drx-array ;;
        *.21v) want=application/x-drx-venue ;;
        *) want="a design type" ;;
    esac
    check "$(basename "$sample") is $want" test "$(content_type "$sample")" = "$want"
done
# The name decides, whatever the content.
printf 'not xml\n' >"$OUT/plain.21w"
check "any *.21w file is an array design" test "$(content_type "$OUT/plain.21w")" = application/x-drx-array

[ "$FAILED" -eq 0 ] || exit 1
