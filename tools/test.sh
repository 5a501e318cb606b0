#!/bin/bash
# Builds and runs every test: the normal build, then the whole suite again
# under AddressSanitizer + UndefinedBehaviorSanitizer (skip that with TESSEL_NO_SANITIZE=1).
set -euo pipefail
# The simulated board needs mount namespaces and the compositor runs as
# another user: the suite runs as root.
if [ "$(id -u)" -ne 0 ]; then exec sudo "$0" "$@"; fi
cd "$(dirname "$0")/.."
jobs="$(nproc)"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j1 --timeout 600)
# the application, test kit and benchmarks must build on the public LVGL 8.3 API alone
./tools/check-public-api.sh build
if [ "${TESSEL_NO_SANITIZE:-0}" != 1 ]; then
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTESSEL_SANITIZE=ON -DTESSEL_BENCH=OFF >/dev/null
  cmake --build build-asan -j"$jobs"
  (cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
     ctest --output-on-failure -j1 --timeout 900 -LE e2e)
fi
echo "all tests passed"
