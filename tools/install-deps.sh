#!/bin/bash
# Installs everything GUI Tessel needs to build, test and run its demo on
# Debian 12, and to cross-build it for the board (64-bit Arm) and run that
# build's tests under qemu user-mode emulation.
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then exec sudo "$0" "$@"; fi
export DEBIAN_FRONTEND=noninteractive
# the board's libraries come from Debian's arm64 archive (multiarch)
dpkg --add-architecture arm64
apt-get update -qq
apt-get install -y -qq \
  build-essential cmake pkg-config git ca-certificates \
  libgtest-dev libgmock-dev googletest libbenchmark-dev libpng-dev \
  libwayland-dev libwayland-bin wayland-protocols libxkbcommon-dev \
  sway grim jq wtype socat util-linux \
  python3 python3-pil python3-jsonschema \
  >/dev/null
# Cross build: compiler, the arm64 development packages the build links
# against, the arm64 runtime the emulated tests load, and the emulator.
# wayland-scanner and the asset tools stay the build machine's.
apt-get install -y -qq --no-install-recommends \
  crossbuild-essential-arm64 qemu-user-static \
  libwayland-dev:arm64 libxkbcommon-dev:arm64 libpng-dev:arm64 \
  libgtest-dev:arm64 libgmock-dev:arm64 libstdc++6:arm64 \
  >/dev/null
echo "dependencies installed"
