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
    // LVGL 8.3.11 on this machine kind, same scenes and configuration.
    const double ref_a = 0.048, ref_b = 7.72;
    std::printf("  (a) white screen : %.3f ms (LVGL 8.3.11: %.3f ms; a 2 MB fill, memory bound)\n", a, ref_a);
    std::printf("  (b) busy scene   : %.3f ms (LVGL 8.3.11: %.2f ms; %.2f x its time)\n", b, ref_b, b / ref_b);
    std::printf("  picture of (b): bench_busy_scene.png\n");
    return 0;
}
