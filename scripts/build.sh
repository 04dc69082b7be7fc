#!/usr/bin/env bash
# Configures and builds Tamsel. Usage: scripts/build.sh BUILD_DIR [extra cmake arguments...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: scripts/build.sh BUILD_DIR [cmake args...]}
shift
cmake -S "$root" -B "$build" -G Ninja "$@" >/dev/null
# Leave a core free on small machines so the desktop stays responsive while building.
jobs=$(nproc)
[ "$jobs" -gt 2 ] && jobs=$((jobs - 1))
ninja -C "$build" -j "$jobs"
