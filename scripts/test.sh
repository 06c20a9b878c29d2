#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test (engine, panels, window).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${DRX_BUILD_DIR:-$here/build}"

"$here/scripts/setup.sh"
export CCACHE_SLOPPINESS=time_macros
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)"
cd "$build"
ctest --output-on-failure -j1 "$@"
