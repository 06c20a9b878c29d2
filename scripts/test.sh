#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test (engine, panels, window,
# command-line tool, fuzz corpora); then the sanitizer run (scripts/sanitize.sh: the engine
# and panel tests and the fuzz targets under AddressSanitizer and UndefinedBehaviorSanitizer,
# each fuzz target for a minute). Arguments go to ctest and select tests: the sanitizer run
# is left out then.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/build.sh"
(cd "${DRX_BUILD_DIR:-$here/build}" && ctest --output-on-failure -j1 "$@")
if [ $# -eq 0 ]; then
    "$here/scripts/sanitize.sh"
fi
