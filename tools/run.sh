#!/bin/bash
# Runs GUI Tessel: in a window when a Wayland session exists, otherwise a demo
# under a private headless compositor on the simulated board (screenshots in
# demo-out/). On a fresh Debian 12 it first installs what it needs (through
# sudo: tools/install-deps.sh native) and builds what it runs.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! missing=$(./tools/install-deps.sh --check native); then
  echo "run.sh: installing the missing packages: $missing"
  ./tools/install-deps.sh native
fi
[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if [ -n "${WAYLAND_DISPLAY:-}" ]; then
  cmake --build build -j"$(nproc)" --target gui_tessel >/dev/null
  exec build/gui_tessel
fi
echo "No Wayland session: running the demo on the simulated board."
cmake --build build -j"$(nproc)" --target gui_tessel tessel_e2e_vpointer >/dev/null
if [ "$(id -u)" -ne 0 ]; then
  exec sudo /usr/bin/python3 tools/demo.py --app build/gui_tessel --out "$PWD/demo-out"
fi
exec /usr/bin/python3 tools/demo.py --app build/gui_tessel --out "$PWD/demo-out"
