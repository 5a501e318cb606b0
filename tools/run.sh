#!/bin/bash
# Runs GUI Tessel: in a window when a Wayland session exists, otherwise a demo
# under a private headless compositor on the simulated board (screenshots in demo-out/).
set -euo pipefail
cd "$(dirname "$0")/.."
[ -x build/gui_tessel ] || ./tools/build.sh
if [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/gui_tessel
fi
echo "No Wayland session: running the demo on the simulated board."
cmake --build build --target tessel_e2e_vpointer >/dev/null
if [ "$(id -u)" -ne 0 ]; then
  exec sudo /usr/bin/python3 tools/demo.py --app build/gui_tessel --out "$PWD/demo-out"
fi
exec /usr/bin/python3 tools/demo.py --app build/gui_tessel --out "$PWD/demo-out"
