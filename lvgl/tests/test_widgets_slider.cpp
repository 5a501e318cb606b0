// Slider: range and value rules, the theme look, pointer input (value from
// the press position, VALUE_CHANGED per changed read, CLICKED on release,
// never from program calls), the knob's hit area, and drawing.
#include "test_widgets_harness.h"
#include "support/png_util.h"

namespace {

using widgets_test::Harness;

uint16_t hex16(uint32_t c) { return lv_color_to16(lv_color_hex(c)); }

class Slider : public Harness {
protected:
    // A 400 x 20 slider at (100, 100): its track spans x 100..499.
    lv_obj_t * make(int32_t min = 0, int32_t max = 100)
    {
        lv_obj_t * s = lv_slider_create(lv_scr_act());
        lv_slider_set_range(s, min, max);
        lv_obj_set_pos(s, 100, 100);
        lv_obj_set_size(s, 400, 20);
        lv_obj_update_layout(s);
        return s;
    }
    static lv_coord_t x_at(double fraction) { return static_cast<lv_coord_t>(100 + fraction * 400); }
};

/*--------------------------------------------------------------------
 * Values
 *------------------------------------------------------------------*/
TEST_F(Slider, DefaultsAreRange0To100Value0Size260x13)
{
    lv_obj_t * s = lv_slider_create(lv_scr_act());
    lv_obj_update_layout(s);
    EXPECT_EQ(lv_obj_get_width(s), 260);
    EXPECT_EQ(lv_obj_get_height(s), 13);
    EXPECT_EQ(lv_slider_get_min_value(s), 0);
    EXPECT_EQ(lv_slider_get_max_value(s), 100);
    EXPECT_EQ(lv_slider_get_value(s), 0);
    EXPECT_FALSE(lv_slider_is_dragged(s));
    EXPECT_EQ(lv_obj_get_child_cnt(s), 0u);
    EXPECT_TRUE(lv_obj_check_type(s, &lv_slider_class));
    EXPECT_FALSE(lv_obj_has_flag(s, LV_OBJ_FLAG_SCROLLABLE));
}

TEST_F(Slider, ValueIsClampedToTheRange)
{
    lv_obj_t * s = lv_slider_create(lv_scr_act());
    lv_slider_set_range(s, 0, 127);
    lv_slider_set_value(s, 23, LV_ANIM_OFF);
    EXPECT_EQ(lv_slider_get_value(s), 23);
    lv_slider_set_value(s, 500, LV_ANIM_OFF);
    EXPECT_EQ(lv_slider_get_value(s), 127);
    lv_slider_set_value(s, -4, LV_ANIM_OFF);
    EXPECT_EQ(lv_slider_get_value(s), 0);
    lv_slider_set_value(s, 100, LV_ANIM_OFF);
    lv_slider_set_range(s, 0, 31);
    EXPECT_EQ(lv_slider_get_value(s), 31) << "a narrower range pulls the value in";
    lv_slider_set_range(s, 40, 60);
    EXPECT_EQ(lv_slider_get_value(s), 40);
    EXPECT_EQ(lv_slider_get_min_value(s), 40);
    EXPECT_EQ(lv_slider_get_max_value(s), 60);
    lv_slider_set_value(s, 55, LV_ANIM_ON);
    EXPECT_EQ(lv_slider_get_value(s), 55) << "the value changes at once even when the bar animates";
}

TEST_F(Slider, ProgramChangesSendNoEvents)
{
    lv_obj_t * s = make();
    EventLog & log = watch(s);
    lv_slider_set_value(s, 23, LV_ANIM_OFF);
    lv_slider_set_value(s, 70, LV_ANIM_ON);
    lv_slider_set_range(s, 0, 31);
    advance(500);
    EXPECT_EQ(log[LV_EVENT_VALUE_CHANGED], 0);
    EXPECT_EQ(log[LV_EVENT_CLICKED], 0);
}

/*--------------------------------------------------------------------
 * Theme look
 *------------------------------------------------------------------*/
TEST_F(Slider, ThemeGivesTrackIndicatorAndKnobStyles)
{
    lv_obj_t * s = lv_slider_create(lv_scr_act());
    const uint16_t primary = hex16(0x2196F3);
    EXPECT_EQ(lv_obj_get_style_radius(s, LV_PART_MAIN), LV_RADIUS_CIRCLE);
    EXPECT_EQ(lv_obj_get_style_bg_color(s, LV_PART_MAIN).full, primary);
    EXPECT_EQ(lv_obj_get_style_bg_opa(s, LV_PART_MAIN), 51);
    EXPECT_EQ(lv_obj_get_style_pad_left(s, LV_PART_MAIN), 0);
    EXPECT_EQ(lv_obj_get_style_radius(s, LV_PART_INDICATOR), LV_RADIUS_CIRCLE);
    EXPECT_EQ(lv_obj_get_style_bg_color(s, LV_PART_INDICATOR).full, primary);
    EXPECT_EQ(lv_obj_get_style_bg_opa(s, LV_PART_INDICATOR), LV_OPA_COVER);
    EXPECT_EQ(lv_obj_get_style_radius(s, LV_PART_KNOB), LV_RADIUS_CIRCLE);
    EXPECT_EQ(lv_obj_get_style_bg_color(s, LV_PART_KNOB).full, primary);
    EXPECT_EQ(lv_obj_get_style_bg_opa(s, LV_PART_KNOB), LV_OPA_COVER);
    EXPECT_EQ(lv_obj_get_style_pad_left(s, LV_PART_KNOB), 5);
    EXPECT_EQ(lv_obj_get_style_pad_right(s, LV_PART_KNOB), 5);
    EXPECT_EQ(lv_obj_get_style_pad_top(s, LV_PART_KNOB), 5);
    EXPECT_EQ(lv_obj_get_style_pad_bottom(s, LV_PART_KNOB), 5);
    EXPECT_EQ(lv_obj_get_style_transform_width(s, LV_PART_KNOB), 0);
    lv_obj_add_state(s, LV_STATE_PRESSED);
    advance(200); // past any transition
    EXPECT_EQ(lv_obj_get_style_transform_width(s, LV_PART_KNOB), 2) << "the knob grows when pressed";
    EXPECT_EQ(lv_obj_get_style_transform_height(s, LV_PART_KNOB), 2);
}

/*--------------------------------------------------------------------
 * Input
 *------------------------------------------------------------------*/
TEST_F(Slider, PressOnTheTrackSetsTheValueThere)
{
    lv_obj_t * s = make();
    EventLog & log = watch(s);
    press(x_at(0.75), 110);
    EXPECT_EQ(lv_slider_get_value(s), 75);
    EXPECT_TRUE(lv_slider_is_dragged(s));
    EXPECT_EQ(log[LV_EVENT_VALUE_CHANGED], 1);
    EXPECT_EQ(log[LV_EVENT_CLICKED], 0);
    advance(100); // holding still changes nothing
    EXPECT_EQ(log[LV_EVENT_VALUE_CHANGED], 1);
    release();
    EXPECT_FALSE(lv_slider_is_dragged(s));
    EXPECT_EQ(log[LV_EVENT_CLICKED], 1);
    EXPECT_EQ(log[LV_EVENT_VALUE_CHANGED], 1) << "no extra event on release";
    const std::vector<lv_event_code_t> order{LV_EVENT_PRESSED, LV_EVENT_VALUE_CHANGED, LV_EVENT_RELEASED,
                                             LV_EVENT_CLICKED};
    EXPECT_EQ(log.order, order);
}

TEST_F(Slider, PressAtTheEndsGivesTheLimits)
{
    lv_obj_t * s = make(0, 31);
    lv_slider_set_value(s, 10, LV_ANIM_OFF);
    tap(100, 110);
    EXPECT_EQ(lv_slider_get_value(s), 0);
    tap(499, 110);
    EXPECT_EQ(lv_slider_get_value(s), 31);
    tap(x_at(0.5), 110);
    EXPECT_EQ(lv_slider_get_value(s), 16) << "15.5 rounds up";
}

TEST_F(Slider, DragSendsOneEventPerReadThatChangesTheValue)
{
    lv_obj_t * s = make(0, 127);
    lv_slider_set_value(s, 23, LV_ANIM_OFF);
    EventLog & log = watch(s);
    static std::vector<int32_t> values;
    values.clear();
    lv_obj_add_event_cb(
        s, [](lv_event_t * e) { values.push_back(lv_slider_get_value(lv_event_get_target(e))); },
        LV_EVENT_VALUE_CHANGED, nullptr);

    press(179, 110);                 // 25.08 -> 25
    move_to(179, 112);               // no horizontal change: no event
    move_to(180, 110);               // 25.4: still 25, no event
    move_to(x_at(0.5), 110);
    move_to(x_at(0.5), 300);         // far off the slider vertically: still ours
    move_to(x_at(0.9), 300);
    move_to(900, 105);               // past the end: clamped
    move_to(950, 105);               // still the maximum: no event
    EXPECT_EQ(log[LV_EVENT_PRESS_LOST], 0) << "a drag on a slider is not a scroll";
    release();

    const std::vector<int32_t> expected{25, 64, 114, 127};
    EXPECT_EQ(values, expected);
    EXPECT_EQ(log[LV_EVENT_VALUE_CHANGED], 4);
    EXPECT_EQ(log[LV_EVENT_CLICKED], 1) << "one click at the end of the touch";
    EXPECT_EQ(lv_slider_get_value(s), 127);
}

TEST_F(Slider, KnobOutsideTheTrackIsPartOfTheHitArea)
{
    lv_obj_t * s = lv_slider_create(lv_scr_act());
    lv_obj_set_pos(s, 100, 100);
    lv_obj_set_size(s, 400, 13);
    lv_slider_set_value(s, 50, LV_ANIM_OFF);
    lv_obj_update_layout(s);
    // The knob is centred at x 300 and reaches 5 px above and below the 13 px track.
    const lv_point_t above_knob{300, 96};
    const lv_point_t above_track{150, 96};
    const lv_point_t left_of_start{95, 106};
    EXPECT_TRUE(lv_obj_hit_test(s, &above_knob));
    EXPECT_FALSE(lv_obj_hit_test(s, &above_track));
    lv_slider_set_value(s, 0, LV_ANIM_OFF);
    EXPECT_TRUE(lv_obj_hit_test(s, &left_of_start)) << "the knob at the start sticks out to the left";

    lv_slider_set_value(s, 50, LV_ANIM_OFF);
    EventLog & log = watch(s);
    tap(300, 96);
    EXPECT_EQ(log[LV_EVENT_PRESSED], 1);
    EXPECT_EQ(lv_slider_get_value(s), 50);
}

TEST_F(Slider, TallerThanWideRunsBottomToTop)
{
    lv_obj_t * s = lv_slider_create(lv_scr_act());
    lv_obj_set_pos(s, 100, 100);
    lv_obj_set_size(s, 20, 200); // y 100..299
    lv_obj_update_layout(s);
    tap(110, 150);
    EXPECT_EQ(lv_slider_get_value(s), 75);
    tap(110, 100);
    EXPECT_EQ(lv_slider_get_value(s), 100);
    tap(110, 299);
    EXPECT_EQ(lv_slider_get_value(s), 0);
    lv_slider_set_value(s, 50, LV_ANIM_OFF);
    render();
    EXPECT_EQ(px(110, 260), hex16(0x2196F3)) << "indicator in the lower half";
    EXPECT_NE(px(110, 140), hex16(0x2196F3));
}

TEST_F(Slider, HandlerMayDeleteTheSliderOnValueChanged)
{
    lv_obj_t * s = make();
    lv_obj_add_event_cb(
        s, [](lv_event_t * e) { lv_obj_del(lv_event_get_target(e)); }, LV_EVENT_VALUE_CHANGED, nullptr);
    press(x_at(0.3), 110);
    move_to(x_at(0.6), 110);
    release();
    EXPECT_EQ(lv_obj_get_child_cnt(lv_scr_act()), 0u);
}

/*--------------------------------------------------------------------
 * Drawing
 *------------------------------------------------------------------*/
TEST_F(Slider, DrawsIndicatorUpToTheValueAndTheKnobOverIt)
{
    lv_obj_t * s = make();
    lv_slider_set_value(s, 25, LV_ANIM_OFF); // indicator to x 199, knob centred at x 200
    render();
    const uint16_t primary = hex16(0x2196F3);
    EXPECT_EQ(px(150, 110), primary) << "indicator";
    EXPECT_EQ(px(200, 110), primary) << "knob";
    EXPECT_EQ(px(200, 96), primary) << "knob above the track (pad 5)";
    EXPECT_NE(px(400, 110), primary) << "track only";
    EXPECT_NE(px(400, 110), hex16(0xF5F5F5)) << "the track is tinted";
    EXPECT_EQ(px(400, 96), hex16(0xF5F5F5)) << "no knob there";

    // Pressed, the knob grows by 2 px on each side.
    lv_slider_set_value(s, 0, LV_ANIM_OFF);
    render();
    EXPECT_EQ(px(86, 110), primary) << "the knob at the start reaches 15 px out of the slider";
    EXPECT_EQ(px(83, 110), hex16(0xF5F5F5));
    press(100, 110);
    advance(200);
    render();
    EXPECT_EQ(px(84, 110), primary) << "grown knob";
    EXPECT_NE(px(83, 110), hex16(0xF5F5F5)) << "its outermost column is inside the redrawn area too";
    release();
}

TEST_F(Slider, AnimatedSetValueMovesTheIndicatorOverTheAnimTime)
{
    lv_obj_t * s = make();
    lv_obj_set_style_anim_time(s, 300, 0);
    lv_slider_set_value(s, 100, LV_ANIM_ON);
    EXPECT_EQ(lv_slider_get_value(s), 100);
    advance(150);
    render();
    const uint16_t primary = hex16(0x2196F3);
    EXPECT_NE(px(480, 110), primary) << "halfway: the indicator has not reached the end";
    EXPECT_EQ(px(150, 110), primary);
    advance(300);
    render();
    EXPECT_EQ(px(480, 110), primary);
}

TEST_F(Slider, MatchesGolden)
{
    // Theme look at 40, the setup screen's volume slider look at 23 of 127.
    lv_obj_t * a = lv_slider_create(lv_scr_act());
    lv_obj_set_pos(a, 20, 20);
    lv_slider_set_value(a, 40, LV_ANIM_OFF);

    lv_obj_t * b = lv_slider_create(lv_scr_act());
    lv_slider_set_range(b, 0, 127);
    lv_slider_set_value(b, 23, LV_ANIM_OFF);
    lv_obj_set_pos(b, 20, 60);
    lv_obj_set_size(b, 260, 15);
    lv_obj_set_style_bg_opa(b, 60, LV_PART_MAIN);
    lv_obj_set_style_bg_color(b, lv_color_hex(0x2094F0), LV_PART_MAIN);
    lv_obj_set_style_radius(b, 50, LV_PART_MAIN);
    lv_obj_set_style_outline_width(b, 0, LV_PART_MAIN);
    lv_obj_set_style_shadow_width(b, 0, LV_PART_MAIN);
    lv_obj_set_style_bg_opa(b, 255, LV_PART_INDICATOR);
    lv_obj_set_style_bg_color(b, lv_color_hex(0x2094F0), LV_PART_INDICATOR);
    lv_obj_set_style_radius(b, 50, LV_PART_INDICATOR);
    lv_obj_set_style_bg_opa(b, 255, LV_PART_KNOB);
    lv_obj_set_style_bg_color(b, lv_color_hex(0x2094F0), LV_PART_KNOB);
    lv_obj_set_style_radius(b, 50, LV_PART_KNOB);

    render();
    const int w = 300;
    const int h = 100;
    const auto pic = crop(0, 0, w - 1, h - 1);
    EXPECT_TRUE(tessel_test::matches_golden("widgets_slider", pic.data(), w, h, {2, 20}));
}

} // namespace
