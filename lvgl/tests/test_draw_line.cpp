// Lines: exact axis-aligned extents, round caps, anti-aliased diagonals.
#include "draw/lv_draw.h"
#include "draw/lv_draw_sw.h"
#include "support/canvas.h"
#include "support/png_util.h"

#include <gtest/gtest.h>

using tessel_test::area;
using tessel_test::Canvas;
using tessel_test::matches_golden;

namespace {

lv_draw_line_dsc_t line_dsc(int width, bool round = false, uint32_t rgb = 0x000000)
{
    lv_draw_line_dsc_t d;
    lv_draw_line_dsc_init(&d);
    d.width = static_cast<lv_coord_t>(width);
    d.color = lv_color_hex(rgb);
    d.round_start = round;
    d.round_end = round;
    return d;
}

void line(Canvas & c, const lv_draw_line_dsc_t & d, int x1, int y1, int x2, int y2)
{
    const lv_point_t a{static_cast<lv_coord_t>(x1), static_cast<lv_coord_t>(y1)};
    const lv_point_t b{static_cast<lv_coord_t>(x2), static_cast<lv_coord_t>(y2)};
    lv_draw_line(c.ctx(), &d, &a, &b);
}

}  // namespace

TEST(LineAxis, HorizontalLineCoversItsWidthAroundThePointsEndExclusive)
{
    Canvas c(60, 30);
    line(c, line_dsc(10), 10, 15, 50, 15);
    // Width 10 around y 15: rows 10..19; x from 10 to 49.
    EXPECT_EQ(c.count_not(0x0000, 10, 10, 49, 19), 0);
    EXPECT_EQ(c.count_not(0xFFFF, 0, 0, 59, 9), 0);
    EXPECT_EQ(c.count_not(0xFFFF, 0, 20, 59, 29), 0);
    EXPECT_EQ(c.count_not(0xFFFF, 0, 0, 9, 29), 0);
    EXPECT_EQ(c.count_not(0xFFFF, 50, 0, 59, 29), 0);
    // Odd width: centred on the row.
    Canvas o(20, 20);
    line(o, line_dsc(3), 2, 10, 12, 10);
    EXPECT_EQ(o.count_not(0x0000, 2, 9, 11, 11), 0);
    EXPECT_EQ(o.count_not(0xFFFF, 0, 0, 19, 8), 0);
    EXPECT_EQ(o.count_not(0xFFFF, 0, 12, 19, 19), 0);
}

TEST(LineAxis, VerticalLineAndPointOrder)
{
    Canvas a(20, 40);
    Canvas b(20, 40);
    line(a, line_dsc(4), 10, 5, 10, 30);
    line(b, line_dsc(4), 10, 30, 10, 5);
    EXPECT_EQ(a.count_not(0x0000, 8, 5, 11, 29), 0);
    EXPECT_EQ(a.count_not(0xFFFF, 0, 30, 19, 39), 0);
    EXPECT_TRUE(std::equal(a.data(), a.data() + 20 * 40, b.data()));
}

TEST(LineAxis, RoundCapsAddHalfDiscsBeyondTheEnds)
{
    Canvas c(80, 30);
    line(c, line_dsc(10, true), 20, 15, 60, 15);
    // The discs reach 5 px beyond each end (10..64 wide in all), centred on the points.
    EXPECT_NE(c.at(15, 15), 0xFFFF);
    EXPECT_EQ(c.at(14, 15), 0xFFFF);
    EXPECT_NE(c.at(64, 15), 0xFFFF);
    EXPECT_EQ(c.at(65, 15), 0xFFFF);
    EXPECT_EQ(c.at(15, 10), 0xFFFF);  // the disc's corner is open
    EXPECT_EQ(c.count_not(0x0000, 20, 10, 59, 19), 0);
    // Left and right caps are mirror images.
    for(int y = 8; y <= 22; y++)
        for(int dx = 0; dx < 6; dx++) ASSERT_EQ(c.at(19 - dx, y), c.at(60 + dx, y)) << dx << "," << y;
}

TEST(LineAxis, TranslucentRoundLineDrawsItsEndsOverTheBody)
{
    // As LVGL 8.3: the body is a plain fill, each round end a rounded box drawn over it.
    Canvas c(60, 20);
    lv_draw_line_dsc_t d = line_dsc(6, true);
    d.opa = 100;
    line(c, d, 10, 10, 50, 10);
    const uint16_t body = lv_sw::fill565(0x0000, 0xFFFF, 100);
    EXPECT_EQ(c.at(30, 10), body);
    EXPECT_EQ(c.at(11, 10), lv_sw::mix565(0x0000, body, 100)) << "end over body";
    EXPECT_EQ(c.at(8, 10), lv_sw::mix565(0x0000, 0xFFFF, 100)) << "end alone";
    EXPECT_EQ(c.at(6, 10), 0xFFFF) << "kept inside the points' box grown by half the width";
    EXPECT_EQ(c.at(8, 10), c.at(51, 10));
}

TEST(LineSkew, DiagonalIsAntiAliasedAndSymmetric)
{
    Canvas c(40, 40);
    line(c, line_dsc(3), 5, 5, 34, 34);
    EXPECT_EQ(c.at(20, 20), 0x0000);
    EXPECT_EQ(c.at(30, 10), 0xFFFF);
    // Some partially covered pixels along the edge.
    int grey = 0;
    for(int x = 0; x < 40; x++) grey += c.at(x, 20) != 0xFFFF && c.at(x, 20) != 0x0000;
    EXPECT_GE(grey, 1);
    // The shape is symmetric about the diagonal.
    for(int y = 0; y < 40; y++)
        for(int x = 0; x < 40; x++) ASSERT_EQ(c.at(x, y), c.at(y, x)) << x << "," << y;
    // Flat ends: nothing before the start point.
    EXPECT_EQ(c.count_not(0xFFFF, 0, 0, 3, 3), 0);
}

TEST(LineSkew, ZeroLengthAndZeroWidthDrawNothing)
{
    Canvas c(20, 20);
    line(c, line_dsc(5, true), 10, 10, 10, 10);
    line(c, line_dsc(0), 2, 2, 15, 9);
    EXPECT_EQ(c.count_not(0xFFFF, 0, 0, 19, 19), 0);
}

TEST(LineClip, NothingOutsideTheClip)
{
    Canvas c(60, 60, 0x1234);
    c.set_clip(20, 20, 39, 39);
    line(c, line_dsc(9, true), -10, 30, 80, 30);
    line(c, line_dsc(7, true), 30, -10, 30, 80);
    line(c, line_dsc(5, true), -5, -3, 70, 64);
    line(c, line_dsc(2), 0, 59, 59, 0);
    int outside = 0;
    for(int y = 0; y < 60; y++)
        for(int x = 0; x < 60; x++)
            if((x < 20 || x > 39 || y < 20 || y > 39) && c.at(x, y) != 0x1234) outside++;
    EXPECT_EQ(outside, 0);
    EXPECT_GT(c.count_not(0x1234, 20, 20, 39, 39), 100);
    EXPECT_TRUE(c.guards_intact());
}

TEST(LineGolden, Shapes)
{
    Canvas c(160, 80, lv_color_hex(0xF5F5F5).full);
    line(c, line_dsc(10, true, 0x707470), 10, 10, 150, 10);  // the header divider
    line(c, line_dsc(1, false, 0x212121), 10, 22, 150, 22);
    line(c, line_dsc(1, false, 0x212121), 10, 30, 150, 50);
    line(c, line_dsc(4, true, 0x2196F3), 10, 70, 60, 30);
    line(c, line_dsc(6, false, 0xF44336), 80, 70, 100, 30);
    lv_draw_line_dsc_t half = line_dsc(8, true, 0x4CAF50);
    half.round_end = 0;
    half.opa = 160;
    line(c, half, 120, 70, 150, 40);
    EXPECT_TRUE(matches_golden("draw_line_shapes", c.data(), c.w(), c.h(), {1, 0}));
}
