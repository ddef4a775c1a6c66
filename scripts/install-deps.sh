#!/usr/bin/env bash
# Installs every Debian package the build, the tests, the shipped dictionaries, the screenshots,
# the icons and the Debian package need.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-dev clang-format python3
  hunspell-en-au hunspell-tools libhunspell-dev
  libenchant-2-dev enchant-2
  scowl codespell libaspell-dev aspell-en aspell hunspell
  mythes-en-au
  xvfb xauth x11-apps x11-utils imagemagick xdg-utils
  fonts-dejavu-core fonts-liberation
  desktop-file-utils appstream librsvg2-bin file dpkg-dev lintian
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
