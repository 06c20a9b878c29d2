#!/usr/bin/env bash
# Installs everything the build and the tests need from Debian's packages.
# Idempotent: the package index is refreshed only when something is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config ccache
  juce-modules-source libtinyxml-dev libgtest-dev googletest
  libx11-dev libxrandr-dev libxinerama-dev libxcursor-dev libxext-dev libxrender-dev
  libfreetype-dev libfontconfig1-dev libcurl4-openssl-dev libpng-dev libjpeg-dev zlib1g-dev
  xvfb xdotool imagemagick x11-apps x11-utils openbox python3
  clang libclang-rt-14-dev libbenchmark-dev
  fonts-liberation chromium poppler-utils
  desktop-file-utils appstream shared-mime-info libglib2.0-bin dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
