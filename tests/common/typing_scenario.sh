# The window as a person uses it, for both builds: keystrokes and mouse
# clicks from xdotool on the X display, the window's state read back after
# each step, the list compared byte for byte. Source this file after
# checks.sh, then call typing_scenario. The caller provides:
#   window_state      prints the window's state report (key=value lines)
#   clipboard_text    prints the clipboard text as UTF-8
#   clipboard_set T   puts the text T on the clipboard (for Ctrl+V)
#   TYPING_PID        the program's process, a child of this shell
#   TYPING_ROOT       the folder the tree is made in (a Linux path)
#   TYPING_ROOT_SHOWN the same folder as the program's path box shows it
#   TYPING_SEP        the separator of the program's paths ("/" or "\")
#   TYPING_EOL        the line end of the program's list (LF or CR)
#   DRAG_SOURCE       the drag source helper (zs_drag_source), if any, and
#   TYPING_DROPPED    the path box's text after a file and a folder of the
#                     tree were dragged onto it (the folder's path, ".../Lieder")
# Needs: xdotool, xmodmap.

# Keys for the umlauts and ß on unused key codes, so that xdotool types
# them as real key events of the keyboard map (the server must run with
# -noreset, or the map is lost whenever the last client goes).
umlaut_keys() {
  xmodmap -e 'keycode 93 = adiaeresis Adiaeresis' -e 'keycode 97 = odiaeresis Odiaeresis' \
    -e 'keycode 103 = udiaeresis Udiaeresis' -e 'keycode 120 = ssharp ssharp'
}

# The test tree: a blank and umlauts in its name, files for the mask
# "l*.mp3" on three levels, one level too deep for a depth of 2.
typing_tree() {
  local t="$TYPING_ROOT/Bäume Ö"
  mkdir -p "$t/Lieder/Alt/Tief" "$t/Texte" "$t/Ärger"
  touch "$t/Lala.mp3" "$t/readme.txt" "$t/Lieder/lied.mp3" "$t/Lieder/Lob.MP3" "$t/Lieder/song.mp3" \
    "$t/Lieder/x.wav" "$t/Lieder/Alt/lang.mp3" "$t/Lieder/Alt/alt.mp3" "$t/Lieder/Alt/Tief/leise.mp3" \
    "$t/Texte/l.doc" "$t/Ärger/laut.mp3"
}

# The X window whose title matches PATTERN, waited for up to 20 s.
window_named() {
  local window= i
  for i in $(seq 200); do
    window=$(xdotool search --name "$1" 2>/dev/null | head -n1)
    [ -n "$window" ] && break
    sleep 0.1
  done
  echo "$window"
}

# The value of KEY in the window's state.
state_of() { window_state | sed -n "s/^$1=//p"; }

# Waits up to 10 s until KEY has VALUE; tells what it had when it never did.
state_is() {
  local key=$1 value=$2 seen i
  for i in $(seq 100); do
    seen=$(state_of "$key")
    [ "$seen" = "$value" ] && return 0
    sleep 0.1
  done
  echo "#   $key is '$seen', expected '$value'"
  return 1
}

keys() { xdotool key --delay 60 "$@"; }
type_text() { xdotool type --delay 60 -- "$1"; }
click() {  # click NAME: the mouse on the box of the check box or option NAME
  local at
  at=$(state_of "klick.$1")
  xdotool mousemove "${at%,*}" "${at#*,}" click 1
}

# The enabled controls with cbDateien, cbTab and the other three file fields
# each E (enabled) or D (disabled).
enabled() {
  local list="txtPfadEingabe cmdOrdnerWählen txtEbenen cbinkl optAlleOderLetzte0 optAlleOderLetzte1"
  [ "$1" = E ] && list+=" cbDateien"
  [ "$2" = E ] && list+=" cbTab"
  [ "$3" = E ] && list+=" cbNurOrdnerMitPassendenDateien comMaskeName comMaskeTyp"
  echo "$list cmdScannen cmdEnde"
}

# Items of the tree's folder "Bäume Ö" dragged from the drag source onto
# the box TARGET with the mouse, as from a file manager; true when the path
# box then reads EXPECTED.
drag_onto() {
  local target=$1 expected=$2 source i at main item; shift 2
  local -a items=()
  for item in "$@"; do items+=("$TYPING_ROOT/Bäume Ö/$item"); done
  main=$(window_named '^MORVAs Zweigschau$')
  "$DRAG_SOURCE" "${items[@]}" >/dev/null 2>&1 &
  local source_pid=$!
  source=$(window_named '^Ziehquelle$')
  at=$(state_of "klick.$target")
  if [ -n "$source" ]; then
    sleep 0.5
    xdotool mousemove 780 650 mousedown 1
    for i in 1 2 3 4 5; do
      xdotool mousemove $(( 780 + (${at%,*} + 10 - 780) * i / 5 )) $(( 650 + (${at#*,} - 650) * i / 5 ))
      sleep 0.2
    done
    sleep 0.5
    xdotool mouseup 1
  fi
  state_is text.txtPfadEingabe "$expected"
  local result=$?
  kill "$source_pid" 2>/dev/null
  wait "$source_pid" 2>/dev/null
  xdotool windowfocus --sync "$main"
  return $result
}

typing_scenario() {
  local tree="$TYPING_ROOT_SHOWN${TYPING_SEP}Bäume Ö" s=$TYPING_SEP
  local checked="cbinkl optAlleOderLetzte1 cbDateien cbTab cbNurOrdnerMitPassendenDateien"
  local window
  window=$(window_named '^MORVAs Zweigschau$')
  check "typing: the window opens" [ -n "$window" ]
  [ -n "$window" ] || return
  xdotool windowfocus --sync "$window"
  check "typing: the path box has the focus at first" state_is fokus txtPfadEingabe
  if [ -n "${DRAG_SOURCE:-}" ]; then
    # Onto the boxes too: the path box takes the folder, the box keeps its text.
    local lieder=$TYPING_DROPPED baeume=${TYPING_DROPPED%?Lieder}
    check "drop: a file and a folder dragged onto the path box: the folder counts" \
      drag_onto txtPfadEingabe "$lieder" readme.txt Lieder
    check "drop: ... and the path box has the focus" state_is fokus txtPfadEingabe
    check "drop: a file dragged onto the name mask: its folder goes into the path box" \
      drag_onto comMaskeName "$baeume" readme.txt
    check "drop: ... and the name mask keeps its text" state_is text.comMaskeName "*"
    check "drop: a folder dragged onto the depth box goes into the path box" drag_onto txtEbenen "$lieder" Lieder
    check "drop: ... and the depth box keeps its text" state_is text.txtEbenen 0
  fi

  # --- A path typed, corrected and pasted.
  keys ctrl+a BackSpace
  type_text "${tree}Xq"
  check "typing: every character of a typed path arrives, umlauts and blank too" \
    state_is text.txtPfadEingabe "${tree}Xq"
  keys BackSpace BackSpace Home
  type_text ab
  keys shift+Left shift+Left Delete End
  type_text ZZ
  keys shift+Left shift+Left BackSpace
  check "typing: Backspace, Home/End and Shift-selection correct it" state_is text.txtPfadEingabe "$tree"
  # A folder copied in a file manager: its file URI, one a line.
  clipboard_set "$(file_uri "$tree${s}Lieder")"$'\n'"$(file_uri "$tree")"$'\n'
  keys ctrl+a ctrl+v Return
  check "typing: a copied folder's file URI pasted, Enter scans it: 7 lines" \
    state_is text.lblfertig "7 in der Zwischenablage"
  # Copied from a terminal, with the line break after it.
  clipboard_set "$TYPING_ROOT_SHOWN$s"$'\n'
  keys ctrl+a ctrl+v
  check "typing: Ctrl+V pastes, without the line break" state_is text.txtPfadEingabe "$TYPING_ROOT_SHOWN$s"
  type_text "Bäume Ö"
  check "typing: the pasted text is not selected, typing goes on after it" state_is text.txtPfadEingabe "$tree"
  keys Return
  check "typing: Enter in the path box scans: every file, 11 lines" state_is text.lblfertig "11 in der Zwischenablage"
  keys ctrl+a
  sleep 0.5
  check "typing: Ctrl+A changes no text, so the result stays" state_is sichtbar lblfertig
  keys End

  # --- Tab and Shift+Tab, one round each; the option pair is one stop.
  local order=(txtPfadEingabe cmdOrdnerWählen txtEbenen cbinkl optAlleOderLetzte1 cbDateien cbTab
               cbNurOrdnerMitPassendenDateien comMaskeName comMaskeTyp cmdScannen cmdEnde txtPfadEingabe)
  local i ok=0
  for i in $(seq 1 12); do keys Tab; state_is fokus "${order[$i]}" || ok=1; done
  for i in $(seq 11 -1 0); do keys shift+Tab; state_is fokus "${order[$i]}" || ok=1; done
  check "typing: Tab and Shift+Tab go round in order" [ $ok -eq 0 ]
  keys alt+n Tab
  check "typing: with nur Endpunkte selected, Tab goes on to Scannen" state_is fokus cmdScannen
  keys shift+Tab
  check "typing: ... and Shift+Tab back lands on the selected option" state_is fokus optAlleOderLetzte0
  keys alt+k
  check "typing: Alt+K selects komplette Pfade" state_is an "$(enabled E E E)"

  # --- Access keys.
  keys Tab alt+s
  check "typing: Alt+S puts the focus into the path box" state_is fokus txtPfadEingabe
  keys alt+i
  check "typing: Alt+I unchecks inkl. Startordnername" state_is haken "${checked#cbinkl }"
  check "typing: ... and the focus is back in the path box" state_is fokus txtPfadEingabe
  keys alt+i alt+d
  check "typing: Alt+D unchecks Dateien, its fields go off" state_is an "$(enabled E D D)"
  check "typing: ... with the focus on it" state_is fokus cbDateien
  keys alt+n
  check "typing: Alt+N selects nur Endpunkte, the file fields go off" state_is an "$(enabled D D D)"
  check "typing: ... with the focus on it" state_is fokus optAlleOderLetzte0
  keys alt+k
  check "typing: Alt+K: komplette Pfade with Dateien unchecked" state_is an "$(enabled E E D)"
  keys alt+d
  check "typing: Alt+D checks Dateien again" state_is an "$(enabled E E E)"
  check "typing: every box checked as at the start" state_is haken "$checked"
  keys alt+e
  check "typing: Alt+E puts the focus into Ebenen" state_is fokus txtEbenen
  keys alt+t alt+m
  check "typing: Alt+T and Alt+M uncheck mit Tab and nur Ordner mit Dateien" \
    state_is haken "cbinkl optAlleOderLetzte1 cbDateien"
  keys alt+t alt+m alt+a
  check "typing: Alt+A (Datei-Maske) puts the focus into the name mask" state_is fokus comMaskeName
  keys alt+y
  check "typing: Alt+Y (Typ) puts the focus into the type mask" state_is fokus comMaskeTyp
  check "typing: ... and every box is checked again" state_is haken "$checked"
  keys alt+o
  check "typing: Alt+O opens the folder picker" cancel_picker
  check "typing: Escape cancels the picker, the focus is in the path box" \
    state_is fokus txtPfadEingabe
  check "typing: ... and the path is as it was" state_is text.txtPfadEingabe "$tree"
  keys Tab space
  check "typing: Space on the focused Ordner button opens the picker" cancel_picker
  keys Return
  check "typing: then Enter in the path box scans again" state_is sichtbar lblfertig

  # --- Mouse clicks on every check box and option.
  click cbTab
  check "mouse: mit Tab unchecked" state_is haken "cbinkl optAlleOderLetzte1 cbDateien cbNurOrdnerMitPassendenDateien"
  click cbTab; click cbNurOrdnerMitPassendenDateien
  check "mouse: nur Ordner mit Dateien unchecked" state_is haken "cbinkl optAlleOderLetzte1 cbDateien cbTab"
  click cbNurOrdnerMitPassendenDateien
  check "mouse: ... and both checked again" state_is haken "$checked"
  click cbDateien
  check "mouse: Dateien unchecked: E D D" state_is an "$(enabled E D D)"
  keys alt+s ctrl+a
  sleep 0.5
  check "typing: Ctrl+A in the path box changes no text, so no rule runs" state_is an "$(enabled E D D)"
  click optAlleOderLetzte1
  check "mouse: the selected komplette Pfade clicked again changes nothing" state_is an "$(enabled E D D)"
  click optAlleOderLetzte0
  check "mouse: nur Endpunkte: D D D" state_is an "$(enabled D D D)"
  click optAlleOderLetzte1
  check "mouse: komplette Pfade, Dateien unchecked: E E D" state_is an "$(enabled E E D)"
  click cbDateien
  check "mouse: Dateien checked: E E E" state_is an "$(enabled E E E)"
  click cbinkl
  check "mouse: inkl. unchecked, the focus goes to the path box" state_is fokus txtPfadEingabe
  click cbinkl
  check "mouse: ... and checked again" state_is haken "$checked"

  # --- Depth and masks typed, "mp3" picked from the list, Enter scans.
  keys alt+s End Tab Tab
  type_text 2
  check "typing: a depth typed into Ebenen" state_is text.txtEbenen 2
  for i in $(seq 6); do keys Tab; done
  type_text "l*"
  check "typing: a name mask typed" state_is text.comMaskeName "l*"
  keys Tab
  type_text "wav"
  check "typing: a type mask typed" state_is text.comMaskeTyp wav
  # Back to the list's first item, then down the open list to "mp3".
  keys ctrl+a
  type_text "*"
  keys alt+Down
  sleep 0.5
  keys Down Return
  check "typing: mp3 picked from the type list with the keys" state_is text.comMaskeTyp mp3
  check "typing: ... the list is closed, the focus in the type box" state_is fokus comMaskeTyp
  keys shift+Tab Tab
  check "typing: Tab back into the type box" state_is fokus comMaskeTyp
  keys Return
  check "typing: one Enter in the type box reached with Tab scans" state_is sichtbar lblfertig
  check "typing: ... 5 lines" state_is text.lblfertig "5 in der Zwischenablage"
  printf "%s\t%s$TYPING_EOL" "$tree$s" Lala.mp3 "$tree${s}Lieder$s" lied.mp3 "$tree${s}Lieder$s" Lob.MP3 \
    "$tree${s}Lieder${s}Alt$s" lang.mp3 "$tree${s}Ärger$s" laut.mp3 >"$TYPING_ROOT/expected"
  clipboard_text >"$TYPING_ROOT/list"
  check "typing: the clipboard holds the list, byte for byte" cmp "$TYPING_ROOT/expected" "$TYPING_ROOT/list"

  # --- After the scan: the focus moves left the text and the caret alone.
  check "typing: the scan put the focus into the path box" state_is fokus txtPfadEingabe
  click cbinkl
  check "mouse: a click on inkl. hides the result" state_is sichtbar ""
  type_text x
  check "typing: the path box takes the next key after its text (nothing selected)" \
    state_is text.txtPfadEingabe "${tree}x"
  click cbinkl

  # --- The path box's completions open below it: one click on Scannen
  # closes the list and scans (a folder that does not exist here).
  local fenster
  # The mouse away from the Qt window, so that no tooltip comes or goes.
  # (Under Wine, after this move, the dialog's list did not open at all;
  # the cause is not known, so the mouse stays where it is there.)
  if [ "$TYPING_SEP" = / ]; then
    xdotool mousemove $(xdotool getdisplaygeometry | awk '{ print $1 - 1, $2 - 1 }')
    sleep 1
  fi
  fenster=$(visible_windows)
  keys BackSpace
  type_text "${s}L"
  # (Wine's suggestions do not always open on the test stage: the click
  # is then not tried there.)
  if wait_until 5000 list_opened "$fenster" || [ "$TYPING_SEP" = / ]; then
    check "typing: the path box offers its completions in a list" list_opened "$fenster"
    click cmdScannen
    check "mouse: one click on Scannen with the list open scans" state_is sichtbar lblNichtGefunden
  else
    echo "# the path box's suggestions did not open: the click with them open is not tried"
  fi

  # --- Escape ends the program; the list stays on the clipboard.
  keys Escape
  check "typing: Escape ends the program with status 0" wait_for_end
  clipboard_text >"$TYPING_ROOT/list"
  check "typing: after the end another program reads the same list" cmp "$TYPING_ROOT/expected" "$TYPING_ROOT/list"
}

# The number of windows on the display that are shown.
visible_windows() { xdotool search --onlyvisible --name '' 2>/dev/null | wc -l; }
# True when more windows are shown than the COUNT before.
list_opened() { [ "$(visible_windows)" -gt "$1" ]; }

# The file URI of a path as the path box shows it, as a file manager
# copies a folder.
file_uri() {
  python3 -c 'import sys, urllib.parse
p = sys.argv[1].replace("\\", "/")
print(("file://" if p.startswith("/") else "file:///") + urllib.parse.quote(p, safe="/:"))' "$1"
}

# Waits for the folder picker, cancels it with Escape and gives the window
# the keyboard back, as the window manager would (the test display has none).
cancel_picker() {
  local picker i
  picker=$(window_named "Wählen Sie einen Ordner")
  [ -n "$picker" ] || return 1
  xdotool windowfocus --sync "$picker"
  sleep 0.5
  keys Escape
  for i in $(seq 100); do
    [ -z "$(xdotool search --name "Wählen Sie einen Ordner" 2>/dev/null)" ] && break
    sleep 0.1
  done
  xdotool windowfocus --sync "$(window_named '^MORVAs Zweigschau$')"
}

# Waits up to 10 s for the program's end; true when its status is 0.
wait_for_end() {
  local i
  for i in $(seq 100); do
    process_alive "$TYPING_PID" || { wait "$TYPING_PID"; return; }
    sleep 0.1
  done
  return 1
}
