#!/usr/bin/env bash
# Installs what is missing, configures and builds; with arguments, only those targets.
# The build tree is build/ (DRX_BUILD_DIR overrides it).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${DRX_BUILD_DIR:-$here/build}"

"$here/scripts/setup.sh"
export CCACHE_SLOPPINESS=time_macros
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ $# -eq 0 ]; then
    cmake --build "$build" -j"$(nproc)"
else
    cmake --build "$build" -j"$(nproc)" --target "$@"
fi
