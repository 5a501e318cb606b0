// The compiled-in fonts: the metrics the screen layouts rely on, their
// character sets, and that LVGL reads them through its formatted-text
// functions.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "lvgl.h"

#include <cstring>

extern "C" {
LV_FONT_DECLARE(lv_font_Antonio_Regular_25)
LV_FONT_DECLARE(lv_font_Antonio_Regular_30)
LV_FONT_DECLARE(lv_font_montserratMedium_12)
LV_FONT_DECLARE(lv_font_montserratMedium_15)
LV_FONT_DECLARE(lv_font_montserratMedium_16)
LV_FONT_DECLARE(lv_font_montserratMedium_18)
LV_FONT_DECLARE(lv_font_montserratMedium_20)
LV_FONT_DECLARE(lv_font_montserratMedium_22)
LV_FONT_DECLARE(lv_font_montserratMedium_24)
LV_FONT_DECLARE(lv_font_montserratMedium_25)
LV_FONT_DECLARE(lv_font_montserratMedium_30)
LV_FONT_DECLARE(lv_font_montserratMedium_50)
}

namespace {

enum CharSet { kSetA, kSetB };

struct FontSpec {
    const char * name;
    const lv_font_t * font;
    int line_height, base_line;
    CharSet set;
    int underline_position, underline_thickness;
    bool montserrat;
};

const std::vector<FontSpec> & all_fonts()
{
    static const std::vector<FontSpec> fonts = {
        {"Antonio_Regular_25", &lv_font_Antonio_Regular_25, 25, 4, kSetA, 0, 0, false},
        {"Antonio_Regular_30", &lv_font_Antonio_Regular_30, 30, 5, kSetA, 0, 0, false},
        {"montserratMedium_12", &lv_font_montserratMedium_12, 12, 3, kSetB, -1, 1, true},
        {"montserratMedium_15", &lv_font_montserratMedium_15, 15, 3, kSetB, -1, 1, true},
        {"montserratMedium_16", &lv_font_montserratMedium_16, 16, 3, kSetA, -1, 1, true},
        {"montserratMedium_18", &lv_font_montserratMedium_18, 18, 4, kSetB, -1, 1, true},
        {"montserratMedium_20", &lv_font_montserratMedium_20, 20, 4, kSetA, -1, 1, true},
        {"montserratMedium_22", &lv_font_montserratMedium_22, 22, 4, kSetA, -2, 1, true},
        {"montserratMedium_24", &lv_font_montserratMedium_24, 24, 5, kSetA, -2, 1, true},
        {"montserratMedium_25", &lv_font_montserratMedium_25, 25, 5, kSetA, -2, 1, true},
        {"montserratMedium_30", &lv_font_montserratMedium_30, 30, 6, kSetA, -2, 2, true},
        {"montserratMedium_50", &lv_font_montserratMedium_50, 50, 10, kSetA, -4, 3, true},
    };
    return fonts;
}

// The 57 icons every font carries.
const uint32_t kIcons[] = {
    0xF001, 0xF008, 0xF00B, 0xF00C, 0xF00D, 0xF011, 0xF013, 0xF015, 0xF019, 0xF01C, 0xF021, 0xF026,
    0xF027, 0xF028, 0xF03E, 0xF048, 0xF04B, 0xF04C, 0xF04D, 0xF051, 0xF052, 0xF053, 0xF054, 0xF067,
    0xF068, 0xF06E, 0xF070, 0xF071, 0xF074, 0xF077, 0xF078, 0xF079, 0xF07B, 0xF093, 0xF095, 0xF0C4,
    0xF0C5, 0xF0C7, 0xF0E7, 0xF0EA, 0xF0F3, 0xF11C, 0xF124, 0xF15B, 0xF1EB, 0xF240, 0xF241, 0xF242,
    0xF243, 0xF244, 0xF287, 0xF293, 0xF2ED, 0xF304, 0xF55A, 0xF7C2, 0xF8A2,
};

const lv_font_fmt_txt_dsc_t & fmt(const lv_font_t & f)
{
    return *static_cast<const lv_font_fmt_txt_dsc_t *>(f.dsc);
}

// Glyph id of a printable ASCII character, from the font's first maps.
uint32_t ascii_glyph_id(const lv_font_t & f, char c)
{
    const lv_font_fmt_txt_dsc_t & d = fmt(f);
    for(unsigned i = 0; i < d.cmap_num; i++) {
        const lv_font_fmt_txt_cmap_t & m = d.cmaps[i];
        if(m.type == LV_FONT_FMT_TXT_CMAP_FORMAT0_TINY && static_cast<uint32_t>(c) >= m.range_start &&
           static_cast<uint32_t>(c) < m.range_start + m.range_length)
            return m.glyph_id_start + (c - m.range_start);
    }
    return 0;
}

const lv_font_fmt_txt_glyph_dsc_t & glyph(const lv_font_t & f, char c)
{
    return fmt(f).glyph_dsc[ascii_glyph_id(f, c)];
}

// Kerning of a pair, in sixteenths of a pixel, from the class tables.
int kerning(const lv_font_t & f, char left, char right)
{
    const auto & k = *static_cast<const lv_font_fmt_txt_kern_classes_t *>(fmt(f).kern_dsc);
    int l = k.left_class_mapping[ascii_glyph_id(f, left)];
    int r = k.right_class_mapping[ascii_glyph_id(f, right)];
    if(l == 0 || r == 0) return 0;
    return k.class_pair_values[(l - 1) * k.right_class_cnt + (r - 1)];
}

TEST(FontDescriptors, MetricsThatTheLayoutsUse)
{
    for(const FontSpec & s : all_fonts()) {
        SCOPED_TRACE(s.name);
        const lv_font_t & f = *s.font;
        EXPECT_EQ(f.line_height, s.line_height);
        EXPECT_EQ(lv_font_get_line_height(&f), s.line_height);
        EXPECT_EQ(f.base_line, s.base_line);
        EXPECT_EQ(f.underline_position, s.underline_position);
        EXPECT_EQ(f.underline_thickness, s.underline_thickness);
        EXPECT_EQ(f.subpx, LV_FONT_SUBPX_NONE);
        EXPECT_EQ(f.fallback, nullptr);
        EXPECT_EQ(f.user_data, nullptr);
        EXPECT_EQ(f.get_glyph_dsc, &lv_font_get_glyph_dsc_fmt_txt);
        EXPECT_EQ(f.get_glyph_bitmap, &lv_font_get_bitmap_fmt_txt);
    }
}

TEST(FontDescriptors, FormattedTextLayout)
{
    std::vector<const void *> caches;
    for(const FontSpec & s : all_fonts()) {
        SCOPED_TRACE(s.name);
        const lv_font_fmt_txt_dsc_t & d = fmt(*s.font);
        EXPECT_EQ(d.bpp, 4u);
        EXPECT_EQ(d.bitmap_format, LV_FONT_FMT_TXT_PLAIN);
        EXPECT_EQ(d.kern_classes, 1u);
        EXPECT_EQ(d.kern_scale, 16u);
        ASSERT_EQ(d.cmap_num, s.set == kSetA ? 3u : 2u);
        ASSERT_NE(d.cache, nullptr);
        caches.push_back(d.cache);

        // text maps, then the icon map
        if(s.set == kSetA) {
            EXPECT_EQ(d.cmaps[0].range_start, 0x20u);
            EXPECT_EQ(d.cmaps[0].range_length, 12u);
            EXPECT_EQ(d.cmaps[0].glyph_id_start, 1u);
            EXPECT_EQ(d.cmaps[1].range_start, 0x2Du);
            EXPECT_EQ(d.cmaps[1].range_length, 82u);
            EXPECT_EQ(d.cmaps[1].glyph_id_start, 13u);
        } else {
            EXPECT_EQ(d.cmaps[0].range_start, 0x20u);
            EXPECT_EQ(d.cmaps[0].range_length, 95u);
            EXPECT_EQ(d.cmaps[0].glyph_id_start, 1u);
        }
        for(unsigned i = 0; i + 1 < d.cmap_num; i++) EXPECT_EQ(d.cmaps[i].type, LV_FONT_FMT_TXT_CMAP_FORMAT0_TINY);
        const lv_font_fmt_txt_cmap_t & icons = d.cmaps[d.cmap_num - 1];
        EXPECT_EQ(icons.type, LV_FONT_FMT_TXT_CMAP_SPARSE_TINY);
        EXPECT_EQ(icons.range_start, 0xF001u);
        EXPECT_EQ(icons.range_length, 2210u);
        EXPECT_EQ(icons.list_length, 57u);
        EXPECT_EQ(icons.glyph_id_start, s.set == kSetA ? 95u : 96u);
        ASSERT_NE(icons.unicode_list, nullptr);
        for(unsigned i = 0; i < 57; i++) EXPECT_EQ(icons.range_start + icons.unicode_list[i], kIcons[i]) << i;

        // glyph bitmaps lie one after another from offset 0, 4 bits a pixel
        uint32_t glyphs = s.set == kSetA ? 151 : 152;
        uint32_t expected_offset = 0;
        for(uint32_t id = 1; id <= glyphs; id++) {
            const lv_font_fmt_txt_glyph_dsc_t & g = d.glyph_dsc[id];
            ASSERT_EQ(g.bitmap_index, expected_offset) << "glyph " << id;
            expected_offset += (g.box_w * g.box_h + 1) / 2;
        }
    }
    std::sort(caches.begin(), caches.end());
    EXPECT_EQ(std::unique(caches.begin(), caches.end()), caches.end()) << "each font has its own glyph cache";
}

TEST(FontMetrics, MontserratMatchesTheReferenceGlyphs)
{
    // advance in 1/16 px, box w x h, x offset
    struct Ref {
        const lv_font_t * font;
        char c;
        unsigned adv16, box_w, box_h;
        int ofs_x;
    };
    const Ref refs[] = {
        {&lv_font_montserratMedium_16, ' ', 69, 0, 0, 0},     // 4.3125
        {&lv_font_montserratMedium_16, 'A', 187, 13, 12, -1},  // 11.6875
        {&lv_font_montserratMedium_16, '0', 171, 10, 12, 0},   // 10.6875
        {&lv_font_montserratMedium_50, ' ', 215, 0, 0, 0},     // 13.4375
        {&lv_font_montserratMedium_50, 'A', 586, 38, 35, -1},  // 36.625
        {&lv_font_montserratMedium_50, '0', 534, 29, 35, 0},   // 33.375 (x offset not fixed)
    };
    for(const Ref & r : refs) {
        SCOPED_TRACE(std::string(1, r.c) + " at " + std::to_string(r.font->line_height));
        const lv_font_fmt_txt_glyph_dsc_t & g = glyph(*r.font, r.c);
        EXPECT_EQ(g.adv_w, r.adv16);
        EXPECT_EQ(g.box_w, r.box_w);
        EXPECT_EQ(g.box_h, r.box_h);
        if(r.c == 'A') {
            EXPECT_EQ(g.ofs_x, r.ofs_x);
        }

        // and the same through LVGL's look-up, rounded to whole pixels
        lv_font_glyph_dsc_t out{};
        ASSERT_TRUE(lv_font_get_glyph_dsc(r.font, &out, static_cast<uint32_t>(r.c), 0));
        EXPECT_EQ(out.adv_w, (r.adv16 + 8) / 16);
        EXPECT_EQ(out.box_w, r.box_w);
        EXPECT_EQ(out.box_h, r.box_h);
        EXPECT_EQ(out.bpp, 4);
        EXPECT_FALSE(out.is_placeholder);
    }
}

TEST(FontMetrics, MontserratKerning)
{
    const lv_font_t & f16 = lv_font_montserratMedium_16;
    EXPECT_EQ(kerning(f16, 'A', 'V'), -9);
    EXPECT_EQ(kerning(f16, 'T', 'o'), -14);
    EXPECT_EQ(kerning(f16, 'L', 'T'), -17);
    // LVGL applies it to the left glyph's advance: (187 - 9 + 8) / 16
    lv_font_glyph_dsc_t out{};
    ASSERT_TRUE(lv_font_get_glyph_dsc(&f16, &out, 'A', 'V'));
    EXPECT_EQ(out.adv_w, 11);
    ASSERT_TRUE(lv_font_get_glyph_dsc(&f16, &out, 'A', 'B'));
    EXPECT_EQ(out.adv_w, 12);

    struct Range {
        const lv_font_t * font;
        int lo, hi;
    };
    for(Range r : {Range{&lv_font_montserratMedium_16, -35, 36}, Range{&lv_font_montserratMedium_50, -110, 112}}) {
        const auto & k = *static_cast<const lv_font_fmt_txt_kern_classes_t *>(fmt(*r.font).kern_dsc);
        EXPECT_EQ(k.left_class_cnt, 60);
        EXPECT_EQ(k.right_class_cnt, 48);
        auto [lo, hi] = std::minmax_element(k.class_pair_values, k.class_pair_values + 60 * 48);
        EXPECT_EQ(*lo, r.lo);
        EXPECT_EQ(*hi, r.hi);
    }
}

TEST(FontMetrics, AntonioKeepsTheReferenceShapeWithinAPixel)
{
    // The typeface release differs slightly from the reference in widths and
    // kerning; the glyph heights and the layout metrics are the same.
    const lv_font_t & f = lv_font_Antonio_Regular_30;
    EXPECT_NEAR(glyph(f, ' ').adv_w / 16.0, 7.375, 0.5);
    EXPECT_NEAR(glyph(f, 'A').adv_w / 16.0, 13.75, 0.5);
    EXPECT_EQ(glyph(f, 'A').box_w, 13);
    EXPECT_EQ(glyph(f, 'A').box_h, 26);
    EXPECT_EQ(glyph(f, 'A').ofs_x, 0);
    EXPECT_NEAR(glyph(f, '0').adv_w / 16.0, 13.375, 1.0);
    EXPECT_NEAR(glyph(f, '0').box_w, 11, 1);
    EXPECT_EQ(glyph(f, '0').box_h, 26);
    // a condensed face: "AV" still tucks together
    EXPECT_LT(kerning(lv_font_Antonio_Regular_25, 'A', 'V'), 0);
    EXPECT_LT(kerning(lv_font_Antonio_Regular_30, 'A', 'V'), 0);
}

// The Antonio faces lack the comma like every set-A font. A real LVGL 8.3.11
// takes the code point just past a cmap range for the range's last one (its
// check is `rcp > range_length`): after 0x20-0x2B the comma comes out as '-',
// 0x7F as the next range's first glyph. Those gaps are checked on this
// project's core only; what the fonts do hold is checked on both.
#ifdef TESSEL_LVGL_SYSTEM
#define SKIP_PAST_RANGE_END(what) \
    GTEST_SKIP() << what << ": LVGL 8.3.11 answers the code point just past a font's cmap range " \
                 << "with the next range's first glyph (',' draws '-', 0x7F the first icon)"
constexpr bool kPastRangeEndIsAGap = false;
#else
#define SKIP_PAST_RANGE_END(what) (void)0
constexpr bool kPastRangeEndIsAGap = true;
#endif

static bool is_antonio(const FontSpec & s)
{
    return std::strncmp(s.name, "Antonio", 7) == 0;
}

static void check_comma(const FontSpec & s)
{
    SCOPED_TRACE(s.name);
    lv_font_glyph_dsc_t out{};
    bool found = lv_font_get_glyph_dsc(s.font, &out, ',', 0);
    if(s.set == kSetB) {
        EXPECT_TRUE(found);
        EXPECT_FALSE(out.is_placeholder);
        EXPECT_GT(out.box_w, 0);
    } else if(kPastRangeEndIsAGap) {
        // LVGL draws its placeholder box instead: half a line wide, a line tall
        EXPECT_FALSE(found);
        EXPECT_TRUE(out.is_placeholder);
        EXPECT_EQ(out.box_h, s.line_height);
        EXPECT_EQ(out.box_w, s.line_height / 2);
    }
    // the neighbours of the gap are there
    EXPECT_TRUE(lv_font_get_glyph_dsc(s.font, &out, '+', 0));
    EXPECT_TRUE(lv_font_get_glyph_dsc(s.font, &out, '-', 0));
    EXPECT_TRUE(lv_font_get_glyph_dsc(s.font, &out, '~', 0));
    if(kPastRangeEndIsAGap) {
        EXPECT_FALSE(lv_font_get_glyph_dsc(s.font, &out, 0x7F, 0));
    }
}

TEST(CharacterSets, CommaOnlyInSetB)
{
    for(const FontSpec & s : all_fonts())
        if(!is_antonio(s)) check_comma(s);
    SKIP_PAST_RANGE_END("set-A commas and 0x7F not checked");
}

TEST(CharacterSets, AntonioHasNoComma)
{
    for(const FontSpec & s : all_fonts())
        if(is_antonio(s)) check_comma(s);
    SKIP_PAST_RANGE_END("the comma and 0x7F not checked");
}

TEST(CharacterSets, AllFiftySevenIconsAndNoOthers)
{
    for(const FontSpec & s : all_fonts()) {
        SCOPED_TRACE(s.name);
        lv_font_glyph_dsc_t out{};
        for(uint32_t icon : kIcons) {
            EXPECT_TRUE(lv_font_get_glyph_dsc(s.font, &out, icon, 0)) << std::hex << icon;
            EXPECT_GT(out.box_w, 0) << std::hex << icon;
        }
        for(uint32_t missing : {0xF043u, 0xF0C9u, 0xF0E0u, 0xF000u, 0xF8A3u}) {
            EXPECT_FALSE(lv_font_get_glyph_dsc(s.font, &out, missing, 0)) << std::hex << missing;
            EXPECT_TRUE(out.is_placeholder) << std::hex << missing;
        }
    }
}

TEST(DefaultFont, Montserrat14WithTheBuiltInSet)
{
    const lv_font_t & f = lv_font_montserrat_14;
    EXPECT_EQ(f.line_height, 16);
    EXPECT_EQ(f.base_line, 3);
    EXPECT_EQ(fmt(f).bpp, 4u);
    lv_font_glyph_dsc_t out{};
    for(uint32_t c = 0x20; c <= 0x7E; c++) EXPECT_TRUE(lv_font_get_glyph_dsc(&f, &out, c, 0)) << c;
    for(uint32_t c : {0xB0u, 0x2022u, 0xF043u, 0xF0C9u, 0xF0E0u}) EXPECT_TRUE(lv_font_get_glyph_dsc(&f, &out, c, 0)) << c;
    for(uint32_t icon : kIcons) EXPECT_TRUE(lv_font_get_glyph_dsc(&f, &out, icon, 0)) << std::hex << icon;
    EXPECT_FALSE(lv_font_get_glyph_dsc(&f, &out, 0xE9, 0));  // only LVGL's built-in set
}

}  // namespace
