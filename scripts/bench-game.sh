#!/bin/sh
# Measures a whack-a-mole game on the hard level (eight animated cats beside the pet)
# under Xvfb with a compositor: the median share of one core over one-second samples and
# the resident memory of the whole process, against the targets of 12 % of one core and
# 60 MB. xpenguins runs in the same display and is measured beside it, as are the X server
# and the compositor, which draw what the game shows.
#
#   scripts/bench-game.sh [build-dir] [seconds]
#
# The program under test is <build-dir>/bench/tamsel_bench_game_bench; the build folder
# defaults to the one scripts/start.sh makes (build), which leaves the benchmarks out: they
# are switched on there and the game's benchmark is built when it is missing or stale.
# GAME_BIN overrides it.
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${1:-$ROOT/build}
SECONDS_TO_RUN=${2:-60}
# Debian puts the games in /usr/games.
PATH=$PATH:/usr/games
export PATH

if [ -z "${GAME_BIN:-}" ]; then
    GAME_BIN=$BUILD_DIR/bench/tamsel_bench_game_bench
    if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
        cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMSEL_BUILD_TESTS=OFF >/dev/null
    elif ! grep -q '^TAMSEL_BUILD_EXTRAS:BOOL=ON' "$BUILD_DIR/CMakeCache.txt"; then
        cmake "$BUILD_DIR" -DTAMSEL_BUILD_EXTRAS=ON >/dev/null
    fi
    ninja -C "$BUILD_DIR" -j3 tamsel_bench_game_bench >/dev/null
fi
if [ ! -x "$GAME_BIN" ]; then
    echo "no game binary at $GAME_BIN" >&2
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
DISPLAY_NUMBER=$(( 190 + $$ % 100 ))
cleanup() {
    for pid in ${GAME_PID:-} ${PENGUINS_PID:-} ${COMPOSITOR_PID:-} ${XVFB_PID:-}; do
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

# A fresh settings folder, so the pet and the game start from their defaults.
mkdir -p "$WORK/home/.config" "$WORK/home/.local/share"
HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config" XDG_DATA_HOME="$WORK/home/.local/share" \
    "$GAME_BIN" >"$WORK/game.out" 2>&1 &
GAME_PID=$!

if command -v xpenguins >/dev/null; then
    xpenguins >/dev/null 2>&1 &
    PENGUINS_PID=$!
else
    echo "xpenguins is not installed: measuring the game alone" >&2
    PENGUINS_PID=
fi

# Let start-up settle and every cat render its frames once before sampling.
sleep 5
grep -m1 "game started" "$WORK/game.out" || { echo "the game did not start" >&2; cat "$WORK/game.out" >&2; exit 1; }

python3 - "$SECONDS_TO_RUN" "$GAME_PID" "$XVFB_PID" "$COMPOSITOR_PID" ${PENGUINS_PID:-} <<'PY'
import os, statistics, sys, time

seconds = int(sys.argv[1])
pids = {"game": int(sys.argv[2]), "Xvfb": int(sys.argv[3]), "xcompmgr": int(sys.argv[4])}
if len(sys.argv) > 5:
    pids["xpenguins"] = int(sys.argv[5])
CPU_TARGET, RSS_TARGET = 12.0, 60.0

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
cpu, mem = statistics.median(shares["game"]), max(rss["game"])
print(f"target: game CPU {cpu:.2f} % <= {CPU_TARGET:.0f} %: {'met' if cpu <= CPU_TARGET else 'missed'}; "
      f"resident {mem:.1f} MB <= {RSS_TARGET:.0f} MB: {'met' if mem <= RSS_TARGET else 'missed'}")
PY
