#!/usr/bin/env bash
# Installs what is missing, builds Tamsel and starts the pet.
# Without a display the pet runs on a virtual one (Xvfb), which this script says.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMSEL_BUILD_TESTS=OFF

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$root/build/tamsel"
fi

echo "No display found: starting Tamsel on a virtual display (Xvfb, 1440x900) with a compositor."
exec xvfb-run -a -s "-screen 0 1440x900x24" sh -c 'xcompmgr >/dev/null 2>&1 & exec dbus-run-session -- "$0"' "$root/build/tamsel"
