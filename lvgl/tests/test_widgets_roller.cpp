// Roller: options and modes, the visible-row height rule, the theme look,
// selection by drag and tap (events only for user changes), infinite wrap-around,
// and the drawing checked against a golden picture.
#include "test_widgets_harness.h"
#include "support/png_util.h"

#include <cstring>
#include <string>

namespace {

using widgets_test::Harness;

const char * const kOpts = "Default\nUart\nSPI_M\nSPI_S\nDSI";

uint16_t hex16(uint32_t c) { return lv_color_to16(lv_color_hex(c)); }

class Roller : public Harness {
protected:
    // The device-tree roller as built on the test screen, theme styles only.
    lv_obj_t * make(lv_coord_t x, lv_coord_t y, lv_roller_mode_t mode = LV_ROLLER_MODE_INFINITE)
    {
        lv_obj_t * r = lv_roller_create(lv_scr_act());
        lv_roller_set_options(r, kOpts, mode);
        lv_roller_set_visible_row_count(r, 3);
        lv_obj_set_pos(r, x, y);
        lv_obj_set_width(r, 100);
        lv_obj_update_layout(r);
        return r;
    }
    static std::string selected_str(lv_obj_t * r)
    {
        char buf[32];
        lv_roller_get_selected_str(r, buf, sizeof(buf));
        return buf;
    }
    static lv_area_t area_of(const lv_obj_t * o)
    {
        lv_area_t a;
        lv_obj_get_coords(o, &a);
        return a;
    }
    // Middle of the roller: the selected row.
    static lv_coord_t mid_x(lv_obj_t * r) { return static_cast<lv_coord_t>((area_of(r).x1 + area_of(r).x2) / 2); }
    static lv_coord_t mid_y(lv_obj_t * r) { return static_cast<lv_coord_t>(area_of(r).y1 + lv_obj_get_height(r) / 2); }
    // Drag by `rows` rows of 32 px (negative: upwards), in several reads, then let the snap finish.
    void drag_rows(lv_obj_t * r, int rows)
    {
        // A slow drag: the finger rests before it lifts, so no throw carries the options further.
        const lv_coord_t y0 = mid_y(r);
        press(mid_x(r), y0);
        for(int i = 1; i <= 6; i++) move_to(mid_x(r), static_cast<lv_coord_t>(y0 + rows * 32 * i / 6));
        advance(150);
        release();
        advance(300);
    }
    // The pixels of roller `a` equal those of roller `b` (same size, different place).
    bool looks_same(lv_obj_t * a, lv_obj_t * b)
    {
        render();
        const lv_area_t aa = area_of(a);
        const lv_area_t ba = area_of(b);
        const int w = lv_obj_get_width(a);
        const int h = lv_obj_get_height(a);
        return crop(aa.x1, aa.y1, aa.x1 + w - 1, aa.y1 + h - 1) == crop(ba.x1, ba.y1, ba.x1 + w - 1, ba.y1 + h - 1);
    }
};

/*--------------------------------------------------------------------
 * Structure, options, API
 *------------------------------------------------------------------*/
TEST_F(Roller, HasOneLabelChildHoldingTheOptions)
{
    lv_obj_t * r = lv_roller_create(lv_scr_act());
    EXPECT_TRUE(lv_obj_check_type(r, &lv_roller_class));
    ASSERT_EQ(lv_obj_get_child_cnt(r), 1u);
    lv_roller_set_options(r, kOpts, LV_ROLLER_MODE_NORMAL);
    EXPECT_EQ(lv_obj_get_child_cnt(r), 1u);
    EXPECT_EQ(lv_roller_get_option_cnt(r), 5);
    EXPECT_STREQ(lv_roller_get_options(r), kOpts);
    EXPECT_STREQ(lv_label_get_text(lv_obj_get_child(r, 0)), kOpts);
    EXPECT_FALSE(lv_obj_has_flag(r, LV_OBJ_FLAG_SCROLLABLE));
    EXPECT_FALSE(lv_obj_has_flag_any(r, LV_OBJ_FLAG_SCROLL_CHAIN));
}

TEST_F(Roller, InfiniteModeRepeatsTheOptionsSevenTimes)
{
    lv_obj_t * r = lv_roller_create(lv_scr_act());
    lv_roller_set_options(r, kOpts, LV_ROLLER_MODE_INFINITE);
    EXPECT_EQ(lv_roller_get_option_cnt(r), 5);
    EXPECT_EQ(lv_roller_get_selected(r), 0);
    EXPECT_EQ(selected_str(r), "Default");
    const std::string text = lv_label_get_text(lv_obj_get_child(r, 0));
    std::string expected;
    for(int i = 0; i < LV_ROLLER_INF_PAGES; i++) expected += std::string(i ? "\n" : "") + kOpts;
    EXPECT_EQ(text, expected);
}

TEST_F(Roller, SetSelectedClampsAndSelectedStrTruncates)
{
    lv_obj_t * r = make(100, 100);
    lv_roller_set_selected(r, 2, LV_ANIM_OFF);
    EXPECT_EQ(lv_roller_get_selected(r), 2);
    EXPECT_EQ(selected_str(r), "SPI_M");
    lv_roller_set_selected(r, 4, LV_ANIM_ON);
    EXPECT_EQ(lv_roller_get_selected(r), 4) << "the selection changes at once, the picture follows";
    EXPECT_EQ(selected_str(r), "DSI");
    lv_roller_set_selected(r, 9, LV_ANIM_OFF);
    EXPECT_EQ(lv_roller_get_selected(r), 4);
    lv_roller_set_selected(r, 0, LV_ANIM_OFF);
    char small[4];
    lv_roller_get_selected_str(r, small, sizeof(small));
    EXPECT_STREQ(small, "Def");
    // New options start again at the first one.
    lv_roller_set_selected(r, 3, LV_ANIM_OFF);
    lv_roller_set_options(r, "a\nb", LV_ROLLER_MODE_NORMAL);
    EXPECT_EQ(lv_roller_get_selected(r), 0);
    EXPECT_EQ(lv_roller_get_option_cnt(r), 2);
}

/*--------------------------------------------------------------------
 * Size and theme look
 *------------------------------------------------------------------*/
TEST_F(Roller, VisibleRowCountFixesTheHeightFromTheStylesAtThatCall)
{
    lv_obj_t * r = lv_roller_create(lv_scr_act());
    lv_roller_set_options(r, kOpts, LV_ROLLER_MODE_INFINITE);
    lv_roller_set_visible_row_count(r, 3);
    lv_obj_update_layout(r);
    EXPECT_EQ(lv_obj_get_height(r), 100) << "3 x (16 + 16) + 2 x 2";
    EXPECT_EQ(lv_obj_get_width(r), 98) << "content width: widest option + 2 x 20 pad + 2 x 2 border";

    lv_obj_set_style_border_width(r, 5, 0);
    lv_obj_set_style_text_line_space(r, 20, 0);
    lv_obj_update_layout(r);
    EXPECT_EQ(lv_obj_get_height(r), 100) << "later styles keep the height";
    EXPECT_EQ(lv_obj_get_width(r), 104);

    lv_obj_t * r2 = lv_roller_create(lv_scr_act());
    lv_roller_set_options(r2, kOpts, LV_ROLLER_MODE_INFINITE);
    lv_obj_set_style_border_width(r2, 5, 0);
    lv_roller_set_visible_row_count(r2, 3);
    lv_obj_update_layout(r2);
    EXPECT_EQ(lv_obj_get_height(r2), 106);
}

TEST_F(Roller, DefaultSizeBeforeAnyRowCount)
{
    lv_obj_t * r = lv_roller_create(lv_scr_act());
    lv_obj_update_layout(r);
    EXPECT_EQ(lv_obj_get_height(r), 130);
}

TEST_F(Roller, ThemeGivesTheCardLookAndTheSelectedBand)
{
    lv_obj_t * r = lv_roller_create(lv_scr_act());
    EXPECT_EQ(lv_obj_get_style_text_line_space(r, LV_PART_MAIN), 16);
    EXPECT_EQ(lv_obj_get_style_text_align(r, LV_PART_MAIN), LV_TEXT_ALIGN_CENTER);
    EXPECT_EQ(lv_obj_get_style_anim_time(r, LV_PART_MAIN), 200u);
    EXPECT_EQ(lv_obj_get_style_radius(r, LV_PART_MAIN), 10);
    EXPECT_EQ(lv_obj_get_style_border_width(r, LV_PART_MAIN), 2);
    EXPECT_EQ(lv_obj_get_style_border_color(r, LV_PART_MAIN).full, hex16(0xE0E0E0));
    EXPECT_EQ(lv_obj_get_style_pad_left(r, LV_PART_MAIN), 20);
    EXPECT_EQ(lv_obj_get_style_pad_top(r, LV_PART_MAIN), 20);
    EXPECT_EQ(lv_obj_get_style_bg_color(r, LV_PART_MAIN).full, hex16(0xFFFFFF));
    EXPECT_EQ(lv_obj_get_style_bg_opa(r, LV_PART_MAIN), LV_OPA_COVER);
    EXPECT_EQ(lv_obj_get_style_bg_color(r, LV_PART_SELECTED).full, hex16(0x2196F3));
    EXPECT_EQ(lv_obj_get_style_bg_opa(r, LV_PART_SELECTED), LV_OPA_COVER);
    EXPECT_EQ(lv_obj_get_style_text_color(r, LV_PART_SELECTED).full, hex16(0xFFFFFF));
    EXPECT_EQ(lv_obj_get_style_radius(r, LV_PART_SELECTED), 0);
}

/*--------------------------------------------------------------------
 * Input and events
 *------------------------------------------------------------------*/
TEST_F(Roller, ProgramCallsSendNoValueChanged)
{
    lv_obj_t * r = make(100, 100);
    EventLog & log = watch(r);
    lv_roller_set_selected(r, 3, LV_ANIM_ON);
    advance(300);
    lv_roller_set_selected(r, 1, LV_ANIM_OFF);
    lv_roller_set_options(r, kOpts, LV_ROLLER_MODE_NORMAL);
    lv_roller_set_visible_row_count(r, 4);
    advance(100);
    EXPECT_EQ(log[LV_EVENT_VALUE_CHANGED], 0);
}

TEST_F(Roller, DragOfOneRowSelectsTheNextOptionWithOneEvent)
{
    lv_obj_t * r = make(200, 200);
    EventLog & log = watch(r);
    drag_rows(r, -1);
    EXPECT_EQ(lv_roller_get_selected(r), 1);
    EXPECT_EQ(selected_str(r), "Uart");
    EXPECT_EQ(log[LV_EVENT_VALUE_CHANGED], 1);
    EXPECT_EQ(log[LV_EVENT_PRESS_LOST], 0) << "a drag on the roller is not a scroll";

    drag_rows(r, 1);
    EXPECT_EQ(lv_roller_get_selected(r), 0);
    EXPECT_EQ(log[LV_EVENT_VALUE_CHANGED], 2);

    // A drag that ends where it began changes nothing and says nothing.
    const lv_coord_t y0 = mid_y(r);
    press(mid_x(r), y0);
    move_to(mid_x(r), static_cast<lv_coord_t>(y0 - 40));
    move_to(mid_x(r), static_cast<lv_coord_t>(y0 + 3));
    advance(150);
    release();
    advance(300);
    EXPECT_EQ(lv_roller_get_selected(r), 0);
    EXPECT_EQ(log[LV_EVENT_VALUE_CHANGED], 2);
}

TEST_F(Roller, ValueIsReadableInTheHandlerAndChangesOnRelease)
{
    lv_obj_t * r = make(200, 200);
    static int seen;
    seen = -1;
    lv_obj_add_event_cb(
        r, [](lv_event_t * e) { seen = lv_roller_get_selected(lv_event_get_target(e)); }, LV_EVENT_VALUE_CHANGED,
        nullptr);
    const lv_coord_t y0 = mid_y(r);
    press(mid_x(r), y0);
    move_to(mid_x(r), static_cast<lv_coord_t>(y0 - 33));
    move_to(mid_x(r), static_cast<lv_coord_t>(y0 - 64));
    advance(150);
    EXPECT_EQ(lv_roller_get_selected(r), 0) << "nothing is chosen while the finger is down";
    EXPECT_EQ(seen, -1);
    release();
    EXPECT_EQ(seen, 2);
}

TEST_F(Roller, TapSelectsTheRowUnderThePointer)
{
    lv_obj_t * r = make(200, 200);
    EventLog & log = watch(r);
    tap(mid_x(r), static_cast<lv_coord_t>(mid_y(r) + 32));
    advance(300);
    EXPECT_EQ(lv_roller_get_selected(r), 1);
    EXPECT_EQ(log[LV_EVENT_VALUE_CHANGED], 1);
    EXPECT_EQ(log[LV_EVENT_CLICKED], 1);

    tap(mid_x(r), static_cast<lv_coord_t>(mid_y(r) - 32));
    advance(300);
    EXPECT_EQ(lv_roller_get_selected(r), 0);
    tap(mid_x(r), static_cast<lv_coord_t>(mid_y(r) - 32));
    advance(300);
    EXPECT_EQ(lv_roller_get_selected(r), 4) << "the row above Default is DSI in infinite mode";
    EXPECT_EQ(log[LV_EVENT_VALUE_CHANGED], 3);

    tap(mid_x(r), mid_y(r));
    advance(300);
    EXPECT_EQ(lv_roller_get_selected(r), 4);
    EXPECT_EQ(log[LV_EVENT_VALUE_CHANGED], 3) << "tapping the selected row changes nothing";
}

TEST_F(Roller, InfiniteModeWrapsAndNeverRunsOut)
{
    lv_obj_t * r = make(200, 200);
    lv_obj_t * ref = make(600, 200);
    EventLog & log = watch(r);

    drag_rows(r, -4);
    EXPECT_EQ(selected_str(r), "DSI");
    drag_rows(r, -1);
    EXPECT_EQ(lv_roller_get_selected(r), 0);
    EXPECT_EQ(selected_str(r), "Default") << "past the last option comes the first again";
    EXPECT_EQ(log[LV_EVENT_VALUE_CHANGED], 2);
    EXPECT_TRUE(looks_same(r, ref)) << "after wrapping the roller looks as at the start";

    // Far more rows than the seven copies hold, in both directions.
    int expected = 0;
    for(int i = 0; i < 14; i++) {
        drag_rows(r, -3);
        expected = (expected + 3) % 5;
        ASSERT_EQ(lv_roller_get_selected(r), expected) << "drag " << i;
    }
    lv_roller_set_selected(ref, static_cast<uint16_t>(expected), LV_ANIM_OFF);
    EXPECT_TRUE(looks_same(r, ref));
    for(int i = 0; i < 14; i++) {
        drag_rows(r, 2);
        expected = (expected + 5 - 2) % 5;
        ASSERT_EQ(lv_roller_get_selected(r), expected) << "drag " << i;
        ASSERT_LT(lv_roller_get_selected(r), 5);
    }
    lv_roller_set_selected(ref, static_cast<uint16_t>(expected), LV_ANIM_OFF);
    EXPECT_TRUE(looks_same(r, ref));
}

TEST_F(Roller, NormalModeStopsAtTheEnds)
{
    lv_obj_t * r = make(200, 200, LV_ROLLER_MODE_NORMAL);
    EventLog & log = watch(r);
    drag_rows(r, 2);
    EXPECT_EQ(lv_roller_get_selected(r), 0) << "nothing above the first option";
    EXPECT_EQ(log[LV_EVENT_VALUE_CHANGED], 0);
    drag_rows(r, -9);
    EXPECT_EQ(lv_roller_get_selected(r), 4);
    EXPECT_EQ(log[LV_EVENT_VALUE_CHANGED], 1);
    tap(mid_x(r), static_cast<lv_coord_t>(mid_y(r) + 32));
    advance(300);
    EXPECT_EQ(lv_roller_get_selected(r), 4) << "no row below the last option";
}

TEST_F(Roller, SnapAnimatesOverTheAnimTime)
{
    lv_obj_t * r = make(200, 200);
    lv_obj_t * ref = make(600, 200);
    lv_roller_set_selected(ref, 1, LV_ANIM_OFF);
    drag(mid_x(r), mid_y(r), mid_x(r), static_cast<lv_coord_t>(mid_y(r) - 20), 2); // short of a row: snap on
    EXPECT_EQ(lv_roller_get_selected(r), 1);
    EXPECT_NE(lv_anim_get(r, nullptr), nullptr) << "the snap is animated";
    EXPECT_FALSE(looks_same(r, ref));
    advance(250);
    EXPECT_EQ(lv_anim_get(r, nullptr), nullptr);
    EXPECT_TRUE(looks_same(r, ref));
}

/*--------------------------------------------------------------------
 * Drawing
 *------------------------------------------------------------------*/
TEST_F(Roller, DrawsTheSelectedBandAndRowsInTheirColours)
{
    lv_obj_t * r = make(200, 200);
    render();
    const int y = mid_y(r);
    const lv_area_t c = area_of(r);
    // The band fills the middle row inside the border, in the primary colour.
    EXPECT_EQ(px(c.x1 + 3, y), hex16(0x2196F3));
    EXPECT_EQ(px(c.x2 - 3, y), hex16(0x2196F3));
    EXPECT_EQ(px(c.x1 + 3, y - 32), hex16(0xFFFFFF)) << "rows above the band on the card's white";
    // White text in the band, dark text outside it.
    int white_in_band = 0;
    int dark_above = 0;
    for(int x = c.x1 + 5; x < c.x2 - 5; x++) {
        for(int dy = -6; dy <= 6; dy++) {
            white_in_band += px(x, y + dy) == hex16(0xFFFFFF);
            dark_above += px(x, y - 32 + dy) == hex16(0x212121);
        }
    }
    EXPECT_GT(white_in_band, 10);
    EXPECT_GT(dark_above, 5);
}

TEST_F(Roller, MatchesGolden)
{
    // Left: theme look. Right: the device-tree roller's own styles on its grey panel.
    lv_obj_t * plain = make(20, 20);
    lv_roller_set_selected(plain, 2, LV_ANIM_OFF);

    lv_obj_t * panel = lv_obj_create(lv_scr_act());
    lv_obj_set_pos(panel, 140, 0);
    lv_obj_set_size(panel, 140, 140);
    lv_obj_set_style_border_width(panel, 0, 0);
    lv_obj_set_style_radius(panel, 10, 0);
    lv_obj_set_style_bg_opa(panel, 102, 0);
    lv_obj_set_style_bg_color(panel, lv_color_hex(0x989898), 0);
    lv_obj_set_style_pad_all(panel, 0, 0);
    lv_obj_set_scrollbar_mode(panel, LV_SCROLLBAR_MODE_OFF);

    lv_obj_t * r = lv_roller_create(panel);
    lv_roller_set_options(r, kOpts, LV_ROLLER_MODE_INFINITE);
    lv_roller_set_visible_row_count(r, 3);
    lv_obj_set_pos(r, 10, 8);
    lv_obj_set_width(r, 100);
    lv_obj_set_scrollbar_mode(r, LV_SCROLLBAR_MODE_OFF);
    lv_obj_set_style_radius(r, 5, 0);
    lv_obj_set_style_bg_opa(r, 255, 0);
    lv_obj_set_style_bg_color(r, lv_color_hex(0x505450), 0);
    lv_obj_set_style_bg_grad_dir(r, LV_GRAD_DIR_VER, 0);
    lv_obj_set_style_bg_grad_color(r, lv_color_hex(0x101410), 0);
    lv_obj_set_style_text_color(r, lv_color_hex(0xF8FCF8), 0);
    lv_obj_set_style_text_align(r, LV_TEXT_ALIGN_CENTER, 0);
    lv_obj_set_style_border_width(r, 5, 0);
    lv_obj_set_style_border_opa(r, 255, 0);
    lv_obj_set_style_border_color(r, lv_color_hex(0xD8D8D8), 0);
    lv_obj_set_style_shadow_width(r, 0, 0);
    lv_obj_set_style_bg_opa(r, 255, LV_PART_SELECTED);
    lv_obj_set_style_bg_color(r, lv_color_hex(0x90C4F0), LV_PART_SELECTED);
    lv_obj_set_style_bg_grad_dir(r, LV_GRAD_DIR_VER, LV_PART_SELECTED);
    lv_obj_set_style_bg_grad_color(r, lv_color_hex(0x389CF0), LV_PART_SELECTED);
    lv_obj_set_style_text_color(r, lv_color_hex(0xF8FCF8), LV_PART_SELECTED);
    lv_obj_set_style_text_align(r, LV_TEXT_ALIGN_CENTER, LV_PART_SELECTED);
    lv_obj_update_layout(lv_scr_act());
    EXPECT_EQ(lv_obj_get_height(r), 100);

    render();
    const int w = 300;
    const int h = 150;
    const auto pic = crop(0, 0, w - 1, h - 1);
    EXPECT_TRUE(tessel_test::matches_golden("widgets_roller", pic.data(), w, h, {2, 20}));
}

} // namespace
