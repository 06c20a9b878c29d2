#!/usr/bin/env bash
# The Debian package made from the build tree: its control fields, its dependencies on what
# the program needs at run time (the libraries it links, the X11 ones JUCE opens and the font
# configuration JUCE reads), its files, stripped binaries, and a packaged tool that runs on a
# packaged sample.
set -u
BUILD=$1
OUT=$2
VERSION=$3
FAILED=0
check() { # description, command...
    local what=$1
    shift
    if "$@"; then echo "ok - $what"; else echo "not ok - $what"; FAILED=1; fi
}

rm -rf "$OUT"
mkdir -p "$OUT"
if ! cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$OUT" >"$OUT/cpack.log" 2>&1; then
    cat "$OUT/cpack.log"
    echo "not ok - cpack made no package"
    exit 1
fi
DEB=$(ls "$OUT"/*.deb)
dpkg-deb -I "$DEB" | tee "$OUT/info.txt"
field() { dpkg-deb -f "$DEB" "$1"; }

check "the package is drxwizard" test "$(field Package)" = drxwizard
check "its version is the project's" test "$(field Version)" = "$VERSION"
check "it is built for this machine" test "$(field Architecture)" = "$(dpkg --print-architecture)"
check "it has a maintainer" test -n "$(field Maintainer)"
check "it sits in the sound section" test "$(field Section)" = sound
check "its description has a summary and a body" test "$(field Description | wc -l)" -ge 3

DEPENDS=$(field Depends)
for lib in libc6 libstdc++6 libgcc-s1 libcurl4 libfreetype6 libpng16-16 libjpeg62-turbo libtinyxml2.6.2v5 zlib1g \
           libx11-6 libxext6 libxrandr2 libxinerama1 libxcursor1 libxrender1 fontconfig-config; do
    check "it depends on $lib" bash -c "tr ',' '\n' <<<'$DEPENDS' | sed 's/^ *//' | grep -q '^$lib\\b'"
done
check "it recommends a browser opener for the print page" bash -c "grep -q xdg-utils <<<'$(field Recommends)'"

dpkg-deb -c "$DEB" | awk '{print $6}' >"$OUT/contents.txt"
for f in ./usr/bin/DRXWizard ./usr/bin/drxwizard-cli ./usr/share/drxwizard/DRXWizard_Print_Page.html \
         ./usr/share/applications/com.vorlund.drxwizard.desktop \
         ./usr/share/metainfo/com.vorlund.drxwizard.metainfo.xml \
         ./usr/share/mime/packages/com.vorlund.drxwizard.xml \
         ./usr/share/icons/hicolor/48x48/apps/com.vorlund.drxwizard.png \
         ./usr/share/icons/hicolor/scalable/apps/com.vorlund.drxwizard.svg; do
    check "it holds $f" grep -qxF "$f" "$OUT/contents.txt"
done
check "it holds the sample designs" test "$(grep -c '^./usr/share/drxwizard/samples/.*\.21[wv]$' "$OUT/contents.txt")" -ge 6

dpkg-deb -x "$DEB" "$OUT/root"
for exe in DRXWizard drxwizard-cli; do
    check "$exe is stripped" bash -c "file '$OUT/root/usr/bin/$exe' | grep -q ', stripped'"
done
check "the packaged tool reports on a packaged sample" bash -c \
    "'$OUT/root/usr/bin/drxwizard-cli' '$OUT/root/usr/share/drxwizard/samples/theatre.21w' --report >'$OUT/report.json'"
[ "$FAILED" -eq 0 ] || exit 1
