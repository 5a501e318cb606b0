// The default theme, light variant, in its large-display form (1280 x 800
// at 130 DPI): the look LVGL 8.3 gives each widget when the application
// sets nothing.
#include "../core/lv_core_private.h"

#include <cstring>

namespace {

struct Styles {
    lv_style_t scr;
    lv_style_t scrollbar;
    lv_style_t scrollbar_scrolled;
    lv_style_t card;
    lv_style_t btn;
    lv_style_t bg_color_primary;
    lv_style_t bg_color_primary_muted;
    lv_style_t bg_color_secondary;
    lv_style_t pressed;
    lv_style_t disabled;
    lv_style_t grow;
    lv_style_t transition_delayed;
    lv_style_t transition_normal;
    lv_style_t circle;
    lv_style_t knob;
    lv_style_t anim;
    lv_style_t line_space_large;
    lv_style_t text_align_center;
    lv_style_t line;
};

struct DefaultTheme {
    lv_theme_t base;
    Styles styles;
    lv_style_transition_dsc_t trans_delayed;
    lv_style_transition_dsc_t trans_normal;
    lv_color_filter_dsc_t dark_filter;
    lv_color_filter_dsc_t grey_filter;
    lv_disp_t * disp;
    bool inited;
};

DefaultTheme g_theme; // the one default theme, as in LVGL

// Properties that move between states smoothly.
const lv_style_prop_t kTransProps[] = {LV_STYLE_BG_COLOR,        LV_STYLE_BORDER_COLOR,     LV_STYLE_TRANSFORM_WIDTH,
                                       LV_STYLE_TRANSFORM_HEIGHT, LV_STYLE_TRANSLATE_Y,      LV_STYLE_TRANSLATE_X,
                                       LV_STYLE_TRANSFORM_ZOOM,   LV_STYLE_TRANSFORM_ANGLE,  LV_STYLE_COLOR_FILTER_OPA,
                                       LV_STYLE_COLOR_FILTER_DSC, LV_STYLE_PROP_INV};

constexpr uint32_t kTransitionTime = LV_THEME_DEFAULT_TRANSITION_TIME;
constexpr uint32_t kTransitionDelay = 70;

lv_color_t grey_main() { return lv_color_hex(0x9E9E9E); }
lv_color_t grey_lighten_2() { return lv_color_hex(0xE0E0E0); }
lv_color_t grey_lighten_4() { return lv_color_hex(0xF5F5F5); }
lv_color_t grey_darken_4() { return lv_color_hex(0x212121); }

lv_color_t dark_filter_cb(const lv_color_filter_dsc_t *, lv_color_t c, lv_opa_t opa) { return lv_color_darken(c, opa); }

lv_color_t grey_filter_cb(const lv_color_filter_dsc_t *, lv_color_t c, lv_opa_t opa)
{
    return lv_color_mix(grey_lighten_2(), c, opa);
}

void reset_style(lv_style_t * s)
{
    if(g_theme.inited) lv_style_reset(s);
    else lv_style_init(s);
}

void build_styles(lv_disp_t * disp)
{
    auto dpx = [disp](lv_coord_t n) { return lv_disp_dpx(disp, n); };
    Styles & s = g_theme.styles;
    const lv_color_t primary = g_theme.base.color_primary;
    const lv_color_t secondary = g_theme.base.color_secondary;
    const lv_coord_t pad_def = dpx(24);   // large display
    const lv_coord_t pad_small = dpx(14);
    const lv_coord_t radius_def = dpx(12);

    for(lv_style_t * st = &s.scr; st <= &s.line; st++) reset_style(st);

    lv_style_transition_dsc_init(&g_theme.trans_delayed, kTransProps, lv_anim_path_linear, kTransitionTime,
                                 kTransitionDelay, nullptr);
    lv_style_transition_dsc_init(&g_theme.trans_normal, kTransProps, lv_anim_path_linear, kTransitionTime, 0, nullptr);
    lv_color_filter_dsc_init(&g_theme.dark_filter, dark_filter_cb);
    lv_color_filter_dsc_init(&g_theme.grey_filter, grey_filter_cb);

    lv_style_set_bg_opa(&s.scr, LV_OPA_COVER);
    lv_style_set_bg_color(&s.scr, grey_lighten_4());
    lv_style_set_text_color(&s.scr, grey_darken_4());
    lv_style_set_text_font(&s.scr, g_theme.base.font_normal);
    lv_style_set_pad_row(&s.scr, pad_small);
    lv_style_set_pad_column(&s.scr, pad_small);

    lv_style_set_bg_color(&s.scrollbar, grey_main());
    lv_style_set_radius(&s.scrollbar, LV_RADIUS_CIRCLE);
    lv_style_set_pad_all(&s.scrollbar, dpx(7));
    lv_style_set_width(&s.scrollbar, dpx(5));
    lv_style_set_bg_opa(&s.scrollbar, LV_OPA_40);
    lv_style_set_transition(&s.scrollbar, &g_theme.trans_normal);

    lv_style_set_bg_opa(&s.scrollbar_scrolled, LV_OPA_COVER);

    lv_style_set_radius(&s.card, radius_def);
    lv_style_set_bg_opa(&s.card, LV_OPA_COVER);
    lv_style_set_bg_color(&s.card, lv_color_white());
    lv_style_set_border_color(&s.card, grey_lighten_2());
    lv_style_set_border_width(&s.card, dpx(2));
    lv_style_set_border_post(&s.card, true);
    lv_style_set_text_color(&s.card, grey_darken_4());
    lv_style_set_pad_all(&s.card, pad_def);
    lv_style_set_pad_row(&s.card, pad_small);
    lv_style_set_pad_column(&s.card, pad_small);

    lv_style_set_radius(&s.btn, dpx(16));
    lv_style_set_bg_opa(&s.btn, LV_OPA_COVER);
    lv_style_set_bg_color(&s.btn, grey_lighten_2());
    lv_style_set_shadow_color(&s.btn, grey_main());
    lv_style_set_shadow_width(&s.btn, dpx(3));
    lv_style_set_shadow_opa(&s.btn, LV_OPA_50);
    lv_style_set_shadow_ofs_y(&s.btn, dpx(3));
    lv_style_set_text_color(&s.btn, grey_darken_4());
    lv_style_set_pad_left(&s.btn, pad_def);
    lv_style_set_pad_right(&s.btn, pad_def);
    lv_style_set_pad_top(&s.btn, pad_small);
    lv_style_set_pad_bottom(&s.btn, pad_small);
    lv_style_set_pad_row(&s.btn, dpx(5));
    lv_style_set_pad_column(&s.btn, dpx(5));

    lv_style_set_bg_color(&s.bg_color_primary, primary);
    lv_style_set_text_color(&s.bg_color_primary, lv_color_white());
    lv_style_set_bg_opa(&s.bg_color_primary, LV_OPA_COVER);

    lv_style_set_bg_color(&s.bg_color_primary_muted, primary);
    lv_style_set_text_color(&s.bg_color_primary_muted, primary);
    lv_style_set_bg_opa(&s.bg_color_primary_muted, LV_OPA_20);

    lv_style_set_bg_color(&s.bg_color_secondary, secondary);
    lv_style_set_text_color(&s.bg_color_secondary, lv_color_white());
    lv_style_set_bg_opa(&s.bg_color_secondary, LV_OPA_COVER);

    lv_style_set_color_filter_dsc(&s.pressed, &g_theme.dark_filter);
    lv_style_set_color_filter_opa(&s.pressed, 35);

    lv_style_set_color_filter_dsc(&s.disabled, &g_theme.grey_filter);
    lv_style_set_color_filter_opa(&s.disabled, LV_OPA_50);

    lv_style_set_transform_width(&s.grow, dpx(3));
    lv_style_set_transform_height(&s.grow, dpx(3));

    lv_style_set_transition(&s.transition_delayed, &g_theme.trans_delayed);
    lv_style_set_transition(&s.transition_normal, &g_theme.trans_normal);

    lv_style_set_radius(&s.circle, LV_RADIUS_CIRCLE);

    lv_style_set_bg_color(&s.knob, primary);
    lv_style_set_bg_opa(&s.knob, LV_OPA_COVER);
    lv_style_set_pad_all(&s.knob, dpx(6));
    lv_style_set_radius(&s.knob, LV_RADIUS_CIRCLE);

    lv_style_set_anim_time(&s.anim, 200);
    lv_style_set_text_line_space(&s.line_space_large, dpx(20));
    lv_style_set_text_align(&s.text_align_center, LV_TEXT_ALIGN_CENTER);

    lv_style_set_line_width(&s.line, 1);
    lv_style_set_line_color(&s.line, grey_darken_4());
    lv_style_set_line_opa(&s.line, LV_OPA_COVER);
}

void add_scrollbar(lv_obj_t * obj)
{
    Styles & s = g_theme.styles;
    lv_obj_add_style(obj, &s.scrollbar, LV_PART_SCROLLBAR);
    lv_obj_add_style(obj, &s.scrollbar_scrolled, LV_PART_SCROLLBAR | LV_STATE_SCROLLED);
}

void apply_cb(lv_theme_t *, lv_obj_t * obj)
{
    Styles & s = g_theme.styles;
    if(lv_obj_get_parent(obj) == nullptr) {
        lv_obj_add_style(obj, &s.scr, 0);
        add_scrollbar(obj);
        return;
    }
    if(lv_obj_check_type(obj, &lv_obj_class)) {
        lv_obj_add_style(obj, &s.card, 0);
        add_scrollbar(obj);
    }
    else if(lv_obj_check_type(obj, &lv_btn_class)) {
        lv_obj_add_style(obj, &s.btn, 0);
        lv_obj_add_style(obj, &s.bg_color_primary, 0);
        lv_obj_add_style(obj, &s.transition_delayed, 0);
        lv_obj_add_style(obj, &s.pressed, LV_STATE_PRESSED);
        lv_obj_add_style(obj, &s.transition_normal, LV_STATE_PRESSED);
#if LV_THEME_DEFAULT_GROW
        lv_obj_add_style(obj, &s.grow, LV_STATE_PRESSED);
#endif
        lv_obj_add_style(obj, &s.bg_color_secondary, LV_STATE_CHECKED);
        lv_obj_add_style(obj, &s.disabled, LV_STATE_DISABLED);
    }
    else if(lv_obj_check_type(obj, &lv_line_class)) {
        lv_obj_add_style(obj, &s.line, 0);
    }
    else if(lv_obj_check_type(obj, &lv_roller_class)) {
        lv_obj_add_style(obj, &s.card, 0);
        lv_obj_add_style(obj, &s.anim, 0);
        lv_obj_add_style(obj, &s.line_space_large, 0);
        lv_obj_add_style(obj, &s.text_align_center, 0);
        lv_obj_add_style(obj, &s.bg_color_primary, LV_PART_SELECTED);
    }
    else if(lv_obj_check_type(obj, &lv_slider_class)) {
        lv_obj_add_style(obj, &s.bg_color_primary_muted, 0);
        lv_obj_add_style(obj, &s.circle, 0);
        lv_obj_add_style(obj, &s.bg_color_primary, LV_PART_INDICATOR);
        lv_obj_add_style(obj, &s.circle, LV_PART_INDICATOR);
        lv_obj_add_style(obj, &s.knob, LV_PART_KNOB);
#if LV_THEME_DEFAULT_GROW
        lv_obj_add_style(obj, &s.grow, LV_PART_KNOB | LV_STATE_PRESSED);
#endif
        lv_obj_add_style(obj, &s.transition_delayed, LV_PART_KNOB);
        lv_obj_add_style(obj, &s.transition_normal, LV_PART_KNOB | LV_STATE_PRESSED);
    }
    // Labels, images and animated images get no theme style.
}

} // namespace

lv_theme_t * lv_theme_default_init(lv_disp_t * disp, lv_color_t color_primary, lv_color_t color_secondary, bool dark,
                                   const lv_font_t * font)
{
    (void)dark; // only the light variant is built
    lv_theme_t & th = g_theme.base;
    std::memset(&th, 0, sizeof(th));
    th.disp = disp;
    th.color_primary = color_primary;
    th.color_secondary = color_secondary;
    th.font_small = font;
    th.font_normal = font;
    th.font_large = font;
    th.apply_cb = apply_cb;
    g_theme.disp = disp;
    build_styles(disp);
    g_theme.inited = true;
    // Objects styled by an earlier init pick up the new values.
    if(lv_is_initialized()) lv_obj_report_style_change(nullptr);
    return &th;
}

lv_theme_t * lv_theme_default_get(void) { return g_theme.inited ? &g_theme.base : nullptr; }

bool lv_theme_default_is_inited(void) { return g_theme.inited; }

void _lv_theme_default_deinit()
{
    if(!g_theme.inited) return;
    for(lv_style_t * st = &g_theme.styles.scr; st <= &g_theme.styles.line; st++) lv_style_reset(st);
    g_theme.inited = false;
}
