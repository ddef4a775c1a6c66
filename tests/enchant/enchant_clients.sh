#!/usr/bin/env bash
# Enchant's own programs as the provider's clients: an installation of Linewright in a scratch
# prefix, and Enchant's module folder replaced, in a private mount namespace, by one holding
# that installation's provider. Nothing outside the scratch folder is touched.
#   enchant_clients.sh BUILD_DIR ENCHANT_MODULE_DIR INSTALL_SUBDIR
set -euo pipefail
build=$1 module_dir=$2 install_subdir=$3

if [ -z "${LW_ENCHANT_INSIDE:-}" ]; then
  command -v enchant-2 >/dev/null && command -v enchant-lsmod-2 >/dev/null ||
    { echo "SKIP: Enchant's programs (enchant-2) are not installed"; exit 77; }
  [ -d "$module_dir" ] || { echo "SKIP: no Enchant module folder $module_dir"; exit 77; }
  if ! unshare -m true 2>/dev/null; then
    echo "SKIP: a private mount namespace needs root (unshare -m)"; exit 77
  fi
  exec env LW_ENCHANT_INSIDE=1 unshare -m bash "$0" "$@"
fi

scratch=$(mktemp -d)
trap 'umount "$module_dir" 2>/dev/null || true; rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
provider=$prefix/$install_subdir/enchant_linewright.so
[ -f "$provider" ] || { echo "FAIL: not installed: $provider"; exit 1; }
# The module folder links to the installed provider, as a distribution's folder would hold it
# (a bind mount of the installed folder itself would hide where the installation is).
mkdir "$scratch/modules"
ln -s "$provider" "$scratch/modules/"
mount --bind "$scratch/modules" "$module_dir"

export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/.config XDG_DATA_HOME=$scratch/home/.local/share
mkdir -p "$XDG_CONFIG_HOME/enchant"
echo "en_AU:linewright" >"$XDG_CONFIG_HOME/enchant/enchant.ordering"
fail=0
check() { # what, expected, actual
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1"; echo "  expected: $2"; echo "  actual:   $3"; fail=1
  else
    echo "ok: $1"
  fi
}

check "enchant-lsmod-2 lists the Linewright dictionary" "en_AU (linewright)" \
  "$(enchant-lsmod-2 -list-dicts | grep linewright)"

words="brwn sevral recieve teh colour organise wurd"
# The ispell answers for each word, without the version banner: Enchant's through the provider,
# and linewright-spell's own, from the same installation and the same user folder.
through_enchant=$(for w in $words; do echo "$w"; done | enchant-2 -d en_AU -a | tail -n +2)
own=$(for w in $words; do echo "$w"; done | "$prefix/bin/linewright-spell" -a | tail -n +2)
check "enchant-2 -a answers as linewright-spell -a" "$own" "$through_enchant"

# A word added through Enchant reaches the user's custom dictionary: linewright-spell accepts it.
printf '*zorblax\n#\n' | enchant-2 -d en_AU -a >/dev/null
check "a word added through Enchant is seen by linewright-spell" "" \
  "$(echo zorblax | "$prefix/bin/linewright-spell" -l)"
# And the other way round.
printf '*quuxolot\n#\n' | "$prefix/bin/linewright-spell" -a >/dev/null
check "a word added by linewright-spell is seen through Enchant" "*" \
  "$(echo quuxolot | enchant-2 -d en_AU -a | tail -n +2 | head -1)"
ls "$XDG_DATA_HOME/linewright/Dictionaries/"*.wdu >/dev/null 2>&1 ||
  { echo "FAIL: no custom dictionary in the user's folder"; fail=1; }

exit $fail
