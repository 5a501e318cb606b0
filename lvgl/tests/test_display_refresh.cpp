// Display and refresh: only invalidated areas are redrawn and flushed, in
// partial mode with small buffers (stripes, last-flush flag), full-refresh
// and direct modes; the display background under a transparent screen;
// drawing order, clipping to the parent, hidden objects, the post border
// and scrollbars.
#include "core_fixture.h"

#include <cstring>

using core_test::Core;

namespace {

uint16_t c16(uint32_t rgb) { return lv_color_to16(lv_color_hex(rgb)); }

class Refresh : public Core {
protected:
    lv_obj_t * rect(lv_obj_t * parent, lv_coord_t x, lv_coord_t y, lv_coord_t w, lv_coord_t h, uint32_t color)
    {
        lv_obj_t * o = lv_obj_create(parent);
        lv_obj_remove_style_all(o);
        lv_obj_set_pos(o, x, y);
        lv_obj_set_size(o, w, h);
        lv_obj_set_style_bg_opa(o, LV_OPA_COVER, 0);
        lv_obj_set_style_bg_color(o, lv_color_hex(color), 0);
        return o;
    }
};

TEST_F(Refresh, FirstFrameThenOnlyInvalidatedAreas)
{
    kit->advance_ms(40);
    ASSERT_GE(kit->flush_count(), 1u);
    EXPECT_EQ(kit->flushed_pixels(), 1280u * 800u); // the whole screen once
    EXPECT_EQ(kit->pixel(0, 0), 0xF7BE);
    EXPECT_EQ(kit->pixel(1279, 799), 0xF7BE);

    lv_obj_t * o = rect(scr, 100, 200, 50, 40, 0xFF0000);
    kit->advance_ms(40);
    kit->reset_flush_stats();
    lv_obj_set_style_bg_color(o, lv_color_hex(0x0000FF), 0);
    kit->advance_ms(40);
    EXPECT_EQ(kit->flush_count(), 1u);
    ASSERT_EQ(kit->flushed_areas().size(), 1u);
    const lv_area_t a = kit->flushed_areas()[0];
    EXPECT_EQ(a.x1, 100);
    EXPECT_EQ(a.y1, 200);
    EXPECT_EQ(a.x2, 149);
    EXPECT_EQ(a.y2, 239);
    EXPECT_EQ(kit->pixel(120, 220), c16(0x0000FF));

    // Moving invalidates the old and the new place.
    kit->reset_flush_stats();
    lv_obj_set_x(o, 400);
    kit->advance_ms(40);
    EXPECT_EQ(kit->pixel(120, 220), 0xF7BE);
    EXPECT_EQ(kit->pixel(420, 220), c16(0x0000FF));
    EXPECT_LT(kit->flushed_pixels(), 1280u * 800u / 10);
}

TEST_F(Refresh, TransparentScreenShowsTheDisplayBackground)
{
    lv_obj_set_style_bg_opa(scr, LV_OPA_TRANSP, 0);
    kit->advance_ms(40);
    EXPECT_EQ(kit->pixel(10, 10), 0xFFFF); // opaque white by default
    lv_disp_set_bg_color(kit->disp(), lv_color_hex(0x00FF00));
    kit->advance_ms(40);
    EXPECT_EQ(kit->pixel(10, 10), c16(0x00FF00));
}

TEST_F(Refresh, DrawingOrderClippingHiddenAndPostBorder)
{
    lv_obj_t * a = rect(scr, 100, 100, 100, 100, 0xFF0000);
    lv_obj_t * b = rect(scr, 150, 150, 100, 100, 0x0000FF); // later: on top
    (void)a;
    lv_obj_t * parent = rect(scr, 400, 100, 100, 100, 0x00FF00);
    rect(parent, 50, 50, 100, 100, 0xFF00FF); // overflows its parent: clipped
    lv_obj_t * hidden = rect(scr, 600, 100, 50, 50, 0x000000);
    lv_obj_add_flag(hidden, LV_OBJ_FLAG_HIDDEN);

    // The theme's card border is drawn after (over) the children.
    lv_obj_t * card = lv_obj_create(scr);
    lv_obj_set_pos(card, 700, 100);
    lv_obj_set_size(card, 100, 100);
    lv_obj_set_scrollbar_mode(card, LV_SCROLLBAR_MODE_OFF);
    lv_obj_t * inside = rect(card, -30, 30, 60, 20, 0x000000);
    (void)inside;

    kit->refresh();
    EXPECT_EQ(kit->pixel(175, 175), c16(0x0000FF));
    EXPECT_EQ(kit->pixel(120, 120), c16(0xFF0000));
    EXPECT_EQ(kit->pixel(480, 180), c16(0xFF00FF));
    EXPECT_EQ(kit->pixel(520, 180), 0xF7BE); // outside the parent: clipped
    EXPECT_EQ(kit->pixel(620, 120), 0xF7BE);
    // card at 700: border 2 px (700, 701), content origin 722; child spans x 692..751 but
    // is clipped to the card and covered by its border.
    EXPECT_EQ(kit->pixel(700, 160), c16(0xE0E0E0));
    EXPECT_EQ(kit->pixel(703, 160), c16(0x000000));
    EXPECT_EQ(kit->pixel(699, 160), 0xF7BE);

    lv_obj_add_flag(b, LV_OBJ_FLAG_HIDDEN);
    kit->advance_ms(40);
    EXPECT_EQ(kit->pixel(175, 175), c16(0xFF0000));
}

// Drawing starts at the topmost object that covers an area; whatever shows through it must
// still be drawn: a translucent ancestor, a rounded corner or a picture with alpha.
TEST_F(Refresh, OnlyTrulyOpaqueObjectsHideWhatIsUnderThem)
{
    lv_obj_set_style_bg_color(scr, lv_color_white(), 0);
    lv_obj_t * red = rect(scr, 0, 0, 1280, 800, 0xFF0000);
    kit->advance_ms(40);
    EXPECT_EQ(kit->pixel(640, 400), 0xF800);
    // The last frame is red everywhere: a skipped layer would leave red showing.
    lv_obj_del(red);
    lv_obj_t * dim = rect(scr, 0, 0, 1280, 800, 0x000000);
    lv_obj_set_style_bg_opa(dim, LV_OPA_TRANSP, 0);
    lv_obj_set_style_opa(dim, 128, 0);
    lv_obj_t * blue = rect(dim, 0, 0, 1280, 800, 0x0000FF);
    lv_obj_t * round = rect(scr, 100, 100, 200, 200, 0x00FF00);
    lv_obj_set_style_radius(round, 50, 0);
    kit->advance_ms(40);
    // Blue at 128 (the parent's opacity) over the white screen, not over the old red.
    EXPECT_EQ(kit->pixel(640, 400), lv_color_mix(lv_color_hex(0x0000FF), lv_color_white(), 127).full);
    EXPECT_EQ(kit->pixel(100, 100), kit->pixel(640, 400)) << "the rounded corner shows what is under it";
    EXPECT_EQ(kit->pixel(200, 200), 0x07E0);
    lv_obj_set_style_opa(dim, LV_OPA_COVER, 0);
    kit->advance_ms(40);
    EXPECT_EQ(kit->pixel(640, 400), 0x001F);
    EXPECT_EQ(kit->pixel(200, 200), 0x07E0);
    (void)blue;
}

TEST_F(Refresh, ScrollbarOnlyWhenContentOverflows)
{
    lv_obj_t * card = lv_obj_create(scr);
    lv_obj_set_pos(card, 100, 100);
    lv_obj_set_size(card, 200, 200);
    kit->refresh();
    // Scrollbar would be at x = 299 - 6 - 3 .. 299 - 6 (4 px), from y 106.
    EXPECT_EQ(kit->pixel(291, 120), 0xFFFF);
    lv_obj_t * big = lv_obj_create(card);
    lv_obj_set_size(big, 50, 400);
    kit->advance_ms(40);
    EXPECT_NE(kit->pixel(291, 120), 0xFFFF); // grey bar at 40 % over white
    lv_obj_set_scrollbar_mode(card, LV_SCROLLBAR_MODE_OFF);
    kit->advance_ms(40);
    EXPECT_EQ(kit->pixel(291, 120), 0xFFFF);
}

/* A display with its own buffer setup, public API only. */
struct RawDisplay {
    std::vector<lv_color_t> buf;
    std::vector<uint16_t> fb;
    lv_disp_draw_buf_t draw_buf{};
    lv_disp_drv_t drv{};
    lv_disp_t * disp = nullptr;
    std::vector<lv_area_t> areas;
    std::vector<bool> last;
    uint32_t monitor_px = 0;

    RawDisplay(uint32_t buf_px, bool full_refresh, bool direct)
        : buf(buf_px), fb(1280 * 800, 0)
    {
        lv_disp_draw_buf_init(&draw_buf, buf.data(), nullptr, buf_px);
        lv_disp_drv_init(&drv);
        drv.hor_res = 1280;
        drv.ver_res = 800;
        drv.draw_buf = &draw_buf;
        drv.full_refresh = full_refresh;
        drv.direct_mode = direct;
        drv.user_data = this;
        drv.flush_cb = [](lv_disp_drv_t * d, const lv_area_t * a, lv_color_t * px) {
            auto * self = static_cast<RawDisplay *>(d->user_data);
            self->areas.push_back(*a);
            self->last.push_back(lv_disp_flush_is_last(d));
            const bool whole = d->full_refresh || d->direct_mode;
            const int w = whole ? 1280 : lv_area_get_width(a);
            for(int y = a->y1; y <= a->y2; y++)
                for(int x = a->x1; x <= a->x2; x++) {
                    const int sx = whole ? x : x - a->x1;
                    const int sy = whole ? y : y - a->y1;
                    self->fb[static_cast<size_t>(y) * 1280 + static_cast<size_t>(x)] =
                        px[static_cast<size_t>(sy) * static_cast<size_t>(w) + static_cast<size_t>(sx)].full;
                }
            lv_disp_flush_ready(d);
        };
        drv.monitor_cb = [](lv_disp_drv_t * d, uint32_t, uint32_t px) {
            static_cast<RawDisplay *>(d->user_data)->monitor_px += px;
        };
        disp = lv_disp_drv_register(&drv);
    }
    ~RawDisplay() { lv_disp_remove(disp); }
    uint16_t at(int x, int y) const { return fb[static_cast<size_t>(y) * 1280 + static_cast<size_t>(x)]; }
};

class Modes : public ::testing::Test {
protected:
    void SetUp() override { lv_init(); }
    void TearDown() override { lv_deinit(); }
    static void scene()
    {
        lv_obj_t * btn = lv_btn_create(lv_scr_act());
        lv_obj_set_pos(btn, 30, 20);
        lv_obj_set_size(btn, 300, 90);
        lv_obj_t * l = lv_label_create(btn);
        lv_label_set_text(l, "Stripes");
        lv_obj_center(l);
    }
};

TEST_F(Modes, SmallBufferDrawsInStripesWithTheSameResult)
{
    std::vector<uint16_t> reference;
    {
        RawDisplay full(1280 * 800, false, false);
        scene();
        lv_refr_now(nullptr);
        reference = full.fb;
        EXPECT_EQ(full.areas.size(), 1u);
    }
    RawDisplay small(1280 * 10, false, false);
    scene();
    lv_refr_now(nullptr);
    EXPECT_EQ(small.areas.size(), 80u); // 800 rows, 10 at a time
    ASSERT_FALSE(small.last.empty());
    EXPECT_TRUE(small.last.back());
    for(size_t i = 0; i + 1 < small.last.size(); i++) EXPECT_FALSE(small.last[i]) << i;
    EXPECT_EQ(small.monitor_px, 1280u * 800u);
    EXPECT_TRUE(small.fb == reference);
}

TEST_F(Modes, FullRefreshFlushesTheWholeScreenEveryTime)
{
    RawDisplay d(1280 * 800, true, false);
    scene();
    lv_refr_now(nullptr);
    d.areas.clear();
    lv_obj_t * o = lv_obj_create(lv_scr_act());
    lv_obj_set_size(o, 10, 10);
    lv_refr_now(nullptr);
    ASSERT_EQ(d.areas.size(), 1u);
    EXPECT_EQ(d.areas[0].x1, 0);
    EXPECT_EQ(d.areas[0].y2, 799);
    EXPECT_EQ(d.at(1000, 700), 0xF7BE);
}

TEST_F(Modes, DirectModeDrawsInPlace)
{
    RawDisplay d(1280 * 800, false, true);
    scene();
    lv_obj_set_scrollbar_mode(lv_scr_act(), LV_SCROLLBAR_MODE_OFF); // as the application's screens
    lv_refr_now(nullptr);
    d.areas.clear();
    lv_obj_t * o = lv_obj_create(lv_scr_act());
    lv_obj_remove_style_all(o);
    lv_obj_set_style_bg_opa(o, LV_OPA_COVER, 0);
    lv_obj_set_style_bg_color(o, lv_color_hex(0xFF0000), 0);
    lv_obj_set_pos(o, 500, 500);
    lv_obj_set_size(o, 10, 10);
    lv_refr_now(nullptr);
    ASSERT_EQ(d.areas.size(), 1u);
    EXPECT_EQ(d.areas[0].x1, 500);
    EXPECT_EQ(d.at(505, 505), c16(0xFF0000));
    EXPECT_EQ(d.at(515, 505), 0xF7BE);
}

TEST_F(Refresh, PngOfTheFrame)
{
    lv_obj_t * btn = lv_btn_create(scr);
    lv_obj_t * l = lv_label_create(btn);
    lv_label_set_text(l, "PNG");
    kit->advance_ms(40);
    const std::string path = ::testing::TempDir() + "core_frame.png";
    ASSERT_TRUE(kit->write_png(path));
    FILE * f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    unsigned char sig[8] = {};
    EXPECT_EQ(std::fread(sig, 1, 8, f), 8u);
    std::fclose(f);
    EXPECT_EQ(sig[1], 'P');
    EXPECT_EQ(sig[2], 'N');
    EXPECT_EQ(sig[3], 'G');
    std::remove(path.c_str());
}

} // namespace
