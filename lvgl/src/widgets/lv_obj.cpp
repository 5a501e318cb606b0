// The base object: a styled rectangle that can hold children.
#include "../core/lv_core_private.h"

#include <algorithm>

namespace {

void obj_constructor(const lv_obj_class_t *, lv_obj_t * obj)
{
    lv_obj_flag_t f = LV_OBJ_FLAG_CLICKABLE | LV_OBJ_FLAG_SNAPPABLE | LV_OBJ_FLAG_CLICK_FOCUSABLE |
                      LV_OBJ_FLAG_SCROLLABLE | LV_OBJ_FLAG_SCROLL_ELASTIC | LV_OBJ_FLAG_SCROLL_MOMENTUM |
                      LV_OBJ_FLAG_SCROLL_WITH_ARROW;
    if(obj->parent)
        f |= LV_OBJ_FLAG_PRESS_LOCK | LV_OBJ_FLAG_SCROLL_CHAIN | LV_OBJ_FLAG_GESTURE_BUBBLE |
             LV_OBJ_FLAG_SCROLL_ON_FOCUS;
    obj->flags |= f;
    obj->scrollbar_mode = LV_SCROLLBAR_MODE_AUTO;
}


void draw_main(lv_obj_t * obj, lv_draw_ctx_t * ctx)
{
    lv_draw_rect_dsc_t d;
    lv_draw_rect_dsc_init(&d);
    // A border drawn after the children is left out here (lv_draw_rect skips it), but its width
    // and opacity still shape the background.
    lv_obj_init_draw_rect_dsc(obj, LV_PART_MAIN, &d);
    d.border_post = lv_obj_get_style_border_post(obj, LV_PART_MAIN) ? 1 : 0;
    const lv_area_t coords = _lv_obj_get_transformed_coords(obj);
    lv_draw_rect(ctx, &d, &coords);
}

// Content extent beyond the visible content box (how far it could scroll).
void content_overflow(lv_obj_t * obj, int32_t * hor, int32_t * ver, int32_t * content_w, int32_t * content_h)
{
    lv_area_t box;
    lv_obj_get_content_coords(obj, &box);
    int32_t x2 = box.x2;
    int32_t y2 = box.y2;
    for(uint32_t i = 0; i < obj->child_cnt; i++) {
        const lv_obj_t * c = obj->children[i];
        if(lv_obj_has_flag_any(c, LV_OBJ_FLAG_HIDDEN | LV_OBJ_FLAG_FLOATING)) continue;
        x2 = std::max<int32_t>(x2, c->coords.x2);
        y2 = std::max<int32_t>(y2, c->coords.y2);
    }
    *hor = x2 - box.x2;
    *ver = y2 - box.y2;
    *content_w = x2 - box.x1 + 1;
    *content_h = y2 - box.y1 + 1;
}

void draw_scrollbars(lv_obj_t * obj, lv_draw_ctx_t * ctx)
{
    const auto mode = static_cast<lv_scrollbar_mode_t>(obj->scrollbar_mode);
    if(mode == LV_SCROLLBAR_MODE_OFF || mode == LV_SCROLLBAR_MODE_ACTIVE) return; // nothing ever scrolls
    int32_t hor, ver, cw, ch;
    content_overflow(obj, &hor, &ver, &cw, &ch);
    const bool show_ver = mode == LV_SCROLLBAR_MODE_ON || ver > 0;
    const bool show_hor = mode == LV_SCROLLBAR_MODE_ON || hor > 0;
    if(!show_ver && !show_hor) return;

    lv_draw_rect_dsc_t d;
    lv_draw_rect_dsc_init(&d);
    lv_obj_init_draw_rect_dsc(obj, LV_PART_SCROLLBAR, &d);
    if(d.bg_opa <= LV_OPA_MIN && d.border_opa <= LV_OPA_MIN && d.shadow_opa <= LV_OPA_MIN) return;

    const lv_coord_t thick = lv_obj_get_style_width(obj, LV_PART_SCROLLBAR);
    const lv_coord_t pt = lv_obj_get_style_pad_top(obj, LV_PART_SCROLLBAR);
    const lv_coord_t pb = lv_obj_get_style_pad_bottom(obj, LV_PART_SCROLLBAR);
    const lv_coord_t pl = lv_obj_get_style_pad_left(obj, LV_PART_SCROLLBAR);
    const lv_coord_t pr = lv_obj_get_style_pad_right(obj, LV_PART_SCROLLBAR);
    const int32_t min_len = lv_disp_dpx(lv_obj_get_disp(obj), 10);
    const lv_area_t & c = obj->coords;

    if(show_ver) {
        const int32_t track = lv_area_get_height(&c) - pt - pb - (show_hor ? thick : 0);
        const int32_t visible = lv_obj_get_content_height(obj);
        const int32_t len = std::max(min_len, ch > 0 ? track * visible / std::max<int32_t>(ch, visible) : track);
        lv_area_t a;
        a.x2 = static_cast<lv_coord_t>(c.x2 - pr);
        a.x1 = static_cast<lv_coord_t>(a.x2 - thick + 1);
        a.y1 = static_cast<lv_coord_t>(c.y1 + pt);
        a.y2 = static_cast<lv_coord_t>(a.y1 + std::min(len, track) - 1);
        lv_draw_rect(ctx, &d, &a);
    }
    if(show_hor) {
        const int32_t track = lv_area_get_width(&c) - pl - pr - (show_ver ? thick : 0);
        const int32_t visible = lv_obj_get_content_width(obj);
        const int32_t len = std::max(min_len, cw > 0 ? track * visible / std::max<int32_t>(cw, visible) : track);
        lv_area_t a;
        a.y2 = static_cast<lv_coord_t>(c.y2 - pb);
        a.y1 = static_cast<lv_coord_t>(a.y2 - thick + 1);
        a.x1 = static_cast<lv_coord_t>(c.x1 + pl);
        a.x2 = static_cast<lv_coord_t>(a.x1 + std::min(len, track) - 1);
        lv_draw_rect(ctx, &d, &a);
    }
}

// Only the strips along the right and bottom edges where scrollbars are drawn.
void invalidate_scrollbars(lv_obj_t * obj)
{
    const lv_coord_t thick = lv_obj_get_style_width(obj, LV_PART_SCROLLBAR);
    const lv_coord_t pr = lv_obj_get_style_pad_right(obj, LV_PART_SCROLLBAR);
    const lv_coord_t pb = lv_obj_get_style_pad_bottom(obj, LV_PART_SCROLLBAR);
    lv_area_t a = obj->coords;
    a.x1 = static_cast<lv_coord_t>(a.x2 - pr - thick);
    lv_obj_invalidate_area(obj, &a);
    a = obj->coords;
    a.y1 = static_cast<lv_coord_t>(a.y2 - pb - thick);
    lv_obj_invalidate_area(obj, &a);
}

void draw_post(lv_obj_t * obj, lv_draw_ctx_t * ctx)
{
    draw_scrollbars(obj, ctx);
    if(lv_obj_get_style_border_post(obj, LV_PART_MAIN)) {
        lv_draw_rect_dsc_t d;
        lv_draw_rect_dsc_init(&d);
        d.bg_opa = LV_OPA_TRANSP;
        d.bg_img_opa = LV_OPA_TRANSP;
        d.outline_opa = LV_OPA_TRANSP;
        d.shadow_opa = LV_OPA_TRANSP;
        lv_obj_init_draw_rect_dsc(obj, LV_PART_MAIN, &d);
        d.border_post = 0;
        if(d.border_opa > LV_OPA_MIN && d.border_width > 0) {
            const lv_area_t coords = _lv_obj_get_transformed_coords(obj);
            lv_draw_rect(ctx, &d, &coords);
        }
    }
}

void obj_event(const lv_obj_class_t *, lv_event_t * e)
{
    lv_obj_t * obj = lv_event_get_current_target(e);
    switch(lv_event_get_code(e)) {
        case LV_EVENT_DRAW_MAIN:
            draw_main(obj, lv_event_get_draw_ctx(e));
            break;
        case LV_EVENT_DRAW_POST:
            draw_post(obj, lv_event_get_draw_ctx(e));
            break;
        case LV_EVENT_REFR_EXT_DRAW_SIZE:
            lv_event_set_ext_draw_size(e, lv_obj_calculate_ext_draw_size(obj, LV_PART_MAIN));
            break;
        case LV_EVENT_CLICKED:
            if(lv_obj_has_flag(obj, LV_OBJ_FLAG_CHECKABLE)) {
                if(lv_obj_has_state(obj, LV_STATE_CHECKED)) lv_obj_clear_state(obj, LV_STATE_CHECKED);
                else lv_obj_add_state(obj, LV_STATE_CHECKED);
                lv_event_send(obj, LV_EVENT_VALUE_CHANGED, nullptr);
            }
            break;
        case LV_EVENT_FOCUSED:
            lv_obj_add_state(obj, LV_STATE_FOCUSED);
            break;
        case LV_EVENT_DEFOCUSED:
            lv_obj_clear_state(obj, static_cast<lv_state_t>(LV_STATE_FOCUSED | LV_STATE_FOCUS_KEY | LV_STATE_EDITED));
            break;
        case LV_EVENT_CHILD_CHANGED:
            // Children may make scrollbars appear or vanish.
            if(obj->scrollbar_mode != LV_SCROLLBAR_MODE_OFF) invalidate_scrollbars(obj);
            if(lv_obj_get_style_width(obj, LV_PART_MAIN) == LV_SIZE_CONTENT ||
               lv_obj_get_style_height(obj, LV_PART_MAIN) == LV_SIZE_CONTENT)
                lv_obj_mark_layout_as_dirty(obj);
            break;
        default:
            break;
    }
}

} // namespace

const lv_obj_class_t lv_obj_class = {
    .base_class = nullptr,
    .constructor_cb = obj_constructor,
    .destructor_cb = nullptr,
    .user_data = nullptr,
    .event_cb = obj_event,
    .width_def = LV_DPI_DEF,
    .height_def = LV_DPI_DEF,
    .editable = LV_OBJ_CLASS_EDITABLE_FALSE,
    .group_def = LV_OBJ_CLASS_GROUP_DEF_FALSE,
    .instance_size = sizeof(lv_obj_t),
};

lv_area_t _lv_obj_get_transformed_coords(const lv_obj_t * obj)
{
    lv_area_t a = obj->coords;
    const lv_coord_t w = lv_obj_get_style_transform_width(obj, LV_PART_MAIN);
    const lv_coord_t h = lv_obj_get_style_transform_height(obj, LV_PART_MAIN);
    a.x1 = static_cast<lv_coord_t>(a.x1 - w);
    a.x2 = static_cast<lv_coord_t>(a.x2 + w);
    a.y1 = static_cast<lv_coord_t>(a.y1 - h);
    a.y2 = static_cast<lv_coord_t>(a.y2 + h);
    return a;
}
