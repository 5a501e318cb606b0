#!/bin/bash
# Installs everything GUI Tessel needs on Debian 12, by profile:
#   native  build, run, demo and test it on this machine (compilers,
#           libraries, sway, grim, weston with its module headers, python3-pil;
#           nginx and chromium for the line server and wall tests; Noto CJK
#           for tools/gen_images.py)
#   all     (default) native, plus the board's cross build (64-bit Arm) and
#           qemu user-mode emulation for its tests
#
#   install-deps.sh [native|all]           install what is missing (as root; asks through sudo)
#   install-deps.sh --check [native|all]   list what is missing, exit 1 if anything is
#
# tools/run.sh and tools/test.sh call it themselves when something is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

native_packages=(
  build-essential cmake pkg-config git ca-certificates
  libgtest-dev libgmock-dev googletest libbenchmark-dev libpng-dev
  libwayland-dev libwayland-bin wayland-protocols libxkbcommon-dev
  sway grim jq wtype socat util-linux
  weston libweston-10-dev
  python3 python3-pil python3-jsonschema libxml2-utils
  nlohmann-json3-dev libcurl4-openssl-dev libjpeg62-turbo-dev
  nginx openssl chromium chromium-driver python3-selenium
  fonts-noto-cjk
)
# Cross build: compiler, the arm64 development packages the build links
# against, the arm64 runtime the emulated tests load, and the emulator.
# wayland-scanner and the asset tools stay the build machine's.
arm64_packages=(
  crossbuild-essential-arm64 qemu-user-static
  libwayland-dev:arm64 libxkbcommon-dev:arm64 libpng-dev:arm64
  libgtest-dev:arm64 libgmock-dev:arm64 libstdc++6:arm64
  libcurl4-openssl-dev:arm64 libjpeg62-turbo-dev:arm64
)

check=0
if [ "${1:-}" = --check ]; then check=1; shift; fi
profile=${1:-all}
case "$profile" in
  native|all) ;;
  *) echo "install-deps.sh: unknown profile '$profile' (native, all)" >&2; exit 2 ;;
esac

missing() {  # missing PACKAGE...: those not installed
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}

want_native=$(missing "${native_packages[@]}")
want_arm64=
if [ "$profile" = all ]; then
  want_arm64=$(missing "${arm64_packages[@]}")
  dpkg --print-foreign-architectures | grep -qx arm64 || want_arm64="$want_arm64 (dpkg architecture arm64)"
fi

if ((check)); then
  # shellcheck disable=SC2086
  [ -z "$want_native$want_arm64" ] && exit 0
  echo $want_native $want_arm64
  exit 1
fi
if [ -z "$want_native$want_arm64" ]; then
  echo "dependencies installed ($profile)"
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then exec sudo "$0" "$profile"; fi
export DEBIAN_FRONTEND=noninteractive
# the board's libraries come from Debian's arm64 archive (multiarch)
[ "$profile" = all ] && dpkg --add-architecture arm64
apt-get update -qq
apt-get install -y -qq "${native_packages[@]}" >/dev/null
if [ "$profile" = all ]; then
  apt-get install -y -qq --no-install-recommends "${arm64_packages[@]}" >/dev/null
fi
echo "dependencies installed ($profile)"
