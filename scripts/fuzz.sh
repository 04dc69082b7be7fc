#!/usr/bin/env bash
# Builds the decoder fuzzer with clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# build-fuzz and runs it for a fixed time from the seed corpus in fuzz/corpus (new inputs go
# to a temporary folder, so the corpus in the tree never changes).
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
"$build/fuzz/tamsel_decoders_fuzz" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
  -max_len=65536 -print_final_stats=1 -artifact_prefix="$build/" "$work" "$root/fuzz/corpus"
