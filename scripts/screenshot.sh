#!/usr/bin/env bash
# Captures the main window under a virtual X server into docs/screenshot-main.png.
# Usage: scripts/screenshot.sh [build-dir]   (default: build)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
exe="$build/bin/linewright"
out="$root/docs/screenshot-main.png"

if [ ! -x "$exe" ]; then
  echo "screenshot: $exe not found; build the project first" >&2
  exit 1
fi
for tool in xvfb-run import convert; do
  command -v "$tool" >/dev/null || { echo "screenshot: $tool is missing" >&2; exit 1; }
done
mkdir -p "$root/docs"

# Inside the virtual display: start the program with a sample line, wait for it to paint,
# grab the screen and crop to the window (the window is centred on an otherwise empty screen).
inner=$(cat <<'INNER'
set -euo pipefail
"$LW_EXE" "Linewright: paste text, reshape it with one click, copy it out" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
sleep "${LW_WAIT:-4}"
raw=$(mktemp --suffix=.png)
import -window root "$raw"
# Everything that is not the black root window is the program's window.
convert "$raw" -fuzz 2% -trim +repage "$LW_OUT"
rm -f "$raw"
INNER
)
LW_EXE="$exe" LW_OUT="$out" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1024x600x24" bash -c "$inner"
echo "screenshot: wrote $out"
