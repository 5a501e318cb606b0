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
#ifdef TESSEL_BENCH_REAL_LVGL
    std::printf("  drawn by the real LVGL %d.%d.%d: these are the reference's own figures\n", LVGL_VERSION_MAJOR,
                LVGL_VERSION_MINOR, LVGL_VERSION_PATCH);
    std::printf("  (a) white screen : %.3f ms (a 2 MB fill, memory bound)\n", a);
    std::printf("  (b) busy scene   : %.3f ms\n", b);
#else
    std::printf("  (a) white screen : %.3f ms (LVGL 8.3.11: %.3f ms; a 2 MB fill, memory bound)\n", a, bench::ref::kWhite);
    std::printf("  (b) busy scene   : %.3f ms (LVGL 8.3.11: %.2f ms; %.2f x its time)\n", b, bench::ref::kBusy,
                b / bench::ref::kBusy);
#endif
    bench::figure("redraw.white", a);
    bench::figure("redraw.busy", b);
    std::printf("  picture of (b): bench_busy_scene.png\n");
    return 0;
}
