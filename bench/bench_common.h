// Headless 1280x800 display for benchmarks: one full-size draw buffer,
// flushing copies nothing, so a measurement is the renderer's own time.
#pragma once
#include "lvgl.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace bench {

constexpr int kHor = 1280;
constexpr int kVer = 800;

inline std::vector<lv_color_t> &draw_pixels()
{
    static std::vector<lv_color_t> px(kHor * kVer);
    return px;
}

inline void flush_cb(lv_disp_drv_t *drv, const lv_area_t *, lv_color_t *) { lv_disp_flush_ready(drv); }

inline lv_disp_t *headless_display()
{
    static lv_disp_draw_buf_t buf;
    static lv_disp_drv_t drv;
    lv_init();
    lv_disp_draw_buf_init(&buf, draw_pixels().data(), nullptr, kHor * kVer);
    lv_disp_drv_init(&drv);
    drv.hor_res = kHor;
    drv.ver_res = kVer;
    drv.draw_buf = &buf;
    drv.flush_cb = flush_cb;
    return lv_disp_drv_register(&drv);
}

inline double now_ms()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

/** Median of `runs` timings of fn, in ms. */
inline double median_ms(int runs, const std::function<void()> &fn)
{
    std::vector<double> t;
    t.reserve(runs);
    for (int i = 0; i < runs; i++) {
        double t0 = now_ms();
        fn();
        t.push_back(now_ms() - t0);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

/** Full redraw of the active screen. */
inline void full_redraw()
{
    lv_obj_invalidate(lv_scr_act());
    lv_refr_now(nullptr);
}

/** Let animations and timers settle (simulated time). */
inline void advance_ms(uint32_t ms)
{
    for (uint32_t t = 0; t < ms; t += 5) {
        lv_tick_inc(5);
        lv_timer_handler();
    }
}

bool write_png(const char *path);

// LVGL 8.3.11's own figures, measured side by side with the bundled core on
// this machine kind (5 interleaved rounds, medians; bench/compare_real.py
// measures them again). A build on a real LVGL (TESSEL_BENCH_REAL_LVGL)
// prints its own figures instead: it is the reference.
namespace ref {
constexpr double kWhite = 0.063, kBusy = 1.59;
constexpr double kRedraw[4] = {0.79, 4.39, 4.05, 4.47};  // Start, test, setup, reboot
constexpr double kBuild[4] = {0.022, 0.99, 0.20, 0.098};
} // namespace ref

/** One figure for scripts (bench/compare_real.py): "figure NAME MS". */
inline void figure(const char *name, double ms) { std::printf("figure %s %.4f\n", name, ms); }

} // namespace bench
