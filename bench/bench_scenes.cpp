// The scenes of bench_render, also drawn by the screen tests against the
// real LVGL's pictures of them.
#include "bench_scenes.h"

namespace bench {

lv_obj_t *build_white()
{
    lv_obj_t *scr = lv_obj_create(nullptr);
    lv_obj_set_style_bg_color(scr, lv_color_white(), 0);
    lv_obj_set_style_bg_opa(scr, LV_OPA_COVER, 0);
    return scr;
}

lv_obj_t *build_busy()
{
    static const lv_point_t line_pts[] = {{0, 0}, {1200, 0}};
    lv_obj_t *scr = lv_obj_create(nullptr);
    lv_obj_set_scrollbar_mode(scr, LV_SCROLLBAR_MODE_OFF);
    lv_obj_set_style_bg_color(scr, lv_color_hex(0x90F0F8), 0);
    lv_obj_set_style_bg_grad_color(scr, lv_color_hex(0x88CCE8), 0);
    lv_obj_set_style_bg_grad_dir(scr, LV_GRAD_DIR_HOR, 0);

    lv_obj_t *panel = lv_obj_create(scr);
    lv_obj_set_pos(panel, 60, 150);
    lv_obj_set_size(panel, 1160, 620);
    lv_obj_set_scrollbar_mode(panel, LV_SCROLLBAR_MODE_OFF);
    lv_obj_set_style_radius(panel, 35, 0);
    lv_obj_set_style_border_width(panel, 4, 0);
    lv_obj_set_style_border_color(panel, lv_color_hex(0xA8CCE8), 0);
    lv_obj_set_style_bg_opa(panel, 86, 0);
    lv_obj_set_style_bg_color(panel, lv_color_white(), 0);
    lv_obj_set_style_bg_grad_dir(panel, LV_GRAD_DIR_VER, 0);
    lv_obj_set_style_bg_grad_color(panel, lv_color_hex(0x4894C8), 0);
    lv_obj_set_style_pad_all(panel, 0, 0);

    for (int i = 0; i < 3; i++) {
        lv_obj_t *btn = lv_btn_create(panel);
        lv_obj_set_pos(btn, 40 + i * 260, 40);
        lv_obj_set_size(btn, 220, 70);
        lv_obj_set_style_border_width(btn, 5, 0);
        lv_obj_set_style_border_opa(btn, 52, 0);
        lv_obj_set_style_border_color(btn, lv_color_black(), 0);
        lv_obj_set_style_shadow_width(btn, 10, 0);
        lv_obj_set_style_shadow_spread(btn, 2, 0);
        lv_obj_set_style_shadow_ofs_x(btn, 5, 0);
        lv_obj_set_style_shadow_ofs_y(btn, 5, 0);
        lv_obj_set_style_shadow_opa(btn, 255, 0);
        lv_obj_set_style_shadow_color(btn, lv_color_hex(0x787878), 0);
        lv_obj_t *l = lv_label_create(btn);
        lv_label_set_text(l, "Button");
        lv_obj_align(l, LV_ALIGN_CENTER, 0, 0);
    }
    for (int i = 0; i < 2; i++) {
        lv_obj_t *l = lv_label_create(panel);
        lv_label_set_text(l, "The quick brown fox jumps over the lazy dog 0123456789");
        lv_obj_set_style_text_letter_space(l, 2, 0);
        lv_obj_set_pos(l, 40, 160 + i * 40);
    }
    lv_obj_t *roller = lv_roller_create(panel);
    lv_roller_set_options(roller, "Default\nUart\nSPI_M\nSPI_S\nDSI", LV_ROLLER_MODE_INFINITE);
    lv_roller_set_visible_row_count(roller, 3);
    lv_obj_set_pos(roller, 800, 160);
    lv_obj_set_width(roller, 100);

    lv_obj_t *slider = lv_slider_create(panel);
    lv_obj_set_pos(slider, 40, 320);
    lv_obj_set_size(slider, 520, 15);
    lv_slider_set_value(slider, 40, LV_ANIM_OFF);

    lv_obj_t *line = lv_line_create(scr);
    lv_line_set_points(line, line_pts, 2);
    lv_obj_set_pos(line, 40, 93);
    lv_obj_set_size(line, 1200, 10);
    lv_obj_set_style_line_width(line, 10, 0);
    lv_obj_set_style_line_color(line, lv_color_hex(0x707470), 0);
    lv_obj_set_style_line_rounded(line, true, 0);
    return scr;
}

} // namespace bench
