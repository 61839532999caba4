#!/usr/bin/env bash
# Installs the Debian packages Kolumbra needs to build, run, test and package; skips what is
# present.
set -euo pipefail
packages=(
  g++ cmake ninja-build pkg-config
  clang libclang-rt-14-dev
  qt6-base-dev qt6-translations-l10n libgl-dev libicu-dev libzip-dev libdeflate-dev libexpat1-dev libfreexl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libfreetype-dev libfontconfig-dev libharfbuzz-dev poppler-utils
  fonts-ipafont-mincho fonts-ipafont-gothic
  xvfb xauth imagemagick
  librsvg2-bin desktop-file-utils appstream dpkg-dev fakeroot lintian
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
