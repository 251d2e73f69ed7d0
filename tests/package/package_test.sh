#!/bin/bash
# The Debian package made from this build: its files land where a desktop
# finds them, its dependencies name what the program uses, lintian finds
# no error or warning in it, and the installed program prints its usage
# without a display.
# Usage: package_test.sh BUILD_DIR
set -u
BUILD=$1
source "$(dirname "$0")/../e2e/xvfb_lib.sh"  # check, finish; $E2E_TMP, removed on exit
TMP=$E2E_TMP

(cd "$TMP" && cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$TMP/out" >"$TMP/cpack.log" 2>&1)
DEB=$(ls "$TMP"/out/zweigschau_*_amd64.deb 2>/dev/null | head -1)
check "cpack makes zweigschau_<version>_amd64.deb" [ -n "$DEB" ]
[ -n "$DEB" ] || { cat "$TMP/cpack.log"; exit 1; }

depends=$(dpkg-deb -f "$DEB" Depends) recommends=$(dpkg-deb -f "$DEB" Recommends)
echo "# Depends: $depends"
echo "# Recommends: $recommends"
listed() { grep -qE "(^|, )$1( |,|$)" <<<"$2"; }  # listed PACKAGE FIELD
for dep in libqt6gui6 libqt6widgets6 libqt6core6 libxcb1; do
  check "depends on $dep" listed "$dep" "$depends"
done
# What only a Wayland desktop needs, and Qt's German texts, are
# recommended, not required.
only_recommended() { listed "$1" "$recommends" && ! listed "$1" "$depends"; }
for dep in qt6-wayland wl-clipboard qt6-translations-l10n; do
  check "recommends $dep, does not depend on it" only_recommended "$dep"
done
lintian --fail-on error,warning "$DEB" >"$TMP/lintian.log" 2>&1
rc=$?
check "lintian finds no error and no warning (rc $rc)" [ "$rc" -eq 0 ]
grep -E '^[EW]:' "$TMP/lintian.log"

ROOT=$TMP/root
dpkg -x "$DEB" "$ROOT"
for f in usr/bin/zweigschau usr/share/applications/zweigschau.desktop \
         usr/share/icons/hicolor/scalable/apps/zweigschau.svg \
         usr/share/icons/hicolor/32x32/apps/zweigschau.png \
         usr/share/man/man1/zweigschau.1.gz; do
  check "ships /$f" [ -s "$ROOT/$f" ]
done
check "the program is executable" [ -x "$ROOT/usr/bin/zweigschau" ]
check "the icon is a 32x32 PNG" grep -q '32 x 32' <<<"$(file "$ROOT/usr/share/icons/hicolor/32x32/apps/zweigschau.png")"
DESKTOP=$ROOT/usr/share/applications/zweigschau.desktop
check "the desktop entry validates" desktop-file-validate "$DESKTOP"
check "the desktop entry opens folders" grep -qx 'MimeType=inode/directory;' "$DESKTOP"

# The desktop entry's Exec line and the folder menu entries' Exec lines,
# each read by the parser its file manager uses (GLib's key files; KDE's
# are the same format) and run as the file manager expands it for a folder
# whose name holds a blank.
exec_line() {  # exec_line FILE GROUP: the Exec line of that group, parsed as a key file
  /usr/bin/python3 -c 'import sys; from gi.repository import GLib
k = GLib.KeyFile(); k.load_from_file(sys.argv[1], GLib.KeyFileFlags.NONE)
print(k.get_string(sys.argv[2], "Exec"))' "$1" "$2"
}
launch() {  # launch FILE GROUP QUOTED-FOLDER [ENV...]: the Exec line with the folder
  local line; line=$(exec_line "$1" "$2") || return 1
  local quoted=$3; shift 3
  local -a umgebung=("$@")
  line=${line//%f/$quoted}
  line=${line//%F/$quoted}
  eval "set -- $line"  # split as the file manager's shell-like parser does
  [ "$1" = zweigschau ] && set -- "$ROOT/usr/bin/zweigschau" "${@:2}"
  env "${umgebung[@]}" "$@"
}
start_xvfb
FOLDER="$TMP/Meine Ordner"
mkdir -p "$FOLDER/a/b" "$FOLDER/c"
printf '%s\n' "$FOLDER/a/b/" "$FOLDER/c/" >"$TMP/expected"
check "the desktop entry has no action: launchers start one without the folder" \
  [ -z "$(grep -E '^(Actions|\[Desktop Action)' "$DESKTOP")" ]
MENUS=$ROOT/usr/share
for menu in "kio/servicemenus/zweigschau-ordnerliste.desktop|Desktop Action Ordnerliste|$(printf %q "$FOLDER")" \
            "nemo/actions/zweigschau.nemo_action|Nemo Action|\"$FOLDER\"" \
            "file-manager/actions/zweigschau-ordnerliste.desktop|X-Action-Profile ordner|'$FOLDER'"; do
  IFS='|' read -r file group quoted <<<"$menu"
  clip_take "vorher"
  launch "$MENUS/$file" "$group" "$quoted" >/dev/null 2>&1
  check "$file: its Exec line lists the folder onto the clipboard" cmp "$TMP/expected" <(clip_read UTF8_STRING)
done
# Started from a menu, the run tells its outcome as a desktop notification,
# on a session bus of its own here with a notification service that writes
# down what it gets (above, without a bus, it told nobody and failed not).
read -r bus_address bus_pid < <(dbus-daemon --session --fork --print-address=1 --print-pid=1 | tr '\n' ' ')
export DBUS_SESSION_BUS_ADDRESS=$bus_address
/usr/bin/python3 "$(dirname "$0")/../e2e/notification_service.py" "$TMP/notes" 30 &
service=$!
wait_until 10000 test -e "$TMP/notes.ready"
dolphin="kio/servicemenus/zweigschau-ordnerliste.desktop|Desktop Action Ordnerliste"
launch "$MENUS/${dolphin%|*}" "${dolphin#*|}" "$(printf %q "$FOLDER")" >/dev/null 2>&1
launch "$MENUS/${dolphin%|*}" "${dolphin#*|}" "$(printf %q "$FOLDER/fehlt")" >/dev/null 2>&1
check "a menu run's notifications: the lines on the clipboard, then why it failed" \
  [ "$(cat "$TMP/notes" 2>/dev/null)" = $'2 Zeilen in der Zwischenablage\nOrdner nicht gefunden' ]
# The desktop entry opens the window, read on that bus as assistive
# technology reads it.
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
launcher=$!
launch "$DESKTOP" "Desktop Entry" "$(printf %q "$FOLDER")" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 >/dev/null 2>&1 &
window=$!
watch_window "$TMP/state"
check "the entry opens the window with the folder in the path box" \
  wait_until 10000 grep -sqxF "text.txtPfadEingabe=$FOLDER" "$TMP/state"
kill "$window" "$launcher" "$service" "$bus_pid" 2>/dev/null
unset DBUS_SESSION_BUS_ADDRESS
check "the Nautilus extension is valid Python" \
  /usr/bin/python3 -c 'import ast, sys; ast.parse(open(sys.argv[1]).read())' \
  "$MENUS/nautilus-python/extensions/zweigschau.py"
man_text=$(gzip -dc "$ROOT/usr/share/man/man1/zweigschau.1.gz")
for topic in '^\.SH EXIT STATUS' '^\.SH THE LIST' '^\.SH CLIPBOARD' 'carriage return' '/o:'; do
  check "the man page covers '$topic'" grep -q -- "$topic" <<<"$man_text"
done

printf '%s\n' 'BefehlsZeilen-Parameter:' '' \
  $'/o:..\t = Ordnername' $'/i\t = mit Qellordner in der Ausgabe' \
  $'/e:..\t = Anzahl der OrdnerEbenen' $'/a\t = alle Ebenen ausgeben' \
  $'/d:*.mp3\t = *.mp3-Dateien listen' $'/n\t = nur Ordner mit passenden Dateien' >"$TMP/usage"
env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET timeout 20 \
  "$ROOT/usr/bin/zweigschau" "/?" >"$TMP/out.txt" 2>"$TMP/err.txt"
rc=$?
check "installed program: /? without a display ends with 0 (rc $rc)" [ "$rc" -eq 0 ]
check "installed program: the eight usage lines, exactly" cmp "$TMP/out.txt" "$TMP/usage"

finish
