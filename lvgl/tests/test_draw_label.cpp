// Text drawing: line layout in an area, alignment, letter space, glyph blending, placeholder.
#include "draw/lv_draw.h"
#include "support/canvas.h"
#include "support/png_util.h"
#include "support/tiny_font.h"

#include <gtest/gtest.h>

#include <cstring>

using tessel_test::area;
using tessel_test::Canvas;
using tessel_test::matches_golden;
using tessel_test::tiny_font;

namespace {

lv_draw_label_dsc_t tiny(lv_coord_t letter_space = 0, lv_coord_t line_space = 0)
{
    lv_draw_label_dsc_t d;
    lv_draw_label_dsc_init(&d);
    d.font = &tiny_font();
    d.letter_space = letter_space;
    d.line_space = line_space;
    return d;
}

void label(Canvas & c, const lv_draw_label_dsc_t & d, int x1, int y1, int x2, int y2, const char * txt)
{
    const lv_area_t a = area(x1, y1, x2, y2);
    lv_draw_label(c.ctx(), &d, &a, txt, nullptr);
}

// Columns 0..w-1 of the rows y1..y2 that hold any non-white pixel.
std::vector<int> inked_columns(const Canvas & c, int y1, int y2)
{
    std::vector<int> cols;
    for(int x = 0; x < c.w(); x++)
        if(c.count_not(0xFFFF, x, y1, x, y2) > 0) cols.push_back(x);
    return cols;
}

}  // namespace

TEST(LabelDefaults, DescriptorInit)
{
    lv_draw_label_dsc_t d;
    std::memset(&d, 0x5A, sizeof d);
    lv_draw_label_dsc_init(&d);
    EXPECT_EQ(d.font, &lv_font_montserrat_14);
    EXPECT_EQ(d.opa, LV_OPA_COVER);
    EXPECT_EQ(d.color.full, 0);
    EXPECT_EQ(d.letter_space, 0);
    EXPECT_EQ(d.line_space, 0);
    EXPECT_EQ(d.flag, LV_TEXT_FLAG_NONE);
}

TEST(LabelLayout, GlyphsSitOnTheBaseLineAndLinesAreLineHeightPlusSpaceApart)
{
    Canvas c(40, 40);
    label(c, tiny(0, 3), 2, 1, 39, 39, "T\nT");
    // 'T' (box 6 tall, no offset) fills rows 1..6 of the 8-row line (base line 2): top bar at y 1.
    EXPECT_EQ(c.count_not(0x0000, 2, 1, 6, 1), 0);
    EXPECT_EQ(c.at(4, 6), 0x0000);
    EXPECT_EQ(c.count_not(0xFFFF, 0, 7, 39, 11), 0);
    // Second line 8 + 3 px lower.
    EXPECT_EQ(c.count_not(0x0000, 2, 12, 6, 12), 0);
    EXPECT_EQ(c.count_not(0xFFFF, 0, 18, 39, 39), 0);
}

TEST(LabelLayout, AlignmentIsPerLine)
{
    Canvas c(20, 30);
    lv_draw_label_dsc_t d = tiny();
    d.align = LV_TEXT_ALIGN_CENTER;
    label(c, d, 0, 0, 19, 29, "T\nTT");
    EXPECT_EQ(inked_columns(c, 0, 7), (std::vector<int>{7, 8, 9, 10, 11}));  // (20 - 6) / 2
    EXPECT_EQ(inked_columns(c, 8, 15), (std::vector<int>{4, 5, 6, 7, 8, 10, 11, 12, 13, 14}));
    Canvas r(20, 10);
    d.align = LV_TEXT_ALIGN_RIGHT;
    label(r, d, 0, 0, 19, 9, "T");
    EXPECT_EQ(inked_columns(r, 0, 9), (std::vector<int>{14, 15, 16, 17, 18}));
}

TEST(LabelLayout, LetterSpaceAndKerningMoveTheNextGlyph)
{
    Canvas c(40, 10);
    label(c, tiny(3), 0, 0, 39, 9, "TT");
    EXPECT_EQ(inked_columns(c, 0, 0), (std::vector<int>{0, 1, 2, 3, 4, 9, 10, 11, 12, 13}));
    Canvas k(40, 10);
    label(k, tiny(), 0, 0, 39, 9, "AV");  // 'A' kerned to 4 px: V starts at x 4
    EXPECT_EQ(k.at(4, 1), 0x0000);
    EXPECT_EQ(k.at(0, 5), 0x0000);
}

TEST(LabelLayout, WrapsToTheAreaWidth)
{
    Canvas c(30, 30);
    label(c, tiny(), 0, 0, 19, 29, "TT TT");
    EXPECT_EQ(inked_columns(c, 0, 7), (std::vector<int>{0, 1, 2, 3, 4, 6, 7, 8, 9, 10}));
    EXPECT_EQ(inked_columns(c, 8, 15), (std::vector<int>{0, 1, 2, 3, 4, 6, 7, 8, 9, 10}));
    // EXPAND ignores the width.
    Canvas e(40, 20);
    lv_draw_label_dsc_t d = tiny();
    d.flag = LV_TEXT_FLAG_EXPAND;
    label(e, d, 0, 0, 9, 19, "TT TT");
    EXPECT_EQ(e.count_not(0xFFFF, 0, 8, 39, 19), 0);
    EXPECT_GT(e.count_not(0xFFFF, 15, 0, 30, 7), 0);
}

TEST(LabelGlyph, FourBitCoverageAndOpacityBlend)
{
    Canvas c(20, 10);
    label(c, tiny(), 0, 0, 19, 9, "o");
    // 'o' is 4 x 4 sitting on the base line: rows 2..5; its corners have value 8 -> opacity 136.
    EXPECT_EQ(c.at(0, 2), lv_color_mix(lv_color_black(), lv_color_white(), 136).full);
    EXPECT_EQ(c.at(1, 2), 0x0000);
    EXPECT_EQ(c.at(1, 3), 0xFFFF);
    Canvas h(20, 10);
    lv_draw_label_dsc_t d = tiny();
    d.opa = 128;
    d.color = lv_color_hex(0xFF0000);
    label(h, d, 0, 0, 19, 9, "o");
    // Translucent text is weighted twice by its opacity: (255 -> 128) * 128 >> 8 = 64.
    EXPECT_EQ(h.at(1, 2), lv_color_mix(lv_color_hex(0xFF0000), lv_color_white(), 64).full);
}

TEST(LabelGlyph, NegativeOffsetDrawsLeftOfTheCellAndBelowTheBaseLine)
{
    Canvas c(20, 12);
    label(c, tiny(), 5, 0, 19, 11, "j");
    // box 3 x 7, ofs -1, -2: columns 4..6, rows 1..7.
    EXPECT_EQ(c.at(4, 7), 0x0000);
    EXPECT_EQ(c.at(6, 1), 0x0000);
    EXPECT_EQ(c.count_not(0xFFFF, 0, 0, 3, 11), 0);
    EXPECT_EQ(c.count_not(0xFFFF, 0, 8, 19, 11), 0);
}

TEST(LabelPlaceholder, MissingGlyphIsAOnePixelBoxOutline)
{
    Canvas c(30, 12);
    lv_draw_label_dsc_t d = tiny();
    d.color = lv_color_hex(0x0000FF);
    label(c, d, 2, 2, 29, 11, "T,T");
    // ',' is missing: a 4 x 8 outline at x 8..11, y 2..9, then 2 px gap before the next 'T' at 14.
    const uint16_t blue = 0x001F;
    EXPECT_EQ(c.count_not(blue, 8, 2, 11, 2), 0);
    EXPECT_EQ(c.count_not(blue, 8, 9, 11, 9), 0);
    EXPECT_EQ(c.count_not(blue, 8, 2, 8, 9), 0);
    EXPECT_EQ(c.count_not(blue, 11, 2, 11, 9), 0);
    EXPECT_EQ(c.count_not(0xFFFF, 9, 3, 10, 8), 0);
    EXPECT_EQ(c.count_not(0xFFFF, 12, 0, 13, 11), 0);
    EXPECT_EQ(c.at(14, 2), blue);

    // lv_draw_letter draws the same box at the given line-box position.
    Canvas l(30, 20);
    const lv_point_t pos{3, 4};
    lv_draw_letter(l.ctx(), &d, &pos, 0xF0C9);
    EXPECT_EQ(l.count_not(blue, 3, 4, 6, 4), 0);
    EXPECT_EQ(l.count_not(blue, 3, 11, 6, 11), 0);
    EXPECT_EQ(l.count_not(0xFFFF, 4, 5, 5, 10), 0);
    EXPECT_EQ(l.count_not(0xFFFF, 7, 0, 29, 19), 0);
}

TEST(LabelClip, LinesAboveTheClipAreSkippedAndNothingLeaksOut)
{
    const char * txt = "TTT TTT TTT TTT TTT TTT TTT";
    Canvas full(40, 70);
    label(full, tiny(1, 2), 1, 1, 30, 69, txt);
    Canvas part(40, 70, 0x1234);
    part.set_clip(5, 23, 25, 44);
    label(part, tiny(1, 2), 1, 1, 30, 69, txt);
    for(int y = 0; y < 70; y++)
        for(int x = 0; x < 40; x++) {
            const bool in = x >= 5 && x <= 25 && y >= 23 && y <= 44;
            if(!in) {
                ASSERT_EQ(part.at(x, y), 0x1234) << x << "," << y;
            }
            else if(full.at(x, y) != 0xFFFF) {
                ASSERT_EQ(part.at(x, y), full.at(x, y)) << x << "," << y;
            }
        }
    EXPECT_TRUE(part.guards_intact());
}

TEST(LabelDecor, UnderlineAndStrikeThroughSpanTheLine)
{
    Canvas c(30, 12);
    lv_draw_label_dsc_t d = tiny();
    d.decor = LV_TEXT_DECOR_UNDERLINE;
    label(c, d, 2, 0, 29, 11, "TT");
    // Base line 6 px below the top, underline position -1: row 7, from x 2 to 13.
    EXPECT_EQ(c.count_not(0x0000, 2, 7, 13, 7), 0);
    EXPECT_EQ(c.at(1, 7), 0xFFFF);
    EXPECT_EQ(c.at(14, 7), 0xFFFF);
    EXPECT_EQ(c.count_not(0xFFFF, 0, 8, 29, 11), 0);
    Canvas s(30, 12);
    d.decor = LV_TEXT_DECOR_STRIKETHROUGH;
    label(s, d, 2, 0, 29, 11, "oo");
    EXPECT_EQ(s.count_not(0x0000, 2, 4, 11, 4), 0);  // line height / 2
}

TEST(LabelGolden, Montserrat14)
{
    Canvas c(200, 120, lv_color_hex(0xF5F5F5).full);
    lv_draw_label_dsc_t d;
    lv_draw_label_dsc_init(&d);
    d.color = lv_color_hex(0x212121);
    label(c, d, 4, 2, 199, 17, "Hello Ag");
    d.letter_space = 2;
    d.color = lv_color_hex(0x000000);
    label(c, d, 4, 20, 199, 35, "Hello");
    label(c, d, 100, 20, 199, 35, "To AV LT j");
    d.letter_space = 0;
    d.align = LV_TEXT_ALIGN_CENTER;
    d.line_space = 2;
    d.color = lv_color_hex(0x2196F3);
    label(c, d, 4, 40, 120, 90, "Centred lines wrap on words here");
    lv_draw_rect_dsc_t r;
    lv_draw_rect_dsc_init(&r);
    r.bg_color = lv_color_hex(0x2196F3);
    r.radius = 5;
    const lv_area_t btn = area(125, 40, 195, 70);
    lv_draw_rect(c.ctx(), &r, &btn);
    d.color = lv_color_white();
    d.line_space = 0;
    label(c, d, 125, 47, 195, 70, "OK \xEF\x80\x8C");  // with the check icon
    d.align = LV_TEXT_ALIGN_LEFT;
    d.color = lv_color_hex(0xF44336);
    d.opa = 160;
    label(c, d, 4, 95, 199, 119, "missing \xEF\x83\x8A, 25\xC2\xB0");
    EXPECT_TRUE(matches_golden("draw_label_montserrat14", c.data(), c.w(), c.h(), {1, 0}));
}
