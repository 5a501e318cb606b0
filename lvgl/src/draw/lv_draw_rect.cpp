/**
 * @file lv_draw_rect.cpp
 * Rectangles: shadow, background (colour or gradient), background image, border, outline.
 */
#include "lv_draw_sw.h"

#include <cstring>

namespace lv_sw {
namespace {

constexpr uint32_t udiv255(uint32_t x) { return (x * 0x8081U) >> 23; }

/* Gradient colour at position i of `size`, between stops given in 0..255 of the size.
 * Interpolates the 5/6-bit channels directly (no dithering, so RGB565 bands show). */
uint16_t grad_color(int32_t i, int32_t size, uint16_t c1, uint16_t c2, uint32_t stop1, uint32_t stop2)
{
    const int32_t lo = static_cast<int32_t>((stop1 * static_cast<uint32_t>(size)) >> 8);
    const int32_t hi = static_cast<int32_t>((stop2 * static_cast<uint32_t>(size)) >> 8);
    if(i <= lo) return c1;
    if(i >= hi) return c2;
    const uint32_t mix = static_cast<uint32_t>((i - lo) * 255 / (hi - lo));
    const uint32_t imix = 255U - mix;
    const uint32_t r = udiv255((c1 >> 11) * imix + (c2 >> 11) * mix);
    const uint32_t g = udiv255(((c1 >> 5) & 63U) * imix + ((c2 >> 5) & 63U) * mix);
    const uint32_t b = udiv255((c1 & 31U) * imix + (c2 & 31U) * mix);
    return static_cast<uint16_t>((r << 11) | (g << 5) | b);
}

void draw_bg(const Target & t, const lv_draw_rect_dsc_t * d, const Area & coords)
{
    if(d->bg_opa <= kOpaMin) return;
    Area bg = coords;
    // Under an opaque rounded border the background stops 1 px short, so no background colour
    // shows through the border's anti-aliased edge.
    if(d->border_width > 1 && d->border_opa >= kOpaMax && d->radius != 0) {
        if(d->border_side & LV_BORDER_SIDE_LEFT) bg.x1++;
        if(d->border_side & LV_BORDER_SIDE_TOP) bg.y1++;
        if(d->border_side & LV_BORDER_SIDE_RIGHT) bg.x2--;
        if(d->border_side & LV_BORDER_SIDE_BOTTOM) bg.y2--;
    }
    if(bg.empty() || bg.intersect(t.clip()).empty()) return;

    Paint p;
    p.color = d->bg_color.full;
    p.opa = d->bg_opa;
    const bool grad = (d->bg_grad_dir == LV_GRAD_DIR_VER || d->bg_grad_dir == LV_GRAD_DIR_HOR) &&
                      d->bg_grad_color.full != d->bg_color.full;
    if(grad) {
        const uint16_t c1 = d->bg_color.full;
        const uint16_t c2 = d->bg_grad_color.full;
        if(d->bg_grad_dir == LV_GRAD_DIR_VER) {
            uint16_t * col = scratch_colors(static_cast<size_t>(bg.h()));
            for(int32_t i = 0; i < bg.h(); i++)
                col[i] = grad_color(i, bg.h(), c1, c2, d->bg_main_color_stop, d->bg_grad_color_stop);
            p.ycolors = col - bg.y1;
        }
        else {
            uint16_t * col = scratch_colors(static_cast<size_t>(bg.w()));
            for(int32_t i = 0; i < bg.w(); i++)
                col[i] = grad_color(i, bg.w(), c1, c2, d->bg_main_color_stop, d->bg_grad_color_stop);
            p.xcolors = col - bg.x1;
        }
    }
    draw_round_rect(t, RoundRect(bg, d->radius), nullptr, p);
}

void draw_bg_img(const Target & t, const lv_draw_rect_dsc_t * d, const Area & coords)
{
    if(d->bg_img_src == nullptr || d->bg_img_opa <= kOpaMin) return;
    // Only image descriptors; a text (symbol or file name) starts with a printable byte.
    if(static_cast<const uint8_t *>(d->bg_img_src)[0] >= 0x20) return;
    const auto * img = static_cast<const lv_img_dsc_t *>(d->bg_img_src);
    const int32_t iw = img->header.w;
    const int32_t ih = img->header.h;
    const int32_t x = coords.x1 + coords.w() / 2 - iw / 2;
    const int32_t y = coords.y1 + coords.h() / 2 - ih / 2;
    draw_image(t.clipped(coords), img, x, y, d->bg_img_opa, d->bg_img_recolor, d->bg_img_recolor_opa);
}

void draw_border(const Target & t, const lv_draw_rect_dsc_t * d, const Area & coords)
{
    if(d->border_width <= 0 || d->border_opa <= kOpaMin || (d->border_side & LV_BORDER_SIDE_FULL) == 0) return;
    const int32_t bw = d->border_width;
    const int32_t rout = clamp_radius(coords, d->radius);
    // A side without border pushes the hole out past the shape, corner included.
    Area inner = coords;
    inner.x1 += (d->border_side & LV_BORDER_SIDE_LEFT) ? bw : -(bw + rout);
    inner.x2 -= (d->border_side & LV_BORDER_SIDE_RIGHT) ? bw : -(bw + rout);
    inner.y1 += (d->border_side & LV_BORDER_SIDE_TOP) ? bw : -(bw + rout);
    inner.y2 -= (d->border_side & LV_BORDER_SIDE_BOTTOM) ? bw : -(bw + rout);
    const int32_t rin = std::max<int32_t>(0, rout - bw);

    Paint p;
    p.color = d->border_color.full;
    p.opa = d->border_opa;
    const RoundRect outer(coords, rout);
    if(inner.empty()) {
        draw_round_rect(t, outer, nullptr, p);
        return;
    }
    const RoundRect hole(inner, rin);
    draw_round_rect(t, outer, &hole, p);
}

void draw_outline(const Target & t, const lv_draw_rect_dsc_t * d, const Area & coords)
{
    if(d->outline_width <= 0 || d->outline_opa <= kOpaMin) return;
    // With no pad the outline reaches 1 px under the edge, so no gap can show at the corners.
    const int32_t pad = d->outline_pad == 0 ? -1 : d->outline_pad;
    const Area inner = coords.grown(pad);
    const Area outer = inner.grown(d->outline_width);
    const int32_t rin = inner.empty() ? 0 : clamp_radius(inner, d->radius);
    const int32_t rout = rin + d->outline_width;
    Paint p;
    p.color = d->outline_color.full;
    p.opa = d->outline_opa;
    const RoundRect shape(outer, rout);
    if(inner.empty()) {
        draw_round_rect(t, shape, nullptr, p);
        return;
    }
    const RoundRect hole(inner, rin);
    draw_round_rect(t, shape, &hole, p);
}

/* Soft shadow: the rectangle moved by the offset and grown by the spread, blurred with a box
 * filter `shadow_width` px wide (separably, so straight edges get a linear ramp centred on the edge).
 * The blurred shape is symmetric, so one quadrant is computed, and only the part near the corner
 * varies in both directions: a table of (radius + width) px squared, whatever the size. */
void draw_shadow(const Target & t, const lv_draw_rect_dsc_t * d, const Area & coords)
{
    if(d->shadow_width <= 0 || d->shadow_opa <= kOpaMin) return;
    const int32_t sw = d->shadow_width;
    const Area core = coords.moved(d->shadow_ofs_x, d->shadow_ofs_y).grown(d->shadow_spread);
    if(core.empty()) return;
    const int32_t half = sw / 2;  // the filter reaches `half` px each side (half weight at the ends if sw is even)
    const Area area = core.grown(half);
    const Area vis = area.intersect(t.clip());
    if(vis.empty()) return;

    const RoundRect shape(core, d->radius);
    const int32_t qw = (area.w() + 1) / 2;
    const int32_t qh = (area.h() + 1) / 2;
    const int32_t reach = shape.radius() + 2 * half + 1;
    const int32_t tw = std::min(qw, reach);
    const int32_t th = std::min(qh, reach);

    // Coverage of the shape around the table, then horizontal and vertical filter passes.
    const int32_t mw = tw + 2 * half;
    const int32_t mh = th + 2 * half;
    const int32_t mx0 = area.x1 - half;
    const int32_t my0 = area.y1 - half;
    thread_local std::vector<uint32_t> hsum;
    thread_local std::vector<uint8_t> table;
    thread_local std::vector<uint32_t> prefix;
    thread_local std::vector<uint8_t> cov;
    hsum.assign(static_cast<size_t>(mh) * static_cast<size_t>(tw), 0);
    table.assign(static_cast<size_t>(th) * static_cast<size_t>(tw), 0);
    prefix.assign(static_cast<size_t>(std::max(mw, mh)) + 1, 0);
    const bool even = (sw % 2) == 0;

    cov.resize(static_cast<size_t>(mw));
    for(int32_t j = 0; j < mh; j++) {
        const RoundRect::Row r = shape.row(my0 + j);
        for(int32_t i = 0; i < mw; i++) cov[static_cast<size_t>(i)] = r.at(mx0 + i);
        prefix[0] = 0;
        for(int32_t i = 0; i < mw; i++) prefix[static_cast<size_t>(i) + 1] = prefix[static_cast<size_t>(i)] + cov[static_cast<size_t>(i)];
        for(int32_t i = 0; i < tw; i++) {
            uint32_t s = 2 * (prefix[static_cast<size_t>(i + 2 * half + 1)] - prefix[static_cast<size_t>(i)]);
            if(even && half > 0) s -= cov[static_cast<size_t>(i)] + cov[static_cast<size_t>(i + 2 * half)];
            hsum[static_cast<size_t>(j * tw + i)] = s;
        }
    }
    const uint64_t norm = 4ULL * static_cast<uint64_t>(sw) * static_cast<uint64_t>(sw);
    for(int32_t i = 0; i < tw; i++) {
        prefix[0] = 0;
        for(int32_t j = 0; j < mh; j++)
            prefix[static_cast<size_t>(j) + 1] = prefix[static_cast<size_t>(j)] + hsum[static_cast<size_t>(j * tw + i)];
        for(int32_t j = 0; j < th; j++) {
            uint64_t s = 2ULL * (prefix[static_cast<size_t>(j + 2 * half + 1)] - prefix[static_cast<size_t>(j)]);
            if(even && half > 0)
                s -= static_cast<uint64_t>(hsum[static_cast<size_t>(j * tw + i)]) + hsum[static_cast<size_t>((j + 2 * half) * tw + i)];
            table[static_cast<size_t>(j * tw + i)] = static_cast<uint8_t>((s + norm / 2) / norm);
        }
    }

    Paint p;
    p.color = d->shadow_color.full;
    p.opa = d->shadow_opa;

    // Where the rectangle itself is opaque the shadow is hidden anyway: skip it.
    const bool skip_inner = d->bg_opa >= kOpaMax;
    const RoundRect body(coords, d->radius);

    // Columns: left part [area.x1, lx2] from the table, a constant middle, a mirrored right part.
    const int32_t lx2 = area.x1 + tw - 1;
    const int32_t rx1 = tw < qw ? area.x2 - tw + 1 : area.x1 + qw;
    uint8_t * rmask = scratch_mask(static_cast<size_t>(tw));
    for(int32_t y = vis.y1; y <= vis.y2; y++) {
        int32_t jy = y - area.y1;
        if(jy >= qh) jy = area.y2 - y;
        const uint8_t * trow = &table[static_cast<size_t>(std::min(jy, th - 1) * tw)];

        span(t, y, area.x1, tw, p, trow);
        if(rx1 <= area.x2) {
            const int32_t n = area.x2 - rx1 + 1;
            for(int32_t k = 0; k < n; k++) rmask[k] = trow[area.x2 - (rx1 + k)];
            span(t, y, rx1, n, p, rmask);
        }
        if(rx1 > lx2 + 1) {
            const uint8_t m = trow[tw - 1];
            if(m == 0) continue;
            Paint pm = p;
            // Same combination as the masked parts, so no seam shows where they meet.
            pm.opa = static_cast<uint8_t>(p.opa >= kOpaMax ? m : m >= kOpaMax ? p.opa : (m * p.opa) >> 8);
            int32_t x0 = lx2 + 1;
            int32_t x1 = rx1 - 1;
            if(skip_inner) {
                const RoundRect::Row br = body.row(y);
                if(!br.none && br.full_r >= br.full_l && br.full_l <= x1 && br.full_r >= x0) {
                    if(br.full_l > x0) span(t, y, x0, br.full_l - x0, pm, nullptr);
                    x0 = br.full_r + 1;
                }
            }
            if(x1 >= x0) span(t, y, x0, x1 - x0 + 1, pm, nullptr);
        }
    }
}

}  // namespace
}  // namespace lv_sw

extern "C" {

void lv_draw_rect_dsc_init(lv_draw_rect_dsc_t * dsc)
{
    if(dsc == nullptr) return;
    std::memset(dsc, 0, sizeof(*dsc));
    dsc->bg_color = lv_color_white();
    dsc->bg_grad_color = lv_color_black();
    dsc->bg_main_color_stop = 0;
    dsc->bg_grad_color_stop = 255;
    dsc->border_color = lv_color_black();
    dsc->shadow_color = lv_color_black();
    dsc->outline_color = lv_color_black();
    dsc->bg_opa = LV_OPA_COVER;
    dsc->bg_img_opa = LV_OPA_COVER;
    dsc->outline_opa = LV_OPA_COVER;
    dsc->border_opa = LV_OPA_COVER;
    dsc->shadow_opa = LV_OPA_COVER;
    dsc->bg_img_recolor = lv_color_black();
    dsc->bg_img_recolor_opa = LV_OPA_TRANSP;  // no recolouring unless asked
    dsc->border_side = LV_BORDER_SIDE_FULL;
}

void lv_draw_rect(lv_draw_ctx_t * draw_ctx, const lv_draw_rect_dsc_t * dsc, const lv_area_t * coords)
{
    if(dsc == nullptr || coords == nullptr) return;
    const lv_sw::Target t(draw_ctx);
    if(!t.ok()) return;
    const lv_sw::Area a = lv_sw::Area::of(*coords);
    if(a.empty()) return;
    lv_sw::draw_shadow(t, dsc, a);
    lv_sw::draw_bg(t, dsc, a);
    lv_sw::draw_bg_img(t, dsc, a);
    lv_sw::draw_border(t, dsc, a);
    lv_sw::draw_outline(t, dsc, a);
}

}  // extern "C"
