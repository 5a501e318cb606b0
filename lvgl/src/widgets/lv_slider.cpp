// Slider: a bar (track + filled indicator) with a knob the user drags.
//
// Parts: MAIN is the track, INDICATOR runs from the start edge to the value,
// KNOB is centred on the value's position; its base size is the slider's
// thickness, grown by the knob's paddings and transform width/height.
// Program changes of the value never send LV_EVENT_VALUE_CHANGED; input
// sends it once per read in which the value changed.
#include "../core/lv_obj_private.h"
#include "../draw/lv_draw_sw.h"

#include <algorithm>
#include <cstdint>

namespace {

// Values are drawn in 1/256 steps so an animated change moves smoothly.
constexpr int kFrac = 8;

struct lv_slider_t {
    lv_obj_t obj;
    int32_t cur_value;
    int32_t min_value;
    int32_t max_value;
    int32_t shown_fx; // the drawn value (fixed point), differs from cur_value while animating
    uint8_t dragging : 1;
    uint8_t animating : 1;
};

lv_slider_t * as_slider(lv_obj_t * obj) { return reinterpret_cast<lv_slider_t *>(obj); }
const lv_slider_t * as_slider(const lv_obj_t * obj) { return reinterpret_cast<const lv_slider_t *>(obj); }

int32_t to_fx(int32_t v) { return static_cast<int32_t>(static_cast<int64_t>(v) * (1 << kFrac)); }

lv_coord_t clamp_coord(int64_t v)
{
    return static_cast<lv_coord_t>(std::clamp<int64_t>(v, LV_COORD_MIN, LV_COORD_MAX));
}

// A slider taller than wide runs bottom to top, as in LVGL.
bool is_vertical(const lv_obj_t * obj) { return lv_obj_get_height(obj) > lv_obj_get_width(obj); }

struct Geometry {
    lv_area_t track; // where the indicator may be: coords inside the main part's padding
    lv_area_t indic; // empty (x2 < x1 or y1 > y2) at the minimum
    lv_area_t knob;
};

Geometry geometry(lv_obj_t * obj)
{
    const lv_slider_t * s = as_slider(obj);
    Geometry g{};
    g.track = obj->coords;
    g.track.x1 = clamp_coord(g.track.x1 + lv_obj_get_style_pad_left(obj, LV_PART_MAIN));
    g.track.x2 = clamp_coord(g.track.x2 - lv_obj_get_style_pad_right(obj, LV_PART_MAIN));
    g.track.y1 = clamp_coord(g.track.y1 + lv_obj_get_style_pad_top(obj, LV_PART_MAIN));
    g.track.y2 = clamp_coord(g.track.y2 - lv_obj_get_style_pad_bottom(obj, LV_PART_MAIN));

    const bool vert = is_vertical(obj);
    const int64_t len_total = vert ? lv_area_get_height(&g.track) : lv_area_get_width(&g.track);
    const int64_t range = static_cast<int64_t>(s->max_value) - s->min_value;
    int64_t len = 0;
    if(range > 0 && len_total > 0) {
        const int64_t pos = static_cast<int64_t>(s->shown_fx) - to_fx(s->min_value);
        len = std::clamp<int64_t>((len_total * pos) / (range << kFrac), 0, len_total);
    }

    g.indic = g.track;
    lv_coord_t centre;
    if(vert) {
        g.indic.y1 = clamp_coord(g.track.y2 - len + 1);
        centre = clamp_coord(std::clamp<int64_t>(g.track.y2 - len, g.track.y1, g.track.y2));
    }
    else {
        g.indic.x2 = clamp_coord(g.track.x1 + len - 1);
        centre = clamp_coord(std::clamp<int64_t>(g.track.x1 + len, g.track.x1, g.track.x2));
    }

    // The knob's base is a square as thick as the slider, centred on the value.
    const lv_coord_t thick = vert ? lv_obj_get_width(obj) : lv_obj_get_height(obj);
    lv_area_t k = obj->coords;
    if(vert) {
        k.y1 = clamp_coord(centre - thick / 2);
        k.y2 = clamp_coord(k.y1 + thick - 1);
    }
    else {
        k.x1 = clamp_coord(centre - thick / 2);
        k.x2 = clamp_coord(k.x1 + thick - 1);
    }
    const lv_coord_t tw = lv_obj_get_style_transform_width(obj, LV_PART_KNOB);
    const lv_coord_t th = lv_obj_get_style_transform_height(obj, LV_PART_KNOB);
    k.x1 = clamp_coord(k.x1 - lv_obj_get_style_pad_left(obj, LV_PART_KNOB) - tw);
    k.x2 = clamp_coord(k.x2 + lv_obj_get_style_pad_right(obj, LV_PART_KNOB) + tw);
    k.y1 = clamp_coord(k.y1 - lv_obj_get_style_pad_top(obj, LV_PART_KNOB) - th);
    k.y2 = clamp_coord(k.y2 + lv_obj_get_style_pad_bottom(obj, LV_PART_KNOB) + th);
    g.knob = k;
    return g;
}

// How far the knob (with its shadow/outline) can reach outside the coords.
lv_coord_t knob_ext_size(lv_obj_t * obj)
{
    const lv_coord_t thick = is_vertical(obj) ? lv_obj_get_width(obj) : lv_obj_get_height(obj);
    const int32_t pad = std::max({lv_obj_get_style_pad_left(obj, LV_PART_KNOB),
                                  lv_obj_get_style_pad_right(obj, LV_PART_KNOB),
                                  lv_obj_get_style_pad_top(obj, LV_PART_KNOB),
                                  lv_obj_get_style_pad_bottom(obj, LV_PART_KNOB), lv_coord_t(0)});
    // At either end half the knob's base sticks out along the slider.
    const int32_t s = thick / 2 + 1 + pad + lv_obj_calculate_ext_draw_size(obj, LV_PART_KNOB);
    return clamp_coord(s);
}

void shown_exec_cb(void * var, int32_t v)
{
    auto * obj = static_cast<lv_obj_t *>(var);
    as_slider(obj)->shown_fx = v;
    lv_obj_invalidate(obj);
}

void shown_ready_cb(lv_anim_t * a)
{
    auto * obj = static_cast<lv_obj_t *>(a->var);
    lv_slider_t * s = as_slider(obj);
    s->animating = 0;
    s->shown_fx = to_fx(s->cur_value);
    lv_obj_invalidate(obj);
}

void stop_anim(lv_obj_t * obj)
{
    lv_slider_t * s = as_slider(obj);
    if(s->animating) {
        s->animating = 0;
        lv_anim_del(obj, shown_exec_cb);
    }
}

void apply_value(lv_obj_t * obj, int32_t value, lv_anim_enable_t anim)
{
    lv_slider_t * s = as_slider(obj);
    value = std::clamp(value, s->min_value, s->max_value);
    if(value == s->cur_value) return;
    const int32_t from = s->shown_fx;
    s->cur_value = value;
    const uint32_t time = lv_obj_get_style_anim_time(obj, LV_PART_MAIN);
    stop_anim(obj);
    if(anim == LV_ANIM_ON && time > 0) {
        lv_anim_t a;
        lv_anim_init(&a);
        lv_anim_set_var(&a, obj);
        lv_anim_set_exec_cb(&a, shown_exec_cb);
        lv_anim_set_values(&a, from, to_fx(value));
        lv_anim_set_time(&a, time);
        lv_anim_set_ready_cb(&a, shown_ready_cb);
        s->animating = 1;
        lv_anim_start(&a);
    }
    else {
        s->shown_fx = to_fx(value);
    }
    lv_obj_invalidate(obj);
}

// The value under the pointer: the position along the track, rounded.
int32_t value_at(lv_obj_t * obj, const lv_point_t & p)
{
    const lv_slider_t * s = as_slider(obj);
    const Geometry g = geometry(obj);
    const int64_t range = static_cast<int64_t>(s->max_value) - s->min_value;
    const bool vert = is_vertical(obj);
    const int64_t len = vert ? lv_area_get_height(&g.track) : lv_area_get_width(&g.track);
    if(range <= 0 || len <= 0) return s->min_value;
    const int64_t d = vert ? static_cast<int64_t>(g.track.y2) - p.y : static_cast<int64_t>(p.x) - g.track.x1;
    int64_t v = s->min_value + (d * range + len / 2) / len;
    v = std::clamp<int64_t>(v, s->min_value, s->max_value);
    return static_cast<int32_t>(v);
}

// Follow the pointer; false if the object was deleted by a handler.
bool track_pointer(lv_obj_t * obj, lv_event_t * e)
{
    lv_indev_t * indev = lv_event_get_indev(e);
    if(indev == nullptr) indev = lv_indev_get_act();
    if(indev == nullptr || lv_indev_get_type(indev) != LV_INDEV_TYPE_POINTER) return true;
    lv_point_t p;
    lv_indev_get_point(indev, &p);
    const int32_t v = value_at(obj, p);
    if(v == as_slider(obj)->cur_value) return true;
    apply_value(obj, v, LV_ANIM_ON);
    return lv_event_send(obj, LV_EVENT_VALUE_CHANGED, nullptr) == LV_RES_OK;
}

void draw(lv_obj_t * obj, lv_event_t * e)
{
    lv_draw_ctx_t * ctx = lv_event_get_draw_ctx(e);
    const Geometry g = geometry(obj);

    if(g.indic.x1 <= g.indic.x2 && g.indic.y1 <= g.indic.y2) {
        lv_draw_rect_dsc_t d;
        lv_draw_rect_dsc_init(&d);
        lv_obj_init_draw_rect_dsc(obj, LV_PART_INDICATOR, &d);
        // As LVGL 8.3 draws a bar's indicator: its background goes through two masks besides its
        // own shape, the indicator's rounded box again and the bar's, so its rounded ends come
        // out fainter than a plain box's.
        const lv_sw::Target t(ctx);
        const bool plain_bg = d.bg_grad_dir == LV_GRAD_DIR_NONE || d.bg_grad_color.full == d.bg_color.full;
        if(t.ok() && plain_bg && d.bg_opa > LV_OPA_MIN && d.bg_img_src == nullptr) {
            const lv_sw::Area ia = lv_sw::Area::of(g.indic);
            const lv_sw::RoundRect masks[2] = {
                lv_sw::RoundRect(ia, d.radius),
                lv_sw::RoundRect(lv_sw::Area::of(obj->coords), lv_obj_get_style_radius(obj, LV_PART_MAIN)),
            };
            lv_sw::Paint p;
            p.color = d.bg_color.full;
            p.opa = d.bg_opa;
            lv_sw::draw_filled_shape_masked(t, lv_sw::RoundRect(ia, d.radius), p, masks, 2);
            d.bg_opa = LV_OPA_TRANSP;
        }
        lv_draw_rect(ctx, &d, &g.indic);
    }

    lv_draw_rect_dsc_t k;
    lv_draw_rect_dsc_init(&k);
    lv_obj_init_draw_rect_dsc(obj, LV_PART_KNOB, &k);
    lv_draw_rect(ctx, &k, &g.knob);
}

void slider_constructor(const lv_obj_class_t *, lv_obj_t * obj)
{
    lv_slider_t * s = as_slider(obj);
    s->min_value = 0;
    s->max_value = 100;
    s->cur_value = 0;
    s->shown_fx = 0;
    s->dragging = 0;
    s->animating = 0;
    // Drags belong to the knob, never to a scroll of this object or its parents.
    lv_obj_clear_flag(obj, LV_OBJ_FLAG_SCROLLABLE | LV_OBJ_FLAG_SCROLL_CHAIN | LV_OBJ_FLAG_SCROLL_ON_FOCUS);
    lv_obj_add_flag(obj, LV_OBJ_FLAG_CLICKABLE | LV_OBJ_FLAG_PRESS_LOCK | LV_OBJ_FLAG_ADV_HITTEST);
}

void slider_event(const lv_obj_class_t *, lv_event_t * e)
{
    if(lv_obj_event_base(&lv_slider_class, e) != LV_RES_OK) return;
    lv_obj_t * obj = lv_event_get_target(e);
    lv_slider_t * s = as_slider(obj);

    switch(lv_event_get_code(e)) {
        case LV_EVENT_PRESSED:
            // The value follows from the PRESSING of the same read, after the PRESSED handlers.
            s->dragging = 1;
            break;
        case LV_EVENT_PRESSING:
            if(s->dragging) track_pointer(obj, e);
            break;
        case LV_EVENT_RELEASED:
        case LV_EVENT_PRESS_LOST:
            s->dragging = 0;
            lv_obj_invalidate(obj);
            break;
        case LV_EVENT_HIT_TEST: {
            lv_hit_test_info_t * info = lv_event_get_hit_test_info(e);
            if(info == nullptr) break;
            const Geometry g = geometry(obj);
            info->res = _lv_area_is_point_on(&obj->coords, info->point, 0) ||
                        _lv_area_is_point_on(&g.knob, info->point, 0);
            break;
        }
        case LV_EVENT_REFR_EXT_DRAW_SIZE:
            lv_event_set_ext_draw_size(e, knob_ext_size(obj));
            break;
        case LV_EVENT_SIZE_CHANGED:
        case LV_EVENT_STYLE_CHANGED:
            lv_obj_refresh_ext_draw_size(obj);
            lv_obj_invalidate(obj);
            break;
        case LV_EVENT_DRAW_MAIN:
            draw(obj, e);
            break;
        default:
            break;
    }
}

} // namespace

extern "C" {

const lv_obj_class_t lv_slider_class = {
    &lv_obj_class,
    slider_constructor,
    nullptr,
    nullptr,
    slider_event,
    LV_DPI_DEF * 2,
    LV_DPI_DEF / 10,
    LV_OBJ_CLASS_EDITABLE_TRUE,
    LV_OBJ_CLASS_GROUP_DEF_TRUE,
    sizeof(lv_slider_t),
};

lv_obj_t * lv_slider_create(lv_obj_t * parent)
{
    lv_obj_t * obj = lv_obj_class_create_obj(&lv_slider_class, parent);
    lv_obj_class_init_obj(obj);
    return obj;
}

void lv_slider_set_value(lv_obj_t * obj, int32_t value, lv_anim_enable_t anim) { apply_value(obj, value, anim); }

void lv_slider_set_range(lv_obj_t * obj, int32_t min, int32_t max)
{
    lv_slider_t * s = as_slider(obj);
    if(min > max) std::swap(min, max);
    if(s->min_value == min && s->max_value == max) return;
    s->min_value = min;
    s->max_value = max;
    const int32_t v = std::clamp(s->cur_value, min, max);
    stop_anim(obj);
    s->cur_value = v;
    s->shown_fx = to_fx(v);
    lv_obj_invalidate(obj);
}

int32_t lv_slider_get_value(const lv_obj_t * obj) { return as_slider(obj)->cur_value; }

int32_t lv_slider_get_min_value(const lv_obj_t * obj) { return as_slider(obj)->min_value; }

int32_t lv_slider_get_max_value(const lv_obj_t * obj) { return as_slider(obj)->max_value; }

bool lv_slider_is_dragged(const lv_obj_t * obj) { return as_slider(obj)->dragging; }

} // extern "C"
