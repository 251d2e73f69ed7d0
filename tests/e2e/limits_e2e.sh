#!/bin/bash
# Batch runs under system limits and on start paths that cannot be listed,
# as an unprivileged user: each ends at once with its status and its line,
# leaves at most the clipboard server running (no D-Bus daemon, no
# files), and the clipboard holds the whole list or what it held before.
# Usage: limits_e2e.sh PATH/TO/zweigschau PATH/TO/zs_make_tree
set -u
source "$(dirname "$0")/xvfb_lib.sh"
start_xvfb
chmod 755 "$E2E_TMP"
# The programs where that user can reach them: a checkout may lie in a
# folder only root may enter.
mkdir -p "$E2E_TMP/bin"
cp "$1" "$1-fenster" "$(dirname "$1")/zweigschau-clipboard-server" "$E2E_TMP/bin/"
PROGRAM=$E2E_TMP/bin/zweigschau
MAKE_TREE=$2

# A user of its own, so that its process count (ulimit -u counts them all)
# is this test's alone.
USER_ID=$(( 40000 + $$ % 20000 ))
HOME_DIR=$E2E_TMP/home
mkdir -p "$HOME_DIR" "$E2E_TMP/baum/a/x" "$E2E_TMP/baum/b" "$E2E_TMP/zu/c" "$E2E_TMP/--zweigschau-clipboard-server"
chmod 000 "$E2E_TMP/zu"
chown "$USER_ID" "$HOME_DIR"

# Runs the program as that user after LIMIT (shell commands), with a
# session of nothing but the display. Sets rc and err; the time it took in ms.
as_user() {
  local limit=$1; shift
  local start=$(date +%s%N)
  timeout 10 setpriv --reuid="$USER_ID" --regid="$USER_ID" --clear-groups \
    env -i PATH=/usr/bin:/bin DISPLAY="$DISPLAY" HOME="$HOME_DIR" XDG_RUNTIME_DIR="$HOME_DIR/run" \
    bash -c "$limit; exec \"\$0\" \"\$@\"" "$PROGRAM" "$@" >/dev/null 2>"$E2E_TMP/err"
  rc=$?
  ms=$(( ($(date +%s%N) - start) / 1000000 ))
  err=$(cat "$E2E_TMP/err")
}
mkdir -p -m 700 "$HOME_DIR/run" && chown "$USER_ID" "$HOME_DIR/run"

# Processes of that user besides the clipboard server; ended ones left to an init
# that does not collect them do not count.
user_processes() { ps -u "$USER_ID" -o stat=,args= | grep -v -e '^Z' -e --zweigschau-clipboard-server; }
servers() { pgrep -u "$USER_ID" -f -- --zweigschau-clipboard-server | wc -l; }
servers_are() { [ "$(servers)" -eq "$1" ]; }
clipboard_holds() { [ "$(clip_read)" = "$1" ]; }

# The list as a run without limits leaves it (as root: every process of
# the test's user counts against its process limit, a clipboard server too).
"$PROGRAM" "/o:$E2E_TMP/baum" /i
clip_read >"$E2E_TMP/liste"
check "reference run without limits" [ -s "$E2E_TMP/liste" ]

# limit | arguments | status | line (a pattern; "" none) ; status 0 means
# the whole list is on the clipboard, any other that it holds what it held
# before.
while IFS='|' read -r limit args status line; do
  clip_take "vorher"
  wait_until 1000 servers_are 0 && wait_until 1000 clipboard_holds vorher
  as_user "$limit" $args
  what="$limit $args"
  check "$what: status $status and its line within 2 s (rc $rc, '$err', $ms ms)" \
    [ "$rc" -eq "$status" -a "$ms" -lt 2000 ] && [[ "$err" == $line ]]
  if [ "$status" -eq 0 ]; then
    check "$what: the clipboard server serves the whole list" cmp <(clip_read) "$E2E_TMP/liste"
  else
    check "$what: clipboard untouched, no clipboard server" [ "$(clip_read)" = vorher -a "$(servers)" -eq 0 ]
  fi
  check "$what: nothing else left running ($(user_processes))" [ -z "$(user_processes)" -a "$(servers)" -le 1 ]
done <<EOF
ulimit -u 1|/o:$E2E_TMP/baum /i|3|Zu wenig Speicher oder Threads frei
ulimit -u 2|/o:$E2E_TMP/baum /i|0|
ulimit -u 16|/o:$E2E_TMP/baum /i|0|
ulimit -v 20000|/o:$E2E_TMP/baum /i|0|
ulimit -n 6|/o:$E2E_TMP/baum /i|3|Zu wenige Datei-Handles frei (Grenze offener Dateien)
:|/o:/etc/passwd|4|Kein Ordner
:|/o:$E2E_TMP/zu|5|Kein Zugriff auf den Ordner
:|/o:$E2E_TMP/fehlt|1|Ordner nicht gefunden
EOF

# Address-space limits from where the loader can map the program to far
# beyond what a run needs, on a list of about 1 MB (45 x 45 folders with
# names of 200 bytes) and on a tree of 200,000 folders: every run ends
# with the whole list (0) or with 3 and the clipboard untouched, never by
# a signal, and once a limit lets a run through every larger one does.
lang=$(printf 'n%.0s' $(seq 200))
for i in $(seq 10 54); do for j in $(seq 10 54); do echo "$E2E_TMP/breit/$i$lang/$j$lang"; done; done | xargs mkdir -p
"$MAKE_TREE" "$E2E_TMP/gross" 200000 7 0 >/dev/null
for baum in "breit 2500" "gross 7500"; do
  read -r baum schritt <<<"$baum"
  "$PROGRAM" "/o:$E2E_TMP/$baum" /i
  clip_read >"$E2E_TMP/liste-$baum"
  durch=
  # Below 15,000 KiB the loader cannot map the program's libraries.
  for kib in $(seq 15000 "$schritt" 300000); do
    clip_take "vorher"
    wait_until 1000 servers_are 0
    as_user "ulimit -v $kib" "/o:$E2E_TMP/$baum" /i
    if [ "$rc" -eq 0 ] && cmp -s <(clip_read) "$E2E_TMP/liste-$baum"; then
      durch=${durch:-$kib}
    elif [ "$rc" -ne 3 ] || [ "$(clip_read)" != vorher ] || [ -n "$durch" ]; then
      check "ulimit -v $kib, $baum: whole list or 3 with the clipboard untouched, below none that passed (rc $rc, '$err', through from ${durch:-none})" false
    fi
  done
  check "$baum: runs pass from ulimit -v ${durch:-none} on ($(stat -c %s "$E2E_TMP/liste-$baum") bytes)" [ -n "$durch" ]
done
rm -rf "$E2E_TMP/gross"

# A batch run loads no toolkit: it opens no font, no Qt library or plugin.
strace -qq -e trace=openat -o "$E2E_TMP/open" "$PROGRAM" "/o:$E2E_TMP/baum" /i
check "a batch run opens no font and nothing of Qt" \
  bash -c "! grep -Eq 'fontconfig|\.ttf|libQt|qt6/plugins' '$E2E_TMP/open'"

# A folder named like the clipboard server's argument opens the window: with a
# platform that is missing it says so, where a clipboard server would have ended
# silently.
as_user "cd $E2E_TMP; export QT_QPA_PLATFORM=zs-fehlt" --zweigschau-clipboard-server
check "--zweigschau-clipboard-server from a terminal opens the window (rc $rc, '$err')" \
  [ "$rc" -eq 3 -a "$err" = 'zweigschau: Qt-Plattform "zs-fehlt" fehlt' ]
# A run starts no program but its clipboard server: no dbus-launch, which libdbus
# starts for a program that asks for a session bus when there is none.
strace -f -qq --seccomp-bpf -e trace=execve -o "$E2E_TMP/exec" setpriv --reuid="$USER_ID" --regid="$USER_ID" \
  --clear-groups env -i DISPLAY="$DISPLAY" HOME="$HOME_DIR" "$PROGRAM" "/o:$E2E_TMP/baum" /i &
tracer=$!
wait_until 5000 servers_are 1
clip_take "danach"
wait_until 5000 eval '! process_alive $tracer'
check "a run starts its clipboard server and nothing else" \
  bash -c "grep -q 'execve(\"[^\"]*-clipboard-server\"' '$E2E_TMP/exec' && ! grep -q dbus '$E2E_TMP/exec'"
check "no D-Bus daemon and no file in the home folder" \
  [ -z "$(pgrep -u "$USER_ID" dbus)" -a -z "$(find "$HOME_DIR" -mindepth 1 ! -path "$HOME_DIR/run*")" ]
finish
