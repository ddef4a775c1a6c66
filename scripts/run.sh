#!/usr/bin/env bash
# Installs what is needed, builds, and starts Linewright. Arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh --target linewright dictionaries
exec build/bin/linewright "$@"
