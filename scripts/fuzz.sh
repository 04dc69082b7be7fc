#!/usr/bin/env bash
# Builds the decoder fuzzer with clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# build-fuzz and runs it for a fixed time from the seed corpus in fuzz/corpus (new inputs go
# to a temporary folder, so the corpus in the tree never changes). Its progress goes to
# build-fuzz/fuzz.log; the last line printed says how many inputs ran.
# Usage: scripts/fuzz.sh [seconds]   (default 60)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build="$root/build-fuzz"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DTAMSEL_BUILD_FUZZERS=ON -DTAMSEL_BUILD_TESTS=OFF -DTAMSEL_SANITIZE=ON \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link" >/dev/null
ninja -C "$build" tamsel_decoders_fuzz

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The fuzzer's progress lines go to a log; the terminal gets one line, or the log's end on a fault.
log="$build/fuzz.log"
if ! "$build/fuzz/tamsel_decoders_fuzz" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
  -max_len=65536 -print_final_stats=1 -artifact_prefix="$build/" "$work" "$root/fuzz/corpus" >"$log" 2>&1; then
  tail -n 40 "$log"
  echo "fuzz: the decoder fuzzer found a fault; the input is in $build/, the whole output in $log" >&2
  exit 1
fi
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
echo "fuzz: ${runs:-?} inputs in ${seconds} s, no fault (log: $log)"
