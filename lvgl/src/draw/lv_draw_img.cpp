/**
 * @file lv_draw_img.cpp
 * Images in the display's own format (RGB565, optionally with an alpha byte per pixel),
 * drawn 1:1 with opacity and recolouring.
 */
#include "lv_draw_sw.h"

#include <cstring>

namespace lv_sw {

namespace {

inline uint16_t px16(const uint8_t * p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

bool is_chroma_key(uint16_t c)
{
    const lv_color_t key = LV_COLOR_CHROMA_KEY;
    return c == key.full;
}

}  // namespace

/* Images as LVGL 8.3 blends them: recolour first (a weighted mean at full precision, the
 * recolour opacity not quantised), then each pixel mixed with a weight from its alpha and the
 * drawing opacity. */
void draw_image(const Target & t, const lv_img_dsc_t * img, int32_t x, int32_t y, lv_opa_t opa, lv_color_t recolor,
                lv_opa_t recolor_opa)
{
    if(img == nullptr || img->data == nullptr || opa <= kOpaMin || !t.ok()) return;
    const uint32_t cf = img->header.cf;
    const int32_t w = img->header.w;
    const int32_t h = img->header.h;
    uint32_t px_size;
    switch(cf) {
        case LV_IMG_CF_TRUE_COLOR:
        case LV_IMG_CF_TRUE_COLOR_CHROMA_KEYED:
            px_size = 2;
            break;
        case LV_IMG_CF_TRUE_COLOR_ALPHA:
            px_size = LV_IMG_PX_SIZE_ALPHA_BYTE;
            break;
        default:
            return;  // other formats are not used by this system
    }
    // A descriptor whose data is shorter than its size claims is not drawn rather than over-read.
    if(img->data_size != 0 && img->data_size < static_cast<uint32_t>(w) * static_cast<uint32_t>(h) * px_size) return;

    const Area dst = Area{x, y, x + w - 1, y + h - 1}.intersect(t.clip());
    if(dst.empty()) return;

    const bool recolor_on = recolor_opa > kOpaMin;
    const uint32_t ro = recolor_opa;
    const uint32_t rr = (recolor.full >> 11) * ro;
    const uint32_t rg = ((recolor.full >> 5) & 63U) * ro;
    const uint32_t rb = (recolor.full & 31U) * ro;
    auto recolored = [&](uint16_t c) -> uint16_t {
        if(!recolor_on) return c;
        const uint32_t ir = 255U - ro;
        return static_cast<uint16_t>((div255(rr + (c >> 11) * ir) << 11) | (div255(rg + ((c >> 5) & 63U) * ir) << 5) |
                                     div255(rb + (c & 31U) * ir));
    };
    const int32_t n = dst.w();
    uint16_t * colors = scratch_colors(static_cast<size_t>(n));
    uint8_t * wts = scratch_mask(static_cast<size_t>(n));

    for(int32_t yy = dst.y1; yy <= dst.y2; yy++) {
        const uint8_t * src = img->data + (static_cast<size_t>(yy - y) * static_cast<size_t>(w) +
                                           static_cast<size_t>(dst.x1 - x)) * px_size;
        uint16_t * out = t.row(yy) + dst.x1;
        if(cf == LV_IMG_CF_TRUE_COLOR && !recolor_on) {
            if(opa >= kOpaMax) {
                std::memcpy(out, src, static_cast<size_t>(n) * 2);
                continue;
            }
            std::memcpy(colors, src, static_cast<size_t>(n) * 2);
            blend_colors(out, n, colors, opa);
            continue;
        }

        if(cf == LV_IMG_CF_TRUE_COLOR_ALPHA && !recolor_on && opa >= 254) {
            // The common case in one pass: each pixel by its alpha alone.
            for(int32_t i = 0; i < n; i++) {
                const uint8_t * sp = src + static_cast<size_t>(i) * 3;
                const uint32_t a = sp[2];
                if(a == 255) out[i] = px16(sp);
                else if(a > 3) out[i] = mix565(px16(sp), out[i], a);
            }
            continue;
        }

        if(cf == LV_IMG_CF_TRUE_COLOR_ALPHA) {
            // Runs of visible pixels only: overlay pictures are mostly transparent.
            int32_t i = 0;
            while(i < n) {
                while(i < n && src[static_cast<size_t>(i) * 3 + 2] == 0) i++;
                const int32_t run = i;
                bool copy = true;  // every pixel of the run replaces the destination
                while(i < n) {
                    const uint8_t * s = src + static_cast<size_t>(i) * 3;
                    const uint32_t a = s[2];
                    if(a == 0) break;
                    colors[i - run] = recolored(px16(s));
                    uint32_t wt;
                    if(opa >= 254) wt = a;
                    else wt = a >= kOpaMax ? opa : (opa * a) >> 8;
                    wts[i - run] = static_cast<uint8_t>(wt);
                    copy &= wt >= 252;  // level 32: the mix gives the colour itself
                    i++;
                }
                if(i > run) {
                    if(copy) std::memcpy(out + run, colors, static_cast<size_t>(i - run) * 2);
                    else blend_colors_weights(out + run, i - run, colors, wts);
                }
            }
            continue;
        }

        // RGB565 with recolouring or a chroma key.
        const uint8_t wt = opa >= kOpaMax ? 255 : opa;
        for(int32_t i = 0; i < n; i++) {
            const uint16_t c = px16(src + static_cast<size_t>(i) * 2);
            const bool keyed = cf == LV_IMG_CF_TRUE_COLOR_CHROMA_KEYED && is_chroma_key(c);
            wts[i] = keyed ? 0 : wt;
            colors[i] = recolored(c);
        }
        blend_colors_weights(out, n, colors, wts);
    }
}

}  // namespace lv_sw

extern "C" {

void lv_draw_img_dsc_init(lv_draw_img_dsc_t * dsc)
{
    if(dsc == nullptr) return;
    std::memset(dsc, 0, sizeof(*dsc));
    dsc->recolor = lv_color_black();
    dsc->opa = LV_OPA_COVER;
    dsc->zoom = LV_IMG_ZOOM_NONE;
    dsc->antialias = 1;
}

void lv_draw_img(lv_draw_ctx_t * draw_ctx, const lv_draw_img_dsc_t * dsc, const lv_area_t * coords, const void * src)
{
    if(dsc == nullptr || coords == nullptr || src == nullptr) return;
    // Only image descriptors; a text (symbol or file name) starts with a printable byte.
    if(static_cast<const uint8_t *>(src)[0] >= 0x20) return;
    const lv_sw::Target t(draw_ctx);
    if(!t.ok()) return;
    const lv_sw::Area a = lv_sw::Area::of(*coords);
    lv_sw::draw_image(t.clipped(a), static_cast<const lv_img_dsc_t *>(src), a.x1, a.y1, dsc->opa, dsc->recolor,
                      dsc->recolor_opa);
}

}  // extern "C"
