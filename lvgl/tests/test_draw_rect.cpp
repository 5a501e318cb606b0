// Rectangles: fills, rounded corners, gradients, borders, outlines, shadows, background images.
#include "draw/lv_draw.h"
#include "support/canvas.h"
#include "support/png_util.h"

#include <gtest/gtest.h>

#include <vector>

using tessel_test::area;
using tessel_test::Canvas;
using tessel_test::matches_golden;
using tessel_test::Tolerance;

namespace {

uint16_t hex(uint32_t rgb) { return lv_color_hex(rgb).full; }

lv_draw_rect_dsc_t plain(uint32_t rgb, lv_coord_t radius = 0)
{
    lv_draw_rect_dsc_t d;
    lv_draw_rect_dsc_init(&d);
    d.bg_color = lv_color_hex(rgb);
    d.radius = radius;
    return d;
}

void rect(Canvas & c, const lv_draw_rect_dsc_t & d, int x1, int y1, int x2, int y2)
{
    const lv_area_t a = area(x1, y1, x2, y2);
    lv_draw_rect(c.ctx(), &d, &a);
}

// Anti-aliasing may differ by one step; geometry may not.
const Tolerance kAA{1, 0};

// A 12 x 8 image with a soft alpha ramp, a hole and a red cross, for background-image tests.
struct TestImage {
    std::vector<uint8_t> data;
    lv_img_dsc_t dsc{};
    explicit TestImage(int w = 12, int h = 8)
    {
        for(int y = 0; y < h; y++) {
            for(int x = 0; x < w; x++) {
                uint16_t c = (x == y || x == w - 1 - y) ? 0xF800 : 0x001F;
                uint8_t a = static_cast<uint8_t>(std::min(255, 64 + x * 20));
                if(x >= 4 && x <= 6 && y >= 3 && y <= 4) a = 0;
                data.push_back(static_cast<uint8_t>(c & 0xFF));
                data.push_back(static_cast<uint8_t>(c >> 8));
                data.push_back(a);
            }
        }
        dsc.header.cf = LV_IMG_CF_TRUE_COLOR_ALPHA;
        dsc.header.w = static_cast<uint32_t>(w);
        dsc.header.h = static_cast<uint32_t>(h);
        dsc.data_size = static_cast<uint32_t>(data.size());
        dsc.data = data.data();
    }
};

}  // namespace

TEST(RectFill, SquareCornersCoverExactlyTheArea)
{
    Canvas c(50, 40, 0x0000);
    rect(c, plain(0x00FF00), 10, 5, 29, 24);
    EXPECT_EQ(c.count_not(0x07E0, 10, 5, 29, 24), 0);
    EXPECT_EQ(c.count_not(0x0000, 0, 0, 49, 4), 0);
    EXPECT_EQ(c.count_not(0x0000, 0, 25, 49, 39), 0);
    EXPECT_EQ(c.count_not(0x0000, 0, 5, 9, 24), 0);
    EXPECT_EQ(c.count_not(0x0000, 30, 5, 49, 24), 0);
    // One-pixel and empty areas.
    rect(c, plain(0xFF0000), 40, 30, 40, 30);
    EXPECT_EQ(c.at(40, 30), 0xF800);
    EXPECT_EQ(c.count_not(0x0000, 39, 29, 41, 29), 0);
    rect(c, plain(0xFF0000), 45, 30, 44, 35);
    EXPECT_EQ(c.count_not(0x0000, 42, 30, 49, 39), 0);
}

TEST(RectFill, OpacityBlendsWithWhatIsBelow)
{
    Canvas c(20, 20, 0xFFFF);
    lv_draw_rect_dsc_t d = plain(0x000000);
    d.bg_opa = 86;
    rect(c, d, 0, 0, 19, 19);
    EXPECT_EQ(c.at(7, 7), lv_color_mix(lv_color_black(), lv_color_white(), 86).full);
    d.bg_opa = LV_OPA_MIN;  // invisible
    Canvas c2(10, 10, 0xFFFF);
    rect(c2, d, 0, 0, 9, 9);
    EXPECT_EQ(c2.count_not(0xFFFF, 0, 0, 9, 9), 0);
}

TEST(RectRadius, CornersAreRoundAndSymmetric)
{
    Canvas c(40, 30, 0xFFFF);
    rect(c, plain(0x000000, 8), 2, 3, 33, 24);
    // Outside the arc, inside, and the straight edges fully covered.
    EXPECT_EQ(c.at(2, 3), 0xFFFF);
    EXPECT_EQ(c.at(33, 24), 0xFFFF);
    EXPECT_EQ(c.at(5, 6), 0x0000);
    EXPECT_EQ(c.at(2, 14), 0x0000);
    EXPECT_EQ(c.at(17, 3), 0x0000);
    // Anti-aliased: some pixel on the arc is a grey.
    bool grey = false;
    for(int x = 2; x < 10; x++) grey |= c.at(x, 4) != 0xFFFF && c.at(x, 4) != 0x0000;
    EXPECT_TRUE(grey);
    // Four-fold symmetry of the shape.
    for(int y = 3; y <= 24; y++)
        for(int x = 2; x <= 33; x++) {
            ASSERT_EQ(c.at(x, y), c.at(35 - x, y)) << x << "," << y;
            ASSERT_EQ(c.at(x, y), c.at(x, 27 - y)) << x << "," << y;
        }
}

TEST(RectRadius, RadiusIsClampedToHalfTheShorterSide)
{
    Canvas a(60, 30, 0xFFFF);
    Canvas b(60, 30, 0xFFFF);
    Canvas e(60, 30, 0xFFFF);
    rect(a, plain(0x0000FF, LV_RADIUS_CIRCLE), 5, 5, 54, 24);
    rect(b, plain(0x0000FF, 1000), 5, 5, 54, 24);
    rect(e, plain(0x0000FF, 10), 5, 5, 54, 24);
    EXPECT_TRUE(std::equal(a.data(), a.data() + 60 * 30, b.data()));
    EXPECT_TRUE(std::equal(a.data(), a.data() + 60 * 30, e.data()));
}

TEST(RectRadius, Golden)
{
    Canvas c(160, 60, hex(0xF5F5F5));
    rect(c, plain(0x2196F3, 0), 4, 4, 33, 27);
    rect(c, plain(0x2196F3, 5), 40, 4, 79, 27);
    rect(c, plain(0x2196F3, 13), 86, 4, 155, 27);
    rect(c, plain(0xF44336, LV_RADIUS_CIRCLE), 4, 33, 63, 45);   // slider-like pill, 13 px
    rect(c, plain(0xF44336, LV_RADIUS_CIRCLE), 70, 32, 95, 57);  // circle
    lv_draw_rect_dsc_t t = plain(0x000000, 35);
    t.bg_opa = 86;
    rect(c, t, 100, 30, 155, 59);
    EXPECT_TRUE(matches_golden("draw_rect_radius", c.data(), c.w(), c.h(), kAA));
}

TEST(RectGradient, VerticalAndHorizontalRunFromColourToColour)
{
    Canvas c(40, 40, 0x0000);
    lv_draw_rect_dsc_t d = plain(0xFFFFFF);
    d.bg_grad_color = lv_color_hex(0x0000FF);
    d.bg_grad_dir = LV_GRAD_DIR_VER;
    rect(c, d, 0, 0, 19, 39);
    EXPECT_EQ(c.at(5, 0), 0xFFFF);
    EXPECT_EQ(c.at(5, 39), 0x001F);
    for(int y = 1; y < 40; y++) {
        EXPECT_LE(c.at(5, y) >> 11, c.at(5, y - 1) >> 11) << y;  // red falls row by row
        EXPECT_EQ(c.at(0, y), c.at(19, y));                       // constant along a row
    }
    d.bg_grad_dir = LV_GRAD_DIR_HOR;
    rect(c, d, 20, 0, 39, 39);
    EXPECT_EQ(c.at(20, 7), 0xFFFF);
    EXPECT_EQ(c.at(39, 7), 0x001F);
    EXPECT_EQ(c.at(30, 0), c.at(30, 39));
}

TEST(RectGradient, StopsHoldTheColoursOutsideTheirRange)
{
    Canvas c(10, 100, 0x0000);
    lv_draw_rect_dsc_t d = plain(0xFF0000);
    d.bg_grad_color = lv_color_hex(0x00FF00);
    d.bg_grad_dir = LV_GRAD_DIR_VER;
    d.bg_main_color_stop = 128;
    d.bg_grad_color_stop = 192;
    rect(c, d, 0, 0, 9, 99);
    EXPECT_EQ(c.at(3, 0), 0xF800);
    EXPECT_EQ(c.at(3, 50), 0xF800);
    EXPECT_NE(c.at(3, 60), 0xF800);
    EXPECT_NE(c.at(3, 60), 0x07E0);
    EXPECT_EQ(c.at(3, 75), 0x07E0);
    EXPECT_EQ(c.at(3, 99), 0x07E0);
}

TEST(RectGradient, Golden)
{
    Canvas c(200, 120, 0x0000);
    // Screen-like horizontal gradient, then a translucent vertical-gradient panel with a border.
    lv_draw_rect_dsc_t scr = plain(0x90F0F8);
    scr.bg_grad_color = lv_color_hex(0x88CCE8);
    scr.bg_grad_dir = LV_GRAD_DIR_HOR;
    rect(c, scr, 0, 0, 199, 119);
    lv_draw_rect_dsc_t panel = plain(0xF8FCF8, 35);
    panel.bg_grad_dir = LV_GRAD_DIR_VER;
    panel.bg_grad_color = lv_color_hex(0x4894C8);
    panel.bg_opa = 86;
    panel.border_width = 4;
    panel.border_color = lv_color_hex(0xA8CCE8);
    rect(c, panel, 10, 10, 189, 109);
    EXPECT_TRUE(matches_golden("draw_rect_gradient", c.data(), c.w(), c.h(), kAA));
}

TEST(RectBorder, SquareBorderHasExactWidthAndLeavesTheInsideAlone)
{
    Canvas c(40, 40, 0xFFFF);
    lv_draw_rect_dsc_t d = plain(0);
    d.bg_opa = LV_OPA_TRANSP;
    d.border_width = 3;
    d.border_color = lv_color_hex(0xFF0000);
    rect(c, d, 5, 5, 34, 34);
    EXPECT_EQ(c.count_not(0xF800, 5, 5, 34, 7), 0);
    EXPECT_EQ(c.count_not(0xF800, 5, 32, 34, 34), 0);
    EXPECT_EQ(c.count_not(0xF800, 5, 5, 7, 34), 0);
    EXPECT_EQ(c.count_not(0xF800, 32, 5, 34, 34), 0);
    EXPECT_EQ(c.count_not(0xFFFF, 8, 8, 31, 31), 0);
    EXPECT_EQ(c.count_not(0xFFFF, 0, 0, 39, 4), 0);
}

TEST(RectBorder, OnlyTheChosenSidesAreDrawn)
{
    Canvas c(40, 40, 0xFFFF);
    lv_draw_rect_dsc_t d = plain(0);
    d.bg_opa = LV_OPA_TRANSP;
    d.border_width = 2;
    d.border_side = LV_BORDER_SIDE_TOP | LV_BORDER_SIDE_LEFT;
    rect(c, d, 5, 5, 34, 34);
    EXPECT_EQ(c.count_not(0x0000, 5, 5, 34, 6), 0);
    EXPECT_EQ(c.count_not(0x0000, 5, 5, 6, 34), 0);
    EXPECT_EQ(c.count_not(0xFFFF, 7, 7, 34, 34), 0);
}

TEST(RectBorder, TranslucentBorderBlendsOnce)
{
    Canvas c(30, 30, 0xFFFF);
    lv_draw_rect_dsc_t d = plain(0);
    d.bg_opa = LV_OPA_TRANSP;
    d.border_width = 5;
    d.border_opa = 52;
    d.radius = 5;
    rect(c, d, 0, 0, 29, 29);
    const uint16_t once = lv_color_mix(lv_color_black(), lv_color_white(), 52).full;
    EXPECT_EQ(c.at(15, 2), once);
    EXPECT_EQ(c.at(2, 15), once);
    EXPECT_EQ(c.at(27, 15), once);
    EXPECT_EQ(c.at(15, 27), once);
    EXPECT_EQ(c.at(2, 2), once);  // inside the rounded corner of the ring
    EXPECT_EQ(c.at(4, 4), once);
    EXPECT_EQ(c.at(5, 5), 0xFFFF);  // the hole has square corners (radius 5 - width 5)
    EXPECT_EQ(c.at(15, 15), 0xFFFF);
}

TEST(RectOutline, OutlineLiesOutsideThePad)
{
    Canvas c(40, 40, 0xFFFF);
    lv_draw_rect_dsc_t d = plain(0);
    d.bg_opa = LV_OPA_TRANSP;
    d.outline_width = 2;
    d.outline_pad = 3;
    d.outline_color = lv_color_hex(0x0000FF);
    rect(c, d, 10, 10, 29, 29);
    // As LVGL 8.3 the outline starts 1 px under the pad: x1 - pad + 1 - width .. x1 - pad; the
    // outer corners are rounded by the outline width.
    EXPECT_EQ(c.count_not(0x001F, 8, 6, 31, 7), 0);
    EXPECT_EQ(c.count_not(0x001F, 6, 8, 7, 31), 0);
    EXPECT_EQ(c.count_not(0x001F, 32, 8, 33, 31), 0);
    EXPECT_EQ(c.count_not(0xFFFF, 8, 8, 31, 31), 0);    // the rest of the pad and the rect stay free
    EXPECT_EQ(c.count_not(0xFFFF, 0, 0, 39, 5), 0);
}

TEST(RectBorder, Golden)
{
    Canvas c(200, 90, hex(0xF5F5F5));
    lv_draw_rect_dsc_t d = plain(0xFFFFFF, 10);
    d.border_width = 2;
    d.border_color = lv_color_hex(0xE0E0E0);
    rect(c, d, 5, 5, 64, 44);
    // Test-button look without its image: black, border 5 at opa 52, radius 5.
    lv_draw_rect_dsc_t b = plain(0x000000, 5);
    b.border_width = 5;
    b.border_opa = 52;
    b.border_color = lv_color_hex(0x000000);
    rect(c, b, 75, 5, 134, 44);
    lv_draw_rect_dsc_t s = plain(0x2196F3, 12);
    s.border_width = 3;
    s.border_color = lv_color_hex(0xF44336);
    s.border_side = LV_BORDER_SIDE_BOTTOM | LV_BORDER_SIDE_LEFT;
    rect(c, s, 145, 5, 194, 44);
    lv_draw_rect_dsc_t o = plain(0x4CAF50, 8);
    o.outline_width = 3;
    o.outline_pad = 2;
    o.outline_color = lv_color_hex(0x9C27B0);
    o.outline_opa = 160;
    rect(c, o, 10, 55, 69, 84);
    lv_draw_rect_dsc_t k = plain(0xFFFFFF, LV_RADIUS_CIRCLE);
    k.border_width = 4;
    k.border_color = lv_color_hex(0x2196F3);
    rect(c, k, 85, 52, 120, 87);
    lv_draw_rect_dsc_t roller = plain(0x505450, 5);
    roller.bg_grad_dir = LV_GRAD_DIR_VER;
    roller.bg_grad_color = lv_color_hex(0x101410);
    roller.border_width = 5;
    roller.border_color = lv_color_hex(0xD8D8D8);
    rect(c, roller, 135, 50, 194, 88);
    EXPECT_TRUE(matches_golden("draw_rect_border", c.data(), c.w(), c.h(), kAA));
}

TEST(RectShadow, ExtendsHalfTheWidthBeyondTheSpreadAndIsSymmetric)
{
    Canvas c(80, 80, 0xFFFF);
    lv_draw_rect_dsc_t d = plain(0);
    d.bg_opa = LV_OPA_TRANSP;
    d.shadow_width = 10;
    d.shadow_spread = 2;
    d.shadow_color = lv_color_black();
    rect(c, d, 20, 20, 59, 59);
    // Core = the rect grown by 2: 18..61; the shadow box reaches 6 px further (12..67), its two
    // outer rows and columns empty.
    EXPECT_EQ(c.count_not(0xFFFF, 0, 0, 79, 13), 0);
    EXPECT_EQ(c.count_not(0xFFFF, 0, 0, 13, 79), 0);
    EXPECT_EQ(c.count_not(0xFFFF, 66, 0, 79, 79), 0);
    EXPECT_NE(c.at(14, 40), 0xFFFF);
    EXPECT_NE(c.at(65, 40), 0xFFFF);
    // Under a transparent object the shadow is cut out (the object's box 1 px smaller).
    EXPECT_EQ(c.at(40, 40), 0xFFFF);
    EXPECT_EQ(c.at(21, 40), 0xFFFF);
    EXPECT_NE(c.at(20, 40), 0xFFFF);
    for(int y = 0; y < 80; y++)
        for(int x = 0; x < 80; x++) ASSERT_EQ(c.at(x, y), c.at(79 - x, y)) << x << "," << y;
    // Darkening monotonically toward the inside along the middle row.
    for(int x = 14; x <= 20; x++) EXPECT_LE(c.at(x, 40) & 0x1F, c.at(x - 1, 40) & 0x1F) << x;
}

TEST(RectShadow, OffsetMovesTheShadow)
{
    Canvas a(60, 60, 0xFFFF);
    Canvas b(60, 60, 0xFFFF);
    lv_draw_rect_dsc_t d = plain(0);
    d.bg_opa = LV_OPA_TRANSP;
    d.shadow_width = 6;
    d.radius = 4;
    rect(a, d, 10, 10, 39, 29);
    d.shadow_ofs_x = 5;
    d.shadow_ofs_y = 7;
    rect(b, d, 5, 3, 34, 22);
    // The same shadow, except where each object cuts it out.
    for(int y = 0; y < 60; y++)
        for(int x = 0; x < 60; x++) {
            const bool under_a = x >= 10 && x <= 39 && y >= 10 && y <= 29;
            const bool under_b = x >= 5 && x <= 34 && y >= 3 && y <= 22;
            if(!under_a && !under_b) {
                ASSERT_EQ(a.at(x, y), b.at(x, y)) << x << "," << y;
            }
        }
}

TEST(RectShadow, Golden)
{
    Canvas c(260, 110, hex(0xF5F5F5));
    // Test-button style: shadow 10, spread 2, offset 5,5 in grey under a black button.
    lv_draw_rect_dsc_t b = plain(0x000000, 5);
    b.border_width = 5;
    b.border_opa = 52;
    b.shadow_width = 10;
    b.shadow_spread = 2;
    b.shadow_ofs_x = 5;
    b.shadow_ofs_y = 5;
    b.shadow_color = lv_color_hex(0x787878);
    rect(c, b, 15, 15, 94, 44);
    // Theme button: shadow 2, offset 0,2, grey at opa 127, radius 13.
    lv_draw_rect_dsc_t t = plain(0x2196F3, 13);
    t.shadow_width = 2;
    t.shadow_ofs_y = 2;
    t.shadow_color = lv_color_hex(0x9E9E9E);
    t.shadow_opa = 127;
    rect(c, t, 115, 15, 174, 44);
    // A wide soft shadow of a circle, and the shadow of an invisible rectangle.
    lv_draw_rect_dsc_t k = plain(0xFFFFFF, LV_RADIUS_CIRCLE);
    k.shadow_width = 30;
    k.shadow_color = lv_color_hex(0x2196F3);
    rect(c, k, 200, 20, 239, 59);
    lv_draw_rect_dsc_t g = plain(0, 10);
    g.bg_opa = LV_OPA_TRANSP;
    g.shadow_width = 15;
    g.shadow_spread = -3;
    g.shadow_color = lv_color_hex(0xF44336);
    g.shadow_opa = 200;
    rect(c, g, 20, 65, 119, 99);
    EXPECT_TRUE(matches_golden("draw_rect_shadow", c.data(), c.w(), c.h(), kAA));
}

TEST(RectBgImage, CentredClippedToTheRectAndRecoloured)
{
    TestImage img;  // 12 x 8
    Canvas c(40, 30, 0xFFFF);
    lv_draw_rect_dsc_t d = plain(0);
    d.bg_opa = LV_OPA_TRANSP;
    d.bg_img_src = &img.dsc;
    rect(c, d, 0, 0, 39, 29);
    // Centred: x from 20 - 6 = 14, y from 15 - 4 = 11.
    EXPECT_EQ(c.count_not(0xFFFF, 0, 0, 13, 29), 0);
    EXPECT_EQ(c.count_not(0xFFFF, 26, 0, 39, 29), 0);
    EXPECT_EQ(c.count_not(0xFFFF, 0, 0, 39, 10), 0);
    EXPECT_EQ(c.count_not(0xFFFF, 0, 19, 39, 29), 0);
    EXPECT_EQ(c.at(14 + 11, 11 + 0), 0xF800);        // opaque red corner of the cross (alpha 255 at x 11)
    EXPECT_EQ(c.at(14 + 5, 11 + 3), 0xFFFF);         // the hole
    // In a rect smaller than the image it is cut to the rect.
    Canvas s(40, 30, 0xFFFF);
    rect(s, d, 10, 10, 17, 13);
    EXPECT_EQ(s.count_not(0xFFFF, 0, 0, 39, 9), 0);
    EXPECT_EQ(s.count_not(0xFFFF, 18, 0, 39, 29), 0);
    EXPECT_EQ(s.count_not(0xFFFF, 0, 14, 39, 29), 0);
    EXPECT_GT(s.count_not(0xFFFF, 10, 10, 17, 13), 20);
    // Recolour at 254 turns every visible pixel nearly into the recolour.
    Canvas r(40, 30, 0x0000);
    d.bg_img_recolor = lv_color_hex(0xE8E8E8);
    d.bg_img_recolor_opa = 254;
    rect(r, d, 0, 0, 39, 29);
    EXPECT_LE(tessel_test::channel_diff(r.at(14 + 11, 11), hex(0xE8E8E8)), 1);
}

TEST(RectBgImage, Golden)
{
    TestImage img(30, 20);
    Canvas c(160, 50, hex(0x90F0F8));
    lv_draw_rect_dsc_t d = plain(0x000000, 5);
    d.bg_img_src = &img.dsc;
    d.bg_img_recolor = lv_color_hex(0xE8E8E8);
    d.bg_img_recolor_opa = 254;
    d.border_width = 5;
    d.border_opa = 52;
    rect(c, d, 5, 5, 44, 34);
    lv_draw_rect_dsc_t s = plain(0, 42);
    s.bg_opa = LV_OPA_TRANSP;
    s.bg_img_src = &img.dsc;
    s.bg_img_opa = 106;
    rect(c, s, 55, 5, 94, 44);
    lv_draw_rect_dsc_t clip = plain(0xFFFFFF);
    clip.bg_img_src = &img.dsc;
    rect(c, clip, 110, 10, 129, 21);
    EXPECT_TRUE(matches_golden("draw_rect_bg_img", c.data(), c.w(), c.h(), kAA));
}

TEST(RectClip, NothingIsWrittenOutsideTheClipArea)
{
    TestImage img;
    Canvas c(100, 80, 0x1234);
    c.set_clip(30, 25, 69, 54);
    lv_draw_rect_dsc_t d = plain(0x2196F3, 20);
    d.bg_grad_dir = LV_GRAD_DIR_HOR;
    d.bg_opa = 200;
    d.border_width = 6;
    d.outline_width = 4;
    d.outline_pad = 2;
    d.shadow_width = 25;
    d.shadow_spread = 5;
    d.shadow_ofs_x = 7;
    d.bg_img_src = &img.dsc;
    rect(c, d, -50, -40, 149, 119);
    rect(c, d, 20, 15, 79, 64);
    rect(c, d, 35, 30, 40, 34);
    int outside = 0;
    for(int y = 0; y < 80; y++)
        for(int x = 0; x < 100; x++)
            if((x < 30 || x > 69 || y < 25 || y > 54) && c.at(x, y) != 0x1234) outside++;
    EXPECT_EQ(outside, 0);
    EXPECT_GT(c.count_not(0x1234, 30, 25, 69, 54), 1000);
    EXPECT_TRUE(c.guards_intact());
}

TEST(RectClip, ClipAreaOutsideTheBufferIsIgnored)
{
    Canvas c(20, 20, 0x0000, 100, 100);  // a buffer for screen area 100..119
    c.set_clip(0, 0, 500, 500);
    lv_draw_rect_dsc_t d = plain(0xFFFFFF, 4);
    d.shadow_width = 20;
    rect(c, d, 90, 90, 130, 130);
    EXPECT_EQ(c.at(110, 110), 0xFFFF);
    EXPECT_TRUE(c.guards_intact());
}
