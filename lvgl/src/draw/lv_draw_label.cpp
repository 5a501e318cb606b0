/**
 * @file lv_draw_label.cpp
 * Text: line layout inside an area and glyph blending (1/2/4/8 bpp bitmaps).
 */
#include "lv_draw_sw.h"

#include <cstring>

namespace lv_sw {
namespace {

// Opacity of each glyph pixel value, by bits per pixel.
uint8_t glyph_opa(uint32_t v, uint32_t bpp)
{
    switch(bpp) {
        case 1: return v ? 255 : 0;
        case 2: return static_cast<uint8_t>(v * 85);
        case 4: return static_cast<uint8_t>(v * 17);
        default: return static_cast<uint8_t>(v);
    }
}

/* The missing-glyph box: a 1 px outline in the text colour. */
void draw_placeholder(const Target & t, const Paint & p, int32_t x, int32_t y, int32_t w, int32_t h)
{
    if(w <= 0 || h <= 0) return;
    const Area box{x, y, x + w - 1, y + h - 1};
    fill_area(t, {box.x1, box.y1, box.x2, box.y1}, p);
    if(h > 1) fill_area(t, {box.x1, box.y2, box.x2, box.y2}, p);
    if(h > 2) {
        fill_area(t, {box.x1, box.y1 + 1, box.x1, box.y2 - 1}, p);
        if(w > 1) fill_area(t, {box.x2, box.y1 + 1, box.x2, box.y2 - 1}, p);
    }
}

void draw_letter(const Target & t, const lv_draw_label_dsc_t * dsc, int32_t px, int32_t py, uint32_t letter)
{
    const lv_font_t * font = dsc->font;
    lv_font_glyph_dsc_t g;
    const bool found = lv_font_get_glyph_dsc(font, &g, letter, 0);
    Paint p;
    p.color = dsc->color.full;
    p.opa = dsc->opa;
    if(!found) {
        if(g.is_placeholder) draw_placeholder(t, p, px, py, g.box_w, g.box_h);
        return;
    }
    if(g.box_w == 0 || g.box_h == 0 || g.resolved_font == nullptr) return;

    const lv_font_t * rf = g.resolved_font;
    const int32_t gx = px + g.ofs_x;
    const int32_t gy = py + (rf->line_height - rf->base_line) - g.box_h - g.ofs_y;
    const Area box{gx, gy, gx + g.box_w - 1, gy + g.box_h - 1};
    const Area vis = box.intersect(t.clip());
    if(vis.empty()) return;

    const uint8_t * bmp = lv_font_get_glyph_bitmap(rf, letter);
    if(bmp == nullptr) return;
    const uint32_t bpp = g.bpp;
    if(bpp != 1 && bpp != 2 && bpp != 4 && bpp != 8) return;

    // Rows are packed without padding: pixel k of the glyph starts at bit k * bpp, high bits first.
    const int32_t n = vis.w();
    uint8_t * mask = scratch_mask(static_cast<size_t>(n));
    const uint32_t vmask = (1U << bpp) - 1U;
    // Translucent text: the glyph's coverage is scaled by the opacity before the blend applies it
    // once more (as the library does), so the weight is about opacity squared.
    const uint32_t o = dsc->opa;
    for(int32_t y = vis.y1; y <= vis.y2; y++) {
        const uint32_t row_start = static_cast<uint32_t>(y - gy) * g.box_w + static_cast<uint32_t>(vis.x1 - gx);
        bool any = false;
        for(int32_t i = 0; i < n; i++) {
            const uint32_t bit = (row_start + static_cast<uint32_t>(i)) * bpp;
            const uint32_t v = (bmp[bit >> 3] >> (8U - bpp - (bit & 7U))) & vmask;
            uint32_t c = glyph_opa(v, bpp);
            if(o < kOpaMax) c = c == 255 ? o : (c * o) >> 8;
            mask[i] = static_cast<uint8_t>(c);
            any |= v != 0;
        }
        if(any) span(t, y, vis.x1, n, p, mask);
    }
}

/* Underline and strike-through of one line, from its first glyph to after its last. */
void draw_decor(const Target & t, const lv_draw_label_dsc_t * dsc, int32_t x1, int32_t x2, int32_t y)
{
    const lv_font_t * f = dsc->font;
    const int32_t thick = f->underline_thickness > 0 ? f->underline_thickness : 1;
    Paint p;
    p.color = dsc->color.full;
    p.opa = dsc->opa;
    auto bar = [&](int32_t cy) {
        // Centred on cy like a horizontal line of that width.
        const int32_t top = cy - ((thick - 1) >> 1) - ((thick - 1) & 1);
        fill_area(t, {x1, top, x2 - 1, top + thick - 1}, p);
    };
    if(dsc->decor & LV_TEXT_DECOR_STRIKETHROUGH) bar(y + f->line_height / 2 + thick / 2);
    if(dsc->decor & LV_TEXT_DECOR_UNDERLINE) bar(y + f->line_height - f->base_line - f->underline_position);
}

uint32_t next_letter(const char * txt, uint32_t * i, uint32_t * letter_next)
{
    const uint32_t letter = _lv_txt_encoded_next(txt, i);
    uint32_t peek = *i;
    *letter_next = txt[*i] != '\0' ? _lv_txt_encoded_next(txt, &peek) : 0;
    return letter;
}

int32_t line_x(const lv_draw_label_dsc_t * dsc, const Area & coords, const char * line, uint32_t len)
{
    int32_t x = coords.x1;
    if(dsc->align == LV_TEXT_ALIGN_CENTER || dsc->align == LV_TEXT_ALIGN_RIGHT) {
        const int32_t lw = lv_txt_get_width(line, len, dsc->font, dsc->letter_space, dsc->flag);
        x += dsc->align == LV_TEXT_ALIGN_CENTER ? (coords.w() - lw) / 2 : coords.w() - lw;
    }
    return x;
}

}  // namespace
}  // namespace lv_sw

extern "C" {

void lv_draw_label_dsc_init(lv_draw_label_dsc_t * dsc)
{
    if(dsc == nullptr) return;
    std::memset(dsc, 0, sizeof(*dsc));
    dsc->opa = LV_OPA_COVER;
    dsc->color = lv_color_black();
    dsc->font = LV_FONT_DEFAULT;
    dsc->align = LV_TEXT_ALIGN_AUTO;
}

void lv_draw_letter(lv_draw_ctx_t * draw_ctx, const lv_draw_label_dsc_t * dsc, const lv_point_t * pos_p,
                    uint32_t letter)
{
    if(dsc == nullptr || pos_p == nullptr || dsc->font == nullptr || dsc->opa <= LV_OPA_MIN) return;
    const lv_sw::Target t(draw_ctx);
    if(!t.ok()) return;
    lv_sw::draw_letter(t, dsc, pos_p->x, pos_p->y, letter);
}

void lv_draw_label(lv_draw_ctx_t * draw_ctx, const lv_draw_label_dsc_t * dsc, const lv_area_t * coords,
                   const char * txt, void * hint)
{
    LV_UNUSED(hint);
    if(dsc == nullptr || coords == nullptr || txt == nullptr || txt[0] == '\0') return;
    if(dsc->font == nullptr || dsc->opa <= LV_OPA_MIN) return;
    const lv_sw::Target t(draw_ctx);
    if(!t.ok()) return;
    const lv_sw::Area area = lv_sw::Area::of(*coords);
    if(area.intersect(t.clip()).empty()) return;

    const lv_font_t * font = dsc->font;
    int32_t max_w = area.w();
    if(dsc->flag & LV_TEXT_FLAG_EXPAND) {
        lv_point_t size;
        lv_txt_get_size(&size, txt, font, dsc->letter_space, dsc->line_space, LV_COORD_MAX, dsc->flag);
        max_w = size.x;
    }
    const int32_t font_h = lv_font_get_line_height(font);
    const int32_t line_h = font_h + dsc->line_space;
    const lv_coord_t wrap_w = static_cast<lv_coord_t>(std::min<int32_t>(max_w, LV_COORD_MAX));

    int32_t y = area.y1 + dsc->ofs_y;
    uint32_t start = 0;
    uint32_t end = _lv_txt_get_next_line(txt, font, dsc->letter_space, wrap_w, nullptr, dsc->flag);

    // Skip the lines above the clip area.
    while(y + font_h < t.clip().y1) {
        if(txt[end] == '\0') return;
        start = end;
        end += _lv_txt_get_next_line(&txt[start], font, dsc->letter_space, wrap_w, nullptr, dsc->flag);
        y += line_h;
    }

    while(txt[start] != '\0') {
        const uint32_t len = end - start;
        int32_t x = lv_sw::line_x(dsc, area, &txt[start], len) + dsc->ofs_x;
        const int32_t x_start = x;
        uint32_t i = 0;
        const char * line = &txt[start];
        while(i < len) {
            uint32_t letter_next = 0;
            const uint32_t letter = lv_sw::next_letter(line, &i, &letter_next);
            const int32_t w = lv_font_get_glyph_width(font, letter, letter_next);
            if(letter != '\n' && letter != '\r' && x - font_h <= t.clip().x2 && x + w + font_h >= t.clip().x1)
                lv_sw::draw_letter(t, dsc, x, y, letter);
            if(w > 0) x += w + dsc->letter_space;
        }
        if(dsc->decor != LV_TEXT_DECOR_NONE && x > x_start) lv_sw::draw_decor(t, dsc, x_start, x, y);
        start = end;
        end += _lv_txt_get_next_line(&txt[start], font, dsc->letter_space, wrap_w, nullptr, dsc->flag);
        y += line_h;
        if(y > t.clip().y2) return;
    }
}

}  // extern "C"
