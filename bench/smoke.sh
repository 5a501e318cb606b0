#!/bin/bash
# Every benchmark once, in a short mode (a round or two, a few iterations),
# so that none of them stops working unnoticed. The figures it prints are
# not measurements: run each benchmark on its own for those (README).
#   bench/smoke.sh [BUILD_DIR]     (as root: the simulated board, the compositors)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
py=/usr/bin/python3   # Debian's, with PIL
cmake --build "$build" -j"$(nproc)" --target bench_render bench_screens draw_bench bench_record \
  bench_board_runall bench_board_station gui_tessel tessel_e2e_vpointer tessel_weston_fixture upload_station >/dev/null
scratch=$(mktemp -d /tmp/tessel-bench-smoke.XXXXXX)
trap 'rm -rf "$scratch"' EXIT

step() { echo "--- bench smoke: $*"; }
step bench_render;  (cd "$scratch" && "$build/bench/bench_render" 3)
step bench_screens; "$build/bench/bench_screens" 3
step draw_bench;    "$build/bench/draw_bench" 3
step bench_record;  "$build/bench/bench_record" "$scratch/record" 1
sim="$PWD/tests/simboard/simboard-run"
export SIMBOARD_PASS=$build   # the build directory may be anywhere
step bench_board_runall
(cd "$scratch" && "$sim" -s healthy,timing -- "$build/tests/board/bench_board_runall" 1)
step bench_board_station
(cd "$scratch" && "$sim" -- "$build/tests/board/bench_board_station" 2)
step e2e_latency;   $py bench/e2e_latency.py --app "$build/gui_tessel" --runs 1 --presses 2
step wl_bench;      $py lv_drivers/tests/wl_bench.py --runs 1 --settle 1 --seconds 1 --tap 640,400 "$build/gui_tessel"
step upload_bench;  $py bench/upload_bench.py --smoke --build "$build"
step wall_bench;    $py bench/wall_bench.py --smoke
echo "bench smoke: every benchmark ran"
