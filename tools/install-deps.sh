#!/bin/bash
# Installs everything GUI Tessel needs to build, test and run its demo on Debian 12.
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then exec sudo "$0" "$@"; fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq \
  build-essential cmake pkg-config git ca-certificates \
  libgtest-dev libgmock-dev googletest libbenchmark-dev libpng-dev \
  libwayland-dev libwayland-bin wayland-protocols libxkbcommon-dev \
  sway grim jq wtype socat util-linux \
  python3 python3-pil \
  >/dev/null
echo "dependencies installed"
