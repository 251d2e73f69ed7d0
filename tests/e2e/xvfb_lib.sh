# Helpers for end-to-end tests on a private X display. Source this file,
# then call start_xvfb; everything started here is ended on exit.
#
#   start_xvfb [ARGS]      starts Xvfb on a free display (with ARGS),
#                          exports DISPLAY
#   clip_read [TARGET]     prints the clipboard (default: xclip's target)
#   clip_take TEXT         another program (xclip) takes the clipboard
#   server_pids            clipboard servers serving this test's display
#   process_alive PID      true while PID runs (checks.sh)
#   wait_until MS CMD...   polls CMD until it succeeds, at most MS ms (checks.sh)
#   no_server_left         true when no server serves this display
#   check NAME CMD...      runs CMD, records a failure when it fails
#   finish                 prints the summary, exits 1 after a failure
#   a11y_bus "$@"          first thing: runs the script again inside a D-Bus
#                          session of its own with an accessibility bus, the
#                          programs it starts exposing their windows there
#   watch_window FILE      the window's state, as assistive technology reads
#                          it, kept in FILE (window_state.py) until it closes
#
# Needs: Xvfb, xclip, timeout (coreutils), pgrep (procps); for the two
# last, dbus-run-session, at-spi2-core and python3-pyatspi.

source "$(dirname "${BASH_SOURCE[0]}")/../common/checks.sh"
E2E_TMP=$(mktemp -d)
E2E_XVFB_PID=
E2E_A11Y_PID=
readonly E2E_SERVER_ARG=--zweigschau-clipboard-server

e2e_cleanup() {
  local pid
  for pid in $(server_pids 2>/dev/null); do kill "$pid" 2>/dev/null; done
  [ -n "$E2E_A11Y_PID" ] && kill "$E2E_A11Y_PID" 2>/dev/null
  if [ -n "$E2E_XVFB_PID" ]; then
    kill "$E2E_XVFB_PID" 2>/dev/null
    wait "$E2E_XVFB_PID" 2>/dev/null
  fi
  rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

start_xvfb() {
  unset WAYLAND_DISPLAY WAYLAND_SOCKET
  export XDG_RUNTIME_DIR=$E2E_TMP/runtime
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
  Xvfb -displayfd 3 -nolisten tcp "$@" 3>"$E2E_TMP/display" >"$E2E_TMP/xvfb.log" 2>&1 &
  E2E_XVFB_PID=$!
  local i
  for i in $(seq 100); do
    if grep -q '^[0-9]' "$E2E_TMP/display" 2>/dev/null; then
      export DISPLAY=":$(head -n1 "$E2E_TMP/display")"
      echo "# Xvfb on $DISPLAY (pid $E2E_XVFB_PID)"
      return 0
    fi
    sleep 0.1
  done
  echo "Xvfb did not start:"; cat "$E2E_TMP/xvfb.log"
  exit 1
}

clip_read() {
  if [ $# -gt 0 ]; then
    timeout 10 xclip -o -selection clipboard -t "$1"
  else
    timeout 10 xclip -o -selection clipboard
  fi
}

clip_take() {
  printf '%s' "$1" | xclip -i -selection clipboard >/dev/null 2>&1
}

# Servers are recognised by their hidden argument and by the display in
# their environment, so that servers of other displays are left alone.
server_pids() {
  local pid
  for pid in $(pgrep -f -- "$E2E_SERVER_ARG"); do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "DISPLAY=$DISPLAY"; then
      echo "$pid"
    fi
  done
}

no_server_left() { [ -z "$(server_pids)" ]; }


a11y_bus() {
  if [ -z "${E2E_A11Y_SESSION:-}" ]; then
    rm -rf "$E2E_TMP"
    trap - EXIT
    E2E_A11Y_SESSION=1 exec dbus-run-session -- bash "$0" "$@"
  fi
  # The launcher puts its bus's socket in the runtime folder (without one,
  # in ~/.cache/at-spi, where a script running beside this one would take
  # it over): a private one.
  export XDG_RUNTIME_DIR=$E2E_TMP/runtime
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  E2E_A11Y_PID=$!
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}

watch_window() {
  /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/window_state.py" "$1" >/dev/null 2>>"$E2E_TMP/window_state.err" &
}
