// Styles: lv_style_t storage (prop_cnt), resolution order across local,
// added and theme styles, state specificity, parts, inheritance, the
// default theme's values and the pressed-button transition timeline.
#include "core_fixture.h"

using core_test::Core;

namespace {

class Styles : public Core {};

uint16_t c16(uint32_t rgb) { return lv_color_to16(lv_color_hex(rgb)); }

TEST(StyleStorage, PropCntCountsDistinctPropertiesAndResetEmpties)
{
    lv_init();
    lv_mem_monitor_t before;
    lv_mem_monitor(&before);
    {
        lv_style_t st;
        lv_style_init(&st);
        EXPECT_EQ(st.prop_cnt, 0);
        EXPECT_TRUE(lv_style_is_empty(&st));
        lv_style_set_bg_opa(&st, 10);
        EXPECT_EQ(st.prop_cnt, 1);
        lv_style_set_bg_opa(&st, 20); // same property: count unchanged
        EXPECT_EQ(st.prop_cnt, 1);
        lv_style_set_radius(&st, 5);
        lv_style_set_text_color(&st, lv_color_hex(0x123456));
        EXPECT_EQ(st.prop_cnt, 3);
        lv_style_set_radius(&st, 7);
        EXPECT_EQ(st.prop_cnt, 3);

        lv_style_value_t v;
        ASSERT_EQ(lv_style_get_prop(&st, LV_STYLE_BG_OPA, &v), LV_RES_OK);
        EXPECT_EQ(v.num, 20);
        ASSERT_EQ(lv_style_get_prop(&st, LV_STYLE_RADIUS, &v), LV_RES_OK);
        EXPECT_EQ(v.num, 7);
        ASSERT_EQ(lv_style_get_prop(&st, LV_STYLE_TEXT_COLOR, &v), LV_RES_OK);
        EXPECT_EQ(v.color.full, lv_color_hex(0x123456).full);
        EXPECT_EQ(lv_style_get_prop(&st, LV_STYLE_BORDER_WIDTH, &v), LV_RES_INV);

        EXPECT_TRUE(lv_style_remove_prop(&st, LV_STYLE_RADIUS));
        EXPECT_FALSE(lv_style_remove_prop(&st, LV_STYLE_RADIUS));
        EXPECT_EQ(st.prop_cnt, 2);
        EXPECT_TRUE(lv_style_remove_prop(&st, LV_STYLE_BG_OPA));
        EXPECT_EQ(st.prop_cnt, 1); // back to the inline slot
        ASSERT_EQ(lv_style_get_prop(&st, LV_STYLE_TEXT_COLOR, &v), LV_RES_OK);
        EXPECT_EQ(v.color.full, lv_color_hex(0x123456).full);

        lv_style_set_pad_all(&st, 3);
        EXPECT_EQ(st.prop_cnt, 5);
        lv_style_reset(&st);
        EXPECT_EQ(st.prop_cnt, 0);
        EXPECT_EQ(lv_style_get_prop(&st, LV_STYLE_TEXT_COLOR, &v), LV_RES_INV);
    }
    lv_mem_monitor_t after;
    lv_mem_monitor(&after);
    EXPECT_EQ(after.free_size, before.free_size); // arrays returned to the pool
    lv_deinit();
}

TEST_F(Styles, LocalBeatsAddedWhichBeatsThemeAndDefault)
{
    lv_obj_t * obj = lv_obj_create(scr);
    // Theme card look.
    EXPECT_EQ(lv_obj_get_style_radius(obj, LV_PART_MAIN), 10);
    // An added style overrides the theme; a later added style overrides an earlier one.
    static lv_style_t s1, s2;
    lv_style_init(&s1);
    lv_style_init(&s2);
    lv_style_set_radius(&s1, 3);
    lv_style_set_radius(&s2, 4);
    lv_obj_add_style(obj, &s1, 0);
    EXPECT_EQ(lv_obj_get_style_radius(obj, LV_PART_MAIN), 3);
    lv_obj_add_style(obj, &s2, 0);
    EXPECT_EQ(lv_obj_get_style_radius(obj, LV_PART_MAIN), 4);
    // Local beats all.
    lv_obj_set_style_radius(obj, 9, 0);
    EXPECT_EQ(lv_obj_get_style_radius(obj, LV_PART_MAIN), 9);
    lv_obj_remove_local_style_prop(obj, LV_STYLE_RADIUS, 0);
    EXPECT_EQ(lv_obj_get_style_radius(obj, LV_PART_MAIN), 4);
    lv_obj_remove_style(obj, &s2, 0);
    EXPECT_EQ(lv_obj_get_style_radius(obj, LV_PART_MAIN), 3);
    // Nothing anywhere: the built-in default.
    lv_obj_remove_style_all(obj);
    EXPECT_EQ(lv_obj_get_style_radius(obj, LV_PART_MAIN), 0);
    EXPECT_EQ(lv_obj_get_style_bg_opa(obj, LV_PART_MAIN), LV_OPA_TRANSP);
    EXPECT_EQ(lv_obj_get_style_text_opa(obj, LV_PART_MAIN), LV_OPA_COVER);
    EXPECT_EQ(lv_obj_get_style_bg_grad_stop(obj, LV_PART_MAIN), 255);
    lv_style_reset(&s1);
    lv_style_reset(&s2);
}

TEST_F(Styles, MostSpecificMatchingStateWins)
{
    lv_obj_t * obj = lv_obj_create(scr);
    lv_obj_set_style_bg_opa(obj, 1, LV_STATE_DEFAULT);
    lv_obj_set_style_bg_opa(obj, 2, LV_STATE_CHECKED);
    lv_obj_set_style_bg_opa(obj, 3, LV_STATE_PRESSED);
    lv_obj_set_style_bg_opa(obj, 4, LV_STATE_CHECKED | LV_STATE_PRESSED);
    lv_obj_set_style_bg_opa(obj, 5, LV_STATE_FOCUSED | LV_STATE_DISABLED);

    EXPECT_EQ(lv_obj_get_style_bg_opa(obj, 0), 1);
    lv_obj_add_state(obj, LV_STATE_CHECKED);
    EXPECT_EQ(lv_obj_get_style_bg_opa(obj, 0), 2);
    lv_obj_add_state(obj, LV_STATE_PRESSED);
    EXPECT_EQ(lv_obj_get_style_bg_opa(obj, 0), 4); // exact match
    lv_obj_clear_state(obj, LV_STATE_CHECKED);
    EXPECT_EQ(lv_obj_get_style_bg_opa(obj, 0), 3);
    // FOCUSED alone does not satisfy FOCUSED|DISABLED; PRESSED (0x20) beats CHECKED (0x01).
    lv_obj_add_state(obj, LV_STATE_FOCUSED | LV_STATE_CHECKED);
    EXPECT_EQ(lv_obj_get_style_bg_opa(obj, 0), 4);
    lv_obj_clear_state(obj, LV_STATE_PRESSED);
    EXPECT_EQ(lv_obj_get_style_bg_opa(obj, 0), 2);
    lv_obj_add_state(obj, LV_STATE_DISABLED);
    EXPECT_EQ(lv_obj_get_style_bg_opa(obj, 0), 5);

    // An added style with a more specific state beats a local DEFAULT one.
    static lv_style_t st;
    lv_style_init(&st);
    lv_style_set_radius(&st, 20);
    lv_obj_set_style_radius(obj, 1, LV_STATE_DEFAULT);
    lv_obj_add_style(obj, &st, LV_STATE_CHECKED);
    EXPECT_EQ(lv_obj_get_style_radius(obj, 0), 20);
    lv_obj_clear_state(obj, LV_STATE_CHECKED);
    EXPECT_EQ(lv_obj_get_style_radius(obj, 0), 1);
    lv_obj_del(obj);
    lv_style_reset(&st);
}

TEST_F(Styles, PartsAreSeparateAndInheritanceFallsBackToMainThenParent)
{
    lv_obj_t * parent = lv_obj_create(scr);
    lv_obj_t * child = lv_label_create(parent);
    lv_obj_set_style_bg_opa(parent, 50, LV_PART_SCROLLBAR);
    EXPECT_EQ(lv_obj_get_style_bg_opa(parent, LV_PART_SCROLLBAR), 50);
    EXPECT_EQ(lv_obj_get_style_bg_opa(parent, LV_PART_MAIN), 255);

    // text_color is inherited: label ← card (#212121) ← screen.
    EXPECT_EQ(lv_obj_get_style_text_color(child, 0).full, c16(0x212121));
    lv_obj_set_style_text_color(parent, lv_color_hex(0xFF0000), 0);
    EXPECT_EQ(lv_obj_get_style_text_color(child, 0).full, c16(0xFF0000));
    // Parent state matters for what the child inherits.
    lv_obj_set_style_text_letter_space(parent, 7, LV_STATE_CHECKED);
    EXPECT_EQ(lv_obj_get_style_text_letter_space(child, 0), 0);
    lv_obj_add_state(parent, LV_STATE_CHECKED);
    EXPECT_EQ(lv_obj_get_style_text_letter_space(child, 0), 7);
    // The child's own value wins.
    lv_obj_set_style_text_color(child, lv_color_hex(0x00FF00), 0);
    EXPECT_EQ(lv_obj_get_style_text_color(child, 0).full, c16(0x00FF00));
    // A part without the value uses the main part of the same object.
    EXPECT_EQ(lv_obj_get_style_text_color(child, LV_PART_SELECTED).full, c16(0x00FF00));
    // Non-inherited properties are not taken from the parent.
    lv_obj_set_style_radius(parent, 33, 0);
    EXPECT_EQ(lv_obj_get_style_radius(child, 0), 0);
    // Fonts inherit down to the default font at the screen.
    EXPECT_EQ(lv_obj_get_style_text_font(child, 0), &lv_font_montserrat_14);
}

TEST_F(Styles, DefaultThemeValuesOfScreenObjButtonLabelLine)
{
    lv_obj_t * obj = lv_obj_create(scr);
    lv_obj_t * btn = lv_btn_create(scr);
    lv_obj_t * label = lv_label_create(scr);
    lv_obj_t * line = lv_line_create(scr);
    lv_obj_t * img = lv_img_create(scr);
    lv_obj_update_layout(scr);

    // screen
    EXPECT_EQ(lv_obj_get_style_bg_color(scr, 0).full, 0xF7BE);
    EXPECT_EQ(lv_obj_get_style_bg_opa(scr, 0), 255);
    EXPECT_EQ(lv_obj_get_style_text_color(scr, 0).full, c16(0x212121));
    EXPECT_EQ(lv_obj_get_style_pad_top(scr, 0), 0);
    EXPECT_EQ(lv_obj_get_style_pad_row(scr, 0), 11);
    EXPECT_EQ(lv_obj_get_style_pad_column(scr, 0), 11);
    EXPECT_EQ(lv_obj_get_style_radius(scr, 0), 0);
    EXPECT_EQ(lv_obj_get_style_border_width(scr, 0), 0);
    EXPECT_EQ(lv_obj_get_width(scr), 1280);
    EXPECT_EQ(lv_obj_get_height(scr), 800);

    // plain object
    EXPECT_EQ(lv_obj_get_width(obj), 130);
    EXPECT_EQ(lv_obj_get_height(obj), 130);
    EXPECT_EQ(lv_obj_get_style_radius(obj, 0), 10);
    EXPECT_EQ(lv_obj_get_style_border_width(obj, 0), 2);
    EXPECT_EQ(lv_obj_get_style_border_color(obj, 0).full, c16(0xE0E0E0));
    EXPECT_EQ(lv_obj_get_style_border_opa(obj, 0), 255);
    EXPECT_TRUE(lv_obj_get_style_border_post(obj, 0));
    for(lv_coord_t p : {lv_obj_get_style_pad_left(obj, 0), lv_obj_get_style_pad_right(obj, 0),
                        lv_obj_get_style_pad_top(obj, 0), lv_obj_get_style_pad_bottom(obj, 0)})
        EXPECT_EQ(p, 20);
    EXPECT_EQ(lv_obj_get_style_pad_row(obj, 0), 11);
    EXPECT_EQ(lv_obj_get_style_bg_color(obj, 0).full, 0xFFFF);
    EXPECT_EQ(lv_obj_get_style_bg_opa(obj, 0), 255);
    EXPECT_TRUE(lv_obj_has_flag(obj, LV_OBJ_FLAG_SCROLLABLE));
    // scrollbar part
    EXPECT_EQ(lv_obj_get_style_bg_color(obj, LV_PART_SCROLLBAR).full, c16(0x9E9E9E));
    EXPECT_EQ(lv_obj_get_style_bg_opa(obj, LV_PART_SCROLLBAR), 102);
    EXPECT_EQ(lv_obj_get_style_radius(obj, LV_PART_SCROLLBAR), LV_RADIUS_CIRCLE);
    EXPECT_EQ(lv_obj_get_style_pad_right(obj, LV_PART_SCROLLBAR), 6);
    EXPECT_EQ(lv_obj_get_style_width(obj, LV_PART_SCROLLBAR), 4);
    EXPECT_EQ(lv_obj_get_style_bg_color(scr, LV_PART_SCROLLBAR).full, c16(0x9E9E9E));

    // button
    EXPECT_EQ(lv_obj_get_style_width(btn, 0), LV_SIZE_CONTENT);
    EXPECT_EQ(lv_obj_get_style_radius(btn, 0), 13);
    EXPECT_EQ(lv_obj_get_style_bg_color(btn, 0).full, 0x24BE);
    EXPECT_EQ(lv_obj_get_style_bg_opa(btn, 0), 255);
    EXPECT_EQ(lv_obj_get_style_border_width(btn, 0), 0);
    EXPECT_EQ(lv_obj_get_style_shadow_width(btn, 0), 2);
    EXPECT_EQ(lv_obj_get_style_shadow_ofs_x(btn, 0), 0);
    EXPECT_EQ(lv_obj_get_style_shadow_ofs_y(btn, 0), 2);
    EXPECT_EQ(lv_obj_get_style_shadow_spread(btn, 0), 0);
    EXPECT_EQ(lv_obj_get_style_shadow_color(btn, 0).full, c16(0x9E9E9E));
    EXPECT_EQ(lv_obj_get_style_shadow_opa(btn, 0), 127);
    EXPECT_EQ(lv_obj_get_style_text_color(btn, 0).full, 0xFFFF);
    EXPECT_EQ(lv_obj_get_style_pad_left(btn, 0), 20);
    EXPECT_EQ(lv_obj_get_style_pad_right(btn, 0), 20);
    EXPECT_EQ(lv_obj_get_style_pad_top(btn, 0), 11);
    EXPECT_EQ(lv_obj_get_style_pad_bottom(btn, 0), 11);
    EXPECT_EQ(lv_obj_get_style_pad_row(btn, 0), 4);
    EXPECT_EQ(lv_obj_get_style_pad_column(btn, 0), 4);
    EXPECT_FALSE(lv_obj_has_flag(btn, LV_OBJ_FLAG_SCROLLABLE));
    EXPECT_TRUE(lv_obj_has_flag(btn, LV_OBJ_FLAG_CLICK_FOCUSABLE));
    // State changes of a button are transitions: see the end values.
    lv_obj_add_state(btn, LV_STATE_CHECKED);
    EXPECT_EQ(lv_obj_get_style_bg_color(btn, 0).full, 0x24BE); // held during the 70 ms delay
    kit->advance_ms(200);
    EXPECT_EQ(lv_obj_get_style_bg_color(btn, 0).full, lv_color_to16(lv_color_hex(0xF44336)));
    lv_obj_clear_state(btn, LV_STATE_CHECKED);
    lv_obj_add_state(btn, LV_STATE_DISABLED);
    kit->advance_ms(200);
    EXPECT_EQ(lv_obj_get_style_color_filter_opa(btn, 0), 127);
    EXPECT_NE(lv_obj_get_style_color_filter_dsc(btn, 0), nullptr);

    // label
    EXPECT_EQ(lv_obj_get_style_width(label, 0), LV_SIZE_CONTENT);
    EXPECT_EQ(lv_obj_get_style_bg_opa(label, 0), 0);
    EXPECT_EQ(lv_obj_get_style_pad_left(label, 0), 0);
    EXPECT_EQ(lv_obj_get_style_text_letter_space(label, 0), 0);
    EXPECT_EQ(lv_obj_get_style_text_line_space(label, 0), 0);
    EXPECT_EQ(lv_obj_get_style_text_align(label, 0), LV_TEXT_ALIGN_AUTO);
    EXPECT_EQ(lv_label_get_long_mode(label), LV_LABEL_LONG_WRAP);
    EXPECT_FALSE(lv_obj_has_flag(label, LV_OBJ_FLAG_CLICKABLE));

    // line, image
    EXPECT_EQ(lv_obj_get_style_line_width(line, 0), 1);
    EXPECT_EQ(lv_obj_get_style_line_color(line, 0).full, c16(0x212121));
    EXPECT_EQ(lv_obj_get_style_line_opa(line, 0), 255);
    EXPECT_FALSE(lv_obj_get_style_line_rounded(line, 0));
    EXPECT_EQ(lv_obj_get_width(img), 0);
    EXPECT_EQ(lv_obj_get_height(img), 0);
    EXPECT_EQ(lv_obj_get_style_bg_opa(img, 0), 0);
}

TEST_F(Styles, DefaultThemeValuesOfRollerAndSlider)
{
    lv_obj_t * roller = lv_roller_create(scr);
    EXPECT_EQ(lv_obj_get_style_radius(roller, 0), 10);
    EXPECT_EQ(lv_obj_get_style_border_width(roller, 0), 2);
    EXPECT_EQ(lv_obj_get_style_border_color(roller, 0).full, c16(0xE0E0E0));
    EXPECT_EQ(lv_obj_get_style_pad_left(roller, 0), 20);
    EXPECT_EQ(lv_obj_get_style_pad_top(roller, 0), 20);
    EXPECT_EQ(lv_obj_get_style_bg_color(roller, 0).full, 0xFFFF);
    EXPECT_EQ(lv_obj_get_style_bg_opa(roller, 0), 255);
    EXPECT_EQ(lv_obj_get_style_text_line_space(roller, 0), 16);
    EXPECT_EQ(lv_obj_get_style_text_align(roller, 0), LV_TEXT_ALIGN_CENTER);
    EXPECT_EQ(lv_obj_get_style_anim_time(roller, 0), 200u);
    EXPECT_EQ(lv_obj_get_style_bg_color(roller, LV_PART_SELECTED).full, 0x24BE);
    EXPECT_EQ(lv_obj_get_style_bg_opa(roller, LV_PART_SELECTED), 255);
    EXPECT_EQ(lv_obj_get_style_text_color(roller, LV_PART_SELECTED).full, 0xFFFF);
    EXPECT_EQ(lv_obj_get_style_radius(roller, LV_PART_SELECTED), 0);

    lv_obj_t * slider = lv_slider_create(scr);
    EXPECT_EQ(lv_obj_get_style_radius(slider, 0), LV_RADIUS_CIRCLE);
    EXPECT_EQ(lv_obj_get_style_bg_color(slider, 0).full, 0x24BE);
    EXPECT_EQ(lv_obj_get_style_bg_opa(slider, 0), 51);
    EXPECT_EQ(lv_obj_get_style_pad_left(slider, 0), 0);
    EXPECT_EQ(lv_obj_get_style_radius(slider, LV_PART_INDICATOR), LV_RADIUS_CIRCLE);
    EXPECT_EQ(lv_obj_get_style_bg_opa(slider, LV_PART_INDICATOR), 255);
    EXPECT_EQ(lv_obj_get_style_bg_color(slider, LV_PART_KNOB).full, 0x24BE);
    EXPECT_EQ(lv_obj_get_style_radius(slider, LV_PART_KNOB), LV_RADIUS_CIRCLE);
    EXPECT_EQ(lv_obj_get_style_pad_top(slider, LV_PART_KNOB), 5);
    EXPECT_EQ(lv_obj_get_style_transform_width(slider, LV_PART_KNOB), 0);
    lv_obj_add_state(slider, LV_STATE_PRESSED);
    kit->advance_ms(120);
    EXPECT_EQ(lv_obj_get_style_transform_width(slider, LV_PART_KNOB), 2);
}

TEST_F(Styles, DpxTableAt130Dpi)
{
    const std::pair<lv_coord_t, lv_coord_t> table[] = {{1, 1},  {2, 2},  {3, 2},   {4, 3},   {5, 4},   {6, 5},
                                                       {8, 7},  {10, 8}, {12, 10}, {16, 13}, {20, 16}, {24, 20}};
    for(const auto & [n, px] : table) EXPECT_EQ(lv_disp_dpx(nullptr, n), px) << n;
    EXPECT_EQ(LV_DPX(0), 0);
}

TEST_F(Styles, PressedButtonDarkensGrowsAndReturnsAfterDelay)
{
    lv_obj_t * btn = lv_btn_create(scr);
    lv_obj_set_pos(btn, 100, 100);
    lv_obj_set_size(btn, 200, 80);
    lv_obj_t * label = lv_label_create(btn);
    lv_label_set_text(label, "Hi");
    lv_obj_center(label);

    std::vector<std::pair<uint32_t, int>> filter; // (t, filter opa) whenever it changes
    auto sample = [&]() {
        const int v = lv_obj_get_style_color_filter_opa(btn, 0);
        if(filter.empty() || filter.back().second != v) filter.push_back({now(), v});
    };
    advance_to(100);
    kit->press(150, 130);
    while(now() < 300) {
        kit->advance_ms(5);
        sample();
    }
    const std::vector<std::pair<uint32_t, int>> ramp_in = {{105, 0}, {150, 12}, {180, 26}, {210, 35}};
    EXPECT_EQ(filter, ramp_in);
    EXPECT_EQ(lv_obj_get_style_transform_width(btn, 0), 2);
    EXPECT_EQ(lv_obj_get_style_transform_height(btn, 0), 2);
    // bg_color itself stays; the filter darkens what is drawn, also for the inherited text.
    EXPECT_EQ(lv_obj_get_style_bg_color(btn, 0).full, 0x24BE);
    EXPECT_EQ(lv_obj_get_style_bg_color_filtered(btn, 0).full, lv_color_to16(lv_color_darken(lv_color_hex(0x2196F3), 35)));
    EXPECT_EQ(lv_obj_get_style_text_color_filtered(label, 0).full,
              lv_color_to16(lv_color_darken(lv_color_white(), 35)));
    kit->refresh();
    const uint16_t dark = lv_color_to16(lv_color_darken(lv_color_hex(0x2196F3), 35));
    EXPECT_EQ(kit->pixel(150, 170), dark);
    EXPECT_EQ(kit->pixel(98, 140), dark); // grown by 2 px on every side
    EXPECT_EQ(kit->pixel(301, 140), dark);
    EXPECT_EQ(kit->pixel(95, 140), 0xF7BE);

    kit->release();
    const size_t pressed_samples = filter.size();
    while(now() < 600) {
        kit->advance_ms(5);
        sample();
    }
    // Released at 330; the return waits 70 ms and moves on the 30 ms animation ticks.
    ASSERT_EQ(filter.size(), pressed_samples + 3);
    EXPECT_EQ(filter[pressed_samples].first, 420u);
    EXPECT_EQ(filter[pressed_samples + 1].first, 450u);
    EXPECT_EQ(filter[pressed_samples + 2], (std::pair<uint32_t, int>{480, 0}));
    EXPECT_LT(filter[pressed_samples].second, 35);
    EXPECT_LT(filter[pressed_samples + 1].second, filter[pressed_samples].second);
    EXPECT_EQ(lv_obj_get_style_transform_width(btn, 0), 0);
    EXPECT_EQ(lv_anim_count_running(), 0);
}

TEST_F(Styles, LocalStyleSetterSelectorsAndRemoval)
{
    lv_obj_t * obj = lv_obj_create(scr);
    lv_obj_set_style_bg_color(obj, lv_color_hex(0x0000FF), LV_PART_MAIN | LV_STATE_DEFAULT);
    lv_obj_set_style_bg_color(obj, lv_color_hex(0x00FF00), LV_PART_SCROLLBAR | LV_STATE_PRESSED);
    lv_style_value_t v;
    ASSERT_EQ(lv_obj_get_local_style_prop(obj, LV_STYLE_BG_COLOR, &v, LV_PART_SCROLLBAR | LV_STATE_PRESSED), LV_RES_OK);
    EXPECT_EQ(v.color.full, c16(0x00FF00));
    EXPECT_EQ(lv_obj_get_local_style_prop(obj, LV_STYLE_BG_COLOR, &v, LV_PART_SCROLLBAR), LV_RES_INV);
    EXPECT_EQ(lv_obj_get_style_bg_color(obj, LV_PART_SCROLLBAR).full, c16(0x9E9E9E));
    lv_obj_add_state(obj, LV_STATE_PRESSED);
    kit->advance_ms(100); // the theme's scrollbar colour transition
    EXPECT_EQ(lv_obj_get_style_bg_color(obj, LV_PART_SCROLLBAR).full, c16(0x00FF00));
    EXPECT_EQ(lv_obj_get_style_bg_color(obj, LV_PART_MAIN).full, c16(0x0000FF));
    EXPECT_TRUE(lv_obj_remove_local_style_prop(obj, LV_STYLE_BG_COLOR, LV_PART_SCROLLBAR | LV_STATE_PRESSED));
    EXPECT_EQ(lv_obj_get_style_bg_color(obj, LV_PART_SCROLLBAR).full, c16(0x9E9E9E));
}

} // namespace
