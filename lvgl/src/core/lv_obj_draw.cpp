// Filling draw descriptors from an object's styles.
#include "lv_core_private.h"

namespace {

lv_opa_t scale_opa(lv_opa_t a, lv_opa_t b)
{
    if(b >= LV_OPA_MAX) return a;
    if(b <= LV_OPA_MIN) return LV_OPA_TRANSP;
    return static_cast<lv_opa_t>((static_cast<uint32_t>(a) * b) >> 8);
}

} // namespace

void lv_obj_init_draw_rect_dsc(lv_obj_t * obj, uint32_t part, lv_draw_rect_dsc_t * d)
{
    const lv_opa_t opa = lv_obj_get_style_opa_recursive(obj, part);
    d->radius = lv_obj_get_style_radius(obj, part);
    d->blend_mode = LV_BLEND_MODE_NORMAL;

    if(opa <= LV_OPA_MIN) {
        d->bg_opa = LV_OPA_TRANSP;
        d->bg_img_opa = LV_OPA_TRANSP;
        d->border_opa = LV_OPA_TRANSP;
        d->shadow_opa = LV_OPA_TRANSP;
        d->outline_opa = LV_OPA_TRANSP;
        return;
    }

    if(d->bg_opa != LV_OPA_TRANSP) {
        d->bg_opa = scale_opa(lv_obj_get_style_bg_opa(obj, part), opa);
        if(d->bg_opa > LV_OPA_MIN) {
            d->bg_color = lv_obj_apply_color_filter(obj, part, lv_obj_get_style_bg_color(obj, part));
            d->bg_grad_dir = lv_obj_get_style_bg_grad_dir(obj, part);
            if(d->bg_grad_dir != LV_GRAD_DIR_NONE) {
                d->bg_grad_color = lv_obj_apply_color_filter(obj, part, lv_obj_get_style_bg_grad_color(obj, part));
                d->bg_main_color_stop = static_cast<uint8_t>(lv_obj_get_style_bg_main_stop(obj, part));
                d->bg_grad_color_stop = static_cast<uint8_t>(lv_obj_get_style_bg_grad_stop(obj, part));
            }
        }
    }

    if(d->bg_img_opa != LV_OPA_TRANSP) {
        d->bg_img_src = lv_obj_get_style_bg_img_src(obj, part);
        if(d->bg_img_src) {
            d->bg_img_opa = scale_opa(lv_obj_get_style_bg_img_opa(obj, part), opa);
            d->bg_img_recolor_opa = lv_obj_get_style_bg_img_recolor_opa(obj, part);
            d->bg_img_recolor = lv_obj_apply_color_filter(obj, part, lv_obj_get_style_bg_img_recolor(obj, part));
        }
    }

    if(d->border_opa != LV_OPA_TRANSP) {
        d->border_width = lv_obj_get_style_border_width(obj, part);
        if(d->border_width > 0) {
            d->border_opa = scale_opa(lv_obj_get_style_border_opa(obj, part), opa);
            d->border_color = lv_obj_apply_color_filter(obj, part, lv_obj_get_style_border_color(obj, part));
            d->border_side = lv_obj_get_style_border_side(obj, part);
            d->border_post = lv_obj_get_style_border_post(obj, part);
        }
        else {
            d->border_opa = LV_OPA_TRANSP;
        }
    }

    if(d->outline_opa != LV_OPA_TRANSP) {
        d->outline_width = lv_obj_get_style_outline_width(obj, part);
        if(d->outline_width > 0) {
            d->outline_opa = scale_opa(lv_obj_get_style_outline_opa(obj, part), opa);
            d->outline_pad = lv_obj_get_style_outline_pad(obj, part);
            d->outline_color = lv_obj_apply_color_filter(obj, part, lv_obj_get_style_outline_color(obj, part));
        }
        else {
            d->outline_opa = LV_OPA_TRANSP;
        }
    }

    if(d->shadow_opa != LV_OPA_TRANSP) {
        d->shadow_width = lv_obj_get_style_shadow_width(obj, part);
        d->shadow_spread = lv_obj_get_style_shadow_spread(obj, part);
        if(d->shadow_width > 0 || d->shadow_spread > 0) {
            d->shadow_opa = scale_opa(lv_obj_get_style_shadow_opa(obj, part), opa);
            d->shadow_ofs_x = lv_obj_get_style_shadow_ofs_x(obj, part);
            d->shadow_ofs_y = lv_obj_get_style_shadow_ofs_y(obj, part);
            d->shadow_color = lv_obj_apply_color_filter(obj, part, lv_obj_get_style_shadow_color(obj, part));
        }
        else {
            d->shadow_opa = LV_OPA_TRANSP;
        }
    }
}

void lv_obj_init_draw_label_dsc(lv_obj_t * obj, uint32_t part, lv_draw_label_dsc_t * d)
{
    if(d->opa == LV_OPA_TRANSP) return;
    d->opa = scale_opa(lv_obj_get_style_text_opa(obj, part), lv_obj_get_style_opa_recursive(obj, part));
    if(d->opa <= LV_OPA_MIN) return;
    d->color = lv_obj_get_style_text_color_filtered(obj, part);
    d->letter_space = lv_obj_get_style_text_letter_space(obj, part);
    d->line_space = lv_obj_get_style_text_line_space(obj, part);
    d->decor = lv_obj_get_style_text_decor(obj, part);
    d->blend_mode = LV_BLEND_MODE_NORMAL;
    d->font = lv_obj_get_style_text_font(obj, part);
    if(d->font == nullptr) d->font = LV_FONT_DEFAULT;
    d->align = lv_obj_get_style_text_align(obj, part);
}

void lv_obj_init_draw_img_dsc(lv_obj_t * obj, uint32_t part, lv_draw_img_dsc_t * d)
{
    if(d->opa == LV_OPA_TRANSP) return;
    d->opa = scale_opa(lv_obj_get_style_img_opa(obj, part), lv_obj_get_style_opa_recursive(obj, part));
    if(d->opa <= LV_OPA_MIN) return;
    d->recolor_opa = lv_obj_get_style_img_recolor_opa(obj, part);
    if(d->recolor_opa > LV_OPA_MIN)
        d->recolor = lv_obj_apply_color_filter(obj, part, lv_obj_get_style_img_recolor(obj, part));
    d->blend_mode = LV_BLEND_MODE_NORMAL;
}

void lv_obj_init_draw_line_dsc(lv_obj_t * obj, uint32_t part, lv_draw_line_dsc_t * d)
{
    if(d->opa == LV_OPA_TRANSP) return;
    d->width = lv_obj_get_style_line_width(obj, part);
    if(d->width == 0) {
        d->opa = LV_OPA_TRANSP;
        return;
    }
    d->opa = scale_opa(lv_obj_get_style_line_opa(obj, part), lv_obj_get_style_opa_recursive(obj, part));
    if(d->opa <= LV_OPA_MIN) return;
    d->color = lv_obj_apply_color_filter(obj, part, lv_obj_get_style_line_color(obj, part));
    d->round_start = lv_obj_get_style_line_rounded(obj, part);
    d->round_end = d->round_start;
    d->blend_mode = LV_BLEND_MODE_NORMAL;
}
