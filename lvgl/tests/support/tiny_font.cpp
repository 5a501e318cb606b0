#include "tiny_font.h"

#include <string>
#include <vector>

namespace tessel_test {
namespace {

struct GlyphSrc {
    int adv_px;
    int ofs_x;
    int ofs_y;
    std::vector<std::string> rows;  // hex digit per pixel, '.' = 0
};

// In glyph id order (id 1 upward).
const std::vector<GlyphSrc> & sources()
{
    static const std::vector<GlyphSrc> g = {
        {3, 0, 0, {}},                                                           // ' '
        {6, 0, 0, {"..F..", ".F.F.", "F...F", "FFFFF", "F...F", "F...F"}},     // A
        {6, 0, 0, {"FFFFF", "..F..", "..F..", "..F..", "..F..", "..F.."}},     // T
        {6, 0, 0, {"F...F", "F...F", "F...F", ".F.F.", ".F.F.", "..F.."}},     // V
        {3, -1, -2, {"..F", "...", ".FF", "..F", "..F", "..F", "FF."}},         // j
        {5, 0, 0, {"8FF8", "F..F", "F..F", "8FF8"}},                            // o
        {6, 0, 0, {"FFFFFF", "F....F", "F.FF.F", "F.FF.F", "F....F", "FFFFFF"}}, // U+F001
        {6, 0, 0, {".....F", "....F.", "F..F..", ".FF...", ".F....", "......"}}, // U+F00C
        {6, 0, 0, {"F....F", ".F..F.", "..FF..", "..FF..", ".F..F.", "F....F"}}, // U+F8A2
        {4, 0, 0, {"F..F", ".FF.", ".FF.", "F..F"}},                            // x
        {4, 0, 0, {"F..F", ".FF.", "..F.", ".F.."}},                            // y, z
        {3, 0, 2, {"4F4", "FFF", "4F4"}},                                       // U+2022
        {7, 0, 0, {"F.F.F.F"}},                                                 // U+2030
    };
    return g;
}

struct Built {
    std::vector<uint8_t> bitmap;
    std::vector<lv_font_fmt_txt_glyph_dsc_t> dsc;
};

Built build()
{
    Built b;
    b.dsc.push_back({});  // id 0 is reserved
    for(const GlyphSrc & s : sources()) {
        lv_font_fmt_txt_glyph_dsc_t d{};
        d.bitmap_index = static_cast<uint32_t>(b.bitmap.size());
        d.adv_w = static_cast<uint32_t>(s.adv_px * 16);
        d.box_h = static_cast<uint8_t>(s.rows.size());
        d.box_w = static_cast<uint8_t>(s.rows.empty() ? 0 : s.rows[0].size());
        d.ofs_x = static_cast<int8_t>(s.ofs_x);
        d.ofs_y = static_cast<int8_t>(s.ofs_y);
        // Pixels packed continuously, 2 per byte, first pixel in the high nibble.
        std::vector<uint8_t> nib;
        for(const std::string & r : s.rows)
            for(char c : r) nib.push_back(c == '.' ? 0 : static_cast<uint8_t>(std::stoi(std::string(1, c), nullptr, 16)));
        for(size_t i = 0; i < nib.size(); i += 2)
            b.bitmap.push_back(static_cast<uint8_t>((nib[i] << 4) | (i + 1 < nib.size() ? nib[i + 1] : 0)));
        b.dsc.push_back(d);
    }
    return b;
}

const Built & built()
{
    static const Built b = build();
    return b;
}

const uint16_t kSparseLetters[] = {0, 'T' - 'A', 'V' - 'A', 'j' - 'A', 'o' - 'A'};
const uint16_t kIcons[] = {0x0, 0xB, 0x8A1};
const uint8_t kFullOfs[] = {0, 1, 1};
const uint16_t kSparseFull[] = {0x22, 0x30};
const uint16_t kSparseFullOfs[] = {0, 1};

const lv_font_fmt_txt_cmap_t kCmaps[] = {
    {0x20, 1, kGidSpace, nullptr, nullptr, 0, LV_FONT_FMT_TXT_CMAP_FORMAT0_TINY},
    {'A', 'o' - 'A' + 1, kGidA, kSparseLetters, nullptr, 5, LV_FONT_FMT_TXT_CMAP_SPARSE_TINY},
    {0xF001, 0x8A2, kGidIcon1, kIcons, nullptr, 3, LV_FONT_FMT_TXT_CMAP_SPARSE_TINY},
    {'x', 3, kGidx, nullptr, kFullOfs, 0, LV_FONT_FMT_TXT_CMAP_FORMAT0_FULL},
    {0x2000, 0x31, kGidBullet, kSparseFull, kSparseFullOfs, 2, LV_FONT_FMT_TXT_CMAP_SPARSE_FULL},
};

// Left classes: A 1, T 2. Right classes: V 1, o 2, A 3.
const uint8_t kLeftClass[kGidCount] = {0, 0, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
const uint8_t kRightClass[kGidCount] = {0, 0, 3, 0, 1, 0, 2, 0, 0, 0, 0, 0, 0, 0};
const int8_t kClassValues[2 * 3] = {-32, 0, 0, 0, -24, 8};
const lv_font_fmt_txt_kern_classes_t kKernClasses = {kClassValues, kLeftClass, kRightClass, 2, 3};

const uint8_t kPairIds8[] = {kGidA, kGidV, kGidT, kGidA, kGidT, kGido};
const uint16_t kPairIds16[] = {kGidA, kGidV, kGidT, kGidA, kGidT, kGido};
const int8_t kPairValues[] = {-32, 8, -24};

lv_font_t make_font(const void * kern, bool classes, lv_font_fmt_txt_glyph_cache_t * cache,
                    lv_font_fmt_txt_dsc_t * dsc)
{
    dsc->glyph_bitmap = built().bitmap.data();
    dsc->glyph_dsc = built().dsc.data();
    dsc->cmaps = kCmaps;
    dsc->kern_dsc = kern;
    dsc->kern_scale = 16;
    dsc->cmap_num = 5;
    dsc->bpp = 4;
    dsc->kern_classes = classes ? 1 : 0;
    dsc->bitmap_format = LV_FONT_FMT_TXT_PLAIN;
    dsc->cache = cache;
    lv_font_t f{};
    f.get_glyph_dsc = lv_font_get_glyph_dsc_fmt_txt;
    f.get_glyph_bitmap = lv_font_get_bitmap_fmt_txt;
    f.line_height = 8;
    f.base_line = 2;
    f.subpx = LV_FONT_SUBPX_NONE;
    f.underline_position = -1;
    f.underline_thickness = 1;
    f.dsc = dsc;
    return f;
}

}  // namespace

const lv_font_t & tiny_font()
{
    static lv_font_fmt_txt_glyph_cache_t cache{};
    static lv_font_fmt_txt_dsc_t dsc{};
    static const lv_font_t font = make_font(&kKernClasses, true, &cache, &dsc);
    return font;
}

const lv_font_t & tiny_font_pairs(int glyph_ids_size)
{
    static lv_font_fmt_txt_glyph_cache_t cache8{};
    static lv_font_fmt_txt_glyph_cache_t cache16{};
    static lv_font_fmt_txt_dsc_t dsc8{};
    static lv_font_fmt_txt_dsc_t dsc16{};
    static const lv_font_fmt_txt_kern_pair_t pairs8 = {kPairIds8, kPairValues, 3, 0};
    static const lv_font_fmt_txt_kern_pair_t pairs16 = {kPairIds16, kPairValues, 3, 1};
    static const lv_font_t f8 = make_font(&pairs8, false, &cache8, &dsc8);
    static const lv_font_t f16 = make_font(&pairs16, false, &cache16, &dsc16);
    return glyph_ids_size == 0 ? f8 : f16;
}

}  // namespace tessel_test
