#!/bin/bash
# The window as a screen reader reads it, through AT-SPI on a private
# accessibility bus: every text field has the name a sighted person reads
# beside it, and a result label that appears announces itself.
# Usage: a11y_e2e.sh PATH/TO/zweigschau
set -u
PROGRAM=$1
PROBE=$(dirname "$0")/a11y_probe.py
source "$(dirname "$0")/xvfb_lib.sh"
start_xvfb
mkdir -p "$E2E_TMP/leer"

# Inside a D-Bus session of its own: the bus launcher, the window, the probe.
dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$1" "$2" >/dev/null 2>&1 &
  window=$!
  for i in $(seq 100); do w=$(xdotool search --name "MORVAs Zweigschau" 2>/dev/null | head -1); [ -n "$w" ] && break; sleep 0.1; done
  timeout 60 /usr/bin/python3 "$3" "$w"
  kill $window' _ "$PROGRAM" "$E2E_TMP/leer" "$PROBE" >"$E2E_TMP/probe" 2>"$E2E_TMP/probe.err"
sed 's/^/# /' "$E2E_TMP/probe"
for name in "Startverzeichnis:" Ebenen "Datei-Maske Name" "Datei-Maske Typ"; do
  check "the text field beside '$name' is named so" grep -qxF "field: $name" "$E2E_TMP/probe"
done
check "'Keine Unter-Ordner' announces itself when it appears" grep -qxF "announced: Keine Unter-Ordner" "$E2E_TMP/probe"
finish
