#!/usr/bin/env bash
# Installs the build into a temporary prefix, validates the desktop entry and the metainfo, makes
# the prefix read-only and, as a user with private XDG folders, starts the installed program
# offscreen and on a private X server (its window class must match the desktop entry), runs installed_layout_check from the prefix twice (write, then read after a
# "restart") and lists misspelled words with the installed linewright-spell. Finally nothing
# under the prefix may have changed.
# Usage: install_test.sh <build-dir> <installed_layout_check> <app-id>
set -euo pipefail
build="$1" checker="$2" app_id="$3"

tmp="$(mktemp -d /tmp/lw-install-test.XXXXXX)"
app_pid="" xvfb_pid=""
cleanup() {
  for pid in $app_pid $xvfb_pid; do kill "$pid" 2>/dev/null || true; done
  chmod -R u+w "$tmp"; rm -rf "$tmp"
}
trap cleanup EXIT
prefix="$tmp/prefix"
fail() { echo "install test: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" --strip >/dev/null

for f in bin/linewright bin/linewright-spell \
         share/linewright/Dictionaries/Autocorrect.wdu \
         "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml" \
         "share/icons/hicolor/scalable/apps/$app_id.svg" \
         "share/icons/hicolor/16x16/apps/$app_id.png" "share/icons/hicolor/256x256/apps/$app_id.png" \
         share/man/man1/linewright.1.gz share/man/man1/linewright-spell.1.gz \
         share/doc/linewright/copyright share/doc/linewright/changelog.Debian.gz; do
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

# The copyright file is machine-readable and names the licence of every shipped data file
# made from others' work (the notices beside them are its sources).
copyright="$prefix/share/doc/linewright/copyright"
head -n1 "$copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' ||
  fail "the copyright file is not in the machine-readable format"
grep -q '^License: LGPL-2.1+$' "$copyright" || fail "the copyright file does not name the program's licence"
for f in $shipped; do
  case "$f" in
    *-copyright.txt|Autocorrect.wdu) ;;
    *) grep -q "^\(Files:\)\? *usr/share/linewright/Dictionaries/$f\$" "$copyright" ||
         fail "the copyright file does not cover $f" ;;
  esac
done
grep -q '<project_license>LGPL-2.1-or-later</project_license>' "$prefix/share/metainfo/$app_id.metainfo.xml" ||
  fail "the metainfo names no project licence"

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

# Under X11 the window's WM_CLASS (instance, class) is what Qt makes of the program's name and
# application name; docks group a window with its launcher by the entry's StartupWMClass, so
# the installed program's window, on a private X server, must carry that class.
wm_class="$(sed -n 's/^StartupWMClass=//p' "$prefix/share/applications/$app_id.desktop")"
[ -n "$wm_class" ] || fail "the desktop entry has no StartupWMClass"
Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$tmp/display" >"$tmp/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
[ -s "$tmp/display" ] || { cat "$tmp/xvfb.log" >&2; fail "Xvfb did not start"; }
display=":$(head -n1 "$tmp/display")"
DISPLAY="$display" QT_QPA_PLATFORM=xcb "$prefix/bin/linewright" >"$tmp/x11.log" 2>&1 &
app_pid=$!
window=""
for _ in $(seq 200); do
  window="$(DISPLAY="$display" xwininfo -root -tree 2>/dev/null |
            sed -n 's/^ *\(0x[0-9a-f]*\) "Linewright (Plain text)".*/\1/p' | head -n1)"
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { cat "$tmp/x11.log" >&2; fail "the installed program showed no window on $display"; }
shown="$(DISPLAY="$display" xprop -id "$window" WM_CLASS)"
kill "$app_pid"; wait "$app_pid" 2>/dev/null || true
kill "$xvfb_pid"; wait "$xvfb_pid" 2>/dev/null || true
app_pid="" xvfb_pid=""
# WM_CLASS(STRING) = "instance", "class"
class="$(echo "$shown" | sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\([^"]*\)"$/\1/p')"
[ "$class" = "$wm_class" ] ||
  fail "the window's class is \"$class\" ($shown), the desktop entry's StartupWMClass \"$wm_class\""

"$prefix/bin/installed_layout_check" --write --gtest_brief=1
"$prefix/bin/installed_layout_check" --read --gtest_brief=1

# The command-line checker finds the shipped dictionary through the same layout (and reads the
# Spell.cfg the runs above wrote into the user's folder).
if [ -f "$prefix/share/linewright/Dictionaries/aussie.wdm" ]; then
  listed="$(echo "teh cat" | "$prefix/bin/linewright-spell" -l)" || fail "linewright-spell -l failed"
  [ "$listed" = "teh" ] || fail "linewright-spell -l listed \"$listed\", not \"teh\""
  listed="$(echo "Linewright Wordnest plaintext" | "$prefix/bin/linewright-spell" -l)" ||
    fail "linewright-spell -l failed"
  [ -z "$listed" ] || fail "the shipped dictionary lacks the program's own words: $listed"
fi

snapshot > "$tmp/after"
diff -u "$tmp/before" "$tmp/after" >&2 || fail "something under the installation prefix changed"
[ -f "$XDG_DATA_HOME/linewright/Dictionaries/Spell.cfg" ] || fail "Spell.cfg is not in the user's folder"
echo "install test: passed"
