#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test (engine, panels, window,
# command-line tool, fuzz corpora).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/build.sh"
cd "${DRX_BUILD_DIR:-$here/build}"
ctest --output-on-failure -j1 "$@"
