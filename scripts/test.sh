#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test (engine, panels, window,
# command-line tool, fuzz corpora) with as many jobs as the machine has cores: every test
# works in its own temporary folder, the window tests each on their own X server, one at a
# time. Then the sanitizer run (scripts/sanitize.sh: the engine and panel tests and the fuzz
# targets under AddressSanitizer and UndefinedBehaviorSanitizer, both fuzz targets for a
# minute side by side). Arguments go to ctest and select tests: the sanitizer run is left
# out then. JOBS overrides the number of jobs.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/build.sh"
(cd "${DRX_BUILD_DIR:-$here/build}" && ctest --output-on-failure -j"${JOBS:-$(nproc)}" "$@")
if [ $# -eq 0 ]; then
    "$here/scripts/sanitize.sh"
fi
