// lv_style_t: a small property set. prop_cnt counts distinct properties:
// one is kept inline (prop1/value1), more live in a pool array laid out as
// [values][props] like LVGL's.
#include "../core/lv_core_private.h"

#include <cstring>

namespace {

lv_style_value_t * values_of(const lv_style_t * s) { return reinterpret_cast<lv_style_value_t *>(s->v_p.values_and_props); }

uint16_t * props_of(const lv_style_t * s)
{
    return reinterpret_cast<uint16_t *>(s->v_p.values_and_props + s->prop_cnt * sizeof(lv_style_value_t));
}

size_t array_bytes(uint32_t cnt) { return cnt * (sizeof(lv_style_value_t) + sizeof(uint16_t)); }

uint8_t group_bit(lv_style_prop_t prop) { return static_cast<uint8_t>(1u << ((prop >> 4) & 7)); }

} // namespace

void lv_style_init(lv_style_t * style) { std::memset(style, 0, sizeof(*style)); }

void lv_style_reset(lv_style_t * style)
{
    if(style->is_const == 0 && style->prop_cnt > 1) lv_mem_free(style->v_p.values_and_props);
    std::memset(style, 0, sizeof(*style));
}

void lv_style_set_prop(lv_style_t * style, lv_style_prop_t prop, lv_style_value_t value)
{
    if(style->is_const || prop == LV_STYLE_PROP_INV || prop == LV_STYLE_PROP_ANY) return;
    const uint16_t p = static_cast<uint16_t>(prop);
    if(style->prop_cnt > 1) {
        uint16_t * props = props_of(style);
        for(uint32_t i = 0; i < style->prop_cnt; i++) {
            if(props[i] == p) {
                values_of(style)[i] = value;
                return;
            }
        }
        if(style->prop_cnt == 255) return; // prop_cnt is a byte; there are fewer built-in properties
        const uint32_t n = style->prop_cnt;
        auto * arr = static_cast<uint8_t *>(lv_mem_alloc_checked(array_bytes(n + 1)));
        auto * nv = reinterpret_cast<lv_style_value_t *>(arr);
        auto * np = reinterpret_cast<uint16_t *>(arr + (n + 1) * sizeof(lv_style_value_t));
        std::memcpy(nv, values_of(style), n * sizeof(lv_style_value_t));
        std::memcpy(np, props_of(style), n * sizeof(uint16_t));
        nv[n] = value;
        np[n] = p;
        lv_mem_free(style->v_p.values_and_props);
        style->v_p.values_and_props = arr;
        style->prop_cnt = static_cast<uint8_t>(n + 1);
    }
    else if(style->prop_cnt == 1) {
        if(style->prop1 == p) {
            style->v_p.value1 = value;
            return;
        }
        auto * arr = static_cast<uint8_t *>(lv_mem_alloc_checked(array_bytes(2)));
        auto * nv = reinterpret_cast<lv_style_value_t *>(arr);
        auto * np = reinterpret_cast<uint16_t *>(arr + 2 * sizeof(lv_style_value_t));
        nv[0] = style->v_p.value1;
        np[0] = style->prop1;
        nv[1] = value;
        np[1] = p;
        style->v_p.values_and_props = arr;
        style->prop_cnt = 2;
    }
    else {
        style->prop1 = p;
        style->v_p.value1 = value;
        style->prop_cnt = 1;
    }
    style->has_group |= group_bit(prop);
}

lv_res_t lv_style_get_prop(const lv_style_t * style, lv_style_prop_t prop, lv_style_value_t * value)
{
    if(style->is_const) {
        for(const lv_style_const_prop_t * c = style->v_p.const_props; c && c->prop != LV_STYLE_PROP_INV; c++) {
            if(c->prop == prop) {
                *value = c->value;
                return LV_RES_OK;
            }
        }
        return LV_RES_INV;
    }
    if(style->prop_cnt == 0) return LV_RES_INV;
    if(style->prop_cnt == 1) {
        if(style->prop1 != prop) return LV_RES_INV;
        *value = style->v_p.value1;
        return LV_RES_OK;
    }
    const uint16_t * props = props_of(style);
    for(uint32_t i = 0; i < style->prop_cnt; i++) {
        if(props[i] == prop) {
            *value = values_of(style)[i];
            return LV_RES_OK;
        }
    }
    return LV_RES_INV;
}

bool lv_style_remove_prop(lv_style_t * style, lv_style_prop_t prop)
{
    if(style->is_const || style->prop_cnt == 0) return false;
    if(style->prop_cnt == 1) {
        if(style->prop1 != prop) return false;
        style->prop1 = LV_STYLE_PROP_INV;
        style->prop_cnt = 0;
        return true;
    }
    const uint16_t * props = props_of(style);
    const lv_style_value_t * values = values_of(style);
    uint32_t idx = style->prop_cnt;
    for(uint32_t i = 0; i < style->prop_cnt; i++)
        if(props[i] == prop) idx = i;
    if(idx == style->prop_cnt) return false;

    const uint32_t n = style->prop_cnt - 1u;
    if(n == 1) {
        const uint32_t keep = idx == 0 ? 1 : 0;
        const uint16_t kp = props[keep];
        const lv_style_value_t kv = values[keep];
        lv_mem_free(style->v_p.values_and_props);
        style->v_p.value1 = kv;
        style->prop1 = kp;
        style->prop_cnt = 1;
        return true;
    }
    auto * arr = static_cast<uint8_t *>(lv_mem_alloc_checked(array_bytes(n)));
    auto * nv = reinterpret_cast<lv_style_value_t *>(arr);
    auto * np = reinterpret_cast<uint16_t *>(arr + n * sizeof(lv_style_value_t));
    for(uint32_t i = 0, j = 0; i < style->prop_cnt; i++) {
        if(i == idx) continue;
        nv[j] = values[i];
        np[j] = props[i];
        j++;
    }
    lv_mem_free(style->v_p.values_and_props);
    style->v_p.values_and_props = arr;
    style->prop_cnt = static_cast<uint8_t>(n);
    return true;
}

bool lv_style_is_empty(const lv_style_t * style)
{
    if(style->is_const) return style->v_p.const_props == nullptr || style->v_p.const_props[0].prop == LV_STYLE_PROP_INV;
    return style->prop_cnt == 0;
}

void lv_style_transition_dsc_init(lv_style_transition_dsc_t * tr, const lv_style_prop_t props[],
                                  lv_anim_path_cb_t path_cb, uint32_t time, uint32_t delay, void * user_data)
{
    std::memset(tr, 0, sizeof(*tr));
    tr->props = props;
    tr->path_xcb = path_cb == nullptr ? lv_anim_path_linear : path_cb;
    tr->time = time;
    tr->delay = delay;
    tr->user_data = user_data;
}

/*--------------------------------------------------------------------
 * Property metadata
 *------------------------------------------------------------------*/
lv_style_value_t lv_style_prop_get_default(lv_style_prop_t prop)
{
    lv_style_value_t v;
    v.ptr = nullptr;
    v.num = 0;
    switch(prop) {
        case LV_STYLE_TRANSFORM_ZOOM:
            v.num = LV_IMG_ZOOM_NONE;
            break;
        case LV_STYLE_BG_COLOR:
            v.color = lv_color_white();
            break;
        case LV_STYLE_BG_GRAD_COLOR:
        case LV_STYLE_BORDER_COLOR:
        case LV_STYLE_SHADOW_COLOR:
        case LV_STYLE_OUTLINE_COLOR:
        case LV_STYLE_IMG_RECOLOR:
        case LV_STYLE_BG_IMG_RECOLOR:
        case LV_STYLE_LINE_COLOR:
        case LV_STYLE_TEXT_COLOR:
            v.color = lv_color_black();
            break;
        case LV_STYLE_OPA:
        case LV_STYLE_BORDER_OPA:
        case LV_STYLE_TEXT_OPA:
        case LV_STYLE_IMG_OPA:
        case LV_STYLE_BG_IMG_OPA:
        case LV_STYLE_OUTLINE_OPA:
        case LV_STYLE_SHADOW_OPA:
        case LV_STYLE_LINE_OPA:
            v.num = LV_OPA_COVER;
            break;
        case LV_STYLE_BG_GRAD_STOP:
            v.num = 255;
            break;
        case LV_STYLE_BORDER_SIDE:
            v.num = LV_BORDER_SIDE_FULL;
            break;
        case LV_STYLE_TEXT_FONT:
            v.ptr = LV_FONT_DEFAULT;
            break;
        case LV_STYLE_MAX_WIDTH:
        case LV_STYLE_MAX_HEIGHT:
            v.num = LV_COORD_MAX;
            break;
        default:
            break;
    }
    return v;
}

bool _lv_style_prop_inherits(lv_style_prop_t prop)
{
    switch(prop) {
        case LV_STYLE_TEXT_COLOR:
        case LV_STYLE_TEXT_OPA:
        case LV_STYLE_TEXT_FONT:
        case LV_STYLE_TEXT_LETTER_SPACE:
        case LV_STYLE_TEXT_LINE_SPACE:
        case LV_STYLE_TEXT_DECOR:
        case LV_STYLE_TEXT_ALIGN:
        case LV_STYLE_COLOR_FILTER_DSC:
        case LV_STYLE_COLOR_FILTER_OPA:
        case LV_STYLE_BASE_DIR:
            return true;
        default:
            return false;
    }
}

bool _lv_style_prop_affects_layout(lv_style_prop_t prop)
{
    switch(prop) {
        case LV_STYLE_WIDTH:
        case LV_STYLE_MIN_WIDTH:
        case LV_STYLE_MAX_WIDTH:
        case LV_STYLE_HEIGHT:
        case LV_STYLE_MIN_HEIGHT:
        case LV_STYLE_MAX_HEIGHT:
        case LV_STYLE_X:
        case LV_STYLE_Y:
        case LV_STYLE_ALIGN:
        case LV_STYLE_TRANSLATE_X:
        case LV_STYLE_TRANSLATE_Y:
        case LV_STYLE_PAD_TOP:
        case LV_STYLE_PAD_BOTTOM:
        case LV_STYLE_PAD_LEFT:
        case LV_STYLE_PAD_RIGHT:
        case LV_STYLE_PAD_ROW:
        case LV_STYLE_PAD_COLUMN:
        case LV_STYLE_BORDER_WIDTH:
        case LV_STYLE_TEXT_FONT:
        case LV_STYLE_TEXT_LETTER_SPACE:
        case LV_STYLE_TEXT_LINE_SPACE:
        case LV_STYLE_LAYOUT:
        case LV_STYLE_BASE_DIR:
        case LV_STYLE_PROP_ANY:
            return true;
        default:
            return false;
    }
}

bool _lv_style_prop_affects_ext_draw(lv_style_prop_t prop)
{
    switch(prop) {
        case LV_STYLE_TRANSFORM_WIDTH:
        case LV_STYLE_TRANSFORM_HEIGHT:
        case LV_STYLE_TRANSFORM_ZOOM:
        case LV_STYLE_TRANSFORM_ANGLE:
        case LV_STYLE_OUTLINE_WIDTH:
        case LV_STYLE_OUTLINE_OPA:
        case LV_STYLE_OUTLINE_PAD:
        case LV_STYLE_SHADOW_WIDTH:
        case LV_STYLE_SHADOW_OFS_X:
        case LV_STYLE_SHADOW_OFS_Y:
        case LV_STYLE_SHADOW_SPREAD:
        case LV_STYLE_SHADOW_OPA:
        case LV_STYLE_LINE_WIDTH:
        case LV_STYLE_PROP_ANY:
            return true;
        default:
            return false;
    }
}

/*--------------------------------------------------------------------
 * Typed setters
 *------------------------------------------------------------------*/
#define STYLE_SET_NUM(name, PROP, type)                                                     \
    void lv_style_set_##name(lv_style_t * style, type value)                                 \
    {                                                                                        \
        lv_style_value_t v;                                                                  \
        v.ptr = nullptr;                                                                     \
        v.num = static_cast<int32_t>(value);                                                 \
        lv_style_set_prop(style, LV_STYLE_##PROP, v);                                        \
    }
#define STYLE_SET_COLOR(name, PROP)                                                         \
    void lv_style_set_##name(lv_style_t * style, lv_color_t value)                           \
    {                                                                                        \
        lv_style_value_t v;                                                                  \
        v.ptr = nullptr;                                                                     \
        v.num = 0;                                                                           \
        v.color = value;                                                                     \
        lv_style_set_prop(style, LV_STYLE_##PROP, v);                                        \
    }
#define STYLE_SET_PTR(name, PROP, type)                                                     \
    void lv_style_set_##name(lv_style_t * style, type value)                                 \
    {                                                                                        \
        lv_style_value_t v;                                                                  \
        v.ptr = nullptr;                                                                     \
        v.ptr = value;                                                                       \
        lv_style_set_prop(style, LV_STYLE_##PROP, v);                                        \
    }

STYLE_SET_NUM(width, WIDTH, lv_coord_t)
STYLE_SET_NUM(height, HEIGHT, lv_coord_t)
STYLE_SET_NUM(x, X, lv_coord_t)
STYLE_SET_NUM(y, Y, lv_coord_t)
STYLE_SET_NUM(align, ALIGN, lv_align_t)
STYLE_SET_NUM(transform_width, TRANSFORM_WIDTH, lv_coord_t)
STYLE_SET_NUM(transform_height, TRANSFORM_HEIGHT, lv_coord_t)
STYLE_SET_NUM(pad_top, PAD_TOP, lv_coord_t)
STYLE_SET_NUM(pad_bottom, PAD_BOTTOM, lv_coord_t)
STYLE_SET_NUM(pad_left, PAD_LEFT, lv_coord_t)
STYLE_SET_NUM(pad_right, PAD_RIGHT, lv_coord_t)
STYLE_SET_NUM(pad_row, PAD_ROW, lv_coord_t)
STYLE_SET_NUM(pad_column, PAD_COLUMN, lv_coord_t)
STYLE_SET_COLOR(bg_color, BG_COLOR)
STYLE_SET_NUM(bg_opa, BG_OPA, lv_opa_t)
STYLE_SET_COLOR(bg_grad_color, BG_GRAD_COLOR)
STYLE_SET_NUM(bg_grad_dir, BG_GRAD_DIR, lv_grad_dir_t)
STYLE_SET_NUM(bg_main_stop, BG_MAIN_STOP, lv_coord_t)
STYLE_SET_NUM(bg_grad_stop, BG_GRAD_STOP, lv_coord_t)
STYLE_SET_PTR(bg_img_src, BG_IMG_SRC, const void *)
STYLE_SET_NUM(bg_img_opa, BG_IMG_OPA, lv_opa_t)
STYLE_SET_COLOR(bg_img_recolor, BG_IMG_RECOLOR)
STYLE_SET_NUM(bg_img_recolor_opa, BG_IMG_RECOLOR_OPA, lv_opa_t)
STYLE_SET_COLOR(border_color, BORDER_COLOR)
STYLE_SET_NUM(border_opa, BORDER_OPA, lv_opa_t)
STYLE_SET_NUM(border_width, BORDER_WIDTH, lv_coord_t)
STYLE_SET_NUM(border_side, BORDER_SIDE, lv_border_side_t)
STYLE_SET_NUM(border_post, BORDER_POST, bool)
STYLE_SET_NUM(outline_width, OUTLINE_WIDTH, lv_coord_t)
STYLE_SET_COLOR(outline_color, OUTLINE_COLOR)
STYLE_SET_NUM(outline_opa, OUTLINE_OPA, lv_opa_t)
STYLE_SET_NUM(outline_pad, OUTLINE_PAD, lv_coord_t)
STYLE_SET_NUM(shadow_width, SHADOW_WIDTH, lv_coord_t)
STYLE_SET_NUM(shadow_ofs_x, SHADOW_OFS_X, lv_coord_t)
STYLE_SET_NUM(shadow_ofs_y, SHADOW_OFS_Y, lv_coord_t)
STYLE_SET_NUM(shadow_spread, SHADOW_SPREAD, lv_coord_t)
STYLE_SET_COLOR(shadow_color, SHADOW_COLOR)
STYLE_SET_NUM(shadow_opa, SHADOW_OPA, lv_opa_t)
STYLE_SET_NUM(img_opa, IMG_OPA, lv_opa_t)
STYLE_SET_COLOR(img_recolor, IMG_RECOLOR)
STYLE_SET_NUM(img_recolor_opa, IMG_RECOLOR_OPA, lv_opa_t)
STYLE_SET_NUM(line_width, LINE_WIDTH, lv_coord_t)
STYLE_SET_NUM(line_rounded, LINE_ROUNDED, bool)
STYLE_SET_COLOR(line_color, LINE_COLOR)
STYLE_SET_NUM(line_opa, LINE_OPA, lv_opa_t)
STYLE_SET_COLOR(text_color, TEXT_COLOR)
STYLE_SET_NUM(text_opa, TEXT_OPA, lv_opa_t)
STYLE_SET_PTR(text_font, TEXT_FONT, const lv_font_t *)
STYLE_SET_NUM(text_letter_space, TEXT_LETTER_SPACE, lv_coord_t)
STYLE_SET_NUM(text_line_space, TEXT_LINE_SPACE, lv_coord_t)
STYLE_SET_NUM(text_decor, TEXT_DECOR, lv_text_decor_t)
STYLE_SET_NUM(text_align, TEXT_ALIGN, lv_text_align_t)
STYLE_SET_NUM(radius, RADIUS, lv_coord_t)
STYLE_SET_NUM(clip_corner, CLIP_CORNER, bool)
STYLE_SET_NUM(opa, OPA, lv_opa_t)
STYLE_SET_PTR(color_filter_dsc, COLOR_FILTER_DSC, const lv_color_filter_dsc_t *)
STYLE_SET_NUM(color_filter_opa, COLOR_FILTER_OPA, lv_opa_t)
STYLE_SET_NUM(anim_time, ANIM_TIME, uint32_t)
STYLE_SET_NUM(anim_speed, ANIM_SPEED, uint32_t)
STYLE_SET_PTR(transition, TRANSITION, const lv_style_transition_dsc_t *)

void lv_style_set_pad_all(lv_style_t * style, lv_coord_t value)
{
    lv_style_set_pad_left(style, value);
    lv_style_set_pad_right(style, value);
    lv_style_set_pad_top(style, value);
    lv_style_set_pad_bottom(style, value);
}
