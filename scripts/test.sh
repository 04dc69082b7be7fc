#!/usr/bin/env bash
# Installs what is missing, checks the format of the C++ sources (first, so that a
# misformatted file fails at once), builds Tamsel with warnings as errors under
# AddressSanitizer + UndefinedBehaviorSanitizer, runs every test there with leak checks,
# and gives the decoder fuzzer a short run. Tests run on a virtual display and a private
# session bus.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"

echo "== Format =="
"$root/scripts/check-format.sh"

# Runs every test; ctest's output is kept in BUILD/ctest.log for the summary at the end.
run_tests() {
  local build=$1
  xvfb-run -a -s "-screen 0 1440x900x24" dbus-run-session -- \
    ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 180 | tee "$build/ctest.log"
}

# One build serves both checks: warnings are errors, and every test runs under the
# sanitizers, so CI compiles the program once. The benchmarks and tools compile there too.
echo "== Build (warnings are errors, AddressSanitizer + UndefinedBehaviorSanitizer) =="
"$root/scripts/build.sh" "$root/build-test" -DCMAKE_BUILD_TYPE=Debug -DTAMSEL_WERROR=ON -DTAMSEL_SANITIZE=ON \
  -DCMAKE_CXX_FLAGS="-O1"
echo "== Tests under the sanitizers =="
# Leaks fail the run too; the suppressions cover only leaks inside third-party libraries.
export ASAN_OPTIONS=abort_on_error=1
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
run_tests "$root/build-test"
unset ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS

echo "== Fuzzing the decoders =="
"$root/scripts/fuzz.sh" 60

# One line that says what passed; a failure has stopped the script before it.
tests=$(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "$root/build-test/ctest.log")
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$root/build-fuzz/fuzz.log")
echo "test.sh: passed: format, build with warnings as errors (benchmarks and tools included), ${tests:-?} tests under the sanitizers, ${runs:-?} fuzz inputs in 60 s"
