// Manual check of the Wayland backend on the real core: one 1280 x 800
// window "Wayland Demo" with a button; every click prints "clicked N" and
// updates the caption. The loop and the tick thread are the application's.
//
//   WAYLAND_DISPLAY=wayland-1 XDG_RUNTIME_DIR=... TESSEL_WAYLAND_STATS=1 ./lv_drivers_wl_demo
#include <cerrno>
#include <climits>
#include <cstdio>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

#include "lv_drivers/wayland/wayland.h"
#include "lvgl.h"

namespace {

int clicks;

void * tick_thread(void *)
{
    for(;;) {
        usleep(5000);
        lv_tick_inc(5);
    }
    return nullptr;
}

bool close_cb(lv_disp_t *)
{
    std::printf("close-request\n");
    return true;
}

void on_click(lv_event_t * e)
{
    if(lv_event_get_code(e) != LV_EVENT_CLICKED) return;
    clicks++;
    std::printf("clicked %d\n", clicks);
    char text[32];
    std::snprintf(text, sizeof(text), "Clicked %d", clicks);
    lv_label_set_text(static_cast<lv_obj_t *>(lv_event_get_user_data(e)), text);
}

} // namespace

int main()
{
    setvbuf(stdout, nullptr, _IOLBF, 0);
    lv_init();
    lv_wayland_init();
    char title[] = "Wayland Demo";
    lv_wayland_create_window(1280, 800, title, close_cb);
    pthread_t tid;
    if(pthread_create(&tid, nullptr, tick_thread, nullptr) != 0) return 1;

    lv_obj_t * btn = lv_btn_create(lv_scr_act());
    lv_obj_set_size(btn, 240, 80);
    lv_obj_align(btn, LV_ALIGN_CENTER, 0, 0);
    lv_obj_t * label = lv_label_create(btn);
    lv_label_set_text(label, "Click me");
    lv_obj_align(label, LV_ALIGN_CENTER, 0, 0);
    lv_obj_add_event_cb(btn, on_click, LV_EVENT_ALL, label);

    pollfd pfd = {lv_wayland_get_fd(), POLLIN, 0};
    for(;;) {
        uint32_t next = lv_wayland_timer_handler();
        if(!lv_wayland_window_is_open(nullptr)) break;
        int timeout = next == LV_NO_TIMER_READY ? -1 : next > INT_MAX ? INT_MAX : static_cast<int>(next);
        while(poll(&pfd, 1, timeout) < 0 && errno == EINTR) {
        }
    }
    std::printf("exit\n");
    return 0;
}
