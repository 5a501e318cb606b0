// Colour helpers and the blending primitives the renderer is built on.
#include "draw/lv_draw.h"
#include "draw/lv_draw_sw.h"
#include "support/canvas.h"

#include <gtest/gtest.h>

#include <vector>

using tessel_test::area;
using tessel_test::Canvas;

namespace {
uint16_t hex(uint32_t rgb) { return lv_color_hex(rgb).full; }
lv_color_t c16(uint16_t v)
{
    lv_color_t c;
    c.full = v;
    return c;
}
}  // namespace

TEST(ColorMix, EndsAndMiddle)
{
    const lv_color_t a = lv_color_hex(0x2196F3);
    const lv_color_t b = lv_color_hex(0xF44336);
    EXPECT_EQ(lv_color_mix(a, b, 255).full, a.full);
    EXPECT_EQ(lv_color_mix(a, b, 0).full, b.full);
    // 32 levels, rounded down: 127 and 128 are both level 16, half of 31 and 63 rounded down.
    EXPECT_EQ(lv_color_mix(lv_color_white(), lv_color_black(), 127).full, 0x7BEF);
    EXPECT_EQ(lv_color_mix(lv_color_white(), lv_color_black(), 128).full, 0x7BEF);
    EXPECT_EQ(lv_color_mix(lv_color_white(), lv_color_black(), 132).full, 0x8430);  // level 17: 16, 33, 16
}

TEST(ColorMix, PressedButtonDarkening)
{
    // Primary blue darkened toward black at 35 renders #1882D6: r 3, g 32, b 26 in RGB565.
    const lv_color_t d = lv_color_darken(lv_color_hex(0x2196F3), 35);
    EXPECT_EQ(d.ch.red, 3);
    EXPECT_EQ(d.ch.green, 32);
    EXPECT_EQ(d.ch.blue, 26);
    EXPECT_EQ(d.full, 0x1C1A);
    lv_color32_t c32;
    c32.full = lv_color_to32(d);
    EXPECT_EQ(c32.ch.red, 0x18);
    EXPECT_NEAR(c32.ch.green, 0x82, 1);
    EXPECT_NEAR(c32.ch.blue, 0xD6, 1);
    // White caption under the same filter: about #DEDFDE.
    c32.full = lv_color_to32(lv_color_darken(lv_color_white(), 35));
    EXPECT_EQ(c32.ch.red, 0xDE);
    EXPECT_NEAR(c32.ch.green, 0xDF, 5);
    EXPECT_EQ(lv_color_lighten(lv_color_black(), 255).full, 0xFFFF);
    EXPECT_EQ(lv_color_darken(lv_color_white(), 255).full, 0x0000);
}

TEST(ColorConvert, To32AndBrightness)
{
    // The theme's primary colour as stored: 0x24BE reads back as #2195F6.
    EXPECT_EQ(hex(0x2196F3), 0x24BE);
    EXPECT_EQ(lv_color_to32(lv_color_hex(0x2196F3)) & 0xFFFFFF, 0x2195F6u);
    EXPECT_EQ(lv_color_to32(lv_color_hex(0xF44336)) & 0xFFFFFF, 0xF64031u);
    EXPECT_EQ(lv_color_to32(lv_color_white()), 0xFFFFFFFFu);
    EXPECT_EQ(lv_color_brightness(lv_color_white()), 255);
    EXPECT_EQ(lv_color_brightness(lv_color_black()), 0);
    EXPECT_EQ(lv_color_brightness(lv_color_hex(0x00FF00)), 127);
    EXPECT_EQ(lv_color_brightness(lv_color_hex(0xFF0000)), 95);
    EXPECT_EQ(lv_color_brightness(lv_color_hex(0x0000FF)), 31);
}

TEST(ColorPalette, MaterialShades)
{
    EXPECT_EQ(lv_palette_main(LV_PALETTE_BLUE).full, hex(0x2196F3));
    EXPECT_EQ(lv_palette_main(LV_PALETTE_RED).full, hex(0xF44336));
    EXPECT_EQ(lv_palette_main(LV_PALETTE_GREY).full, hex(0x9E9E9E));
    // The default theme's screen, border and text colours.
    EXPECT_EQ(lv_palette_lighten(LV_PALETTE_GREY, 4).full, 0xF7BE);
    EXPECT_EQ(lv_palette_lighten(LV_PALETTE_GREY, 2).full, hex(0xE0E0E0));
    EXPECT_EQ(lv_palette_darken(LV_PALETTE_GREY, 4).full, hex(0x212121));
    EXPECT_EQ(lv_palette_lighten(LV_PALETTE_BLUE, 5).full, hex(0xE3F2FD));
    EXPECT_EQ(lv_palette_darken(LV_PALETTE_RED, 1).full, hex(0xE53935));
    EXPECT_EQ(lv_palette_main(LV_PALETTE_BLUE_GREY).full, hex(0x607D8B));
    EXPECT_EQ(lv_palette_main(LV_PALETTE_NONE).full, 0);
    EXPECT_EQ(lv_palette_lighten(LV_PALETTE_BLUE, 6).full, 0);
    EXPECT_EQ(lv_palette_darken(LV_PALETTE_BLUE, 0).full, 0);
}

TEST(ColorFilter, InitStoresTheCallback)
{
    lv_color_filter_dsc_t f;
    f.user_data = &f;
    auto cb = [](const lv_color_filter_dsc_t *, lv_color_t c, lv_opa_t opa) { return lv_color_darken(c, opa); };
    lv_color_filter_dsc_init(&f, cb);
    EXPECT_EQ(f.filter_cb, static_cast<lv_color_filter_cb_t>(cb));
    EXPECT_EQ(f.user_data, nullptr);
}

// The vectorised span loops must give exactly the one-pixel formulas, for every opacity and every
// length (vector body and scalar tail).
TEST(Blend, SpansMatchThePixelFormulasForAllOpacities)
{
    const uint16_t fg = hex(0x2196F3);
    std::vector<uint16_t> bg(37);
    for(size_t i = 0; i < bg.size(); i++) bg[i] = static_cast<uint16_t>(i * 0x9E37 + 0x1234);
    bg[0] = 0x0001;  // not black: the fill cache plays no part here
    for(int opa = 0; opa <= 255; opa++) {
        std::vector<uint16_t> d = bg;
        lv_sw::blend_mix(d.data(), static_cast<int32_t>(d.size()), fg, static_cast<uint8_t>(opa));
        std::vector<uint16_t> f = bg;
        lv_sw::FillCache cache;
        lv_sw::blend_fill(f.data(), static_cast<int32_t>(f.size()), fg, static_cast<uint8_t>(opa), &cache);
        for(size_t i = 0; i < d.size(); i++) {
            ASSERT_EQ(d[i], lv_color_mix(c16(fg), c16(bg[i]), static_cast<uint8_t>(opa)).full) << "opa " << opa << " px " << i;
            uint16_t want = opa <= LV_OPA_MIN ? bg[i] : opa >= LV_OPA_MAX ? fg : lv_sw::fill565(fg, bg[i], static_cast<uint32_t>(opa));
            ASSERT_EQ(f[i], want) << "fill opa " << opa << " px " << i;
        }
    }
}

TEST(Blend, MaskedSpansCombineCoverageWithOpacity)
{
    const uint16_t fg = 0xF800;
    std::vector<uint16_t> bg(29, 0x07FF);
    std::vector<uint8_t> mask(29);
    for(size_t i = 0; i < mask.size(); i++) mask[i] = static_cast<uint8_t>(i * 9);
    mask[28] = 255;
    for(int opa : {255, 200, 128, 40}) {
        std::vector<uint16_t> d = bg;
        lv_sw::blend_mix_mask(d.data(), static_cast<int32_t>(d.size()), fg, mask.data(), static_cast<uint8_t>(opa));
        for(size_t i = 0; i < d.size(); i++) {
            // A full mask byte takes the blend opacity, others are scaled by it.
            const uint32_t a = opa >= LV_OPA_MAX ? mask[i] : mask[i] == 255 ? static_cast<uint32_t>(opa)
                                                                            : (mask[i] * static_cast<uint32_t>(opa)) >> 8;
            ASSERT_EQ(d[i], lv_color_mix(c16(fg), c16(bg[i]), static_cast<uint8_t>(a)).full) << "opa " << opa << " px " << i;
        }
        // Per-pixel colours through the same path.
        std::vector<uint16_t> colors(29, fg);
        std::vector<uint16_t> d2 = bg;
        lv_sw::blend_colors_mask(d2.data(), 29, colors.data(), mask.data(), static_cast<uint8_t>(opa));
        EXPECT_EQ(d2, d);
    }
}

TEST(Fill, ExactExtentsAndClip)
{
    Canvas c(40, 30, 0x0000);
    const lv_area_t a = area(5, 6, 24, 20);
    lv_draw_fill(c.ctx(), &a, lv_color_hex(0xFF0000), LV_OPA_COVER);
    EXPECT_EQ(c.count_not(0xF800, 5, 6, 24, 20), 0);
    EXPECT_EQ(c.count_not(0x0000, 0, 0, 39, 5), 0);
    EXPECT_EQ(c.count_not(0x0000, 0, 21, 39, 29), 0);
    EXPECT_EQ(c.count_not(0x0000, 0, 6, 4, 20), 0);
    EXPECT_EQ(c.count_not(0x0000, 25, 6, 39, 20), 0);

    // Half opacity, clipped to a part.
    c.set_clip(10, 10, 12, 12);
    const lv_area_t all = area(-100, -100, 100, 100);
    lv_draw_fill(c.ctx(), &all, lv_color_white(), 128);
    EXPECT_EQ(c.at(10, 10), lv_sw::fill565(0xFFFF, 0xF800, 128));
    EXPECT_EQ(c.at(9, 10), 0xF800);
    EXPECT_EQ(c.at(13, 12), 0xF800);
    EXPECT_TRUE(c.guards_intact());
}
