#!/bin/bash
# README's run command on a machine without a desktop: the batch run goes
# to a private Xvfb, the list is read back and shown, and nothing is left
# running. Usage: run_script_e2e.sh PATH/TO/zweigschau
set -u
PROGRAM=$1
RUN=$(cd "$(dirname "$0")/../.." && pwd)/scripts/run
source "$(dirname "$0")/xvfb_lib.sh"  # check, finish; $E2E_TMP, removed on exit
TMP=$E2E_TMP

# scripts/run without any display; its private folders land under $TMP/t,
# so that what it started can be told from other tests' processes.
mkdir "$TMP/t"
run_headless() {
  env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET TMPDIR="$TMP/t" ZWEIGSCHAU_PROGRAM="$PROGRAM" \
    timeout 60 "$RUN" "$@" >"$TMP/out" 2>"$TMP/err"
  rc=$?
}
nothing_left() {
  local pid
  for pid in $(pgrep -f -- 'Xvfb|--zweigschau-clipboard-server'); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -q "^XDG_RUNTIME_DIR=$TMP/t/" && return 1
  done
  return 0
}

TREE=$TMP/baum
mkdir -p "$TREE/a/x" "$TREE/a/y" "$TREE/b" "$TREE/größe" "$TREE/.versteckt"
run_headless "/o:$TREE" /i
printf '%s\n' \
  "run: no desktop reachable (DISPLAY, WAYLAND_DISPLAY): the batch run goes to a private Xvfb display" \
  "run: the list on the clipboard:" \
  a/x/ a/y/ b/ größe/ "run: exit status 0" >"$TMP/expected"
check "small tree: status 0 (rc $rc)" [ "$rc" -eq 0 ]
check "small tree: the notice, the list and the status, exactly" cmp "$TMP/out" "$TMP/expected"
check "small tree: nothing on stderr" [ ! -s "$TMP/err" ]
check "small tree: no Xvfb or clipboard server left" nothing_left

run_headless "/o:$TMP/fehlt"
check "missing folder: status 1 (rc $rc)" [ "$rc" -eq 1 ]
check "missing folder: the program's own line" [ "$(cat "$TMP/err")" = "Ordner nicht gefunden" ]
check "missing folder: the status shown, no list" [ "$(tail -n1 "$TMP/out")" = "run: exit status 1" -a "$(wc -l <"$TMP/out")" -eq 2 ]
check "missing folder: nothing left" nothing_left

run_headless "/?"
check "/?: status 0 (rc $rc)" [ "$rc" -eq 0 ]
check "/?: the eight usage lines and nothing else, no Xvfb" \
  [ "$(wc -l <"$TMP/out")" -eq 8 -a "$(head -n1 "$TMP/out")" = "BefehlsZeilen-Parameter:" ]

# Xvfb that cannot start.
mkdir "$TMP/bin"
printf '#!/bin/sh\necho "Fatal server error: no screens" >&2\nexit 1\n' >"$TMP/bin/Xvfb"
chmod +x "$TMP/bin/Xvfb"
PATH="$TMP/bin:$PATH" run_headless "/o:$TREE"
check "Xvfb fails: status 3 (rc $rc)" [ "$rc" -eq 3 ]
check "Xvfb fails: one line saying so after the notice" \
  [ "$(wc -l <"$TMP/out")" -eq 2 -a "$(tail -n1 "$TMP/out")" = "run: Xvfb did not start: Fatal server error: no screens" ]

finish
