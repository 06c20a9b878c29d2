#!/usr/bin/env bash
# Installs the build tree into a fresh scratch prefix for the tests of the installed program.
set -euo pipefail
build=$1
prefix=$2
if [ -d "$prefix" ]; then
    chmod -R u+w "$prefix"
    rm -rf "$prefix"
fi
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/DRXWizard bin/drxwizard-cli share/drxwizard/DRXWizard_Print_Page.html; do
    [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
echo "installed into $prefix"
