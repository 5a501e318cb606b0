/**
 * @file wl_fake_client.c
 * Test client for the Wayland backend on the fake core (fake_core.c), run
 * under headless sway by test_wl_backend.py. Its main loop is the
 * application's: one lv_wayland_timer_handler per pass, leave when no window
 * is open, poll the connection with the returned timeout.
 *
 * Picture: background 0x2060C0; after a pointer/touch press a 40x40 square
 * centred on the press point, 0xC03020 while pressed, 0x20A040 after release.
 * With --anim a 16 px wide bar (0xE0C020) sweeps the window continuously.
 *
 * Standard output, one line per event: "display W H" (at the start and
 * whenever the size changes), "press X Y",
 * "release X Y" (pointer), "touch-press X Y", "touch-release X Y",
 * "key K down|up", "wheel N", "close-request", "exit renders=N".
 *
 * Options: --size WxH (size asked for), --refuse-close N (deny the first N
 * close requests), --close-after MS (close from the program), --anim.
 */
#include <errno.h>
#include <limits.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "fake_core.h"
#include "lv_drivers/wayland/wayland.h"

#define BG 0x2060C0
#define MARK_PRESSED 0xC03020
#define MARK_RELEASED 0x20A040
#define BAR 0xE0C020
#define MARK 20 /* half size */
#define BAR_W 16

static lv_disp_t * disp;
static int refuse_close;
static bool mark_shown, mark_pressed;
static lv_point_t mark;
static lv_coord_t bar_x = -1;

static lv_color_t paint(lv_disp_t * d, lv_coord_t x, lv_coord_t y)
{
    (void)d;
    if(bar_x >= 0 && x >= bar_x && x < bar_x + BAR_W) return lv_color_hex(BAR);
    if(mark_shown && x >= mark.x - MARK && x < mark.x + MARK && y >= mark.y - MARK && y < mark.y + MARK)
        return lv_color_hex(mark_pressed ? MARK_PRESSED : MARK_RELEASED);
    return lv_color_hex(BG);
}

static void invalidate_mark(void)
{
    fake_invalidate(disp, (lv_coord_t)(mark.x - MARK), (lv_coord_t)(mark.y - MARK), (lv_coord_t)(mark.x + MARK - 1),
                    (lv_coord_t)(mark.y + MARK - 1));
}

typedef struct {
    bool pressed;
    uint32_t key;
} last_t;

static void input(lv_indev_t * indev, const lv_indev_data_t * data)
{
    static last_t last[4];
    int i = indev == lv_wayland_get_pointer(disp)       ? 0
            : indev == lv_wayland_get_touchscreen(disp) ? 1
            : indev == lv_wayland_get_keyboard(disp)    ? 2
                                                        : 3;
    bool pressed = data->state == LV_INDEV_STATE_PRESSED;
    if(i == 0 || i == 1) {
        if(pressed == last[i].pressed) return;
        last[i].pressed = pressed;
        printf("%s%s %d %d\n", i == 1 ? "touch-" : "", pressed ? "press" : "release", data->point.x, data->point.y);
        if(mark_shown) invalidate_mark();
        mark_shown = true;
        mark_pressed = pressed;
        mark = data->point;
        invalidate_mark();
    }
    else if(i == 2) {
        if(pressed == last[i].pressed && data->key == last[i].key) return;
        last[i].pressed = pressed;
        last[i].key = data->key;
        printf("key %u %s\n", (unsigned)data->key, pressed ? "down" : "up");
    }
    else if(data->enc_diff != 0) {
        printf("wheel %d\n", data->enc_diff);
    }
}

static bool close_cb(lv_disp_t * d)
{
    printf("close-request%s\n", d == disp ? "" : " (unknown display)");
    if(refuse_close > 0) {
        refuse_close--;
        return false;
    }
    return true;
}

static void close_timer(lv_timer_t * t)
{
    lv_timer_del(t);
    lv_wayland_close_window(disp);
}

static void anim_timer(lv_timer_t * t)
{
    (void)t;
    lv_coord_t w = disp->driver->hor_res;
    lv_coord_t h = disp->driver->ver_res;
    if(bar_x >= 0) fake_invalidate(disp, bar_x, 0, (lv_coord_t)(bar_x + BAR_W - 1), (lv_coord_t)(h - 1));
    bar_x = (lv_coord_t)((bar_x + 7) % (w - BAR_W));
    fake_invalidate(disp, bar_x, 0, (lv_coord_t)(bar_x + BAR_W - 1), (lv_coord_t)(h - 1));
}

int main(int argc, char ** argv)
{
    int w = 1280, h = 800, close_after = -1;
    bool anim = false;
    for(int i = 1; i < argc; i++) {
        if(!strcmp(argv[i], "--size") && i + 1 < argc) sscanf(argv[++i], "%dx%d", &w, &h);
        else if(!strcmp(argv[i], "--refuse-close") && i + 1 < argc) refuse_close = atoi(argv[++i]);
        else if(!strcmp(argv[i], "--close-after") && i + 1 < argc) close_after = atoi(argv[++i]);
        else if(!strcmp(argv[i], "--anim")) anim = true;
    }
    setvbuf(stdout, NULL, _IOLBF, 0);

    lv_init();
    fake_core_init(paint, input);
    lv_wayland_init();
    disp = lv_wayland_create_window((lv_coord_t)w, (lv_coord_t)h, "Backend Probe", close_cb);
    lv_coord_t shown_w = disp->driver->hor_res, shown_h = disp->driver->ver_res;
    printf("display %d %d\n", shown_w, shown_h);
    if(close_after >= 0) lv_timer_create(close_timer, (uint32_t)close_after, NULL);
    if(anim) {
        lv_timer_create(anim_timer, 1, NULL);
        disp->refr_timer->period = 2; /* render far faster than any output refreshes */
    }

    struct pollfd pfd = {lv_wayland_get_fd(), POLLIN, 0};
    for(;;) {
        uint32_t next = lv_wayland_timer_handler();
        if(!lv_wayland_window_is_open(NULL)) break;
        if(disp->driver->hor_res != shown_w || disp->driver->ver_res != shown_h) {
            shown_w = disp->driver->hor_res;
            shown_h = disp->driver->ver_res;
            printf("display %d %d\n", shown_w, shown_h);
        }
        int timeout = next == LV_NO_TIMER_READY ? -1 : next > INT_MAX ? INT_MAX : (int)next;
        while(poll(&pfd, 1, timeout) < 0 && errno == EINTR) {
        }
    }
    printf("exit renders=%u\n", (unsigned)fake_refresh_count());
    lv_wayland_deinit(); /* under the sanitizers this checks that everything is given back */
    return 0;
}
