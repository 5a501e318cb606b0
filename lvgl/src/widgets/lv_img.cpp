// Image: shows an lv_img_dsc_t (or a symbol text) at its content area,
// repeated if the object is larger. Rotation and zoom are stored only.
#include "../core/lv_obj_private.h"

#include <cstring>

namespace {

lv_img_t * as_img(const lv_obj_t * obj) { return reinterpret_cast<lv_img_t *>(const_cast<lv_obj_t *>(obj)); }

void img_constructor(const lv_obj_class_t *, lv_obj_t * obj)
{
    lv_img_t * img = as_img(obj);
    img->src = nullptr;
    img->src_type = LV_IMG_SRC_UNKNOWN;
    img->cf = LV_IMG_CF_UNKNOWN;
    img->w = 0;
    img->h = 0;
    img->zoom = LV_IMG_ZOOM_NONE;
    img->angle = 0;
    img->antialias = 1;
    lv_obj_clear_flag(obj, LV_OBJ_FLAG_CLICKABLE);
    lv_obj_add_flag(obj, LV_OBJ_FLAG_ADV_HITTEST);
}

void draw_img(lv_obj_t * obj, lv_draw_ctx_t * ctx)
{
    lv_img_t * img = as_img(obj);
    // LVGL 8.3 draws nothing for an image one pixel tall or wide.
    if(img->src == nullptr || img->w <= 1 || img->h <= 1) return;

    lv_area_t content;
    lv_obj_get_content_coords(obj, &content);
    lv_area_t clip;
    if(!_lv_area_intersect(&clip, ctx->clip_area, &obj->coords)) return;

    if(img->src_type == LV_IMG_SRC_SYMBOL) {
        lv_draw_label_dsc_t d;
        lv_draw_label_dsc_init(&d);
        lv_obj_init_draw_label_dsc(obj, LV_PART_MAIN, &d);
        const lv_area_t * saved = ctx->clip_area;
        ctx->clip_area = &clip;
        lv_draw_label(ctx, &d, &content, static_cast<const char *>(img->src), nullptr);
        ctx->clip_area = saved;
        return;
    }
    if(img->src_type != LV_IMG_SRC_VARIABLE) return;

    lv_draw_img_dsc_t d;
    lv_draw_img_dsc_init(&d);
    lv_obj_init_draw_img_dsc(obj, LV_PART_MAIN, &d);
    if(d.opa <= LV_OPA_MIN) return;
    d.angle = static_cast<int16_t>(img->angle);
    d.zoom = img->zoom;
    d.pivot = img->pivot;
    d.antialias = img->antialias;

    const lv_area_t * saved = ctx->clip_area;
    ctx->clip_area = &clip;
    // Repeat the picture over the whole content area, starting at the offset.
    int32_t x0 = content.x1 + img->offset.x % img->w;
    int32_t y0 = content.y1 + img->offset.y % img->h;
    if(x0 > content.x1) x0 -= img->w;
    if(y0 > content.y1) y0 -= img->h;
    for(int32_t y = y0; y <= content.y2; y += img->h) {
        for(int32_t x = x0; x <= content.x2; x += img->w) {
            lv_area_t a;
            lv_area_set(&a, static_cast<lv_coord_t>(x), static_cast<lv_coord_t>(y),
                        static_cast<lv_coord_t>(x + img->w - 1), static_cast<lv_coord_t>(y + img->h - 1));
            lv_draw_img(ctx, &d, &a, img->src);
        }
    }
    ctx->clip_area = saved;
}

void img_event(const lv_obj_class_t *, lv_event_t * e)
{
    if(lv_obj_event_base(&lv_img_class, e) != LV_RES_OK) return;
    lv_obj_t * obj = lv_event_get_current_target(e);
    lv_img_t * img = as_img(obj);
    switch(lv_event_get_code(e)) {
        case LV_EVENT_GET_SELF_SIZE: {
            lv_point_t * p = lv_event_get_self_size_info(e);
            if(p->x < img->w) p->x = img->w;
            if(p->y < img->h) p->y = img->h;
            break;
        }
        case LV_EVENT_DRAW_MAIN:
            draw_img(obj, lv_event_get_draw_ctx(e));
            break;
        case LV_EVENT_STYLE_CHANGED:
            if(img->src_type == LV_IMG_SRC_SYMBOL) lv_img_set_src(obj, img->src);
            break;
        default:
            break;
    }
}

} // namespace

const lv_obj_class_t lv_img_class = {
    .base_class = &lv_obj_class,
    .constructor_cb = img_constructor,
    .destructor_cb = nullptr,
    .user_data = nullptr,
    .event_cb = img_event,
    .width_def = LV_SIZE_CONTENT,
    .height_def = LV_SIZE_CONTENT,
    .editable = LV_OBJ_CLASS_EDITABLE_INHERIT,
    .group_def = LV_OBJ_CLASS_GROUP_DEF_INHERIT,
    .instance_size = sizeof(lv_img_t),
};

lv_obj_t * lv_img_create(lv_obj_t * parent)
{
    lv_obj_t * obj = lv_obj_class_create_obj(&lv_img_class, parent);
    lv_obj_class_init_obj(obj);
    return obj;
}

lv_img_src_t lv_img_src_get_type(const void * src)
{
    if(src == nullptr) return LV_IMG_SRC_UNKNOWN;
    const uint8_t first = *static_cast<const uint8_t *>(src);
    if(first >= 0x20 && first <= 0x7F) return LV_IMG_SRC_FILE;
    if(first >= 0x80) return LV_IMG_SRC_SYMBOL;
    return LV_IMG_SRC_VARIABLE;
}

void lv_img_set_src(lv_obj_t * obj, const void * src)
{
    lv_img_t * img = as_img(obj);
    lv_obj_invalidate(obj);
    const lv_img_src_t type = lv_img_src_get_type(src);
    lv_coord_t w = 0;
    lv_coord_t h = 0;
    if(type == LV_IMG_SRC_VARIABLE) {
        const auto * dsc = static_cast<const lv_img_dsc_t *>(src);
        w = static_cast<lv_coord_t>(dsc->header.w);
        h = static_cast<lv_coord_t>(dsc->header.h);
        img->cf = dsc->header.cf;
    }
    else if(type == LV_IMG_SRC_SYMBOL) {
        const lv_font_t * font = lv_obj_get_style_text_font(obj, LV_PART_MAIN);
        lv_point_t size;
        lv_txt_get_size(&size, static_cast<const char *>(src), font,
                        lv_obj_get_style_text_letter_space(obj, LV_PART_MAIN),
                        lv_obj_get_style_text_line_space(obj, LV_PART_MAIN), LV_COORD_MAX, LV_TEXT_FLAG_EXPAND);
        w = size.x;
        h = size.y;
        img->cf = LV_IMG_CF_ALPHA_8BIT;
    }
    // Files are not supported: nothing is shown.
    const bool size_changed = w != img->w || h != img->h || src != img->src;
    img->src = type == LV_IMG_SRC_UNKNOWN ? nullptr : src;
    img->src_type = type;
    img->w = w;
    img->h = h;
    if(size_changed) {
        img->pivot.x = static_cast<lv_coord_t>(w / 2);
        img->pivot.y = static_cast<lv_coord_t>(h / 2);
    }
    lv_obj_refresh_self_size(obj);
    lv_obj_invalidate(obj);
}

void lv_img_set_offset_x(lv_obj_t * obj, lv_coord_t x)
{
    as_img(obj)->offset.x = x;
    lv_obj_invalidate(obj);
}

void lv_img_set_offset_y(lv_obj_t * obj, lv_coord_t y)
{
    as_img(obj)->offset.y = y;
    lv_obj_invalidate(obj);
}

void lv_img_set_angle(lv_obj_t * obj, int16_t angle)
{
    while(angle >= 3600) angle = static_cast<int16_t>(angle - 3600);
    while(angle < 0) angle = static_cast<int16_t>(angle + 3600);
    as_img(obj)->angle = static_cast<uint16_t>(angle);
    lv_obj_invalidate(obj);
}

void lv_img_set_pivot(lv_obj_t * obj, lv_coord_t x, lv_coord_t y)
{
    as_img(obj)->pivot.x = x;
    as_img(obj)->pivot.y = y;
    lv_obj_invalidate(obj);
}

void lv_img_set_zoom(lv_obj_t * obj, uint16_t zoom)
{
    as_img(obj)->zoom = zoom == 0 ? 1 : zoom;
    lv_obj_invalidate(obj);
}

void lv_img_set_antialias(lv_obj_t * obj, bool antialias) { as_img(obj)->antialias = antialias; }

const void * lv_img_get_src(lv_obj_t * obj) { return as_img(obj)->src; }

uint16_t lv_img_get_angle(lv_obj_t * obj) { return as_img(obj)->angle; }

void lv_img_get_pivot(lv_obj_t * obj, lv_point_t * pivot) { *pivot = as_img(obj)->pivot; }

uint16_t lv_img_get_zoom(lv_obj_t * obj) { return as_img(obj)->zoom; }
