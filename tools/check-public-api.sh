#!/bin/bash
# Builds everything above the graphics library the way a real LVGL 8.3
# installation would be used (TESSEL_LVGL=system), against a prefix that holds
# only the public headers lvgl.h and wayland.h plus the bundled libraries.
# A file above the line that reaches into the core's internals fails to compile.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
prefix="$build/public-api-prefix"
rm -rf "$prefix"
mkdir -p "$prefix/include/lvgl" "$prefix/include/lv_drivers/wayland" "$prefix/lib"
cp lvgl/lvgl.h "$prefix/include/lvgl/"
cp lv_drivers/wayland/wayland.h "$prefix/include/lv_drivers/wayland/"
cp "$build/lvgl/liblvgl.a" "$build/lv_drivers/liblv_drivers.a" "$prefix/lib/"
cmake -S . -B "$build-public-api" -DTESSEL_LVGL=system -DLVGL_PREFIX="$prefix" >/dev/null
cmake --build "$build-public-api" -j"$(nproc)" \
  --target gui_tessel tessel_testkit app_screens_test app_navigation_test app_golden_test test_assets test_board bench_screens
echo "public-API build passed"
