// Line: a polyline through the caller's points (kept by pointer), relative
// to the object's top-left corner.
#include "../core/lv_obj_private.h"

namespace {

lv_line_t * as_line(const lv_obj_t * obj) { return reinterpret_cast<lv_line_t *>(const_cast<lv_obj_t *>(obj)); }

void line_constructor(const lv_obj_class_t *, lv_obj_t * obj)
{
    lv_line_t * l = as_line(obj);
    l->point_array = nullptr;
    l->point_num = 0;
    l->y_inv = 0;
    lv_obj_clear_flag(obj, LV_OBJ_FLAG_CLICKABLE);
}

void draw_line(lv_obj_t * obj, lv_draw_ctx_t * ctx)
{
    lv_line_t * l = as_line(obj);
    if(l->point_array == nullptr || l->point_num < 2) return;
    lv_draw_line_dsc_t d;
    lv_draw_line_dsc_init(&d);
    lv_obj_init_draw_line_dsc(obj, LV_PART_MAIN, &d);
    if(d.opa <= LV_OPA_MIN || d.width <= 0) return;
    const lv_coord_t h = lv_obj_get_height(obj);
    for(uint16_t i = 0; i + 1 < l->point_num; i++) {
        lv_point_t p1 = l->point_array[i];
        lv_point_t p2 = l->point_array[i + 1];
        if(l->y_inv) {
            p1.y = static_cast<lv_coord_t>(h - p1.y);
            p2.y = static_cast<lv_coord_t>(h - p2.y);
        }
        p1.x = static_cast<lv_coord_t>(p1.x + obj->coords.x1);
        p1.y = static_cast<lv_coord_t>(p1.y + obj->coords.y1);
        p2.x = static_cast<lv_coord_t>(p2.x + obj->coords.x1);
        p2.y = static_cast<lv_coord_t>(p2.y + obj->coords.y1);
        lv_draw_line(ctx, &d, &p1, &p2);
    }
}

void line_event(const lv_obj_class_t *, lv_event_t * e)
{
    if(lv_obj_event_base(&lv_line_class, e) != LV_RES_OK) return;
    lv_obj_t * obj = lv_event_get_current_target(e);
    lv_line_t * l = as_line(obj);
    switch(lv_event_get_code(e)) {
        case LV_EVENT_REFR_EXT_DRAW_SIZE:
            // A thick line is centred on its points and may have round ends.
            lv_event_set_ext_draw_size(e, lv_obj_get_style_line_width(obj, LV_PART_MAIN));
            break;
        case LV_EVENT_GET_SELF_SIZE: {
            lv_point_t * p = lv_event_get_self_size_info(e);
            lv_coord_t w = 0;
            lv_coord_t h = 0;
            for(uint16_t i = 0; i < l->point_num; i++) {
                if(l->point_array[i].x > w) w = l->point_array[i].x;
                if(l->point_array[i].y > h) h = l->point_array[i].y;
            }
            if(p->x < w) p->x = w;
            if(p->y < h) p->y = h;
            break;
        }
        case LV_EVENT_DRAW_MAIN:
            draw_line(obj, lv_event_get_draw_ctx(e));
            break;
        default:
            break;
    }
}

} // namespace

const lv_obj_class_t lv_line_class = {
    .base_class = &lv_obj_class,
    .constructor_cb = line_constructor,
    .destructor_cb = nullptr,
    .user_data = nullptr,
    .event_cb = line_event,
    .width_def = LV_SIZE_CONTENT,
    .height_def = LV_SIZE_CONTENT,
    .editable = LV_OBJ_CLASS_EDITABLE_INHERIT,
    .group_def = LV_OBJ_CLASS_GROUP_DEF_INHERIT,
    .instance_size = sizeof(lv_line_t),
};

lv_obj_t * lv_line_create(lv_obj_t * parent)
{
    lv_obj_t * obj = lv_obj_class_create_obj(&lv_line_class, parent);
    lv_obj_class_init_obj(obj);
    return obj;
}

void lv_line_set_points(lv_obj_t * obj, const lv_point_t points[], uint16_t point_num)
{
    lv_line_t * l = as_line(obj);
    lv_obj_invalidate(obj);
    l->point_array = points;
    l->point_num = point_num;
    lv_obj_refresh_self_size(obj);
    lv_obj_invalidate(obj);
}

void lv_line_set_y_invert(lv_obj_t * obj, bool en)
{
    as_line(obj)->y_inv = en;
    lv_obj_invalidate(obj);
}
