/**
 * @file lv_core_private.h
 * Glue between the core's own modules (C++ only, not for widgets).
 */
#ifndef LV_CORE_PRIVATE_H
#define LV_CORE_PRIVATE_H

#include "lv_obj_private.h"

#ifndef __cplusplus
#error "lv_core_private.h is C++ only"
#endif

/* memory pool */
void _lv_mem_init();
void _lv_mem_deinit();

/* timers */
void _lv_timer_core_init();
void _lv_timer_core_deinit();
/** One-shot callback on the next lv_timer_handler pass. */
void lv_async_call(void (*cb)(void *), void * user_data);

/* animations */
void _lv_anim_core_init();
void _lv_anim_core_deinit();

/* style properties */
lv_style_value_t lv_style_prop_get_default(lv_style_prop_t prop);
bool _lv_style_prop_inherits(lv_style_prop_t prop);
bool _lv_style_prop_affects_layout(lv_style_prop_t prop);
bool _lv_style_prop_affects_ext_draw(lv_style_prop_t prop);

/* object styles */
void _lv_obj_style_core_init();
void _lv_obj_style_core_deinit();
/** Start the transitions the new state asks for (called before obj->state changes). */
void _lv_obj_style_create_transitions(lv_obj_t * obj, lv_state_t prev_state, lv_state_t new_state);
/** Free every style of a deleted object and stop its transitions. */
void _lv_obj_style_destroy(lv_obj_t * obj);

/* events */
void _lv_event_mark_deleted(lv_obj_t * obj);

/* object tree */
bool _lv_obj_is_screen(const lv_obj_t * obj);
/** Width/height default of the object's class chain. */
lv_coord_t _lv_obj_class_width_def(const lv_obj_t * obj);
lv_coord_t _lv_obj_class_height_def(const lv_obj_t * obj);

/* layout */
void _lv_obj_layout_screen(lv_obj_t * scr);

/* display */
void _lv_disp_add_screen(lv_disp_t * disp, lv_obj_t * scr);
void _lv_disp_remove_screen(lv_obj_t * scr);
void _lv_disp_core_deinit();
/** Screens whose objects may be visible now: active, previous (during a load), top and system layers. */
bool _lv_disp_screen_is_shown(lv_disp_t * disp, const lv_obj_t * scr);

/* refresh */
void _lv_refr_core_init();
/** The object's box as its background is drawn: grown (or shrunk) by its transform width and height. */
lv_area_t _lv_obj_get_transformed_coords(const lv_obj_t * obj);

/* input */
void _lv_indev_obj_deleted(lv_obj_t * obj);
void _lv_indev_core_deinit();

/* theme */
void _lv_theme_default_deinit();

#endif
