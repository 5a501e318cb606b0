/**
 * @file lv_font.cpp
 * Font front end: fallback chain and the missing-glyph placeholder.
 */
#include "../../lvgl.h"

namespace {

// Control characters and these two invisible code points never get a placeholder box.
bool is_invisible(uint32_t letter)
{
    return letter < 0x20 || letter == 0xF8FF /* LV_SYMBOL_DUMMY */ || letter == 0x200C /* zero width non-joiner */;
}

}  // namespace

extern "C" {

bool lv_font_get_glyph_dsc(const lv_font_t * font_p, lv_font_glyph_dsc_t * dsc_out, uint32_t letter,
                           uint32_t letter_next)
{
    if(dsc_out == nullptr) return false;
    *dsc_out = lv_font_glyph_dsc_t{};
    if(font_p == nullptr) return false;

    for(const lv_font_t * f = font_p; f != nullptr; f = f->fallback) {
        if(f->get_glyph_dsc != nullptr && f->get_glyph_dsc(f, dsc_out, letter, letter_next)) {
            dsc_out->resolved_font = f;
            dsc_out->is_placeholder = 0;
            return true;
        }
    }

    // Not found anywhere: describe a box so the gap stays visible and the layout keeps a width for it.
    *dsc_out = lv_font_glyph_dsc_t{};
    dsc_out->resolved_font = nullptr;
#if LV_USE_FONT_PLACEHOLDER
    if(!is_invisible(letter)) {
        dsc_out->box_w = static_cast<uint16_t>(font_p->line_height / 2);
        dsc_out->adv_w = static_cast<uint16_t>(dsc_out->box_w + 2);
    }
#endif
    dsc_out->box_h = static_cast<uint16_t>(font_p->line_height);
    dsc_out->ofs_x = 0;
    dsc_out->ofs_y = 0;
    dsc_out->bpp = 1;
    dsc_out->is_placeholder = is_invisible(letter) ? 0 : 1;
    return false;
}

const uint8_t * lv_font_get_glyph_bitmap(const lv_font_t * font_p, uint32_t letter)
{
    if(font_p == nullptr || font_p->get_glyph_bitmap == nullptr) return nullptr;
    return font_p->get_glyph_bitmap(font_p, letter);
}

uint16_t lv_font_get_glyph_width(const lv_font_t * font, uint32_t letter, uint32_t letter_next)
{
    lv_font_glyph_dsc_t g;
    lv_font_get_glyph_dsc(font, &g, letter, letter_next);
    return g.adv_w;
}

}  // extern "C"
