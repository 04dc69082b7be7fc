#!/bin/sh
# Measures the resting pet under Xvfb with a compositor: the median share of one core over
# one-second samples, the resident memory, and the time from process start to the pet's
# first painted frame. xpenguins runs in the same display and is measured beside it.
#
#   scripts/bench-pet.sh [build-dir] [seconds]
#
# The program under test is <build-dir>/bench/tamsel_bench_pet_bench (the pet window with
# the idle loop and the automatic behaviours off); PET_BIN overrides it, e.g. with the
# whole program: PET_BIN=build/tamsel scripts/bench-pet.sh
set -eu

BUILD_DIR=${1:-build}
SECONDS_TO_RUN=${2:-60}
PET_BIN=${PET_BIN:-$BUILD_DIR/bench/tamsel_bench_pet_bench}

if [ ! -x "$PET_BIN" ]; then
    echo "no pet binary at $PET_BIN (build the target tamsel_bench_pet_bench, Release)" >&2
    exit 1
fi
for tool in Xvfb xcompmgr python3; do
    command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 1; }
done
if ! command -v xpenguins >/dev/null; then
    if [ "$(id -u)" = 0 ]; then
        apt-get install -y xpenguins >/dev/null 2>&1 || true
    else
        sudo -n apt-get install -y xpenguins >/dev/null 2>&1 || true
    fi
fi

WORK=$(mktemp -d)
DISPLAY_NUMBER=$(( 90 + $$ % 100 ))
cleanup() {
    for pid in ${PET_PID:-} ${PENGUINS_PID:-} ${COMPOSITOR_PID:-} ${XVFB_PID:-}; do
        kill "$pid" 2>/dev/null || true
    done
    rm -rf "$WORK"
}
trap cleanup EXIT INT TERM

Xvfb ":$DISPLAY_NUMBER" -screen 0 1440x900x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
export DISPLAY=":$DISPLAY_NUMBER"
sleep 1
xcompmgr >/dev/null 2>&1 &
COMPOSITOR_PID=$!
sleep 0.5

# A fresh settings folder, so the pet starts from its defaults.
mkdir -p "$WORK/home/.config" "$WORK/home/.local/share"
HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config" XDG_DATA_HOME="$WORK/home/.local/share" \
    "$PET_BIN" >"$WORK/pet.out" 2>&1 &
PET_PID=$!

if command -v xpenguins >/dev/null; then
    xpenguins >/dev/null 2>&1 &
    PENGUINS_PID=$!
else
    echo "xpenguins is not installed: measuring the pet alone" >&2
    PENGUINS_PID=
fi

# Let start-up settle before sampling.
sleep 3

python3 - "$SECONDS_TO_RUN" "$PET_PID" ${PENGUINS_PID:-} <<'PY'
import os, statistics, sys, time

seconds = int(sys.argv[1])
pids = {"pet": int(sys.argv[2])}
if len(sys.argv) > 3:
    pids["xpenguins"] = int(sys.argv[3])

def cpu_ns(pid):
    # Every thread's time on a CPU, in nanoseconds (far finer than the clock ticks of /proc/<pid>/stat).
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                total += int(f.read().split()[0])
        except (FileNotFoundError, ProcessLookupError):
            pass
    return total

def rss_mb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024.0
    return 0.0

shares = {name: [] for name in pids}
rss = {name: [] for name in pids}
last = {name: (time.monotonic(), cpu_ns(pid)) for name, pid in pids.items()}
for _ in range(seconds):
    time.sleep(1.0)
    for name, pid in pids.items():
        try:
            now, used = time.monotonic(), cpu_ns(pid)
        except FileNotFoundError:
            sys.exit(f"{name} ended early")
        then, before = last[name]
        shares[name].append((used - before) / 1e9 / (now - then) * 100.0)
        last[name] = (now, used)
        rss[name].append(rss_mb(pid))

for name in pids:
    print(f"{name:10s} median CPU {statistics.median(shares[name]):5.2f} % of one core "
          f"(mean {statistics.mean(shares[name]):5.2f} %, max {max(shares[name]):5.2f} %), "
          f"RSS median {statistics.median(rss[name]):6.1f} MB, max {max(rss[name]):6.1f} MB "
          f"over {seconds} s")
PY

grep -m1 "first frame" "$WORK/pet.out" || echo "first frame: not reported"
