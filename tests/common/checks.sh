# The check helpers of the shell tests. Source this file, then:
#   check NAME CMD...   runs CMD, prints ok/FAIL, counts a failure
#   finish              prints the summary, exits 1 after a failure
#   process_alive PID   true while PID runs
#   wait_until MS CMD   polls CMD until it succeeds, at most MS ms
CHECK_FAILURES=0

check() {
  local name=$1; shift
  if "$@"; then
    echo "ok   - $name"
  else
    echo "FAIL - $name"
    CHECK_FAILURES=$((CHECK_FAILURES + 1))
  fi
}

finish() {
  if [ "$CHECK_FAILURES" -gt 0 ]; then
    echo "# $CHECK_FAILURES check(s) failed"
    exit 1
  fi
  echo "# all checks passed"
  exit 0
}

# True while PID runs (a zombie left to a non-reaping init counts as gone).
process_alive() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  stat=${stat##*) }
  [ "${stat%% *}" != Z ]
}

# Polls CMD every 50 ms; true as soon as it succeeds within MS milliseconds.
wait_until() {
  local ms=$1; shift
  local deadline=$(( $(date +%s%N) / 1000000 + ms ))
  until "$@"; do
    [ $(( $(date +%s%N) / 1000000 )) -lt "$deadline" ] || return 1
    sleep 0.05
  done
}
