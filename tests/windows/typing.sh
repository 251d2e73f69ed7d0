# The Win32 dialog as a person uses it, under Wine: typed into and clicked
# with xdotool on the Wine stage's Xvfb (Wine turns the X events into real
# key and mouse messages), its state read from outside by the helper
# (focus by GetGUIThreadInfo), the list read from the clipboard also after
# the program has ended. Sourced by scripts/test-windows after wine_start.
# Needs: EXE, TOOL.

source "$(dirname "${BASH_SOURCE[0]}")/../common/typing_scenario.sh"
umlaut_keys
TYPING_ROOT=$WINE_TMP/typing TYPING_SEP='\' TYPING_EOL=$'\r'
TYPING_ROOT_SHOWN=$(winpath "$TYPING_ROOT")
# Wine hands a drop from an X program over as WM_DROPFILES with the Z:
# path; the drag source is the Linux build's.
DRAG_SOURCE=${LINUX_EXE:+$(dirname "$(dirname "$LINUX_EXE")")/tests/e2e/zs_drag_source}
[ -n "$DRAG_SOURCE" ] && [ -x "$DRAG_SOURCE" ] || DRAG_SOURCE=
TYPING_DROPPED=$(winpath "$TYPING_ROOT/Bäume Ö/Lieder")
TYPING_DROPPED=Z${TYPING_DROPPED#z}
mkdir -p "$TYPING_ROOT"
typing_tree

window_state() {
  rm -f "$WINE_TMP/state"
  "$WINE" "$TOOL" state "MORVAs Zweigschau" "$(winpath "$WINE_TMP/state")" </dev/null >/dev/null 2>&1
  cat "$WINE_TMP/state" 2>/dev/null
}
clipboard_text() {
  rm -f "$WINE_TMP/clip"
  "$WINE" "$TOOL" read "$(winpath "$WINE_TMP/clip")" </dev/null >/dev/null 2>&1 &&
    iconv -f UTF-16LE -t UTF-8 "$WINE_TMP/clip"
}
clipboard_set() { "$WINE" "$TOOL" set "$1" </dev/null >/dev/null 2>&1; }

"$WINE" "$EXE" </dev/null >/dev/null 2>&1 &
TYPING_PID=$!

typing_scenario
kill "$TYPING_PID" 2>/dev/null
