// Text layout: UTF-8 decoding, widths with letter space and kerning, word wrap, text size.
#include "draw/lv_draw.h"
#include "support/tiny_font.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using tessel_test::tiny_font;

namespace {

const lv_font_t * const kTiny = &tiny_font();
const lv_font_t * const kM14 = &lv_font_montserrat_14;

// Splits text into lines the way the renderer does.
std::vector<std::string> lines(const char * txt, const lv_font_t * f, int letter_space, int max_w,
                               lv_text_flag_t flag = LV_TEXT_FLAG_NONE)
{
    std::vector<std::string> out;
    uint32_t start = 0;
    while(txt[start] != '\0') {
        const uint32_t n = _lv_txt_get_next_line(&txt[start], f, static_cast<lv_coord_t>(letter_space),
                                                 static_cast<lv_coord_t>(max_w), nullptr, flag);
        if(n == 0) break;
        out.emplace_back(&txt[start], n);
        start += n;
    }
    return out;
}

using Lines = std::vector<std::string>;

lv_point_t size_of(const char * txt, const lv_font_t * f, int ls, int line_space, int max_w,
                   lv_text_flag_t flag = LV_TEXT_FLAG_NONE)
{
    lv_point_t p{-1, -1};
    lv_txt_get_size(&p, txt, f, static_cast<lv_coord_t>(ls), static_cast<lv_coord_t>(line_space),
                    static_cast<lv_coord_t>(max_w), flag);
    return p;
}

}  // namespace

TEST(TextUtf8, DecodesOneToFourByteSequences)
{
    const char * txt = "A\xC2\xB0\xE2\x80\xA2\xEF\x80\x81\xF0\x9F\x98\x80";
    uint32_t i = 0;
    EXPECT_EQ(_lv_txt_encoded_next(txt, &i), 'A');
    EXPECT_EQ(i, 1u);
    EXPECT_EQ(_lv_txt_encoded_next(txt, &i), 0xB0u);
    EXPECT_EQ(i, 3u);
    EXPECT_EQ(_lv_txt_encoded_next(txt, &i), 0x2022u);
    EXPECT_EQ(i, 6u);
    EXPECT_EQ(_lv_txt_encoded_next(txt, &i), 0xF001u);
    EXPECT_EQ(i, 9u);
    EXPECT_EQ(_lv_txt_encoded_next(txt, &i), 0x1F600u);
    EXPECT_EQ(i, 13u);
    EXPECT_EQ(_lv_txt_get_encoded_length(txt), 5u);
    EXPECT_EQ(_lv_txt_encoded_get_byte_id(txt, 3), 6u);
    EXPECT_EQ(_lv_txt_encoded_get_char_id(txt, 9), 4u);
}

TEST(TextUtf8, BrokenSequencesNeverStepOverTheEnd)
{
    // A three-byte lead cut short by the end of the text.
    const char cut[] = "\xE2\x80";
    uint32_t i = 0;
    EXPECT_EQ(_lv_txt_encoded_next(cut, &i), 0u);
    EXPECT_LE(i, 2u);
    EXPECT_EQ(cut[i], '\0');
    // A stray continuation byte is skipped on its own.
    const char stray[] = "\x80Z";
    i = 0;
    EXPECT_EQ(_lv_txt_encoded_next(stray, &i), 0u);
    EXPECT_EQ(i, 1u);
    EXPECT_EQ(_lv_txt_encoded_next(stray, &i), 'Z');
    EXPECT_EQ(_lv_txt_get_encoded_length("\xE2\x80"), 1u);
}

TEST(TextWidth, HelloInMontserrat14MatchesLvgl)
{
    EXPECT_EQ(lv_txt_get_width("Hello", 5, kM14, 0, LV_TEXT_FLAG_NONE), 37);
    EXPECT_EQ(lv_txt_get_width("Hello", 5, kM14, 2, LV_TEXT_FLAG_NONE), 45);
    lv_point_t p = size_of("Ag", kM14, 0, 0, LV_COORD_MAX);
    EXPECT_EQ(p.x, 20);
    EXPECT_EQ(p.y, 16);
    p = size_of("Hello", kM14, 0, 0, LV_COORD_MAX);
    EXPECT_EQ(p.x, 37);
    EXPECT_EQ(p.y, 16);
}

TEST(TextWidth, LetterSpaceFollowsEveryGlyphButTheLast)
{
    // Glyph x positions of "Hello" with letter space 2, accumulated as the renderer does.
    const char * txt = "Hello";
    std::vector<int> xs;
    int x = 0;
    for(size_t i = 0; i < 5; i++) {
        xs.push_back(x);
        const uint32_t next = i + 1 < 5 ? static_cast<uint8_t>(txt[i + 1]) : 0;
        x += lv_font_get_glyph_width(kM14, static_cast<uint8_t>(txt[i]), next) + 2;
    }
    EXPECT_EQ(xs, (std::vector<int>{0, 13, 24, 30, 36}));
    EXPECT_EQ(x - 2, 45);
    // Zero-width characters get no letter space.
    EXPECT_EQ(lv_txt_get_width("T\nT", 3, kTiny, 1, LV_TEXT_FLAG_NONE), 13);
    EXPECT_EQ(lv_txt_get_width("", 0, kTiny, 5, LV_TEXT_FLAG_NONE), 0);
    EXPECT_EQ(lv_txt_get_width("T", 1, kTiny, 5, LV_TEXT_FLAG_NONE), 6);
}

TEST(TextWidth, KerningAppliesBetweenNeighbours)
{
    EXPECT_EQ(lv_txt_get_width("AV", 2, kTiny, 0, LV_TEXT_FLAG_NONE), 10);   // 4 + 6
    EXPECT_EQ(lv_txt_get_width("VA", 2, kTiny, 0, LV_TEXT_FLAG_NONE), 12);
    EXPECT_EQ(lv_txt_get_width("To", 2, kTiny, 0, LV_TEXT_FLAG_NONE), 10);   // 5 + 5
    // Measuring a part still kerns with the character that follows it.
    EXPECT_EQ(lv_txt_get_width("AV", 1, kTiny, 0, LV_TEXT_FLAG_NONE), 4);
    EXPECT_EQ(lv_txt_get_width("To", 2, kM14, 0, LV_TEXT_FLAG_NONE),
              lv_font_get_glyph_width(kM14, 'T', 'o') + lv_font_get_glyph_width(kM14, 'o', 0));
}

TEST(TextWidth, MissingGlyphsCountAsPlaceholderBoxes)
{
    // ',' is missing from the tiny font: 4 px box + 2 px.
    EXPECT_EQ(lv_txt_get_width("T,T", 3, kTiny, 0, LV_TEXT_FLAG_NONE), 6 + 6 + 6);
}

TEST(TextWrap, WrapsAtSpacesAndKeepsAFittingSpaceOnTheFirstLine)
{
    // T = 6 px, space = 3 px.
    EXPECT_EQ(lines("TTT TTT", kTiny, 0, 39), (Lines{"TTT TTT"}));
    EXPECT_EQ(lines("TTT TTT", kTiny, 0, 38), (Lines{"TTT ", "TTT"}));
    EXPECT_EQ(lines("TTT TTT", kTiny, 0, 21), (Lines{"TTT ", "TTT"}));
}

TEST(TextWrap, ASpaceThatDoesNotFitOpensTheNextLineLikeLvgl)
{
    // LVGL 8.3 moves a space that does not fit to the next line, where the following word
    // then does not fit beside it.
    EXPECT_EQ(lines("TTT TTT", kTiny, 0, 20), (Lines{"TTT", " ", "TTT"}));
    EXPECT_EQ(lines("TTT TTT", kTiny, 0, 18), (Lines{"TTT", " ", "TTT"}));
}

TEST(TextWrap, LetterSpaceCountsButNotAfterTheLastGlyph)
{
    // "TT TT" with letter space 1: 6+1+6+1+3+1+6+1+6 = 31.
    EXPECT_EQ(lines("TT TT", kTiny, 1, 31), (Lines{"TT TT"}));
    EXPECT_EQ(lines("TT TT", kTiny, 1, 30), (Lines{"TT ", "TT"}));
    lv_coord_t used = 0;
    EXPECT_EQ(_lv_txt_get_next_line("TT TT", kTiny, 1, 31, &used, LV_TEXT_FLAG_NONE), 5u);
    EXPECT_GE(used, 31);
}

TEST(TextWrap, BreakCharactersEndAWordAndStayOnTheLine)
{
    EXPECT_EQ(lines("TT-TT", kTiny, 0, 20), (Lines{"TT-", "TT"}));
    EXPECT_EQ(lines("TT.TT", kTiny, 0, 20), (Lines{"TT.", "TT"}));
}

TEST(TextWrap, AWordLongerThanTheLineIsCut)
{
    EXPECT_EQ(lines("TTTTTT", kTiny, 0, 20), (Lines{"TTT", "TTT"}));
    // Narrower than one glyph: still one character per line, never stuck.
    EXPECT_EQ(lines("TTT", kTiny, 0, 2), (Lines{"T", "T", "T"}));
    EXPECT_EQ(lines("TTT", kTiny, 0, 0), (Lines{"T", "T", "T"}));
    // A long word after a short one goes to its own line first.
    EXPECT_EQ(lines("T TTTTTT", kTiny, 0, 20), (Lines{"T ", "TTT", "TTT"}));
}

TEST(TextWrap, NewlinesEndLines)
{
    EXPECT_EQ(lines("T\nT", kTiny, 0, 100), (Lines{"T\n", "T"}));
    EXPECT_EQ(lines("T\n\nT", kTiny, 0, 100), (Lines{"T\n", "\n", "T"}));
    EXPECT_EQ(lines("T\r\nT", kTiny, 0, 100), (Lines{"T\r\n", "T"}));
    EXPECT_EQ(lines("TT TT\nT", kTiny, 0, 1000, LV_TEXT_FLAG_EXPAND), (Lines{"TT TT\n", "T"}));
    EXPECT_EQ(lines("TT TT TT TT", kTiny, 0, 10, LV_TEXT_FLAG_EXPAND), (Lines{"TT TT TT TT"}));
}

TEST(TextWrap, MultiByteCharactersAreNeverSplit)
{
    // Icons are 6 px wide and 3 bytes long.
    const char * icons = "\xEF\x80\x81\xEF\x80\x81\xEF\x80\x81";
    EXPECT_EQ(lines(icons, kTiny, 0, 13), (Lines{"\xEF\x80\x81\xEF\x80\x81", "\xEF\x80\x81"}));
}

TEST(TextSize, HeightIsLinesTimesLineHeightPlusSpacesBetween)
{
    lv_point_t p = size_of("T\nTT\nT", kTiny, 0, 3, 100);
    EXPECT_EQ(p.x, 12);
    EXPECT_EQ(p.y, 3 * 8 + 2 * 3);
    // Wrapping makes lines too; the widest decides the width (trailing space not trimmed: "TTT " is 21).
    p = size_of("TTT TTT", kTiny, 0, 0, 21);
    EXPECT_EQ(p.x, 21);
    EXPECT_EQ(p.y, 16);
    // EXPAND: no wrapping whatever the width.
    p = size_of("TTT TTT", kTiny, 0, 0, 20, LV_TEXT_FLAG_EXPAND);
    EXPECT_EQ(p.x, 39);
    EXPECT_EQ(p.y, 8);
}

TEST(TextSize, EmptyTextAndTrailingNewline)
{
    lv_point_t p = size_of("", kTiny, 0, 4, 100);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 8);
    p = size_of("T\n", kTiny, 0, 4, 100);
    EXPECT_EQ(p.y, 8 + 4 + 8);
    p = size_of("Hello", kM14, 2, 16, 1000);
    EXPECT_EQ(p.x, 45);
    EXPECT_EQ(p.y, 16);
}
