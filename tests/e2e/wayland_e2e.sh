#!/bin/bash
# The clipboard on Wayland without X11: the text goes to wl-copy, which
# keeps it after the program has ended. The compositor is weston, nested in
# a private Xvfb (weston's headless back end has no seat, and without a seat
# no client can set the clipboard). Skipped (exit 77) without weston.
# Usage: wayland_e2e.sh PATH/TO/zs_clipboard_probe
set -u
PROBE=$1
if ! command -v weston >/dev/null || ! command -v wl-paste >/dev/null; then
  echo "SKIP: weston and wl-clipboard are needed for the Wayland test"
  exit 77
fi
source "$(dirname "$0")/xvfb_lib.sh"
start_xvfb

WESTON_PID=
stop_weston() { [ -n "$WESTON_PID" ] && kill "$WESTON_PID" 2>/dev/null; e2e_cleanup; }
trap stop_weston EXIT
SOCKET=zs-e2e-$$
weston --backend=x11-backend.so --use-pixman --socket="$SOCKET" --idle-time=0 \
  >"$E2E_TMP/weston.log" 2>&1 &
WESTON_PID=$!
socket_ready() { [ -S "$XDG_RUNTIME_DIR/$SOCKET" ]; }
if ! wait_until 10000 socket_ready; then
  echo "weston did not start:"; cat "$E2E_TMP/weston.log"; exit 1
fi
wayland_only() { env -u DISPLAY WAYLAND_DISPLAY="$SOCKET" "$@"; }

LIST=$E2E_TMP/list.txt
printf 'a/\rb/Äpfel öl/\rc/ß\t€.mp3\rd/\r' >"$LIST"

out=$(wayland_only timeout 20 "$PROBE" "$LIST" 2>"$E2E_TMP/err"); rc=$?
check "run on Wayland exits 0 under \$(...) (rc $rc)" [ "$rc" -eq 0 ]
check "run writes nothing to stdout" [ -z "$out" ]
check "exact bytes after the program ended (wl-paste)" \
  cmp <(wayland_only timeout 10 wl-paste -n) "$LIST"
check "exact bytes as UTF8_STRING" \
  cmp <(wayland_only timeout 10 wl-paste -n -t UTF8_STRING) "$LIST"
no_server_for_socket() {
  local pid
  for pid in $(pgrep -f -- "$E2E_SERVER_ARG"); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WAYLAND_DISPLAY=$SOCKET" && return 1
  done
  return 0
}
check "no X11 clipboard server was started" no_server_for_socket

wayland_only timeout 20 env PATH=/nonexistent "$PROBE" "$LIST" 2>/dev/null; rc=$?
check "without wl-copy the hand-over fails with status 3 (got $rc)" [ "$rc" -eq 3 ]

# A Wayland desktop without Qt's Wayland plugin: a copy of the program
# whose qt.conf points at an empty plugin folder ends with status 3 and one
# line naming the package, never with an abort. (A batch run loads no
# plugin at all.)
if [ -n "${ZS_PROGRAM:-}" ]; then
  mkdir -p "$E2E_TMP/ohne-plugin/leer"
  cp "$ZS_PROGRAM" "$ZS_PROGRAM-fenster" "$E2E_TMP/ohne-plugin/"
  printf '[Paths]\nPlugins = %s\n' "$E2E_TMP/ohne-plugin/leer" >"$E2E_TMP/ohne-plugin/qt.conf"
  wayland_only timeout 20 "$E2E_TMP/ohne-plugin/zweigschau" >/dev/null 2>"$E2E_TMP/err"; rc=$?
  check "no platform plugin: status 3, not a signal (rc $rc)" [ "$rc" -eq 3 ]
  check "no platform plugin: one line naming it" \
    [ "$(cat "$E2E_TMP/err")" = 'zweigschau: Qt-Plattform "wayland" fehlt (Debian-Paket qt6-wayland)' ]
fi

finish
