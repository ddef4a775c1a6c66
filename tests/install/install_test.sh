#!/usr/bin/env bash
# Installs the build into a temporary prefix, validates the desktop entry and the metainfo, makes
# the prefix read-only and, as a user with private XDG folders, starts the installed program
# offscreen, runs installed_layout_check from the prefix twice (write, then read after a
# "restart") and lists misspelled words with the installed linewright-spell. Finally nothing
# under the prefix may have changed.
# Usage: install_test.sh <build-dir> <installed_layout_check> <app-id>
set -euo pipefail
build="$1" checker="$2" app_id="$3"

tmp="$(mktemp -d /tmp/lw-install-test.XXXXXX)"
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
prefix="$tmp/prefix"
fail() { echo "install test: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" --strip >/dev/null

for f in bin/linewright bin/linewright-spell \
         share/linewright/Dictionaries/Autocorrect.wdu \
         "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml" \
         "share/icons/hicolor/scalable/apps/$app_id.svg" \
         "share/icons/hicolor/16x16/apps/$app_id.png" "share/icons/hicolor/256x256/apps/$app_id.png" \
         share/man/man1/linewright.1.gz share/man/man1/linewright-spell.1.gz; do
  [ -e "$prefix/$f" ] || fail "$f was not installed"
done
# Only shipped files: nothing a run from the build tree may have left in bin/Dictionaries.
shipped="$(cd "$prefix/share/linewright/Dictionaries" && ls | sort | tr '\n' ' ')"
for f in $shipped; do
  case "$f" in
    aussie.wdm|aussie.wdp|aussie-copyright.txt|aussie.wdf|aussie-commonness-copyright.txt|Autocorrect.wdu|Wordnest.wdt|Wordnest-copyright.txt) ;;
    *) fail "unexpected file in the data folder: $f" ;;
  esac
done

desktop-file-validate "$prefix/share/applications/$app_id.desktop"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$app_id.metainfo.xml" >/dev/null \
  || { appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$app_id.metainfo.xml"; fail "metainfo does not validate"; }
grep -q "^Icon=$app_id\$" "$prefix/share/applications/$app_id.desktop" || fail "desktop entry names another icon"

# The checker runs from the prefix's bin folder, so that it sees the installed layout.
strip -o "$prefix/bin/installed_layout_check" "$checker"

snapshot() { (cd "$prefix" && find . -printf '%p %y %s %m %T@\n' | sort); }
chmod -R a-w "$prefix"
snapshot > "$tmp/before"

export HOME="$tmp/home" XDG_DATA_HOME="$tmp/home/data" XDG_CONFIG_HOME="$tmp/home/config" \
       XDG_CACHE_HOME="$tmp/home/cache" XDG_RUNTIME_DIR="$tmp/runtime" QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# Still running when stopped: the installed program started and did not fail.
rc=0
timeout -s TERM 3 "$prefix/bin/linewright" "Installed and running" >"$tmp/start.log" 2>&1 || rc=$?
[ "$rc" -eq 124 ] || { cat "$tmp/start.log" >&2; fail "the installed program ended with $rc"; }

"$prefix/bin/installed_layout_check" --write --gtest_brief=1
"$prefix/bin/installed_layout_check" --read --gtest_brief=1

# The command-line checker finds the shipped dictionary through the same layout (and reads the
# Spell.cfg the runs above wrote into the user's folder).
if [ -f "$prefix/share/linewright/Dictionaries/aussie.wdm" ]; then
  listed="$(echo "teh cat" | "$prefix/bin/linewright-spell" -l)" || fail "linewright-spell -l failed"
  [ "$listed" = "teh" ] || fail "linewright-spell -l listed \"$listed\", not \"teh\""
fi

snapshot > "$tmp/after"
diff -u "$tmp/before" "$tmp/after" >&2 || fail "something under the installation prefix changed"
[ -f "$XDG_DATA_HOME/linewright/Dictionaries/Spell.cfg" ] || fail "Spell.cfg is not in the user's folder"
echo "install test: passed"
