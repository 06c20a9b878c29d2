#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer in the sanitizer build tree (JUCE and the core checked too;
# see scripts/sanitizer-tree.sh) and runs one target for a while.
#
#   scripts/fuzz.sh TARGET [SECONDS] [-- libFuzzer options...]
#
# TARGET is xml_parse or load_files; SECONDS defaults to 60. The run starts from the
# committed seeds in fuzz/corpus/TARGET/ and keeps what it learns in
# build-asan/corpus/TARGET/ (the seeds are never modified). Crash inputs land in
# build-asan/findings/TARGET/; replay one with the target's binary and its path.
# Environment: BUILD_DIR (default build-asan), JOBS (default 2); DRX_FUZZ_BUILT=1 (set by
# scripts/sanitize.sh, which built the targets already) skips the build.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
target="${1:-}"
seconds="${2:-60}"
shift $(( $# < 2 ? $# : 2 ))
[ "${1:-}" = "--" ] && shift

case "$target" in
  xml_parse|load_files) ;;
  *) echo "usage: $0 xml_parse|load_files [SECONDS] [-- libFuzzer options...]" >&2; exit 2 ;;
esac

build="${BUILD_DIR:-$root/build-asan}"
source "$root/scripts/sanitizer-tree.sh"
if [ "${DRX_FUZZ_BUILT:-}" != 1 ]; then
    drx_configure_sanitizer_tree "$root" "$build"
    cmake --build "$build" --target "fuzz_$target" -j "${JOBS:-2}"
fi

corpus="$build/corpus/$target"
findings="$build/findings/$target"
mkdir -p "$corpus" "$findings"

# The engine target chdirs into its own temporary directory; libFuzzer's paths must not
# depend on the working directory.
cd "$build"
set +e
"$build/bin/fuzz_$target" "$corpus" "$root/fuzz/corpus/$target" \
  -max_total_time="$seconds" -print_final_stats=1 \
  -artifact_prefix="$findings/" "$@"
status=$?
set -e

found=$(find "$findings" -type f | wc -l)
echo "fuzz_$target: up to ${seconds}s, exit status $status, corpus $(find "$corpus" -type f | wc -l) inputs, $found finding(s) in $findings"
exit "$status"
