#!/bin/bash
# Batch runs of the program (`zweigschau /o:FOLDER ...`) on a private X
# display: the list is on the clipboard after the program has ended.
# Usage: batch_e2e.sh PATH/TO/zweigschau
# To add a case: build a tree under $E2E_TMP, run the program with
# run_batch, compare clip_read UTF8_STRING with the expected bytes (printf
# with \r line ends) using cmp.
set -u
PROGRAM=$1
source "$(dirname "$0")/xvfb_lib.sh"
start_xvfb

TREE=$E2E_TMP/baum
mkdir -p "$TREE/a/x" "$TREE/a/y" "$TREE/b" "$TREE/größe"

# Runs the program bounded by a timeout, as a caller's $(...) would; its
# standard output goes to $E2E_TMP/stdout, its exit status to $rc.
run_batch() {
  timeout 20 "$PROGRAM" "$@" >"$E2E_TMP/stdout" 2>"$E2E_TMP/stderr"
  rc=$?
}

# --- End points without the start folder.
printf 'a/x/\ra/y/\rb/\rgröße/\r' >"$E2E_TMP/expected"
run_batch "/o:$TREE" /i
check "batch run ends normally (rc $rc)" [ "$rc" -eq 0 ]
check "end points without start folder on the clipboard" \
  cmp <(clip_read UTF8_STRING) "$E2E_TMP/expected"
check "one clipboard server serves the list" [ "$(server_pids | wc -w)" -eq 1 ]

# --- With the start folder; replaces the first list.
printf '%s/a/x/\r%s/a/y/\r%s/b/\r%s/größe/\r' "$TREE" "$TREE" "$TREE" "$TREE" \
  >"$E2E_TMP/expected"
run_batch "/o:$TREE"
check "second batch run ends normally (rc $rc)" [ "$rc" -eq 0 ]
check "end points with start folder replace the first list" \
  cmp <(clip_read UTF8_STRING) "$E2E_TMP/expected"
one_server() { [ "$(server_pids | wc -w)" -eq 1 ]; }
check "the first server has gone, one serves" wait_until 1000 one_server

# --- Another program copies: the program's server ends.
clip_take "anderes"
check "server ends within 1 s after another copy" wait_until 1000 no_server_left

# --- No display: the batch run fails without a crash.
env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET \
  timeout 20 "$PROGRAM" "/o:$TREE" >/dev/null 2>&1
rc=$?
check "no display: failure status, no signal (rc $rc)" [ "$rc" -ne 0 -a "$rc" -lt 124 ]

finish
