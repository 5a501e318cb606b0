// Build time and full redraw time of each application screen, headless, 1280x800.
#include "bench_common.h"
#include "gui_tessel.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

lv_ui tessel_ui; // the entry module owns it in the application

struct Screen {
    const char *name;
    void (*build)(lv_ui *);
    lv_obj_t **field;
};

int main(int argc, char **argv)
{
    int runs = argc > 1 ? std::atoi(argv[1]) : 100;
    // The test screen's loaded handler reads and creates files in the working directory.
    char dir[] = "/tmp/tessel-bench-XXXXXX";
    if (!mkdtemp(dir) || chdir(dir) != 0) return 1;

    bench::headless_display();
    static const char *const keys[] = {"start", "test", "setup", "reboot"};
    const Screen screens[] = {
        {"Start", setup_scr_Start, &tessel_ui.Start},
        {"Test_progrem", setup_scr_Test_progrem, &tessel_ui.Test_progrem},
        {"Setup_Screen", setup_scr_Setup_Screen, &tessel_ui.Setup_Screen},
        {"ReBoot_Screen", setup_scr_ReBoot_Screen, &tessel_ui.ReBoot_Screen},
    };
    lv_obj_t *blank = lv_obj_create(nullptr);
    lv_scr_load(blank);

    std::printf("screen            build (median)   full redraw (median)   pool use of the tree\n");
    for (int i = 0; i < 4; i++) {
        const Screen &s = screens[i];
        double build = bench::median_ms(runs, [&] {
            s.build(&tessel_ui);
            lv_obj_del(*s.field);
        });
        lv_mem_monitor_t before, after;
        lv_mem_monitor(&before);
        s.build(&tessel_ui);
        lv_mem_monitor(&after);
        lv_scr_load(*s.field);
        bench::advance_ms(1000); // start animation over, loaded handlers done
        double redraw = bench::median_ms(runs, bench::full_redraw);
        std::printf("%-16s  %8.3f ms      %8.3f ms         %7u bytes\n", s.name, build, redraw,
                    (unsigned)(before.free_size - after.free_size));
        char name[32];
        std::snprintf(name, sizeof name, "build.%s", keys[i]);
        bench::figure(name, build);
        std::snprintf(name, sizeof name, "redraw.%s", keys[i]);
        bench::figure(name, redraw);
        lv_scr_load(blank);
        lv_obj_del(*s.field);
    }
    lv_mem_monitor_t mon;
    lv_mem_monitor(&mon);
#ifdef TESSEL_BENCH_REAL_LVGL
    std::printf("drawn by the real LVGL %d.%d.%d: these are the reference's own figures\n", LVGL_VERSION_MAJOR,
                LVGL_VERSION_MINOR, LVGL_VERSION_PATCH);
#else
    using namespace bench::ref;
    std::printf("LVGL 8.3.11 on this machine kind: redraw Start %.2f, test %.2f, setup %.2f, reboot %.2f ms;\n"
                "  build %.3f / %.2f / %.2f / %.3f ms. Target: test screen build < 5 ms, redraws no slower than LVGL 8.3.11\n",
                kRedraw[0], kRedraw[1], kRedraw[2], kRedraw[3], kBuild[0], kBuild[1], kBuild[2], kBuild[3]);
#endif
    std::printf("pool: %u bytes in all, peak use %u bytes (%u%%)\n", (unsigned)mon.total_size,
                (unsigned)mon.max_used, (unsigned)(100ull * mon.max_used / mon.total_size));
    return 0;
}
