// The span decomposition of rounded shapes must equal a plain per-pixel evaluation of the
// same coverage, for any size, radius, border width and side selection.
#include "draw/lv_draw.h"
#include "draw/lv_draw_sw.h"
#include "support/canvas.h"

#include <gtest/gtest.h>

#include <random>

using tessel_test::area;
using tessel_test::Canvas;

namespace {

uint16_t expected_px(uint16_t bg, uint16_t fg, uint32_t cov, uint32_t opa)
{
    uint32_t a = opa >= LV_OPA_MAX ? cov : cov >= LV_OPA_MAX ? opa : (cov * opa) >> 8;
    if(a <= LV_OPA_MIN) return bg;
    if(a >= LV_OPA_MAX) return fg;
    lv_color_t f, b;
    f.full = fg;
    b.full = bg;
    return lv_color_mix(f, b, static_cast<uint8_t>(a)).full;
}

}  // namespace

TEST(RoundRectMask, RowsAreMonotonicAndMatchCoverage)
{
    for(int r : {0, 1, 2, 5, 13, 35}) {
        const lv_sw::Area a{3, 4, 3 + 2 * r + 7, 4 + 2 * r + 4};
        const lv_sw::RoundRect rr(a, r);
        for(int y = a.y1 - 1; y <= a.y2 + 1; y++) {
            const auto row = rr.row(y);
            if(y < a.y1 || y > a.y2) {
                EXPECT_TRUE(row.none);
                continue;
            }
            int prev = 0;
            for(int x = a.x1; x <= (a.x1 + a.x2) / 2; x++) {
                const int c = row.at(x);
                EXPECT_GE(c, prev) << r << " " << x << "," << y;
                prev = c;
                EXPECT_EQ(c, row.at(a.x1 + a.x2 - x)) << "mirror " << r;
            }
            EXPECT_EQ(row.at(a.x1 - 1), 0);
            EXPECT_EQ(row.at(a.x2 + 1), 0);
        }
    }
}

TEST(RoundRectMask, BordersMatchAPerPixelReference)
{
    std::mt19937 rng(12345);
    auto rnd = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for(int iter = 0; iter < 300; iter++) {
        const int w = rnd(1, 60);
        const int h = rnd(1, 45);
        const int x1 = rnd(-5, 20);
        const int y1 = rnd(-5, 20);
        lv_draw_rect_dsc_t d;
        lv_draw_rect_dsc_init(&d);
        d.bg_opa = LV_OPA_TRANSP;
        d.radius = static_cast<lv_coord_t>(rnd(0, 1) ? rnd(0, 40) : LV_RADIUS_CIRCLE);
        d.border_width = static_cast<lv_coord_t>(rnd(1, 12));
        d.border_opa = static_cast<lv_opa_t>(rnd(0, 1) ? 255 : rnd(3, 252));
        d.border_side = static_cast<lv_border_side_t>(rnd(1, 15));
        d.border_color = lv_color_hex(0x2040C0);
        Canvas c(90, 80, 0xFFFF);
        const lv_area_t a = area(x1, y1, x1 + w - 1, y1 + h - 1);
        lv_draw_rect(c.ctx(), &d, &a);

        // Reference: outer coverage minus hole coverage, pixel by pixel.
        const lv_sw::Area outer{x1, y1, x1 + w - 1, y1 + h - 1};
        const int bw = d.border_width;
        const int rout = lv_sw::clamp_radius(outer, d.radius);
        lv_sw::Area inner = outer;
        inner.x1 += (d.border_side & LV_BORDER_SIDE_LEFT) ? bw : -(bw + rout);
        inner.x2 -= (d.border_side & LV_BORDER_SIDE_RIGHT) ? bw : -(bw + rout);
        inner.y1 += (d.border_side & LV_BORDER_SIDE_TOP) ? bw : -(bw + rout);
        inner.y2 -= (d.border_side & LV_BORDER_SIDE_BOTTOM) ? bw : -(bw + rout);
        const lv_sw::RoundRect o(outer, rout);
        const lv_sw::RoundRect hole(inner, std::max(0, rout - bw));
        for(int y = 0; y < 80; y++)
            for(int x = 0; x < 90; x++) {
                const int cov = std::max(0, o.coverage(x, y) - (inner.empty() ? 0 : hole.coverage(x, y)));
                ASSERT_EQ(c.at(x, y), expected_px(0xFFFF, d.border_color.full, static_cast<uint32_t>(cov), d.border_opa))
                    << "iter " << iter << " at " << x << "," << y << " rect " << x1 << "," << y1 << " " << w << "x" << h
                    << " r " << d.radius << " bw " << bw << " sides " << int(d.border_side);
            }
        ASSERT_TRUE(c.guards_intact());
    }
}

TEST(RoundRectMask, BackgroundsMatchAPerPixelReference)
{
    std::mt19937 rng(777);
    auto rnd = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for(int iter = 0; iter < 300; iter++) {
        const int w = rnd(1, 70);
        const int h = rnd(1, 50);
        const int x1 = rnd(-8, 30);
        const int y1 = rnd(-8, 30);
        lv_draw_rect_dsc_t d;
        lv_draw_rect_dsc_init(&d);
        d.radius = static_cast<lv_coord_t>(rnd(0, 1) ? rnd(0, 40) : LV_RADIUS_CIRCLE);
        d.bg_opa = static_cast<lv_opa_t>(rnd(0, 1) ? 255 : rnd(3, 252));
        d.bg_color = lv_color_hex(0xC02040);
        Canvas c(90, 80, 0x0F0F);
        c.set_clip(rnd(0, 10), rnd(0, 10), rnd(60, 89), rnd(50, 79));
        const lv_area_t a = area(x1, y1, x1 + w - 1, y1 + h - 1);
        lv_draw_rect(c.ctx(), &d, &a);
        const lv_sw::RoundRect o({x1, y1, x1 + w - 1, y1 + h - 1}, d.radius);
        const lv_area_t * clip = c.ctx()->clip_area;
        for(int y = 0; y < 80; y++)
            for(int x = 0; x < 90; x++) {
                const bool in = x >= clip->x1 && x <= clip->x2 && y >= clip->y1 && y <= clip->y2;
                const uint16_t want = in ? expected_px(0x0F0F, d.bg_color.full, o.coverage(x, y), d.bg_opa) : 0x0F0F;
                ASSERT_EQ(c.at(x, y), want) << "iter " << iter << " at " << x << "," << y;
            }
    }
}

TEST(RoundRectMask, ManyLargeRadiiKeepWorkingWhenTheCornerCacheTurnsOver)
{
    // Each pair of radii here needs megabytes of corner tables: the cache is dropped several
    // times, also between creating a border's outer shape and its hole.
    Canvas c(64, 64, 0xFFFF);
    for(int r = 600; r < 1000; r += 45) {
        lv_draw_rect_dsc_t d;
        lv_draw_rect_dsc_init(&d);
        d.radius = static_cast<lv_coord_t>(r);
        d.bg_opa = LV_OPA_TRANSP;
        d.border_width = 20;
        const lv_area_t a = area(0, 0, 2 * r + 9, 2 * r + 9);
        lv_draw_rect(c.ctx(), &d, &a);
    }
    // The top-left corner region of such big circles stays empty; the ring passes further in.
    EXPECT_EQ(c.at(0, 0), 0xFFFF);
    EXPECT_TRUE(c.guards_intact());
}
