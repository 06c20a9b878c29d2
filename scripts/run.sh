#!/usr/bin/env bash
# Installs what is missing, builds the wizard and starts it on its built-in default design.
# Needs an X display (see the README for a machine without one).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/build.sh" DRXWizard
exec "${DRX_BUILD_DIR:-$here/build}/bin/DRXWizard" "$@"
