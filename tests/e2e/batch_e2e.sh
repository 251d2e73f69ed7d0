#!/bin/bash
# Batch runs of the program (`zweigschau /o:FOLDER ...`) on a private X
# display: the list is on the clipboard after the program has ended.
# Usage: batch_e2e.sh PATH/TO/zweigschau [PATH/TO/zs_slowfs]
# To add a case: build a tree under $E2E_TMP, run the program with
# run_batch, compare clip_read UTF8_STRING with the expected bytes (printf
# with \n line ends) using cmp.
set -u
PROGRAM=$1
SLOWFS=${2:-}
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
printf 'a/x/\na/y/\nb/\ngröße/\n' >"$E2E_TMP/expected"
run_batch "/o:$TREE" /i
check "batch run ends normally (rc $rc)" [ "$rc" -eq 0 ]
check "end points without start folder on the clipboard" \
  cmp <(clip_read UTF8_STRING) "$E2E_TMP/expected"
check "one clipboard server serves the list" [ "$(server_pids | wc -w)" -eq 1 ]

# --- With the start folder, named relative to the current folder with "."
# and ".." steps: the entries carry the whole path; replaces the first list.
printf '%s/a/x/\n%s/a/y/\n%s/b/\n%s/größe/\n' "$TREE" "$TREE" "$TREE" "$TREE" \
  >"$E2E_TMP/expected"
cd "$E2E_TMP" && run_batch "/o:./baum/a/..//" && cd - >/dev/null
check "second batch run ends normally (rc $rc)" [ "$rc" -eq 0 ]
check "end points with start folder replace the first list" \
  cmp <(clip_read UTF8_STRING) "$E2E_TMP/expected"
one_server() { [ "$(server_pids | wc -w)" -eq 1 ]; }
check "the first server has gone, one serves" wait_until 1000 one_server

# --- Another program copies: the program's server ends.
clip_take "anderes"
check "server ends within 1 s after another copy" wait_until 1000 no_server_left

# --- Keys as the shell splits them: upper case, a blank in the value,
# depth, and "/i" not found inside a path.
mkdir -p "$E2E_TMP/Meine Musik/images/tief/tiefer" "$E2E_TMP/Meine Musik/nina"
printf 'images/tief/\nnina/\n' >"$E2E_TMP/expected"
run_batch "/O:$E2E_TMP/Meine Musik" /I /E:2.5
check "keys in upper case, blank in the path, depth 2.5 as 2 (rc $rc)" [ "$rc" -eq 0 ]
check "relative end points two levels deep" cmp <(clip_read UTF8_STRING) "$E2E_TMP/expected"
# The path as people copy it: in quotes, with the line break after it, or
# as a file manager copies a folder (a file URI);
# a folder whose name has the quotes is taken as it is.
mkdir -p "$E2E_TMP/\"Zitat\"/images/tief/tiefer" "$E2E_TMP/\"Zitat\"/nina"
cd "$E2E_TMP"
for pfad in "\"$E2E_TMP/Meine Musik\"" "'$E2E_TMP/Meine Musik'" "$E2E_TMP/Meine Musik"$'\n' '"Zitat"' \
  "file://$E2E_TMP/Meine%20Musik"; do
  clip_take "vorher"
  run_batch "/o:$pfad" /i /e:2
  check "path ${pfad@Q}: the same list (rc $rc)" cmp <(clip_read UTF8_STRING) "$E2E_TMP/expected"
done
cd - >/dev/null
check "success: nothing on stdout or stderr" [ ! -s "$E2E_TMP/stdout" -a ! -s "$E2E_TMP/stderr" ]

# --- Outcomes without a list leave the clipboard as it was.
clip_take "vorher"
run_batch "/o:$E2E_TMP/fehlt"
check "missing folder: status 1 (rc $rc)" [ "$rc" -eq 1 ]
check "missing folder: one line on stderr" [ "$(cat "$E2E_TMP/stderr")" = "Ordner nicht gefunden" ]
run_batch "/o:$TREE/b"
check "no sub-folder: status 2 (rc $rc)" [ "$rc" -eq 2 ]
check "no sub-folder: one line on stderr" [ "$(cat "$E2E_TMP/stderr")" = "Keine Unter-Ordner" ]
run_batch "/o:"
check "empty path: status 1 (rc $rc)" [ "$rc" -eq 1 ]
check "the clipboard keeps what another program put there" [ "$(clip_read UTF8_STRING)" = "vorher" ]

# --- A share on which one folder answers with an I/O error (a lost
# connection): the rest is listed, and the run says that the list is short.
if [ -n "$SLOWFS" ] && [ -w /dev/fuse ]; then
  mkdir -p "$E2E_TMP/quelle/a/kaputt/x/y" "$E2E_TMP/quelle/a/gut" "$E2E_TMP/quelle/b" "$E2E_TMP/mnt"
  "$SLOWFS" "$E2E_TMP/quelle" "$E2E_TMP/mnt" -o delay_us=0 -o fail_name=kaputt -f >/dev/null 2>&1 &
  slowfs=$!
  mounted() { grep -q " $E2E_TMP/mnt fuse" /proc/mounts; }
  if wait_until 5000 mounted; then
    clip_take "vorher"
    run_batch "/o:$E2E_TMP/mnt" /i
    check "a folder with an I/O error: status 6 and its line (rc $rc)" \
      [ "$rc" -eq 6 -a "$(cat "$E2E_TMP/stderr")" = "Liste unvollständig: 1 Ordner nicht lesbar" ]
    check "a folder with an I/O error: the readable rest on the clipboard" \
      cmp <(clip_read UTF8_STRING) <(printf 'a/gut/\na/kaputt/\nb/\n')
    fusermount3 -u "$E2E_TMP/mnt"
  fi
  wait "$slowfs"
fi

# --- No display: the batch run fails without a crash; "/?" prints the usage.
env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET \
  timeout 20 "$PROGRAM" "/o:$TREE" >/dev/null 2>"$E2E_TMP/stderr"
rc=$?
check "no display: status 3 (rc $rc)" [ "$rc" -eq 3 ]
check "no display: one line on stderr" [ "$(cat "$E2E_TMP/stderr")" = "Zwischenablage nicht erreichbar" ]
# A display that refuses the run (no cookie for it): the same one line,
# none of the server's reasons.
xauth -q -f "$E2E_TMP/xauth" add :0 . "$(mcookie)"
Xvfb -displayfd 3 -nolisten tcp -auth "$E2E_TMP/xauth" 3>"$E2E_TMP/display-auth" >/dev/null 2>&1 &
wait_until 5000 test -s "$E2E_TMP/display-auth"
DISPLAY=:$(cat "$E2E_TMP/display-auth") XAUTHORITY=$E2E_TMP/keine timeout 20 "$PROGRAM" "/o:$TREE" 2>"$E2E_TMP/stderr"
rc=$?
kill $!
check "refused display: status 3 and one line (rc $rc)" \
  [ "$rc" -eq 3 -a "$(cat "$E2E_TMP/stderr")" = "Zwischenablage nicht erreichbar" ]
env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET \
  timeout 20 "$PROGRAM" "/?" >"$E2E_TMP/stdout" 2>/dev/null
rc=$?
check "no display: /? ends with status 0 (rc $rc)" [ "$rc" -eq 0 ]
check "no display: /? prints the eight usage lines" \
  [ "$(wc -l <"$E2E_TMP/stdout")" -eq 8 -a "$(head -1 "$E2E_TMP/stdout")" = "BefehlsZeilen-Parameter:" ]

# --- "--help" and "-h" print the usage on the terminal, even with a display.
for key in --help -h; do
  run_batch "$key"
  check "$key: status 0, usage on stdout (rc $rc)" \
    [ "$rc" -eq 0 -a "$(wc -l <"$E2E_TMP/stdout")" -eq 8 -a "$(head -1 "$E2E_TMP/stdout")" = "BefehlsZeilen-Parameter:" ]
done

# --- Qt cannot open its platform: the window ends with status 3 and one
# line naming the missing plugin, never an abort; "/?" still prints the
# usage; a batch run loads no Qt and does not notice.
missing_plugin() { QT_QPA_PLATFORM=zs-fehlt timeout 20 "$PROGRAM" "$@" >"$E2E_TMP/stdout" 2>"$E2E_TMP/stderr"; rc=$?; }
missing_plugin
check "missing plugin, window: status 3, not a signal (rc $rc)" [ "$rc" -eq 3 ]
check "missing plugin, window: one line naming it" \
  [ "$(cat "$E2E_TMP/stderr")" = 'zweigschau: Qt-Plattform "zs-fehlt" fehlt' ]
missing_plugin "/o:$TREE"
check "missing plugin, batch run: status 0, nothing said (rc $rc)" [ "$rc" -eq 0 -a ! -s "$E2E_TMP/stderr" ]
missing_plugin "/?"
check "missing plugin: /? prints the usage (rc $rc)" \
  [ "$rc" -eq 0 -a "$(wc -l <"$E2E_TMP/stdout")" -eq 8 -a ! -s "$E2E_TMP/stderr" ]

finish
