/**
 * @file wayland.h
 * Wayland backend: LVGL displays as xdg-shell top-level windows drawn
 * through wl_shm, with the seat's pointer, wheel, touch and keyboard as
 * LVGL input devices. lv_drivers 8.3 interface.
 *
 * Typical loop:
 *     lv_init(); lv_wayland_init();
 *     lv_disp_t * d = lv_wayland_create_window(1280, 800, "Title", close_cb);
 *     struct pollfd pfd = {lv_wayland_get_fd(), POLLIN, 0};
 *     while(lv_wayland_window_is_open(NULL)) {
 *         uint32_t t = lv_wayland_timer_handler();
 *         poll(&pfd, 1, t == LV_NO_TIMER_READY ? -1 : (int)t);
 *     }
 *
 * Failures: when no compositor can be reached, or a window cannot be made,
 * a message naming WAYLAND_DISPLAY goes to stderr and the process exits with
 * status 2. When the compositor goes away while running, a message goes to
 * stderr and the process exits with status 0 (the windows are gone, as after
 * a close).
 *
 * Environment (diagnostics only):
 *   TESSEL_WAYLAND_STATS=1      timings of the first frame and the count of
 *                               timer-handler passes on stderr
 *   TESSEL_WAYLAND_FORCE_XRGB8888=1  use 32-bit buffers even when the
 *                               compositor offers RGB565 (tests the fallback)
 */
#ifndef LV_DRIVERS_WAYLAND_WAYLAND_H
#define LV_DRIVERS_WAYLAND_WAYLAND_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdbool.h>
#include <stdint.h>

#ifdef LV_LVGL_H_INCLUDE_SIMPLE
#include "lvgl.h"
#else
#include "lvgl/lvgl.h"
#endif

/** Called when the compositor asks to close the window; return true to let
 *  the window be destroyed (on the same pass), false to keep it. */
typedef bool (*lv_wayland_display_close_f_t)(lv_disp_t * disp);

/** Connect to the compositor (after lv_init). Exits the process with status
 *  2 and a message when none is reachable. */
void lv_wayland_init(void);
/** Close every window and disconnect. */
void lv_wayland_deinit(void);
/** Descriptor of the compositor connection: readable when events wait. */
int lv_wayland_get_fd(void);

/** Open a top-level window and register its display and four input devices
 *  (pointer, pointer axis, touch, keyboard). The display takes the size the
 *  compositor configures, else hor_res x ver_res. */
lv_disp_t * lv_wayland_create_window(lv_coord_t hor_res, lv_coord_t ver_res, char * title,
                                     lv_wayland_display_close_f_t close_cb);
/** Close the window of `disp` at the end of the current pass (no callback). */
void lv_wayland_close_window(lv_disp_t * disp);
void lv_wayland_window_close(lv_disp_t * disp);
/** Is the window of `disp` open; NULL: is any window open. */
bool lv_wayland_window_is_open(lv_disp_t * disp);
void lv_wayland_window_set_fullscreen(lv_disp_t * disp, bool fullscreen);
void lv_wayland_window_set_maximized(lv_disp_t * disp, bool maximized);

lv_indev_t * lv_wayland_get_pointer(lv_disp_t * disp);
lv_indev_t * lv_wayland_get_pointeraxis(lv_disp_t * disp);
lv_indev_t * lv_wayland_get_touchscreen(lv_disp_t * disp);
lv_indev_t * lv_wayland_get_keyboard(lv_disp_t * disp);

/** One pass: read and dispatch compositor events, run lv_timer_handler,
 *  close windows whose close was granted, send requests. Returns
 *  lv_timer_handler's result (LV_NO_TIMER_READY when no timer is pending);
 *  frames still waiting for the compositor wake the descriptor by themselves. */
uint32_t lv_wayland_timer_handler(void);

#ifdef __cplusplus
}
#endif

#endif
