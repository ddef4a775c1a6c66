#!/usr/bin/env bash
# Fails when a tracked C++ source includes a header of a higher layer (the ranked list is
# docs/layers.txt). A quoted include names a header by its file name, so each name is looked up
# among the tracked headers; names found in no layer (Qt, the C++ library) are not ours to rank.
set -euo pipefail
cd "$(dirname "$0")/.."
exec python3 - "$@" <<'PY'
import collections, re, subprocess, sys

layers = [l.strip() for l in open("docs/layers.txt") if l.strip() and not l.startswith("#")]
rank = {folder: i for i, folder in enumerate(layers)}

def layer_of(path):
    folder = path.rsplit("/", 1)[0] if "/" in path else ""
    while folder:
        if folder in rank:
            return folder
        folder = folder.rsplit("/", 1)[0] if "/" in folder else ""
    return None

files = subprocess.run(["git", "ls-files", "*.cpp", "*.h"], capture_output=True, text=True,
                       check=True).stdout.split()
homes = collections.defaultdict(set)  # header file name -> layers that hold one of that name
for f in files:
    if f.endswith(".h") and layer_of(f) is not None:
        homes[f.rsplit("/", 1)[-1]].add(layer_of(f))

include = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
faults = 0
for f in files:
    own = layer_of(f)
    if own is None:
        continue
    for number, line in enumerate(open(f, encoding="utf-8", errors="replace"), 1):
        m = include.match(line)
        if not m:
            continue
        name = m.group(1).rsplit("/", 1)[-1]
        places = homes.get(name)
        if not places or own in places:
            continue
        if all(rank[p] > rank[own] for p in places):
            print(f"{f}:{number}: {own} includes \"{m.group(1)}\" of the higher layer "
                  f"{' or '.join(sorted(places))}")
            faults += 1
if faults:
    print(f"{faults} include(s) of a higher layer (docs/layers.txt lists the layers, lowest first)")
    sys.exit(1)
print(f"Layers: {len(files)} sources include no higher layer")
PY
