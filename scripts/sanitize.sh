#!/usr/bin/env bash
# The sanitizer run of CI: builds the engine and panel tests and the fuzz targets with
# AddressSanitizer and UndefinedBehaviorSanitizer in their own build tree (build-asan/,
# BUILD_DIR overrides it; configured once, see scripts/sanitizer-tree.sh), runs those tests
# with as many jobs as the machine has cores, replays the committed fuzz seeds and fuzzes
# both targets side by side, each on one core, for FUZZ_SECONDS (60 unless set). Any
# sanitizer finding, failed test or fuzz crash fails the run; a crash input is left in
# build-asan/findings/ (commit it to fuzz/corpus/ as a seed once fixed).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build-asan}"
seconds="${FUZZ_SECONDS:-60}"
jobs="${JOBS:-$(nproc)}"
source "$root/scripts/sanitizer-tree.sh"

"$root/scripts/setup.sh"
drx_configure_sanitizer_tree "$root" "$build"
cmake --build "$build" -j"$jobs" --target drx_tests drx_ui_tests fuzz_xml_parse fuzz_load_files

(cd "$build" && ctest --output-on-failure -j"$jobs" -L '^(engine|ui|fuzz)$')

# Each fuzzer prints its own log once both are done, so that the two do not interleave.
pids=()
for target in xml_parse load_files; do
    DRX_FUZZ_BUILT=1 BUILD_DIR="$build" "$root/scripts/fuzz.sh" "$target" "$seconds" >"$build/fuzz-$target.log" 2>&1 &
    pids+=($!)
done
status=0
for i in 0 1; do
    wait "${pids[$i]}" || status=1
done
for target in xml_parse load_files; do
    cat "$build/fuzz-$target.log"
done
exit "$status"
