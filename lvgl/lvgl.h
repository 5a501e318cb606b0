/**
 * @file lvgl.h
 * GUI Tessel's graphics core: the part of the LVGL 8.3 API that the
 * application uses, with LVGL 8.3's names, types, numeric constants and
 * behaviour. Valid C and C++.
 */
#ifndef LVGL_H
#define LVGL_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#include "lv_conf.h"

/*=====================================================================
 * Version
 *====================================================================*/
#define LVGL_VERSION_MAJOR 8
#define LVGL_VERSION_MINOR 3
#define LVGL_VERSION_PATCH 11
#define LVGL_VERSION_INFO ""
#define LV_VERSION_CHECK(x, y, z)                                              \
    (x == LVGL_VERSION_MAJOR &&                                                \
     (y < LVGL_VERSION_MINOR || (y == LVGL_VERSION_MINOR && z <= LVGL_VERSION_PATCH)))

#define LV_ATTRIBUTE_LARGE_CONST
#define LV_ATTRIBUTE_MEM_ALIGN
#define LV_ATTRIBUTE_IMG_
#define LV_ATTRIBUTE_FAST_MEM
#define LV_UNUSED(x) ((void)x)

#define LV_MAX(a, b) ((a) > (b) ? (a) : (b))
#define LV_MIN(a, b) ((a) < (b) ? (a) : (b))
#define LV_CLAMP(min, val, max) (LV_MAX(min, (LV_MIN(val, max))))
#define LV_ABS(x) ((x) > 0 ? (x) : (-(x)))

/*=====================================================================
 * Basic types
 *====================================================================*/
typedef int16_t lv_coord_t;
typedef uint8_t lv_opa_t;
typedef uint8_t lv_res_t;
enum { LV_RES_INV = 0, LV_RES_OK };

#define _LV_COORD_TYPE_SHIFT (13U)
#define _LV_COORD_TYPE_MASK (3 << _LV_COORD_TYPE_SHIFT)
#define _LV_COORD_PLAIN(x) ((x) & ~_LV_COORD_TYPE_MASK)
#define _LV_COORD_TYPE_SPEC (1 << _LV_COORD_TYPE_SHIFT)
#define _LV_COORD_TYPE_PX (0 << _LV_COORD_TYPE_SHIFT)
#define LV_COORD_IS_PX(x) ((((x) & _LV_COORD_TYPE_MASK) == _LV_COORD_TYPE_PX) || \
                           (((x) & _LV_COORD_TYPE_MASK) == _LV_COORD_TYPE_MASK))
#define LV_COORD_IS_SPEC(x) (((x) & _LV_COORD_TYPE_MASK) == _LV_COORD_TYPE_SPEC)
#define LV_COORD_SET_SPEC(x) ((x) | _LV_COORD_TYPE_SPEC)
#define LV_COORD_MAX ((1 << _LV_COORD_TYPE_SHIFT) - 1)
#define LV_COORD_MIN (-LV_COORD_MAX)
#define LV_SIZE_CONTENT LV_COORD_SET_SPEC(2001)
#define LV_PCT(x) (x < 0 ? LV_COORD_SET_SPEC(1000 - (x)) : LV_COORD_SET_SPEC(x))
#define LV_COORD_IS_PCT(x) ((LV_COORD_IS_SPEC(x) && _LV_COORD_PLAIN(x) <= 2000))
#define LV_COORD_GET_PCT(x) (_LV_COORD_PLAIN(x) > 1000 ? 1000 - _LV_COORD_PLAIN(x) : _LV_COORD_PLAIN(x))
#define LV_RADIUS_CIRCLE 0x7FFF
#define LV_DPI_DEF_VALUE LV_DPI_DEF

typedef struct {
    lv_coord_t x;
    lv_coord_t y;
} lv_point_t;

typedef struct {
    lv_coord_t x1;
    lv_coord_t y1;
    lv_coord_t x2;
    lv_coord_t y2;
} lv_area_t;

void lv_area_set(lv_area_t * area_p, lv_coord_t x1, lv_coord_t y1, lv_coord_t x2, lv_coord_t y2);
static inline lv_coord_t lv_area_get_width(const lv_area_t * a) { return (lv_coord_t)(a->x2 - a->x1 + 1); }
static inline lv_coord_t lv_area_get_height(const lv_area_t * a) { return (lv_coord_t)(a->y2 - a->y1 + 1); }
static inline void lv_area_copy(lv_area_t * dest, const lv_area_t * src) { *dest = *src; }
uint32_t lv_area_get_size(const lv_area_t * area_p);
bool _lv_area_intersect(lv_area_t * res_p, const lv_area_t * a1_p, const lv_area_t * a2_p);
bool _lv_area_is_in(const lv_area_t * ain_p, const lv_area_t * aholder_p, lv_coord_t radius);
bool _lv_area_is_point_on(const lv_area_t * a_p, const lv_point_t * p_p, lv_coord_t radius);
void _lv_area_join(lv_area_t * a_res_p, const lv_area_t * a1_p, const lv_area_t * a2_p);

enum {
    LV_ALIGN_DEFAULT = 0,
    LV_ALIGN_TOP_LEFT,
    LV_ALIGN_TOP_MID,
    LV_ALIGN_TOP_RIGHT,
    LV_ALIGN_BOTTOM_LEFT,
    LV_ALIGN_BOTTOM_MID,
    LV_ALIGN_BOTTOM_RIGHT,
    LV_ALIGN_LEFT_MID,
    LV_ALIGN_RIGHT_MID,
    LV_ALIGN_CENTER,
    LV_ALIGN_OUT_TOP_LEFT,
    LV_ALIGN_OUT_TOP_MID,
    LV_ALIGN_OUT_TOP_RIGHT,
    LV_ALIGN_OUT_BOTTOM_LEFT,
    LV_ALIGN_OUT_BOTTOM_MID,
    LV_ALIGN_OUT_BOTTOM_RIGHT,
    LV_ALIGN_OUT_LEFT_TOP,
    LV_ALIGN_OUT_LEFT_MID,
    LV_ALIGN_OUT_LEFT_BOTTOM,
    LV_ALIGN_OUT_RIGHT_TOP,
    LV_ALIGN_OUT_RIGHT_MID,
    LV_ALIGN_OUT_RIGHT_BOTTOM,
};
typedef uint8_t lv_align_t;

/*=====================================================================
 * Colour (RGB565, not swapped)
 *====================================================================*/
typedef union {
    struct {
        uint16_t blue : 5;
        uint16_t green : 6;
        uint16_t red : 5;
    } ch;
    uint16_t full;
} lv_color16_t;
typedef lv_color16_t lv_color_t;
typedef uint16_t lv_color_int_t;

typedef union {
    struct {
        uint8_t blue;
        uint8_t green;
        uint8_t red;
        uint8_t alpha;
    } ch;
    uint32_t full;
} lv_color32_t;

enum {
    LV_OPA_TRANSP = 0,
    LV_OPA_0 = 0,
    LV_OPA_10 = 25,
    LV_OPA_20 = 51,
    LV_OPA_30 = 76,
    LV_OPA_40 = 102,
    LV_OPA_50 = 127,
    LV_OPA_60 = 153,
    LV_OPA_70 = 178,
    LV_OPA_80 = 204,
    LV_OPA_90 = 229,
    LV_OPA_100 = 255,
    LV_OPA_COVER = 255,
};
#define LV_OPA_MIN 2
#define LV_OPA_MAX 253
#define LV_COLOR_SIZE 16
#define LV_IMG_PX_SIZE_ALPHA_BYTE 3

#define LV_COLOR_MAKE16(r8, g8, b8) {{(uint8_t)((b8 >> 3) & 0x1FU), (uint8_t)((g8 >> 2) & 0x3FU), (uint8_t)((r8 >> 3) & 0x1FU)}}
#define LV_COLOR_MAKE(r8, g8, b8) LV_COLOR_MAKE16(r8, g8, b8)

static inline lv_color_t lv_color_make(uint8_t r, uint8_t g, uint8_t b)
{
    lv_color_t c;
    c.full = (uint16_t)(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
    return c;
}
static inline lv_color_t lv_color_hex(uint32_t c)
{
    return lv_color_make((uint8_t)((c >> 16) & 0xFF), (uint8_t)((c >> 8) & 0xFF), (uint8_t)(c & 0xFF));
}
static inline lv_color_t lv_color_hex3(uint32_t c)
{
    return lv_color_make((uint8_t)(((c >> 4) & 0xF0) | ((c >> 8) & 0xF)), (uint8_t)((c & 0xF0) | ((c & 0xF0) >> 4)),
                         (uint8_t)((c & 0xF) | ((c & 0xF) << 4)));
}
static inline lv_color_t lv_color_white(void) { return lv_color_make(0xFF, 0xFF, 0xFF); }
static inline lv_color_t lv_color_black(void) { return lv_color_make(0x00, 0x00, 0x00); }
static inline uint16_t lv_color_to16(lv_color_t color) { return color.full; }
uint32_t lv_color_to32(lv_color_t color);
/** Mix two colours: `mix` 255 gives c1, 0 gives c2. */
lv_color_t lv_color_mix(lv_color_t c1, lv_color_t c2, uint8_t mix);
lv_color_t lv_color_lighten(lv_color_t c, lv_opa_t lvl);
lv_color_t lv_color_darken(lv_color_t c, lv_opa_t lvl);
uint8_t lv_color_brightness(lv_color_t color);

typedef enum {
    LV_PALETTE_RED,
    LV_PALETTE_PINK,
    LV_PALETTE_PURPLE,
    LV_PALETTE_DEEP_PURPLE,
    LV_PALETTE_INDIGO,
    LV_PALETTE_BLUE,
    LV_PALETTE_LIGHT_BLUE,
    LV_PALETTE_CYAN,
    LV_PALETTE_TEAL,
    LV_PALETTE_GREEN,
    LV_PALETTE_LIGHT_GREEN,
    LV_PALETTE_LIME,
    LV_PALETTE_YELLOW,
    LV_PALETTE_AMBER,
    LV_PALETTE_ORANGE,
    LV_PALETTE_DEEP_ORANGE,
    LV_PALETTE_BROWN,
    LV_PALETTE_BLUE_GREY,
    LV_PALETTE_GREY,
    _LV_PALETTE_LAST,
    LV_PALETTE_NONE = 0xff,
} lv_palette_t;
lv_color_t lv_palette_main(lv_palette_t p);
lv_color_t lv_palette_lighten(lv_palette_t p, uint8_t lvl);
lv_color_t lv_palette_darken(lv_palette_t p, uint8_t lvl);

struct _lv_color_filter_dsc_t;
typedef lv_color_t (*lv_color_filter_cb_t)(const struct _lv_color_filter_dsc_t *, lv_color_t, lv_opa_t);
typedef struct _lv_color_filter_dsc_t {
    lv_color_filter_cb_t filter_cb;
    void * user_data;
} lv_color_filter_dsc_t;
void lv_color_filter_dsc_init(lv_color_filter_dsc_t * dsc, lv_color_filter_cb_t cb);

/*=====================================================================
 * Memory (one fixed pool)
 *====================================================================*/
typedef struct {
    uint32_t total_size;
    uint32_t free_cnt;
    uint32_t free_size;
    uint32_t free_biggest_size;
    uint32_t used_cnt;
    uint32_t max_used;
    uint8_t used_pct;
    uint8_t frag_pct;
} lv_mem_monitor_t;

void * lv_mem_alloc(size_t size);
void lv_mem_free(void * data);
void * lv_mem_realloc(void * data_p, size_t new_size);
void lv_mem_monitor(lv_mem_monitor_t * mon_p);

/*=====================================================================
 * Init, tick, timers
 *====================================================================*/
void lv_init(void);
void lv_deinit(void);
bool lv_is_initialized(void);

/** Advance the clock; safe to call from another thread or a signal handler. */
void lv_tick_inc(uint32_t tick_period);
uint32_t lv_tick_get(void);
uint32_t lv_tick_elaps(uint32_t prev_tick);

#define LV_NO_TIMER_READY 0xFFFFFFFF

struct _lv_timer_t;
typedef void (*lv_timer_cb_t)(struct _lv_timer_t *);
typedef struct _lv_timer_t {
    uint32_t period;
    uint32_t last_run;
    lv_timer_cb_t timer_cb;
    void * user_data;
    int32_t repeat_count; /**< -1: infinite; 0: stop; n > 0: n more times */
    uint32_t paused : 1;
} lv_timer_t;

/** Run due timers; returns ms until the next one, LV_NO_TIMER_READY if none is pending. */
uint32_t lv_timer_handler(void);
lv_timer_t * lv_timer_create_basic(void);
lv_timer_t * lv_timer_create(lv_timer_cb_t timer_xcb, uint32_t period, void * user_data);
void lv_timer_del(lv_timer_t * timer);
void lv_timer_pause(lv_timer_t * timer);
void lv_timer_resume(lv_timer_t * timer);
void lv_timer_set_cb(lv_timer_t * timer, lv_timer_cb_t timer_cb);
void lv_timer_set_period(lv_timer_t * timer, uint32_t period);
void lv_timer_ready(lv_timer_t * timer);
void lv_timer_set_repeat_count(lv_timer_t * timer, int32_t repeat_count);
void lv_timer_reset(lv_timer_t * timer);
lv_timer_t * lv_timer_get_next(lv_timer_t * timer);

/*=====================================================================
 * Animations
 *====================================================================*/
#define LV_ANIM_REPEAT_INFINITE 0xFFFF
#define LV_ANIM_PLAYTIME_INFINITE 0xFFFFFFFF
typedef enum { LV_ANIM_OFF = 0, LV_ANIM_ON } lv_anim_enable_t;

struct _lv_anim_t;
typedef int32_t (*lv_anim_path_cb_t)(const struct _lv_anim_t *);
typedef void (*lv_anim_exec_xcb_t)(void *, int32_t);
typedef void (*lv_anim_custom_exec_cb_t)(struct _lv_anim_t *, int32_t);
typedef void (*lv_anim_ready_cb_t)(struct _lv_anim_t *);
typedef void (*lv_anim_start_cb_t)(struct _lv_anim_t *);
typedef int32_t (*lv_anim_get_value_cb_t)(struct _lv_anim_t *);
typedef void (*lv_anim_deleted_cb_t)(struct _lv_anim_t *);

typedef struct _lv_anim_t {
    void * var;
    lv_anim_exec_xcb_t exec_cb;
    lv_anim_start_cb_t start_cb;
    lv_anim_ready_cb_t ready_cb;
    lv_anim_deleted_cb_t deleted_cb;
    lv_anim_get_value_cb_t get_value_cb;
    void * user_data;
    lv_anim_path_cb_t path_cb;
    int32_t start_value;
    int32_t current_value;
    int32_t end_value;
    int32_t time;
    int32_t act_time; /**< negative while the delay runs */
    uint32_t playback_delay;
    uint32_t playback_time;
    uint32_t repeat_delay;
    uint16_t repeat_cnt;
    uint8_t early_apply : 1;
    uint8_t playback_now : 1;
    uint8_t run_round : 1;
    uint8_t start_cb_called : 1;
} lv_anim_t;

void lv_anim_init(lv_anim_t * a);
static inline void lv_anim_set_var(lv_anim_t * a, void * var) { a->var = var; }
static inline void lv_anim_set_exec_cb(lv_anim_t * a, lv_anim_exec_xcb_t exec_cb) { a->exec_cb = exec_cb; }
static inline void lv_anim_set_time(lv_anim_t * a, uint32_t duration) { a->time = (int32_t)duration; }
static inline void lv_anim_set_delay(lv_anim_t * a, uint32_t delay) { a->act_time = -(int32_t)delay; }
static inline void lv_anim_set_values(lv_anim_t * a, int32_t start, int32_t end)
{
    a->start_value = start;
    a->current_value = start;
    a->end_value = end;
}
static inline void lv_anim_set_custom_exec_cb(lv_anim_t * a, lv_anim_custom_exec_cb_t exec_cb)
{
    a->var = a;
    a->exec_cb = (lv_anim_exec_xcb_t)exec_cb;
}
static inline void lv_anim_set_path_cb(lv_anim_t * a, lv_anim_path_cb_t path_cb) { a->path_cb = path_cb; }
static inline void lv_anim_set_start_cb(lv_anim_t * a, lv_anim_start_cb_t start_cb) { a->start_cb = start_cb; }
static inline void lv_anim_set_get_value_cb(lv_anim_t * a, lv_anim_get_value_cb_t get_value_cb) { a->get_value_cb = get_value_cb; }
static inline void lv_anim_set_ready_cb(lv_anim_t * a, lv_anim_ready_cb_t ready_cb) { a->ready_cb = ready_cb; }
static inline void lv_anim_set_deleted_cb(lv_anim_t * a, lv_anim_deleted_cb_t deleted_cb) { a->deleted_cb = deleted_cb; }
static inline void lv_anim_set_playback_time(lv_anim_t * a, uint32_t time) { a->playback_time = time; }
static inline void lv_anim_set_playback_delay(lv_anim_t * a, uint32_t delay) { a->playback_delay = delay; }
static inline void lv_anim_set_repeat_count(lv_anim_t * a, uint16_t cnt) { a->repeat_cnt = cnt; }
static inline void lv_anim_set_repeat_delay(lv_anim_t * a, uint32_t delay) { a->repeat_delay = delay; }
static inline void lv_anim_set_early_apply(lv_anim_t * a, bool en) { a->early_apply = en; }
static inline void lv_anim_set_user_data(lv_anim_t * a, void * user_data) { a->user_data = user_data; }
static inline void * lv_anim_get_user_data(lv_anim_t * a) { return a->user_data; }
static inline uint32_t lv_anim_get_delay(lv_anim_t * a) { return (uint32_t)(-a->act_time); }

/** Start an animation; an earlier one with the same var and exec_cb is deleted first. */
lv_anim_t * lv_anim_start(const lv_anim_t * a);
bool lv_anim_del(void * var, lv_anim_exec_xcb_t exec_cb);
void lv_anim_del_all(void);
/** NULL exec_cb matches any animation of `var`. */
lv_anim_t * lv_anim_get(void * var, lv_anim_exec_xcb_t exec_cb);
uint16_t lv_anim_count_running(void);
uint32_t lv_anim_speed_to_time(uint32_t speed, int32_t start, int32_t end);
void lv_anim_refr_now(void);
int32_t lv_anim_path_linear(const lv_anim_t * a);
int32_t lv_anim_path_ease_in(const lv_anim_t * a);
int32_t lv_anim_path_ease_out(const lv_anim_t * a);
int32_t lv_anim_path_ease_in_out(const lv_anim_t * a);
int32_t lv_anim_path_overshoot(const lv_anim_t * a);
int32_t lv_anim_path_step(const lv_anim_t * a);

/*=====================================================================
 * Fonts (formatted-text format)
 *====================================================================*/
struct _lv_font_t;

typedef struct {
    const struct _lv_font_t * resolved_font;
    uint16_t adv_w; /**< advance width in pixels */
    uint16_t box_w;
    uint16_t box_h;
    int16_t ofs_x;
    int16_t ofs_y;
    uint8_t bpp : 4;
    uint8_t is_placeholder : 1;
} lv_font_glyph_dsc_t;

enum {
    LV_FONT_SUBPX_NONE,
    LV_FONT_SUBPX_HOR,
    LV_FONT_SUBPX_VER,
    LV_FONT_SUBPX_BOTH,
};
typedef uint8_t lv_font_subpx_t;

typedef struct _lv_font_t {
    bool (*get_glyph_dsc)(const struct _lv_font_t *, lv_font_glyph_dsc_t *, uint32_t letter, uint32_t letter_next);
    const uint8_t * (*get_glyph_bitmap)(const struct _lv_font_t *, uint32_t);
    lv_coord_t line_height;
    lv_coord_t base_line;
    uint8_t subpx : 2;
    int8_t underline_position;
    int8_t underline_thickness;
    const void * dsc;
    const struct _lv_font_t * fallback;
    void * user_data;
} lv_font_t;

/** Fills dsc_out; false (with a placeholder box when the font has none) for a missing glyph. */
bool lv_font_get_glyph_dsc(const lv_font_t * font_p, lv_font_glyph_dsc_t * dsc_out, uint32_t letter, uint32_t letter_next);
const uint8_t * lv_font_get_glyph_bitmap(const lv_font_t * font_p, uint32_t letter);
uint16_t lv_font_get_glyph_width(const lv_font_t * font, uint32_t letter, uint32_t letter_next);
static inline lv_coord_t lv_font_get_line_height(const lv_font_t * font_p) { return font_p->line_height; }

#define LV_FONT_DECLARE(font_name) extern const lv_font_t font_name;
LV_FONT_DECLARE(lv_font_montserrat_14)
static inline const lv_font_t * lv_font_default(void) { return LV_FONT_DEFAULT; }

typedef struct {
#if LV_FONT_FMT_TXT_LARGE == 0
    uint32_t bitmap_index : 20;
    uint32_t adv_w : 12; /**< in 1/16 pixel */
    uint8_t box_w;
    uint8_t box_h;
    int8_t ofs_x;
    int8_t ofs_y;
#else
    uint32_t bitmap_index;
    uint32_t adv_w;
    uint16_t box_w;
    uint16_t box_h;
    int16_t ofs_x;
    int16_t ofs_y;
#endif
} lv_font_fmt_txt_glyph_dsc_t;

enum {
    LV_FONT_FMT_TXT_CMAP_FORMAT0_FULL,
    LV_FONT_FMT_TXT_CMAP_SPARSE_FULL,
    LV_FONT_FMT_TXT_CMAP_FORMAT0_TINY,
    LV_FONT_FMT_TXT_CMAP_SPARSE_TINY,
};
typedef uint8_t lv_font_fmt_txt_cmap_type_t;

typedef struct {
    uint32_t range_start;
    uint16_t range_length;
    uint16_t glyph_id_start;
    const uint16_t * unicode_list;
    const void * glyph_id_ofs_list;
    uint16_t list_length;
    lv_font_fmt_txt_cmap_type_t type;
} lv_font_fmt_txt_cmap_t;

typedef struct {
    const void * glyph_ids;
    const int8_t * values;
    uint32_t pair_cnt : 30;
    uint32_t glyph_ids_size : 2;
} lv_font_fmt_txt_kern_pair_t;

typedef struct {
    const int8_t * class_pair_values;
    const uint8_t * left_class_mapping;
    const uint8_t * right_class_mapping;
    uint8_t left_class_cnt;
    uint8_t right_class_cnt;
} lv_font_fmt_txt_kern_classes_t;

typedef enum {
    LV_FONT_FMT_TXT_PLAIN = 0,
    LV_FONT_FMT_TXT_COMPRESSED = 1,
    LV_FONT_FMT_TXT_COMPRESSED_NO_PREFILTER = 1,
} lv_font_fmt_txt_bitmap_format_t;

typedef struct {
    uint32_t last_letter;
    uint32_t last_glyph_id;
} lv_font_fmt_txt_glyph_cache_t;

typedef struct {
    const uint8_t * glyph_bitmap;
    const lv_font_fmt_txt_glyph_dsc_t * glyph_dsc;
    const lv_font_fmt_txt_cmap_t * cmaps;
    const void * kern_dsc;
    uint16_t kern_scale;
    uint16_t cmap_num : 9;
    uint16_t bpp : 4;
    uint16_t kern_classes : 1;
    uint16_t bitmap_format : 2;
    lv_font_fmt_txt_glyph_cache_t * cache;
} lv_font_fmt_txt_dsc_t;

bool lv_font_get_glyph_dsc_fmt_txt(const lv_font_t * font, lv_font_glyph_dsc_t * dsc_out, uint32_t unicode_letter,
                                   uint32_t unicode_letter_next);
const uint8_t * lv_font_get_bitmap_fmt_txt(const lv_font_t * font, uint32_t letter);

/*=====================================================================
 * Images
 *====================================================================*/
enum {
    LV_IMG_CF_UNKNOWN = 0,
    LV_IMG_CF_RAW,
    LV_IMG_CF_RAW_ALPHA,
    LV_IMG_CF_RAW_CHROMA_KEYED,
    LV_IMG_CF_TRUE_COLOR,
    LV_IMG_CF_TRUE_COLOR_ALPHA,
    LV_IMG_CF_TRUE_COLOR_CHROMA_KEYED,
    LV_IMG_CF_INDEXED_1BIT,
    LV_IMG_CF_INDEXED_2BIT,
    LV_IMG_CF_INDEXED_4BIT,
    LV_IMG_CF_INDEXED_8BIT,
    LV_IMG_CF_ALPHA_1BIT,
    LV_IMG_CF_ALPHA_2BIT,
    LV_IMG_CF_ALPHA_4BIT,
    LV_IMG_CF_ALPHA_8BIT,
};
typedef uint8_t lv_img_cf_t;

typedef struct {
    uint32_t cf : 5;
    uint32_t always_zero : 3;
    uint32_t reserved : 2;
    uint32_t w : 11;
    uint32_t h : 11;
} lv_img_header_t;

typedef struct {
    lv_img_header_t header;
    uint32_t data_size;
    const uint8_t * data;
} lv_img_dsc_t;

#define LV_IMG_DECLARE(var_name) extern const lv_img_dsc_t var_name;
#define LV_IMG_ZOOM_NONE 256

/*=====================================================================
 * Objects: flags, states, parts, events
 *====================================================================*/
struct _lv_obj_t;
typedef struct _lv_obj_t lv_obj_t;
struct _lv_obj_class_t;
typedef struct _lv_obj_class_t lv_obj_class_t;
struct _lv_disp_t;
struct _lv_event_t;
typedef struct _lv_event_t lv_event_t;

enum {
    LV_STATE_DEFAULT = 0x0000,
    LV_STATE_CHECKED = 0x0001,
    LV_STATE_FOCUSED = 0x0002,
    LV_STATE_FOCUS_KEY = 0x0004,
    LV_STATE_EDITED = 0x0008,
    LV_STATE_HOVERED = 0x0010,
    LV_STATE_PRESSED = 0x0020,
    LV_STATE_SCROLLED = 0x0040,
    LV_STATE_DISABLED = 0x0080,
    LV_STATE_USER_1 = 0x1000,
    LV_STATE_USER_2 = 0x2000,
    LV_STATE_USER_3 = 0x4000,
    LV_STATE_USER_4 = 0x8000,
    LV_STATE_ANY = 0xFFFF,
};
typedef uint16_t lv_state_t;

enum {
    LV_PART_MAIN = 0x000000,
    LV_PART_SCROLLBAR = 0x010000,
    LV_PART_INDICATOR = 0x020000,
    LV_PART_KNOB = 0x030000,
    LV_PART_SELECTED = 0x040000,
    LV_PART_ITEMS = 0x050000,
    LV_PART_TICKS = 0x060000,
    LV_PART_CURSOR = 0x070000,
    LV_PART_CUSTOM_FIRST = 0x080000,
    LV_PART_ANY = 0x0F0000,
};
typedef uint32_t lv_part_t;

typedef enum {
    LV_OBJ_FLAG_HIDDEN = (1L << 0),
    LV_OBJ_FLAG_CLICKABLE = (1L << 1),
    LV_OBJ_FLAG_CLICK_FOCUSABLE = (1L << 2),
    LV_OBJ_FLAG_CHECKABLE = (1L << 3),
    LV_OBJ_FLAG_SCROLLABLE = (1L << 4),
    LV_OBJ_FLAG_SCROLL_ELASTIC = (1L << 5),
    LV_OBJ_FLAG_SCROLL_MOMENTUM = (1L << 6),
    LV_OBJ_FLAG_SCROLL_ONE = (1L << 7),
    LV_OBJ_FLAG_SCROLL_CHAIN_HOR = (1L << 8),
    LV_OBJ_FLAG_SCROLL_CHAIN_VER = (1L << 9),
    LV_OBJ_FLAG_SCROLL_CHAIN = (LV_OBJ_FLAG_SCROLL_CHAIN_HOR | LV_OBJ_FLAG_SCROLL_CHAIN_VER),
    LV_OBJ_FLAG_SCROLL_ON_FOCUS = (1L << 10),
    LV_OBJ_FLAG_SCROLL_WITH_ARROW = (1L << 11),
    LV_OBJ_FLAG_SNAPPABLE = (1L << 12),
    LV_OBJ_FLAG_PRESS_LOCK = (1L << 13),
    LV_OBJ_FLAG_EVENT_BUBBLE = (1L << 14),
    LV_OBJ_FLAG_GESTURE_BUBBLE = (1L << 15),
    LV_OBJ_FLAG_ADV_HITTEST = (1L << 16),
    LV_OBJ_FLAG_IGNORE_LAYOUT = (1L << 17),
    LV_OBJ_FLAG_FLOATING = (1L << 18),
    LV_OBJ_FLAG_OVERFLOW_VISIBLE = (1L << 19),
    LV_OBJ_FLAG_LAYOUT_1 = (1L << 23),
    LV_OBJ_FLAG_LAYOUT_2 = (1L << 24),
    LV_OBJ_FLAG_WIDGET_1 = (1L << 25),
    LV_OBJ_FLAG_WIDGET_2 = (1L << 26),
    LV_OBJ_FLAG_USER_1 = (1L << 27),
    LV_OBJ_FLAG_USER_2 = (1L << 28),
    LV_OBJ_FLAG_USER_3 = (1L << 29),
    LV_OBJ_FLAG_USER_4 = (1L << 30),
} _lv_obj_flag_t;
typedef uint32_t lv_obj_flag_t;

typedef enum {
    LV_EVENT_ALL = 0,
    LV_EVENT_PRESSED,
    LV_EVENT_PRESSING,
    LV_EVENT_PRESS_LOST,
    LV_EVENT_SHORT_CLICKED,
    LV_EVENT_LONG_PRESSED,
    LV_EVENT_LONG_PRESSED_REPEAT,
    LV_EVENT_CLICKED,
    LV_EVENT_RELEASED,
    LV_EVENT_SCROLL_BEGIN,
    LV_EVENT_SCROLL_END,
    LV_EVENT_SCROLL,
    LV_EVENT_GESTURE,
    LV_EVENT_KEY,
    LV_EVENT_FOCUSED,
    LV_EVENT_DEFOCUSED,
    LV_EVENT_LEAVE,
    LV_EVENT_HIT_TEST,
    LV_EVENT_COVER_CHECK,
    LV_EVENT_REFR_EXT_DRAW_SIZE,
    LV_EVENT_DRAW_MAIN_BEGIN,
    LV_EVENT_DRAW_MAIN,
    LV_EVENT_DRAW_MAIN_END,
    LV_EVENT_DRAW_POST_BEGIN,
    LV_EVENT_DRAW_POST,
    LV_EVENT_DRAW_POST_END,
    LV_EVENT_DRAW_PART_BEGIN,
    LV_EVENT_DRAW_PART_END,
    LV_EVENT_VALUE_CHANGED,
    LV_EVENT_INSERT,
    LV_EVENT_REFRESH,
    LV_EVENT_READY,
    LV_EVENT_CANCEL,
    LV_EVENT_DELETE,
    LV_EVENT_CHILD_CHANGED,
    LV_EVENT_CHILD_CREATED,
    LV_EVENT_CHILD_DELETED,
    LV_EVENT_SCREEN_UNLOAD_START,
    LV_EVENT_SCREEN_LOAD_START,
    LV_EVENT_SCREEN_LOADED,
    LV_EVENT_SCREEN_UNLOADED,
    LV_EVENT_SIZE_CHANGED,
    LV_EVENT_STYLE_CHANGED,
    LV_EVENT_LAYOUT_CHANGED,
    LV_EVENT_GET_SELF_SIZE,
    _LV_EVENT_LAST,
    LV_EVENT_PREPROCESS = 0x80,
} lv_event_code_t;

typedef void (*lv_event_cb_t)(lv_event_t * e);

typedef enum {
    LV_SCROLLBAR_MODE_OFF,
    LV_SCROLLBAR_MODE_ON,
    LV_SCROLLBAR_MODE_ACTIVE,
    LV_SCROLLBAR_MODE_AUTO,
} lv_scrollbar_mode_t;

/*=====================================================================
 * Styles
 *====================================================================*/
typedef uint32_t lv_style_selector_t;

enum {
    LV_TEXT_ALIGN_AUTO,
    LV_TEXT_ALIGN_LEFT,
    LV_TEXT_ALIGN_CENTER,
    LV_TEXT_ALIGN_RIGHT,
};
typedef uint8_t lv_text_align_t;

enum {
    LV_TEXT_DECOR_NONE = 0x00,
    LV_TEXT_DECOR_UNDERLINE = 0x01,
    LV_TEXT_DECOR_STRIKETHROUGH = 0x02,
};
typedef uint8_t lv_text_decor_t;

enum {
    LV_GRAD_DIR_NONE,
    LV_GRAD_DIR_VER,
    LV_GRAD_DIR_HOR,
};
typedef uint8_t lv_grad_dir_t;

enum {
    LV_BORDER_SIDE_NONE = 0x00,
    LV_BORDER_SIDE_BOTTOM = 0x01,
    LV_BORDER_SIDE_TOP = 0x02,
    LV_BORDER_SIDE_LEFT = 0x04,
    LV_BORDER_SIDE_RIGHT = 0x08,
    LV_BORDER_SIDE_FULL = 0x0F,
    LV_BORDER_SIDE_INTERNAL = 0x10,
};
typedef uint8_t lv_border_side_t;

enum {
    LV_BLEND_MODE_NORMAL,
    LV_BLEND_MODE_ADDITIVE,
    LV_BLEND_MODE_SUBTRACTIVE,
    LV_BLEND_MODE_MULTIPLY,
    LV_BLEND_MODE_REPLACE,
};
typedef uint8_t lv_blend_mode_t;

enum {
    LV_BASE_DIR_LTR = 0x00,
    LV_BASE_DIR_RTL = 0x01,
    LV_BASE_DIR_AUTO = 0x02,
};
typedef uint8_t lv_base_dir_t;

typedef union {
    int32_t num;
    const void * ptr;
    lv_color_t color;
} lv_style_value_t;

typedef enum {
    LV_STYLE_PROP_INV = 0,
    LV_STYLE_WIDTH = 1,
    LV_STYLE_MIN_WIDTH = 2,
    LV_STYLE_MAX_WIDTH = 3,
    LV_STYLE_HEIGHT = 4,
    LV_STYLE_MIN_HEIGHT = 5,
    LV_STYLE_MAX_HEIGHT = 6,
    LV_STYLE_X = 7,
    LV_STYLE_Y = 8,
    LV_STYLE_ALIGN = 9,
    LV_STYLE_TRANSFORM_WIDTH = 10,
    LV_STYLE_TRANSFORM_HEIGHT = 11,
    LV_STYLE_TRANSLATE_X = 12,
    LV_STYLE_TRANSLATE_Y = 13,
    LV_STYLE_TRANSFORM_ZOOM = 14,
    LV_STYLE_TRANSFORM_ANGLE = 15,
    LV_STYLE_PAD_TOP = 16,
    LV_STYLE_PAD_BOTTOM = 17,
    LV_STYLE_PAD_LEFT = 18,
    LV_STYLE_PAD_RIGHT = 19,
    LV_STYLE_PAD_ROW = 20,
    LV_STYLE_PAD_COLUMN = 21,
    LV_STYLE_BG_COLOR = 32,
    LV_STYLE_BG_OPA = 33,
    LV_STYLE_BG_GRAD_COLOR = 34,
    LV_STYLE_BG_GRAD_DIR = 35,
    LV_STYLE_BG_MAIN_STOP = 36,
    LV_STYLE_BG_GRAD_STOP = 37,
    LV_STYLE_BG_IMG_SRC = 40,
    LV_STYLE_BG_IMG_OPA = 41,
    LV_STYLE_BG_IMG_RECOLOR = 42,
    LV_STYLE_BG_IMG_RECOLOR_OPA = 43,
    LV_STYLE_BG_IMG_TILED = 44,
    LV_STYLE_BORDER_COLOR = 48,
    LV_STYLE_BORDER_OPA = 49,
    LV_STYLE_BORDER_WIDTH = 50,
    LV_STYLE_BORDER_SIDE = 51,
    LV_STYLE_BORDER_POST = 52,
    LV_STYLE_OUTLINE_WIDTH = 53,
    LV_STYLE_OUTLINE_COLOR = 54,
    LV_STYLE_OUTLINE_OPA = 55,
    LV_STYLE_OUTLINE_PAD = 56,
    LV_STYLE_SHADOW_WIDTH = 64,
    LV_STYLE_SHADOW_OFS_X = 65,
    LV_STYLE_SHADOW_OFS_Y = 66,
    LV_STYLE_SHADOW_SPREAD = 67,
    LV_STYLE_SHADOW_COLOR = 68,
    LV_STYLE_SHADOW_OPA = 69,
    LV_STYLE_IMG_OPA = 70,
    LV_STYLE_IMG_RECOLOR = 71,
    LV_STYLE_IMG_RECOLOR_OPA = 72,
    LV_STYLE_LINE_WIDTH = 73,
    LV_STYLE_LINE_DASH_WIDTH = 74,
    LV_STYLE_LINE_DASH_GAP = 75,
    LV_STYLE_LINE_ROUNDED = 76,
    LV_STYLE_LINE_COLOR = 77,
    LV_STYLE_LINE_OPA = 78,
    LV_STYLE_TEXT_COLOR = 85,
    LV_STYLE_TEXT_OPA = 86,
    LV_STYLE_TEXT_FONT = 87,
    LV_STYLE_TEXT_LETTER_SPACE = 88,
    LV_STYLE_TEXT_LINE_SPACE = 89,
    LV_STYLE_TEXT_DECOR = 90,
    LV_STYLE_TEXT_ALIGN = 91,
    LV_STYLE_RADIUS = 96,
    LV_STYLE_CLIP_CORNER = 97,
    LV_STYLE_OPA = 98,
    LV_STYLE_COLOR_FILTER_DSC = 99,
    LV_STYLE_COLOR_FILTER_OPA = 100,
    LV_STYLE_ANIM = 101,
    LV_STYLE_ANIM_TIME = 102,
    LV_STYLE_ANIM_SPEED = 103,
    LV_STYLE_TRANSITION = 104,
    LV_STYLE_BLEND_MODE = 105,
    LV_STYLE_LAYOUT = 106,
    LV_STYLE_BASE_DIR = 107,
    _LV_STYLE_LAST_BUILT_IN_PROP = 111,
    LV_STYLE_PROP_ANY = 0xFFFF,
} lv_style_prop_t;

typedef struct {
    const lv_style_prop_t * props; /**< zero-terminated */
    lv_anim_path_cb_t path_xcb;
    uint32_t time;
    uint32_t delay;
    void * user_data;
} lv_style_transition_dsc_t;

typedef struct {
    lv_style_prop_t prop;
    lv_style_value_t value;
} lv_style_const_prop_t;

typedef struct {
    union {
        lv_style_value_t value1;       /**< the only property when prop_cnt == 1 */
        uint8_t * values_and_props;    /**< pool array when prop_cnt > 1 */
        const lv_style_const_prop_t * const_props;
    } v_p;
    uint16_t prop1 : 15;
    uint16_t is_const : 1;
    uint8_t has_group;
    uint8_t prop_cnt; /**< distinct properties: 0 empty, 1 inline, more in an allocated array */
} lv_style_t;

void lv_style_init(lv_style_t * style);
void lv_style_reset(lv_style_t * style);
void lv_style_set_prop(lv_style_t * style, lv_style_prop_t prop, lv_style_value_t value);
lv_res_t lv_style_get_prop(const lv_style_t * style, lv_style_prop_t prop, lv_style_value_t * value);
bool lv_style_remove_prop(lv_style_t * style, lv_style_prop_t prop);
bool lv_style_is_empty(const lv_style_t * style);
void lv_style_transition_dsc_init(lv_style_transition_dsc_t * tr, const lv_style_prop_t props[],
                                  lv_anim_path_cb_t path_cb, uint32_t time, uint32_t delay, void * user_data);

#define LV_STYLE_SETTER_DECL(name, type)                                       \
    void lv_style_set_##name(lv_style_t * style, type value);
LV_STYLE_SETTER_DECL(width, lv_coord_t)
LV_STYLE_SETTER_DECL(height, lv_coord_t)
LV_STYLE_SETTER_DECL(x, lv_coord_t)
LV_STYLE_SETTER_DECL(y, lv_coord_t)
LV_STYLE_SETTER_DECL(align, lv_align_t)
LV_STYLE_SETTER_DECL(transform_width, lv_coord_t)
LV_STYLE_SETTER_DECL(transform_height, lv_coord_t)
LV_STYLE_SETTER_DECL(pad_top, lv_coord_t)
LV_STYLE_SETTER_DECL(pad_bottom, lv_coord_t)
LV_STYLE_SETTER_DECL(pad_left, lv_coord_t)
LV_STYLE_SETTER_DECL(pad_right, lv_coord_t)
LV_STYLE_SETTER_DECL(pad_row, lv_coord_t)
LV_STYLE_SETTER_DECL(pad_column, lv_coord_t)
LV_STYLE_SETTER_DECL(pad_all, lv_coord_t)
LV_STYLE_SETTER_DECL(bg_color, lv_color_t)
LV_STYLE_SETTER_DECL(bg_opa, lv_opa_t)
LV_STYLE_SETTER_DECL(bg_grad_color, lv_color_t)
LV_STYLE_SETTER_DECL(bg_grad_dir, lv_grad_dir_t)
LV_STYLE_SETTER_DECL(bg_main_stop, lv_coord_t)
LV_STYLE_SETTER_DECL(bg_grad_stop, lv_coord_t)
LV_STYLE_SETTER_DECL(bg_img_src, const void *)
LV_STYLE_SETTER_DECL(bg_img_opa, lv_opa_t)
LV_STYLE_SETTER_DECL(bg_img_recolor, lv_color_t)
LV_STYLE_SETTER_DECL(bg_img_recolor_opa, lv_opa_t)
LV_STYLE_SETTER_DECL(border_color, lv_color_t)
LV_STYLE_SETTER_DECL(border_opa, lv_opa_t)
LV_STYLE_SETTER_DECL(border_width, lv_coord_t)
LV_STYLE_SETTER_DECL(border_side, lv_border_side_t)
LV_STYLE_SETTER_DECL(border_post, bool)
LV_STYLE_SETTER_DECL(outline_width, lv_coord_t)
LV_STYLE_SETTER_DECL(outline_color, lv_color_t)
LV_STYLE_SETTER_DECL(outline_opa, lv_opa_t)
LV_STYLE_SETTER_DECL(outline_pad, lv_coord_t)
LV_STYLE_SETTER_DECL(shadow_width, lv_coord_t)
LV_STYLE_SETTER_DECL(shadow_ofs_x, lv_coord_t)
LV_STYLE_SETTER_DECL(shadow_ofs_y, lv_coord_t)
LV_STYLE_SETTER_DECL(shadow_spread, lv_coord_t)
LV_STYLE_SETTER_DECL(shadow_color, lv_color_t)
LV_STYLE_SETTER_DECL(shadow_opa, lv_opa_t)
LV_STYLE_SETTER_DECL(img_opa, lv_opa_t)
LV_STYLE_SETTER_DECL(img_recolor, lv_color_t)
LV_STYLE_SETTER_DECL(img_recolor_opa, lv_opa_t)
LV_STYLE_SETTER_DECL(line_width, lv_coord_t)
LV_STYLE_SETTER_DECL(line_rounded, bool)
LV_STYLE_SETTER_DECL(line_color, lv_color_t)
LV_STYLE_SETTER_DECL(line_opa, lv_opa_t)
LV_STYLE_SETTER_DECL(text_color, lv_color_t)
LV_STYLE_SETTER_DECL(text_opa, lv_opa_t)
LV_STYLE_SETTER_DECL(text_font, const lv_font_t *)
LV_STYLE_SETTER_DECL(text_letter_space, lv_coord_t)
LV_STYLE_SETTER_DECL(text_line_space, lv_coord_t)
LV_STYLE_SETTER_DECL(text_decor, lv_text_decor_t)
LV_STYLE_SETTER_DECL(text_align, lv_text_align_t)
LV_STYLE_SETTER_DECL(radius, lv_coord_t)
LV_STYLE_SETTER_DECL(clip_corner, bool)
LV_STYLE_SETTER_DECL(opa, lv_opa_t)
LV_STYLE_SETTER_DECL(color_filter_dsc, const lv_color_filter_dsc_t *)
LV_STYLE_SETTER_DECL(color_filter_opa, lv_opa_t)
LV_STYLE_SETTER_DECL(anim_time, uint32_t)
LV_STYLE_SETTER_DECL(anim_speed, uint32_t)
LV_STYLE_SETTER_DECL(transition, const lv_style_transition_dsc_t *)
#undef LV_STYLE_SETTER_DECL

/*=====================================================================
 * Object API
 *====================================================================*/
/** Create a base object; with a NULL parent it becomes a screen of the default display. */
lv_obj_t * lv_obj_create(lv_obj_t * parent);
void lv_obj_del(lv_obj_t * obj);
/** Delete the object on the next lv_timer_handler pass. */
void lv_obj_del_async(lv_obj_t * obj);
void lv_obj_clean(lv_obj_t * obj);
bool lv_obj_is_valid(const lv_obj_t * obj);

void lv_obj_add_flag(lv_obj_t * obj, lv_obj_flag_t f);
void lv_obj_clear_flag(lv_obj_t * obj, lv_obj_flag_t f);
bool lv_obj_has_flag(const lv_obj_t * obj, lv_obj_flag_t f);
bool lv_obj_has_flag_any(const lv_obj_t * obj, lv_obj_flag_t f);
void lv_obj_add_state(lv_obj_t * obj, lv_state_t state);
void lv_obj_clear_state(lv_obj_t * obj, lv_state_t state);
lv_state_t lv_obj_get_state(const lv_obj_t * obj);
bool lv_obj_has_state(const lv_obj_t * obj, lv_state_t state);
void lv_obj_set_user_data(lv_obj_t * obj, void * user_data);
void * lv_obj_get_user_data(lv_obj_t * obj);

/* tree */
lv_obj_t * lv_obj_get_screen(const lv_obj_t * obj);
struct _lv_disp_t * lv_obj_get_disp(const lv_obj_t * obj);
lv_obj_t * lv_obj_get_parent(const lv_obj_t * obj);
/** Negative ids count from the end (-1 is the last child). */
lv_obj_t * lv_obj_get_child(const lv_obj_t * obj, int32_t id);
uint32_t lv_obj_get_child_cnt(const lv_obj_t * obj);
uint32_t lv_obj_get_index(const lv_obj_t * obj);
void lv_obj_move_to_index(lv_obj_t * obj, int32_t index);
void lv_obj_move_foreground(lv_obj_t * obj);
void lv_obj_move_background(lv_obj_t * obj);
void lv_obj_set_parent(lv_obj_t * obj, lv_obj_t * parent);
bool lv_obj_check_type(const lv_obj_t * obj, const struct _lv_obj_class_t * class_p);
const struct _lv_obj_class_t * lv_obj_get_class(const lv_obj_t * obj);

/* position and size */
void lv_obj_set_pos(lv_obj_t * obj, lv_coord_t x, lv_coord_t y);
void lv_obj_set_x(lv_obj_t * obj, lv_coord_t x);
void lv_obj_set_y(lv_obj_t * obj, lv_coord_t y);
void lv_obj_set_size(lv_obj_t * obj, lv_coord_t w, lv_coord_t h);
void lv_obj_set_width(lv_obj_t * obj, lv_coord_t w);
void lv_obj_set_height(lv_obj_t * obj, lv_coord_t h);
void lv_obj_set_align(lv_obj_t * obj, lv_align_t align);
void lv_obj_align(lv_obj_t * obj, lv_align_t align, lv_coord_t x_ofs, lv_coord_t y_ofs);
void lv_obj_center(lv_obj_t * obj);
void lv_obj_update_layout(const lv_obj_t * obj);
void lv_obj_get_coords(const lv_obj_t * obj, lv_area_t * coords);
lv_coord_t lv_obj_get_x(const lv_obj_t * obj);
lv_coord_t lv_obj_get_y(const lv_obj_t * obj);
lv_coord_t lv_obj_get_x_aligned(const lv_obj_t * obj);
lv_coord_t lv_obj_get_y_aligned(const lv_obj_t * obj);
lv_coord_t lv_obj_get_width(const lv_obj_t * obj);
lv_coord_t lv_obj_get_height(const lv_obj_t * obj);
lv_coord_t lv_obj_get_content_width(const lv_obj_t * obj);
lv_coord_t lv_obj_get_content_height(const lv_obj_t * obj);
void lv_obj_get_content_coords(const lv_obj_t * obj, lv_area_t * area);
lv_coord_t lv_obj_get_self_width(const lv_obj_t * obj);
lv_coord_t lv_obj_get_self_height(const lv_obj_t * obj);
bool lv_obj_refresh_self_size(lv_obj_t * obj);
bool lv_obj_hit_test(lv_obj_t * obj, const lv_point_t * point);

/* scrolling (no scrolling happens on these screens; the mode only hides scrollbars) */
void lv_obj_set_scrollbar_mode(lv_obj_t * obj, lv_scrollbar_mode_t mode);
lv_scrollbar_mode_t lv_obj_get_scrollbar_mode(const lv_obj_t * obj);

/* redraw */
void lv_obj_invalidate(const lv_obj_t * obj);
void lv_obj_invalidate_area(const lv_obj_t * obj, const lv_area_t * area);
bool lv_obj_is_visible(const lv_obj_t * obj);

/* events */
typedef struct _lv_event_dsc_t lv_event_dsc_t;
struct _lv_event_dsc_t * lv_obj_add_event_cb(lv_obj_t * obj, lv_event_cb_t event_cb, lv_event_code_t filter,
                                              void * user_data);
bool lv_obj_remove_event_cb(lv_obj_t * obj, lv_event_cb_t event_cb);
bool lv_obj_remove_event_dsc(lv_obj_t * obj, struct _lv_event_dsc_t * event_dsc);
lv_res_t lv_event_send(lv_obj_t * obj, lv_event_code_t event_code, void * param);
lv_obj_t * lv_event_get_target(lv_event_t * e);
lv_obj_t * lv_event_get_current_target(lv_event_t * e);
lv_event_code_t lv_event_get_code(lv_event_t * e);
void * lv_event_get_param(lv_event_t * e);
void * lv_event_get_user_data(lv_event_t * e);
void lv_event_stop_bubbling(lv_event_t * e);
void lv_event_stop_processing(lv_event_t * e);
struct _lv_indev_t * lv_event_get_indev(lv_event_t * e);
lv_point_t * lv_event_get_self_size_info(lv_event_t * e);

/* local styles */
void lv_obj_set_local_style_prop(lv_obj_t * obj, lv_style_prop_t prop, lv_style_value_t value,
                                 lv_style_selector_t selector);
lv_res_t lv_obj_get_local_style_prop(lv_obj_t * obj, lv_style_prop_t prop, lv_style_value_t * value,
                                     lv_style_selector_t selector);
bool lv_obj_remove_local_style_prop(lv_obj_t * obj, lv_style_prop_t prop, lv_style_selector_t selector);
void lv_obj_add_style(lv_obj_t * obj, lv_style_t * style, lv_style_selector_t selector);
void lv_obj_remove_style(lv_obj_t * obj, lv_style_t * style, lv_style_selector_t selector);
static inline void lv_obj_remove_style_all(lv_obj_t * obj) { lv_obj_remove_style(obj, NULL, LV_PART_ANY | LV_STATE_ANY); }
void lv_obj_refresh_style(lv_obj_t * obj, lv_part_t part, lv_style_prop_t prop);
void lv_obj_report_style_change(lv_style_t * style);
/** The value the object shows in its current state: local, then added/theme styles, then the built-in default. */
lv_style_value_t lv_obj_get_style_prop(const lv_obj_t * obj, lv_part_t part, lv_style_prop_t prop);
static inline lv_state_t lv_obj_style_get_selector_state(lv_style_selector_t selector) { return (lv_state_t)(selector & 0xFFFF); }
static inline lv_part_t lv_obj_style_get_selector_part(lv_style_selector_t selector) { return selector & 0xFF0000; }

#define LV_OBJ_STYLE_ACCESSORS(name, NAME, type, field)                          \
    void lv_obj_set_style_##name(lv_obj_t * obj, type value, lv_style_selector_t selector); \
    static inline type lv_obj_get_style_##name(const lv_obj_t * obj, uint32_t part)        \
    {                                                                           \
        lv_style_value_t v = lv_obj_get_style_prop(obj, part, LV_STYLE_##NAME);  \
        return (type)v.field;                                                   \
    }
#define LV_OBJ_STYLE_ACCESSORS_COLOR(name, NAME)                                 \
    void lv_obj_set_style_##name(lv_obj_t * obj, lv_color_t value, lv_style_selector_t selector); \
    static inline lv_color_t lv_obj_get_style_##name(const lv_obj_t * obj, uint32_t part) \
    {                                                                           \
        lv_style_value_t v = lv_obj_get_style_prop(obj, part, LV_STYLE_##NAME);  \
        return v.color;                                                         \
    }
LV_OBJ_STYLE_ACCESSORS(width, WIDTH, lv_coord_t, num)
LV_OBJ_STYLE_ACCESSORS(height, HEIGHT, lv_coord_t, num)
LV_OBJ_STYLE_ACCESSORS(x, X, lv_coord_t, num)
LV_OBJ_STYLE_ACCESSORS(y, Y, lv_coord_t, num)
LV_OBJ_STYLE_ACCESSORS(align, ALIGN, lv_align_t, num)
LV_OBJ_STYLE_ACCESSORS(transform_width, TRANSFORM_WIDTH, lv_coord_t, num)
LV_OBJ_STYLE_ACCESSORS(transform_height, TRANSFORM_HEIGHT, lv_coord_t, num)
LV_OBJ_STYLE_ACCESSORS(pad_top, PAD_TOP, lv_coord_t, num)
LV_OBJ_STYLE_ACCESSORS(pad_bottom, PAD_BOTTOM, lv_coord_t, num)
LV_OBJ_STYLE_ACCESSORS(pad_left, PAD_LEFT, lv_coord_t, num)
LV_OBJ_STYLE_ACCESSORS(pad_right, PAD_RIGHT, lv_coord_t, num)
LV_OBJ_STYLE_ACCESSORS(pad_row, PAD_ROW, lv_coord_t, num)
LV_OBJ_STYLE_ACCESSORS(pad_column, PAD_COLUMN, lv_coord_t, num)
LV_OBJ_STYLE_ACCESSORS_COLOR(bg_color, BG_COLOR)
LV_OBJ_STYLE_ACCESSORS(bg_opa, BG_OPA, lv_opa_t, num)
LV_OBJ_STYLE_ACCESSORS_COLOR(bg_grad_color, BG_GRAD_COLOR)
LV_OBJ_STYLE_ACCESSORS(bg_grad_dir, BG_GRAD_DIR, lv_grad_dir_t, num)
LV_OBJ_STYLE_ACCESSORS(bg_main_stop, BG_MAIN_STOP, lv_coord_t, num)
LV_OBJ_STYLE_ACCESSORS(bg_grad_stop, BG_GRAD_STOP, lv_coord_t, num)
LV_OBJ_STYLE_ACCESSORS(bg_img_src, BG_IMG_SRC, const void *, ptr)
LV_OBJ_STYLE_ACCESSORS(bg_img_opa, BG_IMG_OPA, lv_opa_t, num)
LV_OBJ_STYLE_ACCESSORS_COLOR(bg_img_recolor, BG_IMG_RECOLOR)
LV_OBJ_STYLE_ACCESSORS(bg_img_recolor_opa, BG_IMG_RECOLOR_OPA, lv_opa_t, num)
LV_OBJ_STYLE_ACCESSORS_COLOR(border_color, BORDER_COLOR)
LV_OBJ_STYLE_ACCESSORS(border_opa, BORDER_OPA, lv_opa_t, num)
LV_OBJ_STYLE_ACCESSORS(border_width, BORDER_WIDTH, lv_coord_t, num)
LV_OBJ_STYLE_ACCESSORS(border_side, BORDER_SIDE, lv_border_side_t, num)
LV_OBJ_STYLE_ACCESSORS(border_post, BORDER_POST, bool, num)
LV_OBJ_STYLE_ACCESSORS(outline_width, OUTLINE_WIDTH, lv_coord_t, num)
LV_OBJ_STYLE_ACCESSORS_COLOR(outline_color, OUTLINE_COLOR)
LV_OBJ_STYLE_ACCESSORS(outline_opa, OUTLINE_OPA, lv_opa_t, num)
LV_OBJ_STYLE_ACCESSORS(outline_pad, OUTLINE_PAD, lv_coord_t, num)
LV_OBJ_STYLE_ACCESSORS(shadow_width, SHADOW_WIDTH, lv_coord_t, num)
LV_OBJ_STYLE_ACCESSORS(shadow_ofs_x, SHADOW_OFS_X, lv_coord_t, num)
LV_OBJ_STYLE_ACCESSORS(shadow_ofs_y, SHADOW_OFS_Y, lv_coord_t, num)
LV_OBJ_STYLE_ACCESSORS(shadow_spread, SHADOW_SPREAD, lv_coord_t, num)
LV_OBJ_STYLE_ACCESSORS_COLOR(shadow_color, SHADOW_COLOR)
LV_OBJ_STYLE_ACCESSORS(shadow_opa, SHADOW_OPA, lv_opa_t, num)
LV_OBJ_STYLE_ACCESSORS(img_opa, IMG_OPA, lv_opa_t, num)
LV_OBJ_STYLE_ACCESSORS_COLOR(img_recolor, IMG_RECOLOR)
LV_OBJ_STYLE_ACCESSORS(img_recolor_opa, IMG_RECOLOR_OPA, lv_opa_t, num)
LV_OBJ_STYLE_ACCESSORS(line_width, LINE_WIDTH, lv_coord_t, num)
LV_OBJ_STYLE_ACCESSORS(line_rounded, LINE_ROUNDED, bool, num)
LV_OBJ_STYLE_ACCESSORS_COLOR(line_color, LINE_COLOR)
LV_OBJ_STYLE_ACCESSORS(line_opa, LINE_OPA, lv_opa_t, num)
LV_OBJ_STYLE_ACCESSORS_COLOR(text_color, TEXT_COLOR)
LV_OBJ_STYLE_ACCESSORS(text_opa, TEXT_OPA, lv_opa_t, num)
LV_OBJ_STYLE_ACCESSORS(text_font, TEXT_FONT, const lv_font_t *, ptr)
LV_OBJ_STYLE_ACCESSORS(text_letter_space, TEXT_LETTER_SPACE, lv_coord_t, num)
LV_OBJ_STYLE_ACCESSORS(text_line_space, TEXT_LINE_SPACE, lv_coord_t, num)
LV_OBJ_STYLE_ACCESSORS(text_decor, TEXT_DECOR, lv_text_decor_t, num)
LV_OBJ_STYLE_ACCESSORS(text_align, TEXT_ALIGN, lv_text_align_t, num)
LV_OBJ_STYLE_ACCESSORS(radius, RADIUS, lv_coord_t, num)
LV_OBJ_STYLE_ACCESSORS(clip_corner, CLIP_CORNER, bool, num)
LV_OBJ_STYLE_ACCESSORS(opa, OPA, lv_opa_t, num)
LV_OBJ_STYLE_ACCESSORS(color_filter_dsc, COLOR_FILTER_DSC, const lv_color_filter_dsc_t *, ptr)
LV_OBJ_STYLE_ACCESSORS(color_filter_opa, COLOR_FILTER_OPA, lv_opa_t, num)
LV_OBJ_STYLE_ACCESSORS(anim_time, ANIM_TIME, uint32_t, num)
LV_OBJ_STYLE_ACCESSORS(anim_speed, ANIM_SPEED, uint32_t, num)
LV_OBJ_STYLE_ACCESSORS(transition, TRANSITION, const lv_style_transition_dsc_t *, ptr)
#undef LV_OBJ_STYLE_ACCESSORS
#undef LV_OBJ_STYLE_ACCESSORS_COLOR
void lv_obj_set_style_pad_all(lv_obj_t * obj, lv_coord_t value, lv_style_selector_t selector);
void lv_obj_set_style_pad_hor(lv_obj_t * obj, lv_coord_t value, lv_style_selector_t selector);
void lv_obj_set_style_pad_ver(lv_obj_t * obj, lv_coord_t value, lv_style_selector_t selector);
void lv_obj_set_style_size(lv_obj_t * obj, lv_coord_t value, lv_style_selector_t selector);
/** The background colour after the part's colour filter (as drawn). */
lv_color_t lv_obj_get_style_bg_color_filtered(const lv_obj_t * obj, uint32_t part);
lv_color_t lv_obj_get_style_text_color_filtered(const lv_obj_t * obj, uint32_t part);
lv_opa_t lv_obj_get_style_opa_recursive(const lv_obj_t * obj, lv_part_t part);

/*=====================================================================
 * Display
 *====================================================================*/
typedef struct _lv_disp_draw_buf_t {
    void * buf1;
    void * buf2;
    void * buf_act;
    uint32_t size; /**< in pixels */
    volatile int flushing;
    volatile int flushing_last;
    volatile uint32_t last_area : 1;
    volatile uint32_t last_part : 1;
} lv_disp_draw_buf_t;

typedef enum {
    LV_DISP_ROT_NONE = 0,
    LV_DISP_ROT_90,
    LV_DISP_ROT_180,
    LV_DISP_ROT_270
} lv_disp_rot_t;

typedef struct _lv_disp_drv_t {
    lv_coord_t hor_res;
    lv_coord_t ver_res;
    lv_coord_t physical_hor_res;
    lv_coord_t physical_ver_res;
    lv_coord_t offset_x;
    lv_coord_t offset_y;
    lv_disp_draw_buf_t * draw_buf;
    uint32_t direct_mode : 1;
    uint32_t full_refresh : 1;
    uint32_t sw_rotate : 1;
    uint32_t antialiasing : 1;
    uint32_t rotated : 2;
    uint32_t screen_transp : 1;
    uint32_t dpi : 10;
    void (*flush_cb)(struct _lv_disp_drv_t * disp_drv, const lv_area_t * area, lv_color_t * color_p);
    void (*rounder_cb)(struct _lv_disp_drv_t * disp_drv, lv_area_t * area);
    void (*clear_cb)(struct _lv_disp_drv_t * disp_drv, uint8_t * buf, uint32_t size);
    void (*monitor_cb)(struct _lv_disp_drv_t * disp_drv, uint32_t time, uint32_t px);
    void (*wait_cb)(struct _lv_disp_drv_t * disp_drv);
    void (*clean_dcache_cb)(struct _lv_disp_drv_t * disp_drv);
    void (*drv_update_cb)(struct _lv_disp_drv_t * disp_drv);
    void (*render_start_cb)(struct _lv_disp_drv_t * disp_drv);
    lv_color_t color_chroma_key;
    void * user_data;
} lv_disp_drv_t;

#define LV_INV_BUF_SIZE 32

typedef struct _lv_disp_t {
    struct _lv_disp_drv_t * driver;
    lv_timer_t * refr_timer;
    struct _lv_theme_t * theme;
    struct _lv_obj_t ** screens;
    struct _lv_obj_t * act_scr;
    struct _lv_obj_t * prev_scr;     /**< the screen being left during a screen-load animation */
    struct _lv_obj_t * scr_to_load;  /**< the screen being loaded during a screen-load animation */
    struct _lv_obj_t * top_layer;
    struct _lv_obj_t * sys_layer;
    uint32_t screen_cnt;
    uint8_t draw_prev_over_act : 1;
    uint8_t del_prev : 1;
    uint8_t rendering_in_progress : 1;
    lv_opa_t bg_opa;
    lv_color_t bg_color;
    const void * bg_img;
    lv_area_t inv_areas[LV_INV_BUF_SIZE];
    uint8_t inv_area_joined[LV_INV_BUF_SIZE];
    uint16_t inv_p;
    uint32_t last_activity_time;
} lv_disp_t;

typedef enum {
    LV_SCR_LOAD_ANIM_NONE,
    LV_SCR_LOAD_ANIM_OVER_LEFT,
    LV_SCR_LOAD_ANIM_OVER_RIGHT,
    LV_SCR_LOAD_ANIM_OVER_TOP,
    LV_SCR_LOAD_ANIM_OVER_BOTTOM,
    LV_SCR_LOAD_ANIM_MOVE_LEFT,
    LV_SCR_LOAD_ANIM_MOVE_RIGHT,
    LV_SCR_LOAD_ANIM_MOVE_TOP,
    LV_SCR_LOAD_ANIM_MOVE_BOTTOM,
    LV_SCR_LOAD_ANIM_FADE_IN,
    LV_SCR_LOAD_ANIM_FADE_ON = LV_SCR_LOAD_ANIM_FADE_IN,
    LV_SCR_LOAD_ANIM_FADE_OUT,
    LV_SCR_LOAD_ANIM_OUT_LEFT,
    LV_SCR_LOAD_ANIM_OUT_RIGHT,
    LV_SCR_LOAD_ANIM_OUT_TOP,
    LV_SCR_LOAD_ANIM_OUT_BOTTOM,
} lv_scr_load_anim_t;

void lv_disp_drv_init(lv_disp_drv_t * driver);
void lv_disp_draw_buf_init(lv_disp_draw_buf_t * draw_buf, void * buf1, void * buf2, uint32_t size_in_px_cnt);
lv_disp_t * lv_disp_drv_register(lv_disp_drv_t * driver);
void lv_disp_drv_update(lv_disp_t * disp, lv_disp_drv_t * new_drv);
void lv_disp_remove(lv_disp_t * disp);
void lv_disp_set_default(lv_disp_t * disp);
lv_disp_t * lv_disp_get_default(void);
lv_disp_t * lv_disp_get_next(lv_disp_t * disp);
lv_coord_t lv_disp_get_hor_res(lv_disp_t * disp);
lv_coord_t lv_disp_get_ver_res(lv_disp_t * disp);
lv_coord_t lv_disp_get_dpi(const lv_disp_t * disp);
lv_disp_draw_buf_t * lv_disp_get_draw_buf(lv_disp_t * disp);
/** Call from flush_cb (or later) when the flushed buffer may be reused. */
void lv_disp_flush_ready(lv_disp_drv_t * disp_drv);
bool lv_disp_flush_is_last(lv_disp_drv_t * disp_drv);
lv_coord_t lv_disp_dpx(const lv_disp_t * disp, lv_coord_t n);
#define LV_DPX(n) lv_disp_dpx(NULL, n)

lv_obj_t * lv_disp_get_scr_act(lv_disp_t * disp);
lv_obj_t * lv_disp_get_scr_prev(lv_disp_t * disp);
lv_obj_t * lv_disp_get_layer_top(lv_disp_t * disp);
lv_obj_t * lv_disp_get_layer_sys(lv_disp_t * disp);
/** Make `scr` active at once and send it LV_EVENT_SCREEN_LOADED. */
void lv_disp_load_scr(lv_obj_t * scr);
void lv_scr_load_anim(lv_obj_t * scr, lv_scr_load_anim_t anim_type, uint32_t time, uint32_t delay, bool auto_del);
void lv_disp_set_bg_color(lv_disp_t * disp, lv_color_t color);
void lv_disp_set_bg_opa(lv_disp_t * disp, lv_opa_t opa);
uint32_t lv_disp_get_inactive_time(const lv_disp_t * disp);
void lv_disp_trig_activity(lv_disp_t * disp);
static inline lv_obj_t * lv_scr_act(void) { return lv_disp_get_scr_act(lv_disp_get_default()); }
static inline lv_obj_t * lv_layer_top(void) { return lv_disp_get_layer_top(lv_disp_get_default()); }
static inline lv_obj_t * lv_layer_sys(void) { return lv_disp_get_layer_sys(lv_disp_get_default()); }
static inline void lv_scr_load(lv_obj_t * scr) { lv_disp_load_scr(scr); }

/** Redraw every invalidated area of `disp` (NULL: all displays) now. */
void lv_refr_now(lv_disp_t * disp);
void _lv_disp_refr_timer(lv_timer_t * timer);
void _lv_inv_area(lv_disp_t * disp, const lv_area_t * area_p);

/*=====================================================================
 * Input devices
 *====================================================================*/
typedef enum {
    LV_INDEV_TYPE_NONE,
    LV_INDEV_TYPE_POINTER,
    LV_INDEV_TYPE_KEYPAD,
    LV_INDEV_TYPE_BUTTON,
    LV_INDEV_TYPE_ENCODER,
} lv_indev_type_t;

typedef enum { LV_INDEV_STATE_RELEASED = 0, LV_INDEV_STATE_PRESSED } lv_indev_state_t;

typedef struct {
    lv_point_t point;
    uint32_t key;
    uint32_t btn_id;
    int16_t enc_diff;
    lv_indev_state_t state;
    bool continue_reading;
} lv_indev_data_t;

typedef struct _lv_indev_drv_t {
    lv_indev_type_t type;
    void (*read_cb)(struct _lv_indev_drv_t * indev_drv, lv_indev_data_t * data);
    void (*feedback_cb)(struct _lv_indev_drv_t *, uint8_t);
    void * user_data;
    struct _lv_disp_t * disp;
    lv_timer_t * read_timer; /**< resume it when new input arrives (the core pauses it while idle) */
    uint8_t scroll_limit;
    uint8_t scroll_throw;
    uint8_t gesture_min_velocity;
    uint8_t gesture_limit;
    uint16_t long_press_time;
    uint16_t long_press_repeat_time;
} lv_indev_drv_t;

struct _lv_indev_proc_t;
typedef struct _lv_indev_t {
    struct _lv_indev_drv_t * driver;
    struct _lv_indev_proc_t * proc; /**< core-private processing state */
} lv_indev_t;

void lv_indev_drv_init(lv_indev_drv_t * driver);
lv_indev_t * lv_indev_drv_register(lv_indev_drv_t * driver);
void lv_indev_drv_update(lv_indev_t * indev, lv_indev_drv_t * new_drv);
void lv_indev_delete(lv_indev_t * indev);
lv_indev_t * lv_indev_get_next(lv_indev_t * indev);
/** Read the device now (what its read timer does). */
void lv_indev_read_timer_cb(lv_timer_t * timer);
lv_indev_t * lv_indev_get_act(void);
lv_indev_type_t lv_indev_get_type(const lv_indev_t * indev);
void lv_indev_reset(lv_indev_t * indev, lv_obj_t * obj);
void lv_indev_get_point(const lv_indev_t * indev, lv_point_t * point);
void lv_indev_get_vect(const lv_indev_t * indev, lv_point_t * point);
lv_obj_t * lv_indev_get_obj_act(void);
void lv_indev_wait_release(lv_indev_t * indev);
lv_timer_t * lv_indev_get_read_timer(lv_indev_t * indev);
lv_obj_t * lv_indev_search_obj(lv_obj_t * obj, lv_point_t * point);

/*=====================================================================
 * Theme
 *====================================================================*/
struct _lv_theme_t;
typedef void (*lv_theme_apply_cb_t)(struct _lv_theme_t *, lv_obj_t *);
typedef struct _lv_theme_t {
    lv_theme_apply_cb_t apply_cb;
    struct _lv_theme_t * parent;
    void * user_data;
    struct _lv_disp_t * disp;
    lv_color_t color_primary;
    lv_color_t color_secondary;
    const lv_font_t * font_small;
    const lv_font_t * font_normal;
    const lv_font_t * font_large;
    uint32_t flags;
} lv_theme_t;
lv_theme_t * lv_theme_default_init(lv_disp_t * disp, lv_color_t color_primary, lv_color_t color_secondary, bool dark,
                                   const lv_font_t * font);
lv_theme_t * lv_theme_default_get(void);
bool lv_theme_default_is_inited(void);
lv_theme_t * lv_theme_get_from_obj(lv_obj_t * obj);
void lv_theme_apply(lv_obj_t * obj);
void lv_disp_set_theme(lv_disp_t * disp, lv_theme_t * th);
lv_theme_t * lv_disp_get_theme(lv_disp_t * disp);
lv_color_t lv_theme_get_color_primary(lv_obj_t * obj);
lv_color_t lv_theme_get_color_secondary(lv_obj_t * obj);
const lv_font_t * lv_theme_get_font_normal(lv_obj_t * obj);

/*=====================================================================
 * Widgets
 *====================================================================*/
/* button */
lv_obj_t * lv_btn_create(lv_obj_t * parent);

/* label */
enum {
    LV_LABEL_LONG_WRAP,
    LV_LABEL_LONG_DOT,
    LV_LABEL_LONG_SCROLL,
    LV_LABEL_LONG_SCROLL_CIRCULAR,
    LV_LABEL_LONG_CLIP,
};
typedef uint8_t lv_label_long_mode_t;
#define LV_LABEL_POS_LAST 0xFFFF
lv_obj_t * lv_label_create(lv_obj_t * parent);
/** Copies the text; NULL refreshes the current one. */
void lv_label_set_text(lv_obj_t * obj, const char * text);
void lv_label_set_text_fmt(lv_obj_t * obj, const char * fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;
/** Keeps only the pointer: the text must stay alive. */
void lv_label_set_text_static(lv_obj_t * obj, const char * text);
void lv_label_set_long_mode(lv_obj_t * obj, lv_label_long_mode_t long_mode);
char * lv_label_get_text(const lv_obj_t * obj);
lv_label_long_mode_t lv_label_get_long_mode(const lv_obj_t * obj);
void lv_label_get_letter_pos(const lv_obj_t * obj, uint32_t char_id, lv_point_t * pos);

/* text measuring */
typedef enum {
    LV_TEXT_FLAG_NONE = 0x00,
    LV_TEXT_FLAG_RECOLOR = 0x01,
    LV_TEXT_FLAG_EXPAND = 0x02,
    LV_TEXT_FLAG_FIT = 0x04,
} _lv_text_flag_t;
typedef uint8_t lv_text_flag_t;
void lv_txt_get_size(lv_point_t * size_res, const char * text, const lv_font_t * font, lv_coord_t letter_space,
                     lv_coord_t line_space, lv_coord_t max_width, lv_text_flag_t flag);

/* image */
typedef enum {
    LV_IMG_SIZE_MODE_VIRTUAL = 0,
    LV_IMG_SIZE_MODE_REAL,
} lv_img_size_mode_t;
typedef enum {
    LV_IMG_SRC_VARIABLE,
    LV_IMG_SRC_FILE,
    LV_IMG_SRC_SYMBOL,
    LV_IMG_SRC_UNKNOWN,
} lv_img_src_t;
lv_obj_t * lv_img_create(lv_obj_t * parent);
/** Only the descriptor's address is kept: it must outlive the image. */
void lv_img_set_src(lv_obj_t * obj, const void * src);
void lv_img_set_offset_x(lv_obj_t * obj, lv_coord_t x);
void lv_img_set_offset_y(lv_obj_t * obj, lv_coord_t y);
void lv_img_set_angle(lv_obj_t * obj, int16_t angle);
void lv_img_set_pivot(lv_obj_t * obj, lv_coord_t x, lv_coord_t y);
void lv_img_set_zoom(lv_obj_t * obj, uint16_t zoom);
void lv_img_set_antialias(lv_obj_t * obj, bool antialias);
const void * lv_img_get_src(lv_obj_t * obj);
uint16_t lv_img_get_angle(lv_obj_t * obj);
void lv_img_get_pivot(lv_obj_t * obj, lv_point_t * pivot);
uint16_t lv_img_get_zoom(lv_obj_t * obj);
lv_img_src_t lv_img_src_get_type(const void * src);

/* line */
lv_obj_t * lv_line_create(lv_obj_t * parent);
/** Only the pointer is kept: the array must outlive the line. */
void lv_line_set_points(lv_obj_t * obj, const lv_point_t points[], uint16_t point_num);
void lv_line_set_y_invert(lv_obj_t * obj, bool en);

/* animated image */
lv_obj_t * lv_animimg_create(lv_obj_t * parent);
/** Only the array's address is kept. */
void lv_animimg_set_src(lv_obj_t * img, const void * dsc[], uint8_t num);
void lv_animimg_start(lv_obj_t * obj);
void lv_animimg_set_duration(lv_obj_t * img, uint32_t duration);
void lv_animimg_set_repeat_count(lv_obj_t * img, uint16_t count);

/* roller */
typedef enum {
    LV_ROLLER_MODE_NORMAL,
    LV_ROLLER_MODE_INFINITE,
} lv_roller_mode_t;
lv_obj_t * lv_roller_create(lv_obj_t * parent);
/** Options separated by '\n'; the text is copied. */
void lv_roller_set_options(lv_obj_t * obj, const char * options, lv_roller_mode_t mode);
void lv_roller_set_selected(lv_obj_t * obj, uint16_t sel_opt, lv_anim_enable_t anim);
/** Sets the height from the styles in effect now: rows x (line height + line space) + 2 x border. */
void lv_roller_set_visible_row_count(lv_obj_t * obj, uint8_t row_cnt);
uint16_t lv_roller_get_selected(const lv_obj_t * obj);
void lv_roller_get_selected_str(const lv_obj_t * obj, char * buf, uint32_t buf_size);
const char * lv_roller_get_options(const lv_obj_t * obj);
uint16_t lv_roller_get_option_cnt(const lv_obj_t * obj);

/* bar / slider */
typedef enum {
    LV_BAR_MODE_NORMAL,
    LV_BAR_MODE_SYMMETRICAL,
    LV_BAR_MODE_RANGE
} lv_bar_mode_t;
typedef enum {
    LV_SLIDER_MODE_NORMAL = LV_BAR_MODE_NORMAL,
    LV_SLIDER_MODE_SYMMETRICAL = LV_BAR_MODE_SYMMETRICAL,
    LV_SLIDER_MODE_RANGE = LV_BAR_MODE_RANGE
} lv_slider_mode_t;
lv_obj_t * lv_slider_create(lv_obj_t * parent);
void lv_slider_set_value(lv_obj_t * obj, int32_t value, lv_anim_enable_t anim);
void lv_slider_set_range(lv_obj_t * obj, int32_t min, int32_t max);
int32_t lv_slider_get_value(const lv_obj_t * obj);
int32_t lv_slider_get_min_value(const lv_obj_t * obj);
int32_t lv_slider_get_max_value(const lv_obj_t * obj);
bool lv_slider_is_dragged(const lv_obj_t * obj);

/* class descriptors, for lv_obj_check_type */
struct _lv_obj_class_t;
extern const struct _lv_obj_class_t lv_obj_class;
extern const struct _lv_obj_class_t lv_btn_class;
extern const struct _lv_obj_class_t lv_label_class;
extern const struct _lv_obj_class_t lv_img_class;
extern const struct _lv_obj_class_t lv_line_class;
extern const struct _lv_obj_class_t lv_animimg_class;
extern const struct _lv_obj_class_t lv_roller_class;
extern const struct _lv_obj_class_t lv_slider_class;

/* symbols of the built-in font (a few; the application uses none) */
#define LV_SYMBOL_OK "\xEF\x80\x8C"
#define LV_SYMBOL_CLOSE "\xEF\x80\x8D"
#define LV_SYMBOL_SETTINGS "\xEF\x80\x93"
#define LV_SYMBOL_USB "\xEF\x8a\x87"

#ifdef __cplusplus
}
#endif

#endif /* LVGL_H */
