#!/usr/bin/env bash
# Runs bench_enchant with Enchant's module folder replaced, in a private mount namespace (root),
# by a scratch folder holding this build's provider and its dictionaries next to the system's
# Hunspell and Aspell providers. Arguments after the build folder go to the benchmark.
#   bench/enchant/run_bench_enchant.sh BUILD_DIR [benchmark options]
set -euo pipefail
build=$(cd "$1" && pwd); shift
module_dir=$(pkg-config --variable=libdir enchant-2)/enchant-2
if [ -z "${LW_ENCHANT_INSIDE:-}" ]; then
  exec env LW_ENCHANT_INSIDE=1 unshare -m bash "$0" "$build" "$@"
fi
scratch=$(mktemp -d)
trap 'umount "$module_dir" 2>/dev/null || true; rm -rf "$scratch"' EXIT
mkdir -p "$scratch/modules/Dictionaries" "$scratch/home/.config/enchant"
cp "$build/bin/enchant_linewright.so" "$scratch/modules/"
ln -s "$build"/bin/Dictionaries/* "$scratch/modules/Dictionaries/"
for p in "$module_dir"/enchant_hunspell.so "$module_dir"/enchant_aspell.so; do
  [ -e "$p" ] && cp "$p" "$scratch/modules/"
done
mount --bind "$scratch/modules" "$module_dir"
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/.config XDG_DATA_HOME=$scratch/home/.local/share
export LW_BENCH_APP_DIR=$module_dir
${LW_BENCH_WRAP:-} "$build/bin/bench_enchant" "$@"
