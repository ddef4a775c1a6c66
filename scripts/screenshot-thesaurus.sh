#!/usr/bin/env bash
# Captures the thesaurus dialog, open on "happy" with the shipped Wordnest.wdt, under a virtual
# X server into docs/screenshot-thesaurus.png.
# Usage: scripts/screenshot-thesaurus.sh [build-dir]   (default: build)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
out="$root/docs/screenshot-thesaurus.png"

command -v xvfb-run >/dev/null || { echo "screenshot-thesaurus: xvfb-run is missing" >&2; exit 1; }
cmake --build "$build" --target thesaurus_screenshot thesaurus_wordnest -j2
exe="$build/bin/thesaurus_screenshot"
thesaurus="$build/bin/Dictionaries/Wordnest.wdt"
if [ ! -f "$thesaurus" ]; then
  echo "screenshot-thesaurus: $thesaurus was not built (install mythes-en-au)" >&2
  exit 1
fi
mkdir -p "$root/docs"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 800x600x24" "$exe" "$thesaurus" "$out"
echo "screenshot-thesaurus: wrote $out"
