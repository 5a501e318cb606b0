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

/* A pixel drawn through the mask path: the mask bytes multiplied onto `start`, then weighted
 * with the blend opacity and mixed. */
uint16_t masked_px(uint16_t bg, uint16_t fg, uint32_t mask, uint32_t opa)
{
    return lv_sw::mix565(fg, bg, lv_sw::mask_weight(mask, opa));
}

/* A pixel of a plain fill. */
uint16_t filled_px(uint16_t bg, uint16_t fg, uint32_t opa)
{
    if(opa <= LV_OPA_MIN) return bg;
    if(opa >= LV_OPA_MAX) return fg;
    return lv_sw::fill565(fg, bg, opa);
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

        // Reference, pixel by pixel: the outer coverage times the inverted hole coverage. With all
        // four sides the r x r corner blocks go through the mask and the rest of the ring is a
        // plain fill; with some sides only, everything goes through the mask.
        const lv_sw::Area outer{x1, y1, x1 + w - 1, y1 + h - 1};
        const int bw = d.border_width;
        const int rout = lv_sw::clamp_radius(outer, d.radius);
        const bool full = d.border_side == LV_BORDER_SIDE_FULL;
        lv_sw::Area inner = outer;
        inner.x1 += (d.border_side & LV_BORDER_SIDE_LEFT) ? bw : -(bw + rout);
        inner.x2 -= (d.border_side & LV_BORDER_SIDE_RIGHT) ? bw : -(bw + rout);
        inner.y1 += (d.border_side & LV_BORDER_SIDE_TOP) ? bw : -(bw + rout);
        inner.y2 -= (d.border_side & LV_BORDER_SIDE_BOTTOM) ? bw : -(bw + rout);
        const lv_sw::RoundRect o(outer, rout);
        const lv_sw::RoundRect hole(inner, std::max(0, rout - bw));
        const int mx = outer.x1 + outer.w() / 2;
        const int my = outer.y1 + outer.h() / 2;
        for(int y = 0; y < 80; y++)
            for(int x = 0; x < 90; x++) {
                const uint32_t hc = inner.empty() ? 0 : hole.coverage(x, y);
                const uint32_t oc = o.coverage(x, y);
                const bool corner = (x <= std::min(outer.x1 + rout - 1, mx - 1) || x >= std::max(outer.x2 - rout + 1, mx)) &&
                                    (y <= std::min(outer.y1 + rout - 1, my - 1) || y >= std::max(outer.y2 - rout + 1, my));
                uint16_t want;
                if(!full || corner || inner.empty() || (rout == 0 && d.border_side != LV_BORDER_SIDE_FULL))
                    want = masked_px(0xFFFF, d.border_color.full, lv_sw::mask_mul(lv_sw::mask_mul(255, oc), 255 - hc), d.border_opa);
                else
                    want = oc == 255 && hc == 0 ? filled_px(0xFFFF, d.border_color.full, d.border_opa) : 0xFFFF;
                if(rout == 0 && !full) {
                    // Straight borders of some sides: plain bands.
                    want = oc == 255 && hc == 0 ? filled_px(0xFFFF, d.border_color.full, d.border_opa) : 0xFFFF;
                }
                ASSERT_EQ(c.at(x, y), want)
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
                // The r rows at the top and bottom go through a mask starting at bg_opa; the rows
                // between are plain fills.
                const int r = o.radius();
                const bool corner_row = y < y1 + r || y > y1 + h - 1 - r;
                const uint32_t cov = o.coverage(x, y);
                uint16_t want = 0x0F0F;
                if(in && corner_row) want = masked_px(0x0F0F, d.bg_color.full, lv_sw::mask_mul(d.bg_opa, cov), 255);
                else if(in && cov == 255) want = filled_px(0x0F0F, d.bg_color.full, d.bg_opa);
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
