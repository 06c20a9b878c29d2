#!/usr/bin/env bash
# Installs what is missing, builds the wizard and starts it on its built-in default design.
# Needs an X display (see the README for a machine without one).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${DRX_BUILD_DIR:-$here/build}"

"$here/scripts/setup.sh"
export CCACHE_SLOPPINESS=time_macros
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)" --target DRXWizard
exec "$build/bin/DRXWizard" "$@"
