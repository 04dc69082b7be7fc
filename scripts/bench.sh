#!/usr/bin/env bash
# Measures the whole program on its own virtual display with a window manager and a
# compositor, beside xpenguins and oneko measured on the same display in the same run:
# share of one core and wake-ups per second of each process and of the desktop (X server,
# compositor, window manager) while resting in do-not-disturb, resting in the idle loop,
# wandering and through the clone bursts; how fast the log grows while wandering with a
# reminder's bubble; memory of the program (resident, proportional, anonymous) and of the X
# server before and after the bursts and after each full tour (menus, preferences opened and
# closed, three phases of wandering, the bursts and 40 s); time from start to the pet's
# first frame. Each figure is printed against its target with "met" or "missed", and the
# load average of the machine beside it (figures taken under load are not comparable).
#
#   scripts/bench.sh [seconds per phase, default 60] [clone bursts, default 5] [tours, default 5]
#
# BUILD_DIR (default build-release) is configured and built as Release when needed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
phase_seconds=${1:-60}
bursts=${2:-5}
tours=${3:-5}
build=${BUILD_DIR:-$root/build-release}

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAMSEL_BUILD_TESTS=OFF >/dev/null
fi
ninja -C "$build" -j3 tamsel_resources tamsel_bench_desktop_bench >/dev/null

# Debian puts the games in /usr/games.
export PATH=$PATH:/usr/games
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
work=$(mktemp -d)
# The program may still be writing its settings when we stop it: python waits for every
# process it started to end before this removes their folder.
trap 'rm -rf "$work"' EXIT
mkdir -p -m 700 "$work/runtime" "$work/home/.config" "$work/home/.local/share"

python3 - "$build/bench/tamsel_bench_desktop_bench" "$work" "$phase_seconds" "$bursts" "$tours" <<'PY'
import os, shutil, signal, subprocess, sys, time

binary, work, phase_seconds, bursts, tours = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5])
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
    """(cpu ns, wake-ups) over every thread alive now. A wake-up is a voluntary context
    switch (the thread slept and was woken); the involuntary ones count how busy the
    machine is, not the program."""
    cpu = switches = 0
    for t in tasks(pid):
        try:
            with open(f"/proc/{pid}/task/{t}/schedstat") as f:
                cpu += int(f.read().split()[0])
            with open(f"/proc/{pid}/task/{t}/status") as f:
                for line in f:
                    if line.startswith("voluntary_ctxt_switches"):
                        switches += int(line.split()[1])
        except (FileNotFoundError, ProcessLookupError):
            pass
    return cpu, switches

def memory(pid):
    """Rss, Pss and Anonymous of smaps_rollup, in MB."""
    values = {}
    with open(f"/proc/{pid}/smaps_rollup") as f:
        for line in f:
            parts = line.split()
            if parts[0] in ("Rss:", "Pss:", "Anonymous:"):
                values[parts[0][:-1]] = int(parts[1]) / 1024
    return values

def load():
    return os.getloadavg()[0]

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
        out["seconds"] = dt
        return out

verdicts = []
def judge(what, value, target, unit="%", ok=None):
    """One figure against its target: ok defaults to value <= target."""
    met = value <= target if ok is None else ok
    verdicts.append(met)
    print(f"  {what:52s} {value:9.2f} {unit:5s} target {target:g} {unit}: {'met' if met else 'missed'}")

env = dict(os.environ, HOME=f"{work}/home", XDG_CONFIG_HOME=f"{work}/home/.config",
           XDG_DATA_HOME=f"{work}/home/.local/share", XDG_RUNTIME_DIR=f"{work}/runtime")
env.pop("WAYLAND_DISPLAY", None)
log_file = f"{work}/home/.local/share/Tamsel/debug.log"

def log_bytes():
    # The log rolls over into one older generation: both count.
    return sum(os.path.getsize(p) for p in (log_file, log_file + ".1") if os.path.exists(p))

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
    rival_memory = {n: memory(p.pid) for n, p in rivals.items()}
    w = Window({**{n: p.pid for n, p in rivals.items()}, **desktop})
    time.sleep(phase_seconds)
    rival = w.finish()
    rival_load = load()
    for p in rivals.values():
        stop(p)
    for n in rivals:
        rows.append((f"{n} (both running)", rival[n][0], rival[n][1], None, rival_load))
    rows.append(("desktop (rivals)", None, None,
                 (rival["X server"][0], rival["compositor"][0] + rival["window manager"][0],
                  rival["X server"][1], rival["compositor"][1] + rival["window manager"][1]), rival_load))
    time.sleep(2)

    pet = start([binary, str(phase_seconds), str(bursts), str(tours)], env=env, stdout=subprocess.PIPE,
                stderr=subprocess.DEVNULL, text=True, bufsize=1)
    pids = {"pet": pet.pid, **desktop}
    windows, results, memories, first_frame, log_at = {}, {}, {}, None, {}
    for line in pet.stdout:
        parts = line.split()
        if len(parts) < 3 or parts[0] != "bench:":
            continue
        what, name = parts[1], parts[2]
        if what == "first-frame":
            first_frame = float(name)
        elif what == "phase":
            windows[name] = Window(pids)
            log_at[name] = log_bytes()
        elif what == "end":
            r = windows[name].finish()
            results[name] = r
            log_at[name] = (log_bytes() - log_at[name]) / r["seconds"] * 3600 / 1e6
            rows.append((name, r["pet"][0], r["pet"][1],
                         (r["X server"][0], r["compositor"][0] + r["window manager"][0],
                          r["X server"][1], r["compositor"][1] + r["window manager"][1]), load()))
        elif what == "memory":
            memories[name] = (memory(pet.pid), memory(xvfb.pid), load())
    pet.wait()

    print("% is of one core, wake/s are voluntary context switches per second; the rivals are measured together, before the pet starts")
    print(f"{'':22s} {'%':>6s} {'wake/s':>7s} {'X %':>6s} {'X wake/s':>9s} {'comp+wm %':>10s} {'comp+wm wake/s':>15s} {'load':>5s}")
    for name, cpu, wakes, desk, avg in rows:
        own = f"{cpu:6.2f} {wakes:7.0f}" if cpu is not None else f"{'':6s} {'':7s}"
        d = f"{desk[0]:6.2f} {desk[2]:9.0f} {desk[1]:10.2f} {desk[3]:15.0f}" if desk else f"{'':6s} {'':9s} {'':10s} {'':15s}"
        print(f"{name:22s} {own} {d} {avg:5.2f}")
    for n, m in rival_memory.items():
        print(f"memory {n:22s} RSS {m['Rss']:6.1f} MB  PSS {m['Pss']:6.1f} MB  anonymous {m['Anonymous']:6.1f} MB")
    for name, (m, x, avg) in memories.items():
        print(f"memory {name:22s} RSS {m['Rss']:6.1f} MB  PSS {m['Pss']:6.1f} MB  anonymous {m['Anonymous']:6.1f} MB"
              f"  X server RSS {x['Rss']:6.1f} MB  load {avg:5.2f}")

    print("targets")
    penguins = rival.get("xpenguins", (None,))[0]
    if "resting-idle" in results:
        idle = results["resting-idle"]["pet"][0]
        judge("resting in the idle loop, % of one core", idle, 0.25)
        if penguins:
            judge("resting in the idle loop, times xpenguins", idle / penguins, 1.5, "x")
    if "wandering" in results:
        judge("wandering, % of one core", results["wandering"]["pet"][0], 0.6)
        judge("log growth while wandering with a bubble", log_at["wandering"], 1.0, "MB/h")
    if "clones" in results:
        judge("clone bursts, pet % of one core", results["clones"]["pet"][0], 5.0)
        judge("clone bursts, X server % of one core", results["clones"]["X server"][0], 5.0)
    tour_names = [n for n in memories if n.startswith("tour-")]
    if tour_names:
        last = memories[tour_names[-1]][0]
        judge(f"after {len(tour_names)} full tours, anonymous memory", last["Anonymous"], 15.0, "MB")
        judge(f"after {len(tour_names)} full tours, resident memory", last["Rss"], 55.0, "MB")
        if len(tour_names) > 1:
            first = memories[tour_names[0]][0]
            judge("growth from the first tour to the last, anonymous", last["Anonymous"] - first["Anonymous"], 3.0, "MB")
            judge("growth from the first tour to the last, resident", last["Rss"] - first["Rss"], 3.0, "MB")
    if "before-bursts" in memories and "after-bursts-40s" in memories:
        before, after = memories["before-bursts"], memories["after-bursts-40s"]
        kept = after[0]["Anonymous"] - before[0]["Anonymous"]
        server_kept = after[1]["Rss"] - before[1]["Rss"]
        judge("kept by the program 40 s after the bursts, anonymous", kept, 3.0, "MB")
        judge("kept by the X server 40 s after the bursts, resident", server_kept, 3.0, "MB")
        if kept <= 3.0 and server_kept <= 3.0:
            print("  memory given back")
    if first_frame is not None:
        judge("first frame after process start", first_frame, 100, "ms")
    else:
        print("  first frame: not seen: missed")
        verdicts.append(False)
    print(f"{sum(verdicts)} of {len(verdicts)} targets met")
finally:
    for p in reversed(started):
        stop(p)
PY
