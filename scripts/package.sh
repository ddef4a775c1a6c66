#!/usr/bin/env bash
# Installs what is needed, builds the program without tests and benchmarks into build-package/,
# makes the Debian package build-package/package/linewright_<version>_<arch>.deb and installs it
# with apt-get (system-wide, under /usr).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DLW_BUILD_TESTS=OFF -DLW_BUILD_BENCH=OFF >/dev/null
cmake --build build-package "$@"
rm -f build-package/package/linewright_*.deb
(cd build-package && cpack -G DEB >/dev/null)
deb="$(ls build-package/package/linewright_*.deb)"
echo "package: built $deb"

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get install -y "./$deb"
