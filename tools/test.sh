#!/bin/bash
# Builds and runs every test, in three stages (name some to run only those):
#   native    the normal build: unit, application, simulated-board and
#             end-to-end tests under headless sway; then the application
#             against the public LVGL headers alone
#   sanitize  the whole suite again under AddressSanitizer +
#             UndefinedBehaviorSanitizer, end-to-end tests left out
#   arm64     the board's build (cmake/aarch64-linux-gnu.cmake): unit, screen,
#             simulated-board and install tests run under qemu-aarch64-static;
#             then the arm64 binary end to end under the native weston
#   system    not in a full run: the same sources on a real LVGL 8.3 +
#             lv_drivers 8.3 install, LVGL_PREFIX=<its prefix> (build-real/):
#             the whole suite, end-to-end tests included (README)
# TESSEL_NO_SANITIZE=1 leaves out the sanitize stage of a full run.
# TESSEL_NATIVE_BUILD=DIR builds the native stage in DIR instead of build/
# (any folder: the suite runs from wherever CMake builds it).
# On a fresh Debian 12 it first installs what the stages need
# (tools/install-deps.sh: native, or all with the arm64 stage).
set -euo pipefail
# The simulated board needs mount namespaces and the compositor runs as
# another user: the suite runs as root.
# (sudo clears the environment: the settings above are handed on)
if [ "$(id -u)" -ne 0 ]; then
  exec sudo env LVGL_PREFIX="${LVGL_PREFIX:-}" TESSEL_NATIVE_BUILD="${TESSEL_NATIVE_BUILD:-}" \
    TESSEL_NO_SANITIZE="${TESSEL_NO_SANITIZE:-0}" "$0" "$@"
fi
cd "$(dirname "$0")/.."
jobs="$(nproc)"

stage_native() {
  local build=${TESSEL_NATIVE_BUILD:-build}
  ./tools/check-layers.sh
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" -j"$jobs"
  (cd "$build" && ctest --output-on-failure -j1 --timeout 600)
  # the application, test kit and benchmarks must build on the public LVGL 8.3 API alone
  ./tools/check-public-api.sh "$build"
  # ... and read nothing of the bundled core or backend while doing so
  ./tools/check-system-includes.sh "$(cd "$build" && pwd)-public-api"
}

stage_sanitize() {
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTESSEL_SANITIZE=ON -DTESSEL_BENCH=OFF >/dev/null
  cmake --build build-asan -j"$jobs"
  (cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
     ctest --output-on-failure -j1 --timeout 900 -LE e2e)
}

stage_arm64() {
  cmake -S . -B build-arm64 -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSEL_BENCH=OFF >/dev/null
  cmake --build build-arm64 -j"$jobs"
  local start=$SECONDS
  (cd build-arm64 && ctest --output-on-failure -j1 --timeout 900)
  # The arm64 binary end to end: under the emulator as a client of the
  # native weston, on the simulated board (native helpers and compositor).
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTESSEL_E2E_ARM64_APP="$PWD/build-arm64/gui_tessel" >/dev/null
  cmake --build build -j"$jobs" --target gui_tessel board_render tessel_weston_fixture
  (cd build && ctest --output-on-failure -R '^e2e_arm64$' --timeout 600)
  echo "arm64: tests under emulation took $((SECONDS - start)) s;" \
       "gui_tessel $(stat -c %s build-arm64/gui_tessel) bytes"
}

stage_system() {
  local prefix="${LVGL_PREFIX:-}" f
  if [ -z "$prefix" ]; then
    echo "test.sh: the system stage needs LVGL_PREFIX=<prefix of a real LVGL 8.3 and lv_drivers 8.3 install>," \
         "for example LVGL_PREFIX=/opt/lvgl83 ./tools/test.sh system" >&2
    exit 2
  fi
  for f in include/lvgl/lvgl.h include/lv_drivers/wayland/wayland.h lib/liblvgl.a lib/liblv_drivers.a; do
    [ -e "$prefix/$f" ] || { echo "test.sh: LVGL_PREFIX=$prefix has no $f" >&2; exit 2; }
  done
  prefix=$(cd "$prefix" && pwd)
  cmake -S . -B build-real -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSEL_LVGL=system -DLVGL_PREFIX="$prefix" >/dev/null
  cmake --build build-real -j"$jobs"
  # nothing of the bundled core or backend may have been read
  ./tools/check-system-includes.sh build-real
  # e2e_arm64 needs the board's build on the bundled core: the arm64 stage runs it
  (cd build-real && ctest --output-on-failure -j1 --timeout 600 -E '^e2e_arm64$')
}

stages=("$@")
if [ ${#stages[@]} -eq 0 ]; then
  stages=(native)
  [ "${TESSEL_NO_SANITIZE:-0}" = 1 ] || stages+=(sanitize)
  stages+=(arm64)
fi
profile=native
for stage in "${stages[@]}"; do [ "$stage" = arm64 ] && profile=all; done
if ! missing=$(./tools/install-deps.sh --check "$profile"); then
  echo "test.sh: installing the missing packages: $missing"
  ./tools/install-deps.sh "$profile"
fi
for stage in "${stages[@]}"; do
  case "$stage" in
    native|sanitize|arm64|system) echo "=== $stage ==="; "stage_$stage" ;;
    *) echo "test.sh: unknown stage '$stage' (native, sanitize, arm64, system)" >&2; exit 2 ;;
  esac
done
echo "all tests passed (${stages[*]})"
