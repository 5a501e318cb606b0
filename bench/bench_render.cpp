// Full-screen redraw times, 1280x800, one full-size buffer:
//  (a) a plain white screen, (b) a busy scene of gradients, borders, shadows,
//  letter-spaced text, a roller, a slider and a thick rounded line.
#include "bench_common.h"
#include "bench_scenes.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    int runs = argc > 1 ? std::atoi(argv[1]) : 200;
    bench::headless_display();

    lv_obj_t *white = bench::build_white();
    lv_scr_load(white);
    bench::advance_ms(100);
    double a = bench::median_ms(runs, bench::full_redraw);

    lv_obj_t *busy = bench::build_busy();
    lv_scr_load(busy);
    bench::advance_ms(300);
    double b = bench::median_ms(runs, bench::full_redraw);
    bench::write_png("bench_busy_scene.png");

    std::printf("full redraw median over %d runs, 1280x800, one full-size buffer\n", runs);
    std::printf("  (a) white screen : %.3f ms (target <= 0.068 ms, LVGL 8.3.11: 0.068 ms)\n", a);
    std::printf("  (b) busy scene   : %.3f ms (target <= 1.04 ms, 0.75 x LVGL 8.3.11: 1.39 ms)\n", b);
    std::printf("  picture of (b): bench_busy_scene.png\n");
    return 0;
}
