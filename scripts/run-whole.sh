#!/usr/bin/env bash
# Runs every test program of a build directly, each as one process with all its tests, the
# way a developer runs one by hand, several times in a row. ctest starts each test in a
# process of its own, so it cannot see a test that leaves something behind (a window, a
# window manager, a changed palette, a file in HOME) that a later test trips on; this does.
# Usage: scripts/run-whole.sh [BUILD_DIR] [RUNS]   (defaults: build-test, 3)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-test}
runs=${2:-3}

export ASAN_OPTIONS=abort_on_error=1
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

logs="$build/run-whole"
mkdir -p "$logs"
failed=0
printf '%-34s' "program"
for ((run = 1; run <= runs; run++)); do printf ' run%-4s' "$run"; done
echo
for program in "$build"/tests/*/tamsel_*_tests; do
  [[ -x $program ]] || continue
  name=$(basename "$program")
  printf '%-34s' "$name"
  for ((run = 1; run <= runs; run++)); do
    log="$logs/$name.$run.log"
    # Each run gets a display and a session bus of its own, as CI's one run does.
    if xvfb-run -a -s "-screen 0 1440x900x24" dbus-run-session -- "$program" >"$log" 2>&1; then
      printf ' %-7s' pass
    else
      printf ' %-7s' FAIL
      failed=1
    fi
  done
  echo
done
if ((failed)); then
  echo "failures: see the logs in $logs"
  grep -l '\[  FAILED  \]\|ERROR: \|runtime error' "$logs"/*.log | sed 's/^/  /'
fi
exit $failed
