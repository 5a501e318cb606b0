/**
 * @file lv_color.cpp
 * RGB565 colour helpers and the Material palette.
 */
#include "../../lvgl.h"

#include <array>
#include <cstdint>

namespace {

// LVGL 8.3's 16-bit mix: 32 levels, (mix + 4) >> 3, and the step rounded toward minus infinity
// (so a darkening rounds toward the darker colour, a lightening stays on the darker side).
constexpr uint8_t mix_channel(int32_t a, int32_t b, uint32_t mix)
{
    const int32_t m = static_cast<int32_t>((mix + 4U) >> 3);
    return static_cast<uint8_t>(b + (((a - b) * m) >> 5));
}

using Rgb = uint32_t;  // 0xRRGGBB

constexpr std::array<Rgb, _LV_PALETTE_LAST> kMain = {
    0xF44336, 0xE91E63, 0x9C27B0, 0x673AB7, 0x3F51B5, 0x2196F3, 0x03A9F4, 0x00BCD4, 0x009688, 0x4CAF50,
    0x8BC34A, 0xCDDC39, 0xFFEB3B, 0xFFC107, 0xFF9800, 0xFF5722, 0x795548, 0x607D8B, 0x9E9E9E,
};

// Material shades 400, 300, 200, 100, 50.
constexpr std::array<std::array<Rgb, 5>, _LV_PALETTE_LAST> kLighter = {{
    {0xEF5350, 0xE57373, 0xEF9A9A, 0xFFCDD2, 0xFFEBEE},
    {0xEC407A, 0xF06292, 0xF48FB1, 0xF8BBD0, 0xFCE4EC},
    {0xAB47BC, 0xBA68C8, 0xCE93D8, 0xE1BEE7, 0xF3E5F5},
    {0x7E57C2, 0x9575CD, 0xB39DDB, 0xD1C4E9, 0xEDE7F6},
    {0x5C6BC0, 0x7986CB, 0x9FA8DA, 0xC5CAE9, 0xE8EAF6},
    {0x42A5F5, 0x64B5F6, 0x90CAF9, 0xBBDEFB, 0xE3F2FD},
    {0x29B6F6, 0x4FC3F7, 0x81D4FA, 0xB3E5FC, 0xE1F5FE},
    {0x26C6DA, 0x4DD0E1, 0x80DEEA, 0xB2EBF2, 0xE0F7FA},
    {0x26A69A, 0x4DB6AC, 0x80CBC4, 0xB2DFDB, 0xE0F2F1},
    {0x66BB6A, 0x81C784, 0xA5D6A7, 0xC8E6C9, 0xE8F5E9},
    {0x9CCC65, 0xAED581, 0xC5E1A5, 0xDCEDC8, 0xF1F8E9},
    {0xD4E157, 0xDCE775, 0xE6EE9C, 0xF0F4C3, 0xF9FBE7},
    {0xFFEE58, 0xFFF176, 0xFFF59D, 0xFFF9C4, 0xFFFDE7},
    {0xFFCA28, 0xFFD54F, 0xFFE082, 0xFFECB3, 0xFFF8E1},
    {0xFFA726, 0xFFB74D, 0xFFCC80, 0xFFE0B2, 0xFFF3E0},
    {0xFF7043, 0xFF8A65, 0xFFAB91, 0xFFCCBC, 0xFBE9E7},
    {0x8D6E63, 0xA1887F, 0xBCAAA4, 0xD7CCC8, 0xEFEBE9},
    {0x78909C, 0x90A4AE, 0xB0BEC5, 0xCFD8DC, 0xECEFF1},
    {0xBDBDBD, 0xE0E0E0, 0xEEEEEE, 0xF5F5F5, 0xFAFAFA},
}};

// Material shades 600, 700, 800, 900.
constexpr std::array<std::array<Rgb, 4>, _LV_PALETTE_LAST> kDarker = {{
    {0xE53935, 0xD32F2F, 0xC62828, 0xB71C1C},
    {0xD81B60, 0xC2185B, 0xAD1457, 0x880E4F},
    {0x8E24AA, 0x7B1FA2, 0x6A1B9A, 0x4A148C},
    {0x5E35B1, 0x512DA8, 0x4527A0, 0x311B92},
    {0x3949AB, 0x303F9F, 0x283593, 0x1A237E},
    {0x1E88E5, 0x1976D2, 0x1565C0, 0x0D47A1},
    {0x039BE5, 0x0288D1, 0x0277BD, 0x01579B},
    {0x00ACC1, 0x0097A7, 0x00838F, 0x006064},
    {0x00897B, 0x00796B, 0x00695C, 0x004D40},
    {0x43A047, 0x388E3C, 0x2E7D32, 0x1B5E20},
    {0x7CB342, 0x689F38, 0x558B2F, 0x33691E},
    {0xC0CA33, 0xAFB42B, 0x9E9D24, 0x827717},
    {0xFDD835, 0xFBC02D, 0xF9A825, 0xF57F17},
    {0xFFB300, 0xFFA000, 0xFF8F00, 0xFF6F00},
    {0xFB8C00, 0xF57C00, 0xEF6C00, 0xE65100},
    {0xF4511E, 0xE64A19, 0xD84315, 0xBF360C},
    {0x6D4C41, 0x5D4037, 0x4E342E, 0x3E2723},
    {0x546E7A, 0x455A64, 0x37474F, 0x263238},
    {0x757575, 0x616161, 0x424242, 0x212121},
}};

}  // namespace

extern "C" {

lv_color_t lv_color_mix(lv_color_t c1, lv_color_t c2, uint8_t mix)
{
    lv_color_t r;
    r.full = static_cast<uint16_t>((mix_channel(c1.ch.red, c2.ch.red, mix) << 11) |
                                   (mix_channel(c1.ch.green, c2.ch.green, mix) << 5) |
                                   mix_channel(c1.ch.blue, c2.ch.blue, mix));
    return r;
}

lv_color_t lv_color_lighten(lv_color_t c, lv_opa_t lvl) { return lv_color_mix(lv_color_white(), c, lvl); }

lv_color_t lv_color_darken(lv_color_t c, lv_opa_t lvl) { return lv_color_mix(lv_color_black(), c, lvl); }

uint32_t lv_color_to32(lv_color_t color)
{
    // Spreads 5/6 bits over 0..255 so that full channels become 255.
    lv_color32_t r;
    r.ch.red = static_cast<uint8_t>((color.ch.red * 263U + 7U) >> 5);
    r.ch.green = static_cast<uint8_t>((color.ch.green * 259U + 3U) >> 6);
    r.ch.blue = static_cast<uint8_t>((color.ch.blue * 263U + 7U) >> 5);
    r.ch.alpha = 0xFF;
    return r.full;
}

uint8_t lv_color_brightness(lv_color_t color)
{
    lv_color32_t c;
    c.full = lv_color_to32(color);
    const uint32_t bright = 3U * c.ch.red + 4U * c.ch.green + c.ch.blue;  // green counts most
    return static_cast<uint8_t>(bright >> 3);
}

lv_color_t lv_palette_main(lv_palette_t p)
{
    if(p >= _LV_PALETTE_LAST) return lv_color_black();
    return lv_color_hex(kMain[p]);
}

lv_color_t lv_palette_lighten(lv_palette_t p, uint8_t lvl)
{
    if(p >= _LV_PALETTE_LAST || lvl < 1 || lvl > 5) return lv_color_black();
    return lv_color_hex(kLighter[p][lvl - 1]);
}

lv_color_t lv_palette_darken(lv_palette_t p, uint8_t lvl)
{
    if(p >= _LV_PALETTE_LAST || lvl < 1 || lvl > 4) return lv_color_black();
    return lv_color_hex(kDarker[p][lvl - 1]);
}

void lv_color_filter_dsc_init(lv_color_filter_dsc_t * dsc, lv_color_filter_cb_t cb)
{
    if(dsc == nullptr) return;
    dsc->filter_cb = cb;
    dsc->user_data = nullptr;
}

}  // extern "C"
