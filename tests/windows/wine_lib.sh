# Helpers for the Windows tests under Wine. Source this file, then call
# wine_start; everything it started is ended on exit.
#
#   wine_start        private Xvfb (-displayfd), private WINEPREFIX, a
#                     persistent wineserver, the prefix initialised once
#   wine_run EXE ...  runs a Windows program; stderr to $WINE_TMP/stderr,
#                     the exit status in $rc
#   winpath PATH      the Z: drive path of a Linux path (backslashes)
#   check NAME CMD... runs CMD, records a failure when it fails
#   finish            prints the summary, exits 1 after a failure
#
# Needs: Xvfb, wine64 (/usr/lib/wine/wine64, /usr/lib/wine/wineserver).

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
source "$(dirname "${BASH_SOURCE[0]}")/../common/checks.sh"
WINE_TMP=$(mktemp -d /tmp/zweigschau-wine.XXXXXX)
WINE_XVFB_PID=

wine_cleanup() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    "$WINESERVER" -k >/dev/null 2>&1
    "$WINESERVER" -w >/dev/null 2>&1
  fi
  if [ -n "$WINE_XVFB_PID" ]; then
    kill "$WINE_XVFB_PID" 2>/dev/null
    wait "$WINE_XVFB_PID" 2>/dev/null
  fi
  rm -rf "$WINE_TMP"
}
trap wine_cleanup EXIT

wine_start() {
  # No .NET, no Gecko, and no menu entries on the host for the shortcuts
  # an installer makes (winemenubuilder would also keep msiexec waiting).
  export WINEPREFIX=$WINE_TMP/prefix WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml,winemenubuilder.exe='
  export WINEARCH=win64
  unset WAYLAND_DISPLAY WAYLAND_SOCKET
  # -noreset: the keyboard map of the typing tests outlives every client.
  Xvfb -displayfd 3 -nolisten tcp -noreset 3>"$WINE_TMP/display" >/dev/null 2>&1 &
  WINE_XVFB_PID=$!
  local i
  for i in $(seq 100); do
    grep -q '^[0-9]' "$WINE_TMP/display" 2>/dev/null && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$WINE_TMP/display")"
  # Long-lived Wine processes get no pipes of ours, or a captured run of
  # this script would never end.
  "$WINESERVER" -p >/dev/null 2>&1 </dev/null
  "$WINE" wineboot -i >/dev/null 2>&1 </dev/null
  echo "# Wine prefix $WINEPREFIX on $DISPLAY"
}

wine_run() {
  timeout "${WINE_RUN_LIMIT:-60}" "$WINE" "$@" >"$WINE_TMP/stdout" 2>"$WINE_TMP/stderr" </dev/null
  rc=$?
}

winpath() { printf 'z:%s' "$1" | tr / '\\'; }

