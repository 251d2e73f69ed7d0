#!/usr/bin/env bash
# The Qt window as a person uses it: typed into and clicked with xdotool on
# a private Xvfb, its state read as assistive technology reads it
# (AT-SPI, window_state.py), the list read by xclip, also after the program has
# ended; a file and a folder dragged onto it from a small drag source.
# Usage: typing_e2e.sh PATH-TO-zweigschau PATH-TO-zs_drag_source
set -u
PROGRAM=$1
DRAG_SOURCE=${2:-}
source "$(dirname "$0")/xvfb_lib.sh"
a11y_bus "$@"
source "$(dirname "$0")/../common/typing_scenario.sh"

start_xvfb -noreset
umlaut_keys
TYPING_ROOT=$E2E_TMP/typing TYPING_ROOT_SHOWN=$E2E_TMP/typing TYPING_SEP=/ TYPING_EOL=$'\n'
TYPING_DROPPED="$TYPING_ROOT/Bäume Ö/Lieder"
mkdir -p "$TYPING_ROOT"
typing_tree

STATE=$E2E_TMP/zustand
"$PROGRAM" >"$E2E_TMP/out" 2>&1 &
TYPING_PID=$!
watch_window "$STATE"
window_state() { cat "$STATE" 2>/dev/null; }
clipboard_text() { clip_read UTF8_STRING; }
clipboard_set() { printf '%s' "$1" | xclip -i -selection clipboard >/dev/null 2>&1; }

typing_scenario
finish
