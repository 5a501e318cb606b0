/**
 * @file fake_core.h
 * A stand-in for the graphics core, just big enough to drive the Wayland
 * backend under a real compositor: timers, displays that "render" by asking
 * a paint callback for each pixel of the invalidated areas, and input devices
 * whose read timer pauses while nothing is pressed, as our core does.
 * It checks the backend's side of the contract (flush_ready called from
 * flush_cb) and aborts when it is broken.
 */
#ifndef LV_DRIVERS_TESTS_FAKE_CORE_H
#define LV_DRIVERS_TESTS_FAKE_CORE_H

#include "lvgl.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef lv_color_t (*fake_paint_cb_t)(lv_disp_t * disp, lv_coord_t x, lv_coord_t y);
/** Called with every read of an input device. */
typedef void (*fake_input_cb_t)(lv_indev_t * indev, const lv_indev_data_t * data);

void fake_core_init(fake_paint_cb_t paint, fake_input_cb_t input);
/** Invalidate an area (inclusive coordinates) of `disp`. */
void fake_invalidate(lv_disp_t * disp, lv_coord_t x1, lv_coord_t y1, lv_coord_t x2, lv_coord_t y2);
void fake_invalidate_all(lv_disp_t * disp);
/** Refreshes done so far and areas flushed. */
uint32_t fake_refresh_count(void);
uint32_t fake_flush_count(void);

#ifdef __cplusplus
}
#endif

#endif
