/**
 * @file wl_shared.h
 * The parts of the Wayland backend that do not talk to the compositor:
 * pixel conversion, damage bookkeeping, the shm buffer pool's ownership
 * rules and the decoding of pointer, touch and key events into LVGL input
 * data. Kept apart so that they can be tested without a compositor; nothing
 * here calls into LVGL, only its types are used.
 */
#ifndef LV_DRIVERS_WAYLAND_WL_SHARED_H
#define LV_DRIVERS_WAYLAND_WL_SHARED_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#include "lvgl.h"

/*---------------------------------------------------------------------
 * Pixels
 *-------------------------------------------------------------------*/

/** One RGB565 pixel as XRGB8888; channels widened by bit replication so
 *  that full intensity stays full (0x1F -> 0xFF), the way pixman does it. */
static inline uint32_t lv_wl_rgb565_to_xrgb8888(uint16_t c)
{
    uint32_t r = (c >> 11) & 0x1Fu;
    uint32_t g = (c >> 5) & 0x3Fu;
    uint32_t b = c & 0x1Fu;
    r = (r << 3) | (r >> 2);
    g = (g << 2) | (g >> 4);
    b = (b << 3) | (b >> 2);
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

/** A rectangle in buffer pixels; x2/y2 exclusive. */
typedef struct {
    int32_t x1, y1, x2, y2;
} lv_wl_rect_t;

static inline int64_t lv_wl_rect_area(const lv_wl_rect_t * r)
{
    return (int64_t)(r->x2 - r->x1) * (int64_t)(r->y2 - r->y1);
}

/** Copy `r` out of an RGB565 image (src, src_stride bytes) into a
 *  destination of the same geometry, either RGB565 (dst_bpp 2) or
 *  XRGB8888 (dst_bpp 4, converted). */
void lv_wl_copy_rect(uint8_t * dst, int32_t dst_stride, int dst_bpp, const uint8_t * src, int32_t src_stride,
                     const lv_wl_rect_t * r);

/** Copy a tightly packed block of `w` x `h` RGB565 pixels to position x, y of
 *  an RGB565 image (stride in bytes), clipped to img_w x img_h. */
void lv_wl_blit565(uint8_t * img, int32_t stride, int32_t img_w, int32_t img_h, int32_t x, int32_t y,
                   const uint16_t * px, int32_t w, int32_t h);

/*---------------------------------------------------------------------
 * Damage: a short list of rectangles
 *-------------------------------------------------------------------*/
#define LV_WL_DAMAGE_MAX 8

typedef struct {
    lv_wl_rect_t r[LV_WL_DAMAGE_MAX];
    int n;
} lv_wl_damage_t;

void lv_wl_damage_clear(lv_wl_damage_t * d);
/** Add `r`, clipped to 0,0..w,h. A rectangle covered by one already held is
 *  dropped, held ones covered by `r` are removed; when the list is full the
 *  two rectangles (held or new) whose bounding box adds least are joined. */
void lv_wl_damage_add(lv_wl_damage_t * d, lv_wl_rect_t r, int32_t w, int32_t h);
void lv_wl_damage_add_all(lv_wl_damage_t * d, const lv_wl_damage_t * src, int32_t w, int32_t h);
void lv_wl_damage_set_full(lv_wl_damage_t * d, int32_t w, int32_t h);
static inline bool lv_wl_damage_is_empty(const lv_wl_damage_t * d) { return d->n == 0; }
/** Sum of the rectangles' areas (they never contain one another, but may overlap). */
int64_t lv_wl_damage_area(const lv_wl_damage_t * d);

/*---------------------------------------------------------------------
 * Buffer pool: ownership rules for the shm buffers of one window
 *-------------------------------------------------------------------*/
#define LV_WL_POOL_SLOTS 3

typedef struct {
    /** Make a buffer of w x h; NULL on failure. */
    void * (*create)(void * ctx, int32_t w, int32_t h);
    void (*destroy)(void * ctx, void * handle);
    void * ctx;
} lv_wl_pool_ops_t;

typedef struct {
    void * handle;          /**< NULL: slot empty */
    int32_t w, h;
    bool busy;              /**< attached and not yet released by the compositor */
    lv_wl_damage_t missing; /**< what the buffer lacks of the current image */
} lv_wl_slot_t;

typedef struct {
    lv_wl_slot_t slot[LV_WL_POOL_SLOTS];
    int32_t w, h;
    lv_wl_pool_ops_t ops;
} lv_wl_pool_t;

void lv_wl_pool_init(lv_wl_pool_t * p, const lv_wl_pool_ops_t * ops, int32_t w, int32_t h);
/** A buffer that the compositor does not hold, of the current size; the one
 *  lacking least is preferred, an empty slot is filled when none is free.
 *  NULL when all are busy (or creation failed). */
lv_wl_slot_t * lv_wl_pool_acquire(lv_wl_pool_t * p);
/** The slot was attached to the surface: the compositor owns it now. */
void lv_wl_pool_submit(lv_wl_pool_t * p, lv_wl_slot_t * s);
/** The compositor released `handle`; a buffer of an old size is destroyed. */
void lv_wl_pool_release(lv_wl_pool_t * p, void * handle);
/** New image size: idle buffers of the old size go at once, busy ones on release. */
void lv_wl_pool_resize(lv_wl_pool_t * p, int32_t w, int32_t h);
/** The image changed in `r`: every buffer now lacks it. */
void lv_wl_pool_damage(lv_wl_pool_t * p, const lv_wl_rect_t * r);
void lv_wl_pool_destroy(lv_wl_pool_t * p);
int lv_wl_pool_busy_count(const lv_wl_pool_t * p);

/*---------------------------------------------------------------------
 * Pointer and touch decoding (shared by both input devices)
 *-------------------------------------------------------------------*/
#define LV_WL_PTR_QUEUE 16

typedef struct {
    lv_coord_t x, y;
    bool pressed;
} lv_wl_ptr_event_t;

typedef struct {
    /* Press and release changes not read yet, oldest first: a tap that
     * starts and ends between two reads must still reach LVGL. */
    lv_wl_ptr_event_t q[LV_WL_PTR_QUEUE];
    int head, count;
    lv_coord_t x, y; /**< latest position */
    bool pressed;    /**< latest state */
    int32_t w, h;    /**< surface size; positions are clamped into it */
    bool touch_active;
    int32_t touch_id;
} lv_wl_ptr_t;

void lv_wl_ptr_init(lv_wl_ptr_t * p, int32_t w, int32_t h);
void lv_wl_ptr_set_size(lv_wl_ptr_t * p, int32_t w, int32_t h);
/** Position in 24.8 fixed point surface coordinates (wl_fixed_t). */
void lv_wl_ptr_motion(lv_wl_ptr_t * p, int32_t fx, int32_t fy);
void lv_wl_ptr_button(lv_wl_ptr_t * p, bool pressed);
/** The pointer left the surface: a press still held is released there. */
void lv_wl_ptr_leave(lv_wl_ptr_t * p);
/* Touch: the first finger drives the device, others are ignored until it lifts. */
void lv_wl_touch_down(lv_wl_ptr_t * p, int32_t id, int32_t fx, int32_t fy);
void lv_wl_touch_motion(lv_wl_ptr_t * p, int32_t id, int32_t fx, int32_t fy);
void lv_wl_touch_up(lv_wl_ptr_t * p, int32_t id);
void lv_wl_touch_cancel(lv_wl_ptr_t * p);
/** Fill LVGL's read result: the oldest unread change, else the latest state. */
void lv_wl_ptr_read(lv_wl_ptr_t * p, lv_indev_data_t * data);

/*---------------------------------------------------------------------
 * Keyboard decoding
 *-------------------------------------------------------------------*/
#define LV_WL_KEY_QUEUE 32

typedef struct {
    uint32_t key;
    bool pressed;
} lv_wl_key_event_t;

typedef struct {
    lv_wl_key_event_t q[LV_WL_KEY_QUEUE];
    int head, count;
    uint32_t last_key;
    bool pressed;
} lv_wl_kbd_t;

void lv_wl_kbd_init(lv_wl_kbd_t * k);
void lv_wl_kbd_key(lv_wl_kbd_t * k, uint32_t lv_key, bool pressed);
/** Focus lost: a key still down is released. */
void lv_wl_kbd_leave(lv_wl_kbd_t * k);
void lv_wl_kbd_read(lv_wl_kbd_t * k, lv_indev_data_t * data);

/** LVGL key code for an xkb keysym and its UTF-32 text (0 if none);
 *  0 when the key means nothing to LVGL. */
uint32_t lv_wl_keysym_to_lv_key(uint32_t keysym, uint32_t utf32);

/*---------------------------------------------------------------------
 * Wheel decoding (the pointer-axis encoder)
 *-------------------------------------------------------------------*/
typedef struct {
    int32_t steps;      /**< whole steps not read yet */
    int32_t remainder;  /**< continuous scroll not yet a whole step, 24.8 fixed */
    bool discrete_seen; /**< the current frame carried discrete steps */
    bool pressed;       /**< middle button */
} lv_wl_axis_t;

void lv_wl_axis_init(lv_wl_axis_t * a);
void lv_wl_axis_value(lv_wl_axis_t * a, int32_t fixed_value);
void lv_wl_axis_discrete(lv_wl_axis_t * a, int32_t steps);
void lv_wl_axis_frame(lv_wl_axis_t * a);
void lv_wl_axis_read(lv_wl_axis_t * a, lv_indev_data_t * data);

#ifdef __cplusplus
}
#endif

#endif
