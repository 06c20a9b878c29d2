#!/usr/bin/env bash
# The sanitizer run of CI: builds the engine and panel tests and the fuzz targets with
# AddressSanitizer and UndefinedBehaviorSanitizer in their own build tree (build-asan/,
# BUILD_DIR overrides it), runs those tests, replays the committed fuzz seeds and fuzzes
# each target for FUZZ_SECONDS (60 unless set). Any sanitizer finding, failed test or
# fuzz crash fails the run; a crash input is left in build-asan/findings/ (commit it to
# fuzz/corpus/ as a seed once fixed).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build-asan}"
seconds="${FUZZ_SECONDS:-60}"
source "$root/scripts/sanitizer-tree.sh"

"$root/scripts/setup.sh"
drx_configure_sanitizer_tree "$root" "$build"
cmake --build "$build" -j"${JOBS:-$(nproc)}" --target drx_tests drx_ui_tests fuzz_xml_parse fuzz_load_files

(cd "$build" && ctest --output-on-failure -j1 -L '^(engine|ui|fuzz)$')

for target in xml_parse load_files; do
    BUILD_DIR="$build" "$root/scripts/fuzz.sh" "$target" "$seconds"
done
