#!/usr/bin/env bash
# Installs what is needed, checks the formatting and the layering, builds everything and runs the
# whole test suite headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/check-format.sh
bash scripts/check-layers.sh
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j2 --timeout 300
