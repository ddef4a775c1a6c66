#!/usr/bin/env bash
# Installs what is needed, builds the program without tests and benchmarks into build-package/
# with Debian's hardening flags, makes the Debian package
# build-package/package/linewright_<version>-<release>_<arch>.deb, checks it with lintian (an error
# fails the script) and installs it with apt-get (system-wide, under /usr).
# ccache is used when it is installed (CCACHE_* settings come from the environment).
# Usage: package.sh [--no-install] [build options passed to cmake --build]
set -euo pipefail
cd "$(dirname "$0")/.."
install=1
if [ "${1:-}" = "--no-install" ]; then install=0; shift; fi
bash scripts/install-deps.sh

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DLW_BUILD_TESTS=OFF -DLW_BUILD_BENCH=OFF "${launcher[@]}" \
      "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
      "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build build-package "$@"
rm -f build-package/package/linewright_*.deb
(cd build-package && cpack -G DEB >/dev/null)
deb="$(ls build-package/package/linewright_*.deb)"
echo "package: built $deb"

# Errors fail; warnings are shown.
lintian --fail-on error "$deb" \
  || { echo "package: lintian reports errors in $deb" >&2; exit 1; }

if [ "$install" -eq 1 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get install -y "./$deb"
fi
