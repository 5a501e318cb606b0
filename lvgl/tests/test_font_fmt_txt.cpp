// Formatted-text font reading: character maps, kerning, placeholder, bitmaps.
#include "draw/lv_draw.h"
#include "support/tiny_font.h"

#include <gtest/gtest.h>

using tessel_test::tiny_font;
using tessel_test::tiny_font_pairs;

namespace {

lv_font_glyph_dsc_t glyph(const lv_font_t & f, uint32_t letter, uint32_t next = 0, bool * found = nullptr)
{
    lv_font_glyph_dsc_t g;
    const bool ok = lv_font_get_glyph_dsc(&f, &g, letter, next);
    if(found) *found = ok;
    return g;
}

bool has(const lv_font_t & f, uint32_t letter)
{
    bool found = false;
    glyph(f, letter, 0, &found);
    return found;
}

}  // namespace

TEST(FontCmap, TinyAndSparseMapsFindExactlyTheListedCodePoints)
{
    const lv_font_t & f = tiny_font();
    for(uint32_t c : std::initializer_list<uint32_t>{0x20u, 'A', 'T', 'V', 'j', 'o', 0xF001u, 0xF00Cu, 0xF8A2u, 'x', 'y', 'z', 0x2022u, 0x2030u})
        EXPECT_TRUE(has(f, c)) << std::hex << c;
    // Inside a map's range but not in its list, or outside every range.
    for(uint32_t c : std::initializer_list<uint32_t>{'B', 'U', 'n', 'p', 0xF000u, 0xF002u, 0xF00Bu, 0xF8A1u, 0xF8A3u, 'w', '{', 0x2021u, 0x2023u, 0x202Fu,
                      0x1F600u, ','})
        EXPECT_FALSE(has(f, c)) << std::hex << c;
}

TEST(FontCmap, GlyphMetricsComeFromTheRightGlyph)
{
    const lv_font_t & f = tiny_font();
    lv_font_glyph_dsc_t j = glyph(f, 'j');
    EXPECT_EQ(j.adv_w, 3);
    EXPECT_EQ(j.box_w, 3);
    EXPECT_EQ(j.box_h, 7);
    EXPECT_EQ(j.ofs_x, -1);
    EXPECT_EQ(j.ofs_y, -2);
    EXPECT_EQ(j.bpp, 4);
    EXPECT_EQ(j.resolved_font, &f);
    EXPECT_FALSE(j.is_placeholder);

    lv_font_glyph_dsc_t o = glyph(f, 'o');
    EXPECT_EQ(o.adv_w, 5);
    EXPECT_EQ(o.box_w, 4);
    lv_font_glyph_dsc_t icon = glyph(f, 0xF8A2);
    EXPECT_EQ(icon.box_w, 6);
    EXPECT_EQ(icon.box_h, 6);
    EXPECT_EQ(glyph(f, 0x2030).box_w, 7);
    EXPECT_EQ(glyph(f, 0x2022).box_w, 3);
    // Full format-0 map: 'y' and 'z' share a glyph, 'x' has its own.
    EXPECT_EQ(lv_font_get_glyph_bitmap(&f, 'y'), lv_font_get_glyph_bitmap(&f, 'z'));
    EXPECT_NE(lv_font_get_glyph_bitmap(&f, 'x'), lv_font_get_glyph_bitmap(&f, 'y'));
}

TEST(FontCmap, AlternatingLookupsStayCorrectThroughTheCache)
{
    const lv_font_t & f = tiny_font();
    for(int i = 0; i < 3; i++) {
        EXPECT_EQ(glyph(f, 'A').box_w, 5);
        EXPECT_EQ(glyph(f, 'o').box_w, 4);
        EXPECT_FALSE(has(f, 'B'));
        EXPECT_EQ(glyph(f, 'A', 'V').adv_w, 4);
        EXPECT_EQ(glyph(f, 'o').adv_w, 5);
    }
}

TEST(FontBitmap, FourBitPixelsArePackedContinuouslyHighNibbleFirst)
{
    const lv_font_t & f = tiny_font();
    // 'A' row 0 is "..F..", row 1 ".F.F.": pixels 0..9 -> 00 F0 0 | 0F 0F 0
    const uint8_t * a = lv_font_get_glyph_bitmap(&f, 'A');
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a[0], 0x00);
    EXPECT_EQ(a[1], 0xF0);
    EXPECT_EQ(a[2], 0x00);
    EXPECT_EQ(a[3], 0xF0);
    EXPECT_EQ(a[4], 0xF0);
    // The next glyph starts on its own byte: 'T' row 0 is all F.
    const uint8_t * t = lv_font_get_glyph_bitmap(&f, 'T');
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t - a, 15);  // 5 x 6 pixels = 30 nibbles
    EXPECT_EQ(t[0], 0xFF);
    EXPECT_EQ(lv_font_get_glyph_bitmap(&f, 'B'), nullptr);
}

TEST(FontKerning, ClassPairsAreReadFromTheClassTable)
{
    const lv_font_t & f = tiny_font();
    EXPECT_EQ(lv_font_get_glyph_width(&f, 'A', 0), 6);
    EXPECT_EQ(lv_font_get_glyph_width(&f, 'A', 'V'), 4);  // 96 - 32 sixteenths
    EXPECT_EQ(lv_font_get_glyph_width(&f, 'T', 'o'), 5);  // 96 - 24 = 72 -> 4.5 rounds up
    EXPECT_EQ(lv_font_get_glyph_width(&f, 'T', 'A'), 7);  // 96 + 8 = 104 -> 6.5 rounds up
    EXPECT_EQ(lv_font_get_glyph_width(&f, 'V', 'A'), 6);  // V has no left class
    EXPECT_EQ(lv_font_get_glyph_width(&f, 'A', 'T'), 6);  // T has no right class
    EXPECT_EQ(lv_font_get_glyph_width(&f, 'A', 'B'), 6);  // missing next glyph: no kerning
}

TEST(FontKerning, PairTablesOfBothIdSizesGiveTheSameValues)
{
    for(int size : {0, 1}) {
        const lv_font_t & f = tiny_font_pairs(size);
        EXPECT_EQ(lv_font_get_glyph_width(&f, 'A', 'V'), 4) << size;
        EXPECT_EQ(lv_font_get_glyph_width(&f, 'T', 'o'), 5) << size;
        EXPECT_EQ(lv_font_get_glyph_width(&f, 'T', 'A'), 7) << size;
        EXPECT_EQ(lv_font_get_glyph_width(&f, 'V', 'A'), 6) << size;
        EXPECT_EQ(lv_font_get_glyph_width(&f, 'o', 'T'), 5) << size;
    }
}

TEST(FontPlaceholder, MissingGlyphIsABoxHalfALineWideAndOneLineTall)
{
    const lv_font_t & f = tiny_font();
    bool found = true;
    lv_font_glyph_dsc_t g = glyph(f, ',', 0, &found);
    EXPECT_FALSE(found);
    EXPECT_TRUE(g.is_placeholder);
    EXPECT_EQ(g.box_w, 4);
    EXPECT_EQ(g.box_h, 8);
    EXPECT_EQ(g.adv_w, 6);  // the box and a 2 px gap
    EXPECT_EQ(g.resolved_font, nullptr);

    // The built-in font: line height 16, so an 8 x 16 box.
    g = glyph(lv_font_montserrat_14, 0xF0CA, 0, &found);
    EXPECT_FALSE(found);
    EXPECT_TRUE(g.is_placeholder);
    EXPECT_EQ(g.box_w, 8);
    EXPECT_EQ(g.box_h, 16);
}

TEST(FontPlaceholder, ControlCharactersHaveNoBoxAndNoWidth)
{
    const lv_font_t & f = tiny_font();
    for(uint32_t c : std::initializer_list<uint32_t>{'\n', '\r', 0x1Fu, 0x200Cu, 0xF8FFu}) {
        bool found = true;
        lv_font_glyph_dsc_t g = glyph(f, c, 0, &found);
        EXPECT_FALSE(found) << c;
        EXPECT_FALSE(g.is_placeholder) << c;
        EXPECT_EQ(g.adv_w, 0) << c;
        EXPECT_EQ(g.box_w, 0) << c;
    }
}

TEST(FontFallback, AGlyphMissingInTheFontIsTakenFromItsFallback)
{
    lv_font_t with_fallback = tiny_font();
    with_fallback.fallback = &lv_font_montserrat_14;
    bool found = false;
    lv_font_glyph_dsc_t g = glyph(with_fallback, ',', 0, &found);
    EXPECT_TRUE(found);
    EXPECT_EQ(g.resolved_font, &lv_font_montserrat_14);
    EXPECT_FALSE(g.is_placeholder);
    g = glyph(with_fallback, 'A', 0, &found);
    EXPECT_EQ(g.resolved_font, &with_fallback);
}

TEST(FontTab, TabIsADoubleSpace)
{
    EXPECT_EQ(lv_font_get_glyph_width(&tiny_font(), '\t', 0), 6);
    EXPECT_EQ(lv_font_get_glyph_width(&lv_font_montserrat_14, '\t', 0),
              (2 * 60 + 8) >> 4);  // space advance 60/16 px
}

TEST(FontMontserrat14, MetricsAndCoverage)
{
    const lv_font_t & f = lv_font_montserrat_14;
    EXPECT_EQ(f.line_height, 16);
    EXPECT_EQ(f.base_line, 3);
    for(uint32_t c = 0x20; c <= 0x7E; c++) EXPECT_TRUE(has(f, c)) << c;
    for(uint32_t c : {0xB0u, 0x2022u, 0xF001u, 0xF043u, 0xF0C9u, 0xF0E0u, 0xF287u, 0xF293u, 0xF8A2u})
        EXPECT_TRUE(has(f, c)) << std::hex << c;
    for(uint32_t c : {0x7Fu, 0xB1u, 0xF002u, 0xF8A3u}) EXPECT_FALSE(has(f, c)) << std::hex << c;
    lv_font_glyph_dsc_t a = glyph(f, 'A');
    EXPECT_EQ(a.box_w, 12);
    EXPECT_EQ(a.box_h, 10);
    EXPECT_EQ(a.ofs_x, -1);
    EXPECT_EQ(a.adv_w, 10);  // 164 sixteenths
}

TEST(FontMontserrat14, ClassKerningChangesRoundedAdvances)
{
    const lv_font_t & f = lv_font_montserrat_14;
    EXPECT_EQ(lv_font_get_glyph_width(&f, 'T', 0), 8);    // 131/16
    EXPECT_EQ(lv_font_get_glyph_width(&f, 'T', 'o'), 7);  // (131 - 12)/16
    EXPECT_EQ(lv_font_get_glyph_width(&f, 'L', 0), 8);    // 133/16
    EXPECT_EQ(lv_font_get_glyph_width(&f, 'L', 'T'), 7);  // (133 - 15)/16
    EXPECT_EQ(lv_font_get_glyph_width(&f, 'A', 'V'), 10); // (164 - 8)/16 still rounds to 10
}
