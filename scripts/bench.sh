#!/usr/bin/env bash
# Measures the whole program on its own virtual display with a window manager and a
# compositor, beside xpenguins and oneko measured on the same display in the same run:
# share of one core and wake-ups per second of each process and of the desktop (X server,
# compositor, window manager) while resting in do-not-disturb, resting in the idle loop,
# wandering and through five clone bursts; resident and proportional memory after the
# menus were shown and after the bursts; time from start to the pet's first frame.
#
#   scripts/bench.sh [seconds per phase, default 60] [clone bursts, default 5]
#
# BUILD_DIR (default build-release) is configured and built as Release when needed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
phase_seconds=${1:-60}
bursts=${2:-5}
build=${BUILD_DIR:-$root/build-release}

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAMSEL_BUILD_TESTS=OFF >/dev/null
fi
ninja -C "$build" -j3 tamsel_resources tamsel_bench_desktop_bench >/dev/null

missing=()
for tool in xpenguins oneko openbox Xvfb xcompmgr; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
    packages=()
    for tool in "${missing[@]}"; do
        case $tool in Xvfb) packages+=(xvfb) ;; *) packages+=("$tool") ;; esac
    done
    sudo=""
    [ "$(id -u)" = 0 ] || sudo="sudo -n"
    $sudo apt-get install -y "${packages[@]}" >/dev/null 2>&1 || echo "could not install ${packages[*]}" >&2
fi
# Debian puts the games in /usr/games.
export PATH=$PATH:/usr/games

work=$(mktemp -d)
# The program may still be writing its settings when we stop it: python waits for every
# process it started to end before this removes their folder.
trap 'rm -rf "$work"' EXIT
mkdir -p -m 700 "$work/runtime" "$work/home/.config" "$work/home/.local/share"

python3 - "$build/bench/tamsel_bench_desktop_bench" "$work" "$phase_seconds" "$bursts" <<'PY'
import os, shutil, signal, statistics, subprocess, sys, time

binary, work, phase_seconds, bursts = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
started = []

def start(args, **kw):
    p = subprocess.Popen(args, stdin=subprocess.DEVNULL, **kw)
    started.append(p)
    return p

def stop(p):
    if p.poll() is None:
        p.terminate()
        try:
            p.wait(10)
        except subprocess.TimeoutExpired:
            p.kill()
            p.wait()

def tasks(pid):
    try:
        return os.listdir(f"/proc/{pid}/task")
    except FileNotFoundError:
        return []

def sample(pid):
    """(cpu ns, context switches) over every thread alive now."""
    cpu = switches = 0
    for t in tasks(pid):
        try:
            with open(f"/proc/{pid}/task/{t}/schedstat") as f:
                cpu += int(f.read().split()[0])
            with open(f"/proc/{pid}/task/{t}/status") as f:
                for line in f:
                    if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                        switches += int(line.split()[1])
        except (FileNotFoundError, ProcessLookupError):
            pass
    return cpu, switches

def memory(pid):
    values = {}
    with open(f"/proc/{pid}/smaps_rollup") as f:
        for line in f:
            parts = line.split()
            if parts[0] in ("Rss:", "Pss:"):
                values[parts[0][:-1]] = int(parts[1]) / 1024
    return values

class Window:
    def __init__(self, pids):
        self.pids = pids
        self.t0 = time.monotonic()
        self.s0 = {n: sample(p) for n, p in pids.items()}
    def finish(self):
        dt = time.monotonic() - self.t0
        out = {}
        for n, p in self.pids.items():
            c1, w1 = sample(p)
            c0, w0 = self.s0[n]
            out[n] = ((c1 - c0) / 1e9 / dt * 100, (w1 - w0) / dt)
        return out

env = dict(os.environ, HOME=f"{work}/home", XDG_CONFIG_HOME=f"{work}/home/.config",
           XDG_DATA_HOME=f"{work}/home/.local/share", XDG_RUNTIME_DIR=f"{work}/runtime")
env.pop("WAYLAND_DISPLAY", None)
rows = []
try:
    read_fd, write_fd = os.pipe()
    xvfb = start(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1440x900x24", "-nolisten", "tcp"],
                 pass_fds=[write_fd], stderr=subprocess.DEVNULL)
    os.close(write_fd)
    display = b""
    while not display.endswith(b"\n"):
        chunk = os.read(read_fd, 64)
        if not chunk:
            sys.exit("Xvfb did not start")
        display += chunk
    env["DISPLAY"] = ":" + display.decode().strip()
    quiet = dict(env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wm = start(["openbox"], **quiet)
    time.sleep(1)
    compositor = start(["xcompmgr"], **quiet)
    time.sleep(1)
    desktop = {"X server": xvfb.pid, "compositor": compositor.pid, "window manager": wm.pid}

    # The two classic pets, on the same display before the pet starts, so each desktop
    # figure belongs to one program.
    rivals = {}
    for name in ("xpenguins", "oneko"):
        if shutil.which(name):
            rivals[name] = start([name], **quiet)
        else:
            print(f"{name} is not installed: left out", file=sys.stderr)
    time.sleep(3)
    w = Window({**{n: p.pid for n, p in rivals.items()}, **desktop})
    time.sleep(phase_seconds)
    rival = w.finish()
    for p in rivals.values():
        stop(p)
    for n in rivals:
        rows.append((f"{n} (both running)", rival[n][0], rival[n][1], None))
    rows.append(("X server (rivals)", rival["X server"][0], sum(rival[n][1] for n in desktop), None))
    rows.append(("compositor+wm (rivals)", rival["compositor"][0] + rival["window manager"][0], 0, None))
    time.sleep(2)

    pet = start([binary, str(phase_seconds), str(bursts)], env=env, stdout=subprocess.PIPE,
                stderr=subprocess.DEVNULL, text=True, bufsize=1)
    pids = {"pet": pet.pid, **desktop}
    windows, memories, first_frame = {}, {}, None
    for line in pet.stdout:
        parts = line.split()
        if len(parts) < 3 or parts[0] != "bench:":
            continue
        what, name = parts[1], parts[2]
        if what == "first-frame":
            first_frame = float(name)
        elif what == "phase":
            windows[name] = Window(pids)
        elif what == "end":
            r = windows[name].finish()
            rows.append((name, r["pet"][0], r["pet"][1], (r["X server"][0], r["compositor"][0] + r["window manager"][0], sum(r[n][1] for n in desktop))))
        elif what == "memory":
            memories[name] = memory(pet.pid)
    pet.wait()

    base = {n: rival[n][0] for n in rivals}
    print("% is of one core; the rivals' rows are measured together, before the pet starts")
    print(f"{'':24s} {'%':>7s} {'wake-ups/s':>11s} {'X server %':>11s} {'compositor+wm %':>16s} {'desktop wake/s':>15s}  pet / rival")
    for name, cpu, wakes, desk in rows:
        ratio = "  ".join(f"{cpu / v:4.1f}x {n}" for n, v in base.items() if v > 0) if desk else ""
        d = f"{desk[0]:11.2f} {desk[1]:16.2f} {desk[2]:15.0f}" if desk else f"{'':11s} {'':16s} {'':15s}"
        print(f"{name:24s} {cpu:7.2f} {wakes:11.0f} {d}  {ratio}")
    for name, m in memories.items():
        print(f"memory {name:17s} RSS {m['Rss']:6.1f} MB  PSS {m['Pss']:6.1f} MB")
    if "before-bursts" in memories and "after-bursts" in memories:
        print(f"memory kept by the bursts    RSS {memories['after-bursts']['Rss'] - memories['before-bursts']['Rss']:+6.1f} MB")
    print(f"first frame {first_frame:.0f} ms after process start" if first_frame is not None else "first frame: not seen")
finally:
    for p in reversed(started):
        stop(p)
PY
