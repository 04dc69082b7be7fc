#!/usr/bin/env bash
# Measures the moving pet and its clones on a virtual display with a compositor: this
# process's share of one core while the pet walks on its own, and while ten clones live
# (several effects in a row), plus the most defaults-file writes within one second.
# Targets: walking at most 1.5 %, clones at most 10 %, at most 1 write per second.
# Usage: scripts/bench-behaviour.sh [BUILD_DIR] [walk seconds] [clone effects]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-bench}
walk=${2:-60}
effects=${3:-5}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMSEL_BUILD_TESTS=OFF >/dev/null
ninja -C "$build" tamsel_resources tamsel_bench_behaviour_bench >/dev/null

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
# A fresh settings folder, and the program's log lines kept out of the figures' way.
HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share \
  xvfb-run -a -s "-screen 0 1440x900x24" sh -c 'xcompmgr >/dev/null 2>&1 & "$0" "$1" "$2" | grep -E "^(walking|clones) "' \
  "$build/bench/tamsel_bench_behaviour_bench" "$walk" "$effects"
