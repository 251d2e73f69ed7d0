#!/bin/sh
# Smoke test of the benchmark's tree generator: it makes exactly the number
# of folders asked for, the same seed gives the same tree, another seed a
# different one, and the tree has the hidden folders and names it promises.
set -eu
gen=$1
# tmpfs when there is one: the tree is made four times
if [ -d /dev/shm ] && [ -w /dev/shm ]; then work=$(mktemp -d -p /dev/shm); else work=$(mktemp -d); fi
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

listing() { (cd "$1" && find . | LC_ALL=C sort); }

for n in 1 37 500; do
  "$gen" "$work/a$n" "$n" 7 >/dev/null
  got=$(find "$work/a$n" -mindepth 1 -type d | wc -l)
  [ "$got" -eq "$n" ] || fail "asked for $n folders, got $got"
done

"$gen" "$work/b500" 500 7 >/dev/null
[ "$(listing "$work/a500")" = "$(listing "$work/b500")" ] || fail "seed 7 made two different trees"
"$gen" "$work/c500" 500 8 >/dev/null
[ "$(listing "$work/a500")" != "$(listing "$work/c500")" ] || fail "seeds 7 and 8 made the same tree"

find "$work/a500" -mindepth 1 -type d -name '.*' | grep -q . || fail "no hidden folder"
find "$work/a500" -type f -iname '*.mp3' | grep -q . || fail "no *.mp3 file"
find "$work/a500" -type d -name '* *' | grep -q . || fail "no folder name with a blank"
find "$work/a500" -type d | grep -q '[äöüßÄÖÜ]' || fail "no folder name with an umlaut"

"$gen" "$work/a500" 5 7 >/dev/null 2>&1 && fail "wrote into a folder that is not empty"
echo "ok"
