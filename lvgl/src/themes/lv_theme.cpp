// Theme plumbing: a display's theme (and its parents) style new objects.
#include "../core/lv_core_private.h"

namespace {

void apply_chain(lv_theme_t * th, lv_obj_t * obj)
{
    if(th->parent) apply_chain(th->parent, obj);
    if(th->apply_cb) th->apply_cb(th, obj);
}

} // namespace

lv_theme_t * lv_theme_get_from_obj(lv_obj_t * obj)
{
    lv_disp_t * disp = obj ? lv_obj_get_disp(obj) : lv_disp_get_default();
    return disp ? disp->theme : nullptr;
}

void lv_theme_apply(lv_obj_t * obj)
{
    lv_theme_t * th = lv_theme_get_from_obj(obj);
    if(th == nullptr) return;
    lv_obj_remove_style_all(obj);
    apply_chain(th, obj);
    lv_obj_refresh_style(obj, LV_PART_ANY, LV_STYLE_PROP_ANY);
}

lv_color_t lv_theme_get_color_primary(lv_obj_t * obj)
{
    lv_theme_t * th = lv_theme_get_from_obj(obj);
    return th ? th->color_primary : lv_color_hex(0x2196F3);
}

lv_color_t lv_theme_get_color_secondary(lv_obj_t * obj)
{
    lv_theme_t * th = lv_theme_get_from_obj(obj);
    return th ? th->color_secondary : lv_color_hex(0xF44336);
}

const lv_font_t * lv_theme_get_font_normal(lv_obj_t * obj)
{
    lv_theme_t * th = lv_theme_get_from_obj(obj);
    return th && th->font_normal ? th->font_normal : LV_FONT_DEFAULT;
}
