/**
 * @file lv_draw_sw.h
 * Internals of the software renderer (C++ only): target buffer access, span blending and
 * rounded-rectangle coverage. Not part of the public interface.
 */
#ifndef LV_DRAW_SW_H
#define LV_DRAW_SW_H

#include "lv_draw.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace lv_sw {

/** Inclusive integer rectangle with 32-bit coordinates (no overflow while growing areas). */
struct Area {
    int32_t x1 = 0;
    int32_t y1 = 0;
    int32_t x2 = -1;
    int32_t y2 = -1;

    static Area of(const lv_area_t & a) { return {a.x1, a.y1, a.x2, a.y2}; }
    int32_t w() const { return x2 - x1 + 1; }
    int32_t h() const { return y2 - y1 + 1; }
    bool empty() const { return x2 < x1 || y2 < y1; }
    Area intersect(const Area & o) const
    {
        return {std::max(x1, o.x1), std::max(y1, o.y1), std::min(x2, o.x2), std::min(y2, o.y2)};
    }
    Area grown(int32_t d) const { return {x1 - d, y1 - d, x2 + d, y2 + d}; }
    Area moved(int32_t dx, int32_t dy) const { return {x1 + dx, y1 + dy, x2 + dx, y2 + dy}; }
};

/** Opacity thresholds: at or below MIN nothing is drawn, at or above MAX a pixel is replaced. */
constexpr uint32_t kOpaMin = LV_OPA_MIN;
constexpr uint32_t kOpaMax = LV_OPA_MAX;

/** The RGB565 buffer of a draw context, addressed in screen coordinates, with its clip area. */
class Target {
public:
    explicit Target(const lv_draw_ctx_t * ctx);
    bool ok() const { return buf_ != nullptr && !clip_.empty(); }
    const Area & clip() const { return clip_; }
    /** Pointer such that row(y)[x] is screen pixel (x, y). Only valid for x inside the buffer. */
    uint16_t * row(int32_t y) const { return buf_ + (static_cast<ptrdiff_t>(y - buf_area_.y1) * stride_) - buf_area_.x1; }
    /** The same buffer with the clip narrowed to `a`. */
    Target clipped(const Area & a) const
    {
        Target t = *this;
        t.clip_ = clip_.intersect(a);
        return t;
    }

private:
    uint16_t * buf_ = nullptr;
    ptrdiff_t stride_ = 0;
    Area buf_area_;
    Area clip_;
};

/* How LVGL 8.3 blends at 16-bit colour. Two formulas, and the renderer must pick the same one
 * the library picks for each pixel or the result is one RGB565 step off:
 *  - fill (a plain run without mask): the opacity is quantised to a multiple of 8 (kept to 8 bits,
 *    so 252 wraps to 0) and the weighted mean floor(div255(fg * q + bg * (255 - q)));
 *  - mix (everything drawn through a mask, images, glyphs, colour helpers): 32 levels,
 *    channel = bg + floor((fg - bg) * ((w + 4) >> 3) / 32). */

/** floor(x / 255) for x < 65535, as the library divides. */
constexpr uint32_t div255(uint32_t x) { return (x * 0x8081U) >> 23; }

/** The mix formula on one pixel. */
inline uint16_t mix565(uint16_t fg, uint16_t bg, uint32_t w)
{
    const int32_t m = static_cast<int32_t>((w + 4U) >> 3);
    auto ch = [m](int32_t f, int32_t b) { return b + (((f - b) * m) >> 5); };
    const int32_t r = ch(fg >> 11, bg >> 11);
    const int32_t g = ch((fg >> 5) & 63, (bg >> 5) & 63);
    const int32_t b = ch(fg & 31, bg & 31);
    return static_cast<uint16_t>((r << 11) | (g << 5) | b);
}

/** The fill formula on one pixel (opa in 3..252). */
inline uint16_t fill565(uint16_t fg, uint16_t bg, uint32_t opa)
{
    const uint32_t q = (8U * ((opa + 4U) >> 3)) & 0xFFU;
    const uint32_t iq = 255U - q;
    const uint32_t r = div255((fg >> 11) * q + (bg >> 11) * iq);
    const uint32_t g = div255(((fg >> 5) & 63U) * q + ((bg >> 5) & 63U) * iq);
    const uint32_t b = div255((fg & 31U) * q + (bg & 31U) * iq);
    return static_cast<uint16_t>((r << 11) | (g << 5) | b);
}

/** Weight of a masked pixel: the mask byte at an opaque blend, the blend opacity where the mask
 *  is full, else their product. */
inline uint32_t mask_weight(uint32_t m, uint32_t opa)
{
    if(opa >= kOpaMax) return m;
    if(m == 255U) return opa;
    return (m * opa) >> 8;
}

/** Mask bytes multiply in as the library's masks do: coverage >= 253 keeps the old value,
 *  <= 2 clears it. */
inline uint8_t mask_mul(uint32_t old, uint32_t cov)
{
    if(cov >= kOpaMax) return static_cast<uint8_t>(old);
    if(cov <= kOpaMin) return 0;
    return static_cast<uint8_t>(div255(old * cov));
}

/** One fill call's memory of the library's one-entry result cache: until the call meets a
 *  destination other than black, black destinations get the mix formula. */
struct FillCache {
    bool met_other = false;
};

/** What a span is painted with: one colour, a colour per screen row (ycolors[y]) or a colour per
 *  screen column (xcolors[x]). Unmasked runs of one colour use the fill formula unless `mix` is
 *  set; runs of xcolors and masked runs always mix. */
struct Paint {
    uint16_t color = 0;
    const uint16_t * xcolors = nullptr;
    const uint16_t * ycolors = nullptr;
    uint8_t opa = LV_OPA_COVER;
    bool mix = false;
    FillCache * cache = nullptr;
};

/* Raw span operations on n pixels at p (no clipping). */
void fill_px(uint16_t * p, int32_t n, uint16_t c);
/** The fill formula at opacity opa (cache may be null: black is then treated like any colour). */
void blend_fill(uint16_t * p, int32_t n, uint16_t c, uint8_t opa, FillCache * cache);
/** The mix formula with one weight. */
void blend_mix(uint16_t * p, int32_t n, uint16_t c, uint8_t w);
/** The mix formula with mask_weight(mask[i], opa). */
void blend_mix_mask(uint16_t * p, int32_t n, uint16_t c, const uint8_t * mask, uint8_t opa);
/** Colours per pixel: copied at opa >= 253, else mixed with weight opa. */
void blend_colors(uint16_t * p, int32_t n, const uint16_t * colors, uint8_t opa);
/** Colours per pixel through a mask, weight mask_weight(mask[i], opa). */
void blend_colors_mask(uint16_t * p, int32_t n, const uint16_t * colors, const uint8_t * mask, uint8_t opa);
/** Colours per pixel, each mixed with its own final weight w[i] (0..3 leave the pixel). */
void blend_colors_weights(uint16_t * p, int32_t n, const uint16_t * colors, const uint8_t * w);

/** Paint pixels x .. x+n-1 of row y, clipped to the target's clip. mask (may be null) holds
 *  coverage 0..255 for pixel x at mask[0]. */
void span(const Target & t, int32_t y, int32_t x, int32_t n, const Paint & p, const uint8_t * mask);

/** Fill a whole area (clipped) with a paint, row by row, as one fill call. */
void fill_area(const Target & t, const Area & a, const Paint & p);

/** Anti-aliased coverage of a rectangle with circular corners. */
class RoundRect {
public:
    /** One row of the shape: [aa_l, full_l) partial (left[x - aa_l]), [full_l, full_r] covered,
     *  (full_r, aa_r] partial (right[x - full_r - 1]). `none` when the row misses the shape. */
    struct Row {
        bool none = true;
        int32_t aa_l = 0;
        int32_t full_l = 0;
        int32_t full_r = -1;
        int32_t aa_r = -1;
        const uint8_t * left = nullptr;
        const uint8_t * right = nullptr;
        uint8_t at(int32_t x) const
        {
            if(none || x < aa_l || x > aa_r) return 0;
            if(x < full_l) return left[x - aa_l];
            if(x <= full_r) return 255;
            return right[x - full_r - 1];
        }
    };

    RoundRect() = default;
    /** radius is clamped to half the shorter side (LV_RADIUS_CIRCLE gives a pill or circle). */
    RoundRect(const Area & a, int32_t radius);
    const Area & area() const { return a_; }
    int32_t radius() const { return r_; }
    Row row(int32_t y) const;
    uint8_t coverage(int32_t x, int32_t y) const { return row(y).at(x); }

    /** Coverage table of one corner radius (shared by all shapes with that radius). */
    struct Corner;

private:
    Area a_;
    int32_t r_ = 0;
    std::shared_ptr<const Corner> corner_;
};

/** Clamp a style radius to what an area can hold. */
inline int32_t clamp_radius(const Area & a, int32_t radius)
{
    const int32_t short_side = std::min(a.w(), a.h());
    return std::max<int32_t>(0, std::min<int32_t>(radius, short_side / 2));
}

/** Paint a rounded rectangle, every pixel through the mask path: coverage of `shape` times the
 *  inverted coverage of `hole` (optional), starting from mask_start, weight mask_weight(mask, p.opa).
 *  Rows or pixels where the combined mask is 255 use p with `mix` set. */
void draw_round_rect(const Target & t, const RoundRect & shape, const RoundRect * hole, const Paint & p,
                     uint8_t mask_start = 255);

/** A filled rounded box drawn as a background: corner rows mixed through a mask starting at
 *  p.opa, the rows between them plain fills. */
void draw_filled_shape(const Target & t, const RoundRect & shape, const Paint & p);

/** A filled rounded box drawn with further shapes as masks (a bar's indicator inside the bar):
 *  every row through the mask path, mask = p.opa times the coverage of the shape and of each
 *  of the `n` masks. */
void draw_filled_shape_masked(const Target & t, const RoundRect & shape, const Paint & p, const RoundRect * masks,
                              int n);

/** A border-like ring between two rounded boxes (corner blocks masked, straight parts plain). */
void draw_ring(const Target & t, const Area & outer, int32_t rout, const Area & inner, int32_t rin, const Paint & p);

/** Colour at position i of a gradient `size` long (stops in 0..255 of the size). */
uint16_t grad_color(int32_t i, int32_t size, uint16_t c1, uint16_t c2, uint32_t stop1, uint32_t stop2);

/** Per-thread scratch memory for masks and colour rows. */
uint8_t * scratch_mask(size_t n);
uint16_t * scratch_colors(size_t n);

/** Draw an image descriptor with its top-left at (x, y). */
void draw_image(const Target & t, const lv_img_dsc_t * img, int32_t x, int32_t y, lv_opa_t opa, lv_color_t recolor,
                lv_opa_t recolor_opa);

/** The box shadow table (cs x cs, cs = shadow width + clamped radius), oriented as the top-right
 *  corner: column 0 innermost, row 0 the outer top edge. core_w/h: size of the shadow's core. */
std::vector<uint8_t> shadow_corner_table(int32_t sw, int32_t radius, int32_t core_w, int32_t core_h);

}  // namespace lv_sw

#endif
