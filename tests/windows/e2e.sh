# End-to-end runs of zweigschau.exe under Wine, sourced by
# scripts/test-windows after wine_start. Trees are made on the Linux side
# and seen through Wine's Z: drive; after the program has ended, a program
# of our own reads the clipboard (CF_UNICODETEXT) and its exact UTF-16 text
# is compared.
# Needs: EXE (zweigschau.exe), TOOL (zs_clipboard_tool.exe); LINUX_EXE (the
# Linux zweigschau) for the same-lines comparison, skipped when empty.

TREE=$WINE_TMP/baum
WTREE=$(winpath "$TREE")
# The raw command line is lower-cased, so is the start path in the list.
LTREE=$(printf '%s' "$WTREE" | tr 'A-Z' 'a-z')
N50=nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn
CHAIN=$N50/$N50/$N50/$N50/$N50/$N50

make_tree() {
  mkdir -p "$TREE/.git/objects" "$TREE/Alben/.versteckt/tief" "$TREE/Alben/Rock" "$TREE/alben" \
    "$TREE/Ärzte/Live" "$TREE/über" "$TREE/nurlesen/innen" "$TREE/tief/$CHAIN" \
    "$TREE/Lied🎵" "$TREE/kaputt"$'\xff' "$TREE/zeile"$'\n'"bruch"
  local i
  for i in $(seq -w 0 119); do mkdir -p "$TREE/geschwister/s$i"; done
  chmod 555 "$TREE/nurlesen/innen" "$TREE/nurlesen"
  ln -s Alben "$TREE/zu_alben"
  : >"$TREE/datei.txt"
  mkdir -p "$WINE_TMP/leer"
}

# The end points below the tree, relative, with "\" separators.
end_points() {
  printf 'Alben\\Rock\\\ralben\\\r'
  local i
  for i in $(seq -w 0 119); do printf 'geschwister\\s%s\\\r' "$i"; done
  printf 'kaputt\xef\xbf\xbd\\\rLied🎵\\\rnurlesen\\innen\\\r' 
  printf 'tief\\%s\\%s\\%s\\%s\\%s\\%s\\\r' $N50 $N50 $N50 $N50 $N50 $N50
  printf 'zeile?bruch\\\rÄrzte\\Live\\\rüber\\\r'
}

# Reads the clipboard as UTF-16LE bytes into $WINE_TMP/clip.
clip_read() {
  rm -f "$WINE_TMP/clip"
  "$WINE" "$TOOL" read "$(winpath "$WINE_TMP/clip")" </dev/null >/dev/null 2>&1
}

# True when the clipboard holds exactly the UTF-8 text in file $1.
# A difference is shown, so that a failure says what the clipboard held.
clip_is() {
  clip_read || { echo "# the clipboard could not be read (status $?)"; return 1; }
  iconv -f UTF-8 -t UTF-16LE "$1" >"$WINE_TMP/want" && cmp -s "$WINE_TMP/clip" "$WINE_TMP/want" && return
  diff <(iconv -f UTF-16LE -t UTF-8 "$WINE_TMP/clip" | tr '\r' '\n') <(tr '\r' '\n' <"$1") | head -20 | sed 's/^/# /'
  return 1
}

# True when stderr holds exactly the one line $1, ended as Windows ends
# text lines (CR LF).
stderr_is() { printf '%s\r\n' "$1" | cmp -s - "$WINE_TMP/stderr"; }

make_tree
echo "# tree $WTREE"

# --- End points, relative and with the lower-cased start folder, read
# ahead as on every local disk (the default).
end_points >"$WINE_TMP/ends"
wine_run "$EXE" "/o:$WTREE" /i
check "batch run /i ends with status 0 (rc $rc)" [ "$rc" -eq 0 ]
check "batch run says nothing" [ ! -s "$WINE_TMP/stderr" ]
check "end points: hidden, links, read-only, umlauts, 120 siblings, case ties, chain past 260" \
  clip_is "$WINE_TMP/ends"
wine_run "$TOOL" attr "$WTREE\\nurlesen"
check "Wine shows the read-only folder with attribute 17" [ "$(tr -d '\r' <"$WINE_TMP/stdout")" = 17 ]
check "the chain's path is longer than 260 characters" \
  [ "$(printf '%s\\tief\\%s\\' "$WTREE" "$CHAIN" | wc -m)" -gt 260 ]

end_points | sed "s|^|$(printf '%s' "$LTREE" | sed 's/\\/\\\\/g')\\\\|; s|\r|\r$(printf '%s' "$LTREE" | sed 's/\\/\\\\/g')\\\\|g" \
  | sed '$ s|[^\r]*$||' >"$WINE_TMP/full"
wine_run "$EXE" "/O:$WTREE"
check "upper-case key, full paths (rc $rc)" [ "$rc" -eq 0 ]
check "full paths carry the lower-cased start folder" clip_is "$WINE_TMP/full"

printf 'Alben\\\ralben\\\rgeschwister\\\rkaputt\xef\xbf\xbd\\\rLied🎵\\\rnurlesen\\\rtief\\\rzeile?bruch\\\rÄrzte\\\rüber\\\r' \
  >"$WINE_TMP/level1"
wine_run "$EXE" "/o:$WTREE" /e:1 /i /d:*.txt /n
check "one level, file switches ignored (rc $rc)" [ "$rc" -eq 0 ]
check "one level of end points" clip_is "$WINE_TMP/level1"

# --- The same texts with every folder read on the walk's thread, with
# eight readers and a window of three (readers stall on it), and as on a
# share (only the readers read).
check "ZWEIGSCHAU_READ_AHEAD reaches Windows programs" \
  [ "$(ZWEIGSCHAU_READ_AHEAD=8,3 "$WINE" cmd /c echo %ZWEIGSCHAU_READ_AHEAD% </dev/null 2>/dev/null | tr -d '\r')" = 8,3 ]
for setting in 0 8,3 8,5,share; do
  export ZWEIGSCHAU_READ_AHEAD=$setting
  wine_run "$EXE" "/o:$WTREE" /i
  check "ZWEIGSCHAU_READ_AHEAD=$setting: the same end points (rc $rc)" clip_is "$WINE_TMP/ends"
  wine_run "$EXE" "/O:$WTREE"
  check "ZWEIGSCHAU_READ_AHEAD=$setting: the same full paths (rc $rc)" clip_is "$WINE_TMP/full"
  wine_run "$EXE" "/o:$WTREE" /e:1 /i
  check "ZWEIGSCHAU_READ_AHEAD=$setting: the same level of end points (rc $rc)" clip_is "$WINE_TMP/level1"
done
unset ZWEIGSCHAU_READ_AHEAD

# --- Outcomes without a list: the clipboard keeps what it held.
printf 'vorher' >"$WINE_TMP/vorher"
"$WINE" "$TOOL" set vorher </dev/null >/dev/null 2>&1
wine_run "$EXE" "/o:$(winpath "$WINE_TMP/fehlt")"
check "missing start folder: status 1 (rc $rc)" [ "$rc" -eq 1 ]
check "missing start folder: one line" stderr_is "Ordner nicht gefunden"
wine_run "$EXE" "/o:$WTREE\\datei.txt"
check "a file as start folder: status 4 (rc $rc)" [ "$rc" -eq 4 ]
check "a file as start folder: one line" stderr_is "Kein Ordner"
wine_run "$EXE" "/o:" /i
check "empty /o:: status 1 (rc $rc)" [ "$rc" -eq 1 ]
check "empty /o:: one line" stderr_is "Ordner nicht gefunden"
wine_run "$EXE" "/o:$(winpath "$WINE_TMP/leer")"
check "no sub-folder: status 2 (rc $rc)" [ "$rc" -eq 2 ]
check "no sub-folder: one line" stderr_is "Keine Unter-Ordner"
check "the clipboard kept its text" clip_is "$WINE_TMP/vorher"

# --- A chain of 400 folders with names of 100 characters: Wine cannot read
# past about 4,096 characters of path, and that is counted, not taken for a
# vanished folder.
name=$(printf 'n%.0s' $(seq 100))
(mkdir -p "$WINE_TMP/kette" && cd "$WINE_TMP/kette" && for i in $(seq 400); do mkdir "$name" && cd "$name"; done)
wine_run "$EXE" "/o:$(winpath "$WINE_TMP/kette")" /i
check "a path Wine cannot read: status 6 (rc $rc)" [ "$rc" -eq 6 ]
check "a path Wine cannot read: one line" stderr_is "Liste unvollständig: 1 Ordner nicht lesbar"
"$WINE" "$TOOL" set vorher </dev/null >/dev/null 2>&1

# --- A clipboard held open by another program past the retry time.
rm -f "$WINE_TMP/offen"
"$WINE" "$TOOL" hold 3000 "$(winpath "$WINE_TMP/offen")" </dev/null >/dev/null 2>&1 &
holder=$!
for _ in $(seq 100); do [ -f "$WINE_TMP/offen" ] && break; sleep 0.1; done
wine_run "$EXE" "/o:$WTREE" /i
check "clipboard held open: status 3 (rc $rc)" [ "$rc" -eq 3 ]
check "clipboard held open: one line" stderr_is "Zwischenablage nicht erreichbar"
wait "$holder"
check "nothing half-written: the earlier text stays" clip_is "$WINE_TMP/vorher"

# --- The usage box, and the window start.
box_is() {  # box_is EXPECTED-FILE ARGS...: the box's text, OK ends the program
  local expected=$1; shift  # (with status ${BOX_STATUS:-0}; the box titled ${BOX_TITLE:-the usage box's})
  rm -f "$WINE_TMP/box"
  "$WINE" "$EXE" "$@" </dev/null >/dev/null 2>&1 &
  local program=$!
  "$WINE" "$TOOL" box "${BOX_TITLE:-MORVAs Zweigschau (Freeware)}" "$(winpath "$WINE_TMP/box")" </dev/null >/dev/null 2>&1
  wait "$program"
  [ $? -eq "${BOX_STATUS:-0}" ] || return 1
  iconv -f UTF-8 -t UTF-16LE "$expected" >"$WINE_TMP/want" && cmp "$WINE_TMP/box" "$WINE_TMP/want"
}
printf 'BefehlsZeilen-Parameter:\r\r/o:..\t = Ordnername\r/i\t = mit Qellordner in der Ausgabe\r/e:..\t = Anzahl der OrdnerEbenen\r/a\t = alle Ebenen ausgeben\r/d:*.mp3\t = *.mp3-Dateien listen\r/n\t = nur Ordner mit passenden Dateien' \
  >"$WINE_TMP/anleitung"
check "/? shows the eight lines, OK ends with status 0" box_is "$WINE_TMP/anleitung" "/?"
check "/? wins over /o:" box_is "$WINE_TMP/anleitung" "/o:$WTREE" "/?"
check "--help shows the usage box too" box_is "$WINE_TMP/anleitung" "--help"
check "... and no run took place" clip_is "$WINE_TMP/vorher"
# A context-menu run that fails says so in a box that names the folder.
printf 'Ordner nicht gefunden:\n%s' "${WTREE,,}\\fehlt" >"$WINE_TMP/fehlt.box"
BOX_TITLE="MORVAs Zweigschau" BOX_STATUS=1 check "a failed context-menu run names the folder in its box" \
  box_is "$WINE_TMP/fehlt.box" "/o:$WTREE\\fehlt" /kontextmenue:
# Without arguments the dialog opens; Escape (IDCANCEL) ends the program.
window_opens_and_ends() {
  "$WINE" "$EXE" </dev/null >/dev/null 2>&1 &
  local program=$!
  "$WINE" "$TOOL" cancel "MORVAs Zweigschau" </dev/null >/dev/null 2>&1 || { kill "$program"; return 1; }
  wait "$program"
}
check "a window start opens the dialog, Escape ends it with status 0" window_opens_and_ends
# A folder without a key, as Explorer's "open with" passes it: the dialog
# opens with it in the path box, its case kept.
window_opens_with() {
  "$WINE" "$EXE" "$1" </dev/null >/dev/null 2>&1 &
  local program=$! i
  for i in $(seq 100); do
    rm -f "$WINE_TMP/state"
    "$WINE" "$TOOL" state "MORVAs Zweigschau" "$(winpath "$WINE_TMP/state")" </dev/null >/dev/null 2>&1
    grep -sqxF "text.txtPfadEingabe=$1" "$WINE_TMP/state" && break
    sleep 0.2
  done
  "$WINE" "$TOOL" cancel "MORVAs Zweigschau" </dev/null >/dev/null 2>&1
  wait "$program" && grep -sqxF "text.txtPfadEingabe=$1" "$WINE_TMP/state"
}
check "a folder as the only argument opens the dialog with it" window_opens_with "$WTREE\\Meine Ärzte"
check "... and the clipboard is untouched" clip_is "$WINE_TMP/vorher"

# --- The same tree gives the same lines on Linux and under Wine.
if [ -n "${LINUX_EXE:-}" ] && [ -x "$LINUX_EXE" ] && command -v xclip >/dev/null; then
  # The lines of stdin, ended by $2 (LF on Linux, CR on Windows), one per
  # line, each without the leading text $1 where it has it; "+" marks a
  # line that had it. The other line end, where it occurs, shows as "~",
  # so that a list with the wrong line end never compares equal.
  lines_without() {
    if [ "$2" = CR ]; then tr '\r\n' '\n~'; else tr '\r' '~'; fi |
      START=$1 awk '{ p = ENVIRON["START"] }
        index($0, p) == 1 { print "+" substr($0, length(p) + 1); next } { print }'
  }
  same_lines() {  # same_lines ARGS...: both programs with /o:TREE ARGS
    XDG_RUNTIME_DIR=$WINE_TMP timeout 20 "$LINUX_EXE" "/o:$TREE" "$@" >/dev/null 2>&1 || return 1
    timeout 10 xclip -o -selection clipboard -t UTF8_STRING >"$WINE_TMP/linux" || return 1
    wine_run "$EXE" "/o:$WTREE" "$@"
    [ "$rc" -eq 0 ] && clip_read || return 1
    # Linux: "/" and LF line ends, the start folder as given; Wine: "\"
    # and CR, the lower-cased Z: path. Both lose their start folder,
    # Linux's "/" become "\"; then the lines must be the same, byte for byte.
    iconv -f UTF-16LE -t UTF-8 "$WINE_TMP/clip" >"$WINE_TMP/wine" || return 1
    lines_without "$TREE/" LF <"$WINE_TMP/linux" | tr / '\\' >"$WINE_TMP/linux.lines"
    lines_without "$LTREE\\" CR <"$WINE_TMP/wine" >"$WINE_TMP/wine.lines"
    [ "$(wc -l <"$WINE_TMP/linux.lines")" -gt 100 ] &&
      cmp "$WINE_TMP/linux.lines" "$WINE_TMP/wine.lines"
  }
  # Both programs read ahead (the default), then both read serially.
  for setting in default 0; do
    if [ "$setting" = default ]; then unset ZWEIGSCHAU_READ_AHEAD; else export ZWEIGSCHAU_READ_AHEAD=$setting; fi
    check "same lines on Linux and under Wine ($setting): end points, relative" same_lines /i
    check "same lines on Linux and under Wine ($setting): full paths" same_lines
    check "same lines on Linux and under Wine ($setting): two levels" same_lines /e:2 /i
  done
  unset ZWEIGSCHAU_READ_AHEAD
else
  echo "# skipped: same lines on Linux and Wine (no Linux zweigschau or xclip)"
fi
