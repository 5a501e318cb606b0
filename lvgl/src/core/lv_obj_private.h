/**
 * @file lv_obj_private.h
 * Object internals for widget implementations (LVGL 8.3 widget-class style).
 *
 * A widget is a struct whose first member is `lv_obj_t obj`, described by an
 * lv_obj_class_t. Creating one:
 *
 *     lv_obj_t * lv_foo_create(lv_obj_t * parent) {
 *         lv_obj_t * obj = lv_obj_class_create_obj(&lv_foo_class, parent);
 *         lv_obj_class_init_obj(obj);
 *         return obj;
 *     }
 *
 * lv_obj_class_create_obj allocates class_p->instance_size zeroed bytes from
 * the pool (aborting with a message when the pool is exhausted, so it never
 * returns NULL) and links the object into the tree; lv_obj_class_init_obj
 * applies the theme, runs the constructors (base class first), refreshes the
 * styles and self size and tells the parent (CHILD_CHANGED, CHILD_CREATED).
 * Deleting runs the destructors (most derived first) after LV_EVENT_DELETE.
 *
 * Event handler of a class (the class's event_cb), LVGL's pattern:
 *
 *     static void lv_foo_event(const lv_obj_class_t * class_p, lv_event_t * e) {
 *         LV_UNUSED(class_p);
 *         if(lv_obj_event_base(&lv_foo_class, e) != LV_RES_OK) return;  // base classes first
 *         ...
 *     }
 *
 * Event order for one lv_event_send: the class handler chain, then the
 * user callbacks in the order they were added, then bubbling to the parent
 * when LV_OBJ_FLAG_EVENT_BUBBLE is set. If the object is deleted meanwhile,
 * lv_event_send returns LV_RES_INV.
 *
 * Event parameters:
 *   PRESSED, PRESSING, PRESS_LOST, SHORT_CLICKED, LONG_PRESSED(_REPEAT), CLICKED, RELEASED:
 *                          lv_indev_t * (also lv_indev_get_act() during the read)
 *   DRAW_MAIN(_BEGIN/_END), DRAW_POST(_BEGIN/_END): lv_draw_ctx_t * (lv_event_get_draw_ctx);
 *                          clip_area is already the object's visible area; a handler may point
 *                          it at a smaller area temporarily but must restore it
 *   REFR_EXT_DRAW_SIZE:    lv_coord_t * ; raise it with lv_event_set_ext_draw_size
 *   GET_SELF_SIZE:         lv_point_t * ; raise x/y to the content's size (used by LV_SIZE_CONTENT)
 *   HIT_TEST:              lv_hit_test_info_t * (only with LV_OBJ_FLAG_ADV_HITTEST)
 *   CHILD_CHANGED, CHILD_CREATED: the child
 *
 * Input: a pointer press on an object adds LV_STATE_PRESSED and sends PRESSED;
 * PRESSING follows on every read. A drag of more than scroll_limit (10 px)
 * from the press point starts a (virtual) scroll when the pressed object is
 * SCROLLABLE or chained (LV_OBJ_FLAG_SCROLL_CHAIN) to a scrollable ancestor,
 * as LVGL does: the object gets PRESS_LOST and no click. Widgets that handle
 * drags themselves (slider, roller) clear LV_OBJ_FLAG_SCROLLABLE and
 * LV_OBJ_FLAG_SCROLL_CHAIN in their constructor. Nothing ever scrolls.
 *
 * Layout: positions and sizes come from the style properties (x, y, align,
 * width, height, min/max); coords are absolute and valid after
 * lv_obj_update_layout (the refresh does it before drawing). Call
 * lv_obj_refresh_self_size when the content size of a widget changes.
 */
#ifndef LV_OBJ_PRIVATE_H
#define LV_OBJ_PRIVATE_H

#include "../../lvgl.h"
#include "../draw/lv_draw.h"

#ifdef __cplusplus
extern "C" {
#endif

/*=====================================================================
 * Classes
 *====================================================================*/
typedef enum {
    LV_OBJ_CLASS_EDITABLE_INHERIT,
    LV_OBJ_CLASS_EDITABLE_TRUE,
    LV_OBJ_CLASS_EDITABLE_FALSE,
} lv_obj_class_editable_t;

typedef enum {
    LV_OBJ_CLASS_GROUP_DEF_INHERIT,
    LV_OBJ_CLASS_GROUP_DEF_TRUE,
    LV_OBJ_CLASS_GROUP_DEF_FALSE,
} lv_obj_class_group_def_t;

/** Field order matters for designated initialisers in C++: keep this order. */
struct _lv_obj_class_t {
    const struct _lv_obj_class_t * base_class;
    void (*constructor_cb)(const struct _lv_obj_class_t * class_p, struct _lv_obj_t * obj);
    void (*destructor_cb)(const struct _lv_obj_class_t * class_p, struct _lv_obj_t * obj);
    void * user_data;
    void (*event_cb)(const struct _lv_obj_class_t * class_p, struct _lv_event_t * e);
    lv_coord_t width_def;  /**< 0: inherit from the base class; LV_SIZE_CONTENT allowed */
    lv_coord_t height_def;
    uint32_t editable : 2;
    uint32_t group_def : 2;
    uint32_t instance_size : 16;
};

/** Allocate and link an object of `class_p` (not constructed yet). Never NULL. */
lv_obj_t * lv_obj_class_create_obj(const lv_obj_class_t * class_p, lv_obj_t * parent);
/** Theme, constructors, style and size refresh, parent notification. */
void lv_obj_class_init_obj(lv_obj_t * obj);
/** Run the event handler of the nearest base class of `class_p` that has one
 *  (class_p NULL: the object's own class). LV_RES_INV if the object was deleted. */
lv_res_t lv_obj_event_base(const lv_obj_class_t * class_p, lv_event_t * e);

/*=====================================================================
 * Objects
 *====================================================================*/
typedef struct {
    lv_style_t * style;
    uint32_t selector : 24;
    uint32_t is_local : 1; /**< the object's own style for this selector (pool-allocated) */
    uint32_t is_trans : 1; /**< holds the running transition values of a part */
} _lv_obj_style_t;

struct _lv_event_dsc_t {
    lv_event_cb_t cb;
    void * user_data;
    uint32_t filter; /**< an lv_event_code_t, possibly | LV_EVENT_PREPROCESS */
};

struct _lv_obj_t {
    const lv_obj_class_t * class_p;
    struct _lv_obj_t * parent;
    struct _lv_obj_t ** children; /**< pool array in creation (= drawing) order */
    uint32_t child_cnt;
    struct _lv_event_dsc_t * event_dsc; /**< pool array, in the order added */
    uint32_t event_dsc_cnt;
    _lv_obj_style_t * styles; /**< transition styles, then local styles, then added styles newest first */
    uint32_t style_cnt;
    void * user_data;
    struct _lv_disp_t * disp; /**< set on screens only */
    lv_area_t coords;          /**< absolute, inclusive */
    lv_obj_flag_t flags;
    lv_state_t state;
    lv_coord_t ext_draw_size;  /**< how far drawing reaches outside coords (shadow, transform, ...) */
    uint16_t scrollbar_mode : 2;
    uint16_t layout_inv : 1;     /**< this object's position/size must be recomputed */
    uint16_t scr_layout_inv : 1; /**< screens: something below needs a layout pass */
    uint16_t skip_trans : 1;     /**< style lookups ignore transition styles */
    uint16_t being_deleted : 1;
};

/*=====================================================================
 * Events
 *====================================================================*/
struct _lv_event_t {
    struct _lv_obj_t * target;
    struct _lv_obj_t * current_target;
    lv_event_code_t code;
    void * user_data;
    void * param;
    struct _lv_event_t * prev; /**< the event being processed when this one was sent */
    uint8_t deleted : 1;
    uint8_t stop_processing : 1;
    uint8_t stop_bubbling : 1;
};

typedef struct {
    const lv_point_t * point;
    bool res; /**< set to false if the point does not hit the object */
} lv_hit_test_info_t;

lv_draw_ctx_t * lv_event_get_draw_ctx(lv_event_t * e);
/** In LV_EVENT_REFR_EXT_DRAW_SIZE: make the extra drawing area at least `size`. */
void lv_event_set_ext_draw_size(lv_event_t * e, lv_coord_t size);
lv_hit_test_info_t * lv_event_get_hit_test_info(lv_event_t * e);

/*=====================================================================
 * Drawing helpers (part- and state-aware; apply opa and the colour filter)
 *
 * As in LVGL, a dsc field preset to LV_OPA_TRANSP before the call
 * (bg_opa, border_opa, shadow_opa, outline_opa, bg_img_opa; opa for label,
 * img, line) means "leave that feature out": its properties are not loaded.
 *====================================================================*/
void lv_obj_init_draw_rect_dsc(lv_obj_t * obj, uint32_t part, lv_draw_rect_dsc_t * draw_dsc);
void lv_obj_init_draw_label_dsc(lv_obj_t * obj, uint32_t part, lv_draw_label_dsc_t * draw_dsc);
void lv_obj_init_draw_img_dsc(lv_obj_t * obj, uint32_t part, lv_draw_img_dsc_t * draw_dsc);
void lv_obj_init_draw_line_dsc(lv_obj_t * obj, uint32_t part, lv_draw_line_dsc_t * draw_dsc);
/** Extra size a part needs around its area (shadow, outline, transform width/height). */
lv_coord_t lv_obj_calculate_ext_draw_size(lv_obj_t * obj, uint32_t part);
/** Recompute ext_draw_size (sends LV_EVENT_REFR_EXT_DRAW_SIZE), invalidating old and new areas. */
void lv_obj_refresh_ext_draw_size(lv_obj_t * obj);
lv_coord_t _lv_obj_get_ext_draw_size(const lv_obj_t * obj);
/** `c` after the part's colour filter (if any). */
lv_color_t lv_obj_apply_color_filter(const lv_obj_t * obj, uint32_t part, lv_color_t c);

/*=====================================================================
 * Layout and invalidation
 *====================================================================*/
void lv_obj_mark_layout_as_dirty(lv_obj_t * obj);
/** Invalidate, send LV_EVENT_STYLE_CHANGED and relayout as the property needs. */
/* (lv_obj_refresh_style is public) */
void lv_obj_enable_style_refresh(bool en);
/** The area the object covers when drawn: coords grown by ext_draw_size. */
void lv_obj_get_draw_area(const lv_obj_t * obj, lv_area_t * area);

/*=====================================================================
 * Memory
 *====================================================================*/
/** lv_mem_alloc/realloc that abort with a clear message instead of returning NULL. */
void * lv_mem_alloc_checked(size_t size);
void * lv_mem_realloc_checked(void * p, size_t size);
#define LV_ASSERT_MALLOC(p) do { if((p) == NULL) _lv_mem_fail(__FILE__, __LINE__); } while(0)
void _lv_mem_fail(const char * file, int line);

/*=====================================================================
 * Widget instances that other widgets build on
 *====================================================================*/
typedef struct {
    lv_obj_t obj;
} lv_btn_t;

typedef struct {
    lv_obj_t obj;
    char * text;             /**< pool copy, or the caller's text when static_txt */
    lv_label_long_mode_t long_mode;
    uint8_t static_txt : 1;
    uint8_t recolor : 1;
    uint8_t expand : 1;
} lv_label_t;

typedef struct {
    lv_obj_t obj;
    const void * src;   /**< an lv_img_dsc_t (only LV_IMG_SRC_VARIABLE is drawn) */
    lv_point_t offset;
    lv_coord_t w;       /**< the source's size */
    lv_coord_t h;
    uint16_t angle;
    lv_point_t pivot;
    uint16_t zoom;
    uint8_t src_type : 2;
    uint8_t cf : 5;
    uint8_t antialias : 1;
} lv_img_t;

typedef struct {
    lv_obj_t obj;
    const lv_point_t * point_array;
    uint16_t point_num;
    uint8_t y_inv : 1;
} lv_line_t;

#ifdef __cplusplus
}
#endif

#endif
