#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format 14 (the repository's .clang-format)
# makes of it; `clang-format -i FILE` mends one.
set -euo pipefail
cd "$(dirname "$0")/.."
format=clang-format-14
command -v "$format" >/dev/null || format=clang-format
git ls-files -z '*.cpp' '*.h' | xargs -0 "$format" --dry-run -Werror
echo "Formatting: every tracked C++ file is as clang-format writes it"
