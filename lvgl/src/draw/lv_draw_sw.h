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

/** What a span is painted with: one colour, a colour per screen row (ycolors[y]) or a colour per
 *  screen column (xcolors[x]). */
struct Paint {
    uint16_t color = 0;
    const uint16_t * xcolors = nullptr;
    const uint16_t * ycolors = nullptr;
    uint8_t opa = LV_OPA_COVER;
};

/** LVGL's 16-bit mix: a = 255 gives fg, 0 gives bg; rounds to nearest. */
inline uint16_t mix565(uint16_t fg, uint16_t bg, uint32_t a)
{
    const uint32_t ia = 255U - a;
    auto ch = [&](uint32_t f, uint32_t b) {
        const uint32_t t = f * a + b * ia + 128U;
        return (t + 1U + (t >> 8)) >> 8;  // exact t / 255 for t < 65535
    };
    return static_cast<uint16_t>((ch(fg >> 11, bg >> 11) << 11) | (ch((fg >> 5) & 63U, (bg >> 5) & 63U) << 5) |
                                 ch(fg & 31U, bg & 31U));
}

/* Raw span operations on n pixels at p (no clipping). */
void fill_px(uint16_t * p, int32_t n, uint16_t c);
void blend_px(uint16_t * p, int32_t n, uint16_t c, uint8_t opa);
void blend_px_mask(uint16_t * p, int32_t n, uint16_t c, const uint8_t * mask, uint8_t opa);
void blend_px_colors(uint16_t * p, int32_t n, const uint16_t * colors, uint8_t opa);
void blend_px_colors_mask(uint16_t * p, int32_t n, const uint16_t * colors, const uint8_t * mask, uint8_t opa);

/** Paint pixels x .. x+n-1 of row y, clipped to the target's clip. mask (may be null) holds
 *  coverage 0..255 for pixel x at mask[0]. */
void span(const Target & t, int32_t y, int32_t x, int32_t n, const Paint & p, const uint8_t * mask);

/** Fill a whole area (clipped) with a paint, row by row. */
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

/** Paint a rounded rectangle; `hole` (optional) is cut out with its own anti-aliasing (borders). */
void draw_round_rect(const Target & t, const RoundRect & shape, const RoundRect * hole, const Paint & p);

/** Per-thread scratch memory for masks and colour rows. */
uint8_t * scratch_mask(size_t n);
uint16_t * scratch_colors(size_t n);

/** Draw an image descriptor with its top-left at (x, y). */
void draw_image(const Target & t, const lv_img_dsc_t * img, int32_t x, int32_t y, lv_opa_t opa, lv_color_t recolor,
                lv_opa_t recolor_opa);

}  // namespace lv_sw

#endif
