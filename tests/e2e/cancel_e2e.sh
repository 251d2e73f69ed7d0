#!/bin/bash
# A scan of a share that never answers (slowfs with a round trip of ten
# minutes) can be cancelled: Escape during a window scan, of the share or
# of a local folder with the share mounted below it, leaves the clipboard
# as it was and the window usable at once, and SIGTERM ends a batch run at
# once with nothing left running.
# Usage: cancel_e2e.sh PATH/TO/zweigschau PATH/TO/zs_slowfs
set -u
PROGRAM=$1
SLOWFS=$2
source "$(dirname "$0")/xvfb_lib.sh"
a11y_bus "$@"
start_xvfb

mkdir -p "$E2E_TMP/quelle/a/b" "$E2E_TMP/oben/mnt" "$E2E_TMP/oben/a" "$E2E_TMP/lokal/x"
: >"$E2E_TMP/lokal/x/datei.txt"
MNT=$E2E_TMP/oben/mnt
"$SLOWFS" "$E2E_TMP/quelle" "$MNT" -o delay_us=600000000 -o max_threads=64 -f >/dev/null 2>&1 &
SLOWFS_PID=$!
mounted() { grep -q " $MNT fuse" /proc/mounts; }
unmount() {
  fusermount3 -uz "$MNT" 2>/dev/null
  kill -KILL "$SLOWFS_PID" 2>/dev/null  # its threads sleep out their round trips
  wait "$SLOWFS_PID" 2>/dev/null
}
trap 'unmount; e2e_cleanup' EXIT
check "slowfs is mounted" wait_until 5000 mounted
# A thread of process $1 waits in the kernel for the share's answer.
waits_on_share() { grep -qs -e request_wait_answer -e fuse /proc/"$1"/task/*/wchan; }

# --- Escape during a window scan.
clip_take "vorher"
"$PROGRAM" >/dev/null 2>&1 &
WINDOW_PID=$!
watch_window "$E2E_TMP/zustand"
fenster() { xdotool search --onlyvisible --name "MORVAs Zweigschau" >/dev/null 2>&1; }
check "the window opens" wait_until 10000 fenster
WID=$(xdotool search --onlyvisible --name "MORVAs Zweigschau" | head -1)
scan() {  # types PATH into the path box and presses Enter ("Scannen")
  xdotool windowactivate --sync "$WID" 2>/dev/null || xdotool windowfocus --sync "$WID"
  xdotool key ctrl+a
  xdotool type --delay 5 "$1"
  xdotool key Return
}
scan "$MNT"
check "the scan waits on the share" wait_until 5000 waits_on_share "$WINDOW_PID"
# All but Ende and the path box (read-only, keeping the focus) are off.
nur_ende() { grep -qx 'an=txtPfadEingabe cmdEnde' "$E2E_TMP/zustand"; }
check "during the scan of the share only Ende and the path box are enabled" wait_until 5000 nur_ende
xdotool key Escape
zurueck() { grep -q '^an=txtPfadEingabe .*cmdScannen' "$E2E_TMP/zustand"; }
check "Escape brings the window back" wait_until 5000 zurueck
check "Escape leaves the clipboard as it was" [ "$(clip_read)" = "vorher" ]
check "the program still runs" process_alive "$WINDOW_PID"
# The share below a local folder is read by readers only: the window's
# own thread stays free.
scan "$E2E_TMP/oben"
arbeitet() { grep -q '^sichtbar=.*lblArbeite' "$E2E_TMP/zustand"; }
# During a scan the window answers assistive technology between two steps
# of the walk (every 5 ms here, while it waits for the share's readers).
check "the scan of the folder above the share begins" wait_until 5000 arbeitet
# The path box, where Enter started the scan, keeps the focus (read-only),
# so that a screen reader announces nothing unasked; all else is off but Ende.
check "during the scan only Ende and the path box are enabled" \
  wait_until 5000 grep -qx 'an=txtPfadEingabe cmdEnde' "$E2E_TMP/zustand"
check "during the scan the focus stays in the path box" grep -qx 'fokus=txtPfadEingabe' "$E2E_TMP/zustand"
xdotool type --delay 20 "xy"
sleep 0.3
check "... and takes no key" grep -qxF "text.txtPfadEingabe=$E2E_TMP/oben" "$E2E_TMP/zustand"
# Assistive technology is answered within 10 ms during the scan (nine calls
# in ten), as it is at rest.
read -r median p90 most < <(/usr/bin/python3 "$(dirname "$0")/window_state.py" --zeit 100)
check "during the scan a call of assistive technology takes $median ms (median), $p90 ms (9 in 10), $most ms at most" \
  awk "BEGIN { exit !($p90 <= 10) }"
sleep 0.5
xdotool key Escape
check "Escape brings the window back within 100 ms" wait_until 100 zurueck
beendet_gezeigt() { grep -q '^sichtbar=.*lblfertig' "$E2E_TMP/zustand"; }
check "'abgebrochen' shows in the count label" beendet_gezeigt
scan "$E2E_TMP/lokal"
printf '%s/x/\tdatei.txt\n' "$E2E_TMP/lokal" >"$E2E_TMP/expected"  # the window's design values
liste_da() { cmp -s <(clip_read UTF8_STRING) "$E2E_TMP/expected"; }
check "the window scans again after the cancel" wait_until 5000 liste_da
# A reader still waits on the share; the program ends all the same (a
# thread inside a request to the share may keep it a zombie until the
# share answers: that is the kernel's).
xdotool key Escape
window_gone() { ! process_alive "$WINDOW_PID"; }
check "Escape without a scan ends the program within a second" wait_until 1000 window_gone

# --- SIGTERM during a batch run.
"$PROGRAM" "/o:$MNT" >/dev/null 2>&1 &
BATCH_PID=$!
check "the batch run waits on the share" wait_until 5000 waits_on_share "$BATCH_PID"
kill -TERM "$BATCH_PID"
gone() { ! process_alive "$BATCH_PID"; }
check "SIGTERM ends the batch run within a second" wait_until 1000 gone
unmount  # fails the requests still waiting, so that both can be reaped
wait "$WINDOW_PID" 2>/dev/null
wait "$BATCH_PID" 2>/dev/null
status=$?
check "its status is 128+15 ($status)" [ "$status" -eq 143 ]
batch_gone() { ! pgrep -f "/o:$MNT" >/dev/null; }
check "nothing of the batch run is left running" batch_gone

# --- SIGTERM after the clipboard server has taken the clipboard, while the run waits
# for its word (strace holds the run's read of it 0.3 s; xclip, holding
# "vorher" in the foreground, ends when it loses the clipboard): the run's
# status and the clipboard agree.
mkdir -p "$E2E_TMP/viele" && (cd "$E2E_TMP/viele" && mkdir $(seq 2000))
printf 'vorher' | xclip -i -selection clipboard -quiet >/dev/null 2>&1 &
halter=$!
sleep 0.2
strace -qq -o /dev/null -e trace=recvfrom -e inject=recvfrom:delay_exit=300000 \
  "$PROGRAM" "/o:$E2E_TMP/viele" /i >/dev/null 2>&1 &
tracer=$!
laeuft() { pid=$(pgrep -P "$tracer"); [ -n "$pid" ]; }
wait_until 2000 laeuft
while process_alive "$halter" && process_alive "$pid"; do :; done
kill -TERM "$pid"
wait "$tracer"
status=$?
zeilen=$(clip_read UTF8_STRING | wc -l)
check "a stop after the clipboard server took over: status 0 and the list, or the clipboard as it was ($status, $zeilen lines)" \
  [ "$status" -eq 0 -a "$zeilen" -eq 2000 -o "$status" -ne 0 -a "$(clip_read)" = "vorher" ]
finish
