/**
 * @file lv_draw_rect.cpp
 * Rectangles: shadow, background (colour or gradient), background image, border, outline.
 */
#include "lv_draw_sw.h"

#include <cstring>

namespace lv_sw {

/* Gradient colour at position i of `size`, between stops given in 0..255 of the size. The stops
 * are widened to 8 bits, mixed there and truncated back (no dithering, so RGB565 bands show). */
uint16_t grad_color(int32_t i, int32_t size, uint16_t c1, uint16_t c2, uint32_t stop1, uint32_t stop2)
{
    const int32_t lo = static_cast<int32_t>((stop1 * static_cast<uint32_t>(size)) >> 8);
    const int32_t hi = static_cast<int32_t>((stop2 * static_cast<uint32_t>(size)) >> 8);
    if(i <= lo) return c1;
    if(i >= hi) return c2;
    const uint32_t w = static_cast<uint32_t>((i - lo) * 255 / (hi - lo));
    const uint32_t iw = 255U - w;
    auto wide5 = [](uint32_t v) { return (v * 263U + 7U) >> 5; };
    auto wide6 = [](uint32_t v) { return (v * 259U + 3U) >> 6; };
    const uint32_t r = div255(wide5(c2 >> 11) * w + wide5(c1 >> 11) * iw) >> 3;
    const uint32_t g = div255(wide6((c2 >> 5) & 63U) * w + wide6((c1 >> 5) & 63U) * iw) >> 2;
    const uint32_t b = div255(wide5(c2 & 31U) * w + wide5(c1 & 31U) * iw) >> 3;
    return static_cast<uint16_t>((r << 11) | (g << 5) | b);
}

/* A filled rounded box as the library draws a background: the r rows at the top and the bottom go
 * through a mask that starts at the opacity (so they mix), the rows between are plain fills. */
void draw_filled_shape(const Target & t, const RoundRect & shape, const Paint & p)
{
    if(p.opa <= kOpaMin) return;
    const Area & a = shape.area();
    const int32_t r = shape.radius();
    FillCache cache;
    Paint fill = p;
    if(fill.cache == nullptr) fill.cache = &cache;
    if(r == 0) {
        fill_area(t, a, fill);
        return;
    }
    Paint masked = p;
    masked.opa = LV_OPA_COVER;
    const Area top{a.x1, a.y1, a.x2, std::min(a.y2, a.y1 + r - 1)};
    const Area bottom{a.x1, std::max(top.y2 + 1, a.y2 - r + 1), a.x2, a.y2};
    draw_round_rect(t.clipped(top), shape, nullptr, masked, p.opa);
    if(bottom.y1 <= bottom.y2) draw_round_rect(t.clipped(bottom), shape, nullptr, masked, p.opa);
    const Area middle{a.x1, top.y2 + 1, a.x2, bottom.y1 - 1};
    if(middle.y1 <= middle.y2) fill_area(t, middle, fill);
}

void draw_filled_shape_masked(const Target & t, const RoundRect & shape, const Paint & p, const RoundRect * masks,
                              int n)
{
    if(p.opa <= kOpaMin) return;
    const Area rows = shape.area().intersect(t.clip());
    if(rows.empty()) return;
    Paint masked = p;
    masked.opa = LV_OPA_COVER;
    thread_local std::vector<uint8_t> m;
    m.resize(static_cast<size_t>(rows.w()));
    for(int32_t y = rows.y1; y <= rows.y2; y++) {
        const RoundRect::Row r = shape.row(y);
        if(r.none) continue;
        const int32_t x0 = std::max(r.aa_l, rows.x1);
        const int32_t x1 = std::min(r.aa_r, rows.x2);
        if(x1 < x0) continue;
        for(int32_t x = x0; x <= x1; x++) {
            uint8_t v = mask_mul(p.opa, r.at(x));
            for(int i = 0; i < n; i++) v = mask_mul(v, masks[i].coverage(x, y));
            m[static_cast<size_t>(x - x0)] = v;
        }
        span(t, y, x0, x1 - x0 + 1, masked, m.data());
    }
}

/* A ring between an outer and an inner rounded box, as borders and outlines are drawn: the four
 * r_out x r_out corner blocks through both masks at the blend opacity, the straight parts plain. */
void draw_ring(const Target & t, const Area & outer, int32_t rout, const Area & inner, int32_t rin, const Paint & p)
{
    const RoundRect o(outer, rout);
    rout = o.radius();
    if(inner.empty() || inner.w() <= 0 || inner.h() <= 0) {
        draw_round_rect(t, o, nullptr, p);
        return;
    }
    const RoundRect hole(inner, rin);
    FillCache cache;
    Paint fill = p;
    if(fill.cache == nullptr) fill.cache = &cache;
    const int32_t bl = inner.x1 - outer.x1;  // band widths
    const int32_t br = outer.x2 - inner.x2;
    const int32_t bt = inner.y1 - outer.y1;
    const int32_t bb = outer.y2 - inner.y2;
    if(rout == 0) {
        fill_area(t, {outer.x1, outer.y1, outer.x2, inner.y1 - 1}, fill);
        fill_area(t, {outer.x1, inner.y2 + 1, outer.x2, outer.y2}, fill);
        fill_area(t, {outer.x1, inner.y1, inner.x1 - 1, inner.y2}, fill);
        fill_area(t, {inner.x2 + 1, inner.y1, outer.x2, inner.y2}, fill);
        return;
    }
    // Corner blocks, cut at the middle so that they never overlap.
    const int32_t mx = outer.x1 + outer.w() / 2;
    const int32_t my = outer.y1 + outer.h() / 2;
    const int32_t cl = std::min(outer.x1 + rout - 1, mx - 1);
    const int32_t cr = std::max(outer.x2 - rout + 1, mx);
    const int32_t ct = std::min(outer.y1 + rout - 1, my - 1);
    const int32_t cb = std::max(outer.y2 - rout + 1, my);
    draw_round_rect(t.clipped({outer.x1, outer.y1, cl, ct}), o, &hole, p);
    draw_round_rect(t.clipped({cr, outer.y1, outer.x2, ct}), o, &hole, p);
    draw_round_rect(t.clipped({outer.x1, cb, cl, outer.y2}), o, &hole, p);
    draw_round_rect(t.clipped({cr, cb, outer.x2, outer.y2}), o, &hole, p);
    // Top and bottom bands between the corner blocks.
    fill_area(t, {cl + 1, outer.y1, cr - 1, std::min(outer.y1 + bt - 1, ct)}, fill);
    fill_area(t, {cl + 1, std::max(outer.y2 - bb + 1, cb), cr - 1, outer.y2}, fill);
    if(bt > rout) fill_area(t, {cl + 1, ct + 1, cr - 1, outer.y1 + bt - 1}, fill);
    if(bb > rout) fill_area(t, {cl + 1, outer.y2 - bb + 1, cr - 1, cb - 1}, fill);
    // Left and right bands between them (only the part beside the corner blocks where the band
    // is wider than the radius).
    for(int side = 0; side < 2; side++) {
        const int32_t x1 = side == 0 ? outer.x1 : outer.x2 - br + 1;
        const int32_t x2 = side == 0 ? outer.x1 + bl - 1 : outer.x2;
        const int32_t xa = side == 0 ? outer.x1 : cr;  // beside the top/bottom bands: corner columns only
        const int32_t xb = side == 0 ? cl : outer.x2;
        const int32_t y_top = outer.y1 + bt;  // first row below the top band
        const int32_t y_bot = outer.y2 - bb;
        if(ct + 1 < y_top) fill_area(t, {std::max(x1, xa), ct + 1, std::min(x2, xb), y_top - 1}, fill);
        if(y_bot + 1 < cb) fill_area(t, {std::max(x1, xa), y_bot + 1, std::min(x2, xb), cb - 1}, fill);
        fill_area(t, {x1, std::max(ct + 1, y_top), x2, std::min(cb - 1, y_bot)}, fill);
    }
}

namespace {

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
    draw_filled_shape(t, RoundRect(bg, d->radius), p);
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
    // A border drawn after the children is only skipped here: it still makes the background
    // 1 px smaller, as in LVGL.
    if(d->border_post) return;
    if(d->border_width <= 0 || d->border_opa <= kOpaMin || (d->border_side & LV_BORDER_SIDE_FULL) == 0) return;
    const int32_t bw = d->border_width;
    const int32_t rout = clamp_radius(coords, d->radius);
    const int32_t rin = std::max<int32_t>(0, rout - bw);
    Paint p;
    p.color = d->border_color.full;
    p.opa = d->border_opa;
    if((d->border_side & LV_BORDER_SIDE_FULL) == LV_BORDER_SIDE_FULL) {
        draw_ring(t, coords, rout, {coords.x1 + bw, coords.y1 + bw, coords.x2 - bw, coords.y2 - bw}, rin, p);
        return;
    }
    // Some sides only: a side without border pushes the hole out past the shape, corner included,
    // and the whole ring goes through the masks.
    Area inner = coords;
    inner.x1 += (d->border_side & LV_BORDER_SIDE_LEFT) ? bw : -(bw + rout);
    inner.x2 -= (d->border_side & LV_BORDER_SIDE_RIGHT) ? bw : -(bw + rout);
    inner.y1 += (d->border_side & LV_BORDER_SIDE_TOP) ? bw : -(bw + rout);
    inner.y2 -= (d->border_side & LV_BORDER_SIDE_BOTTOM) ? bw : -(bw + rout);
    const RoundRect outer(coords, rout);
    if(rout == 0) {
        // Straight bands: plain fills.
        const Area in = inner.intersect(coords);
        FillCache cache;
        Paint fill = p;
        fill.cache = &cache;
        if(in.empty()) {
            fill_area(t, coords, fill);
            return;
        }
        fill_area(t, {coords.x1, coords.y1, coords.x2, in.y1 - 1}, fill);
        fill_area(t, {coords.x1, in.y2 + 1, coords.x2, coords.y2}, fill);
        fill_area(t, {coords.x1, in.y1, in.x1 - 1, in.y2}, fill);
        fill_area(t, {in.x2 + 1, in.y1, coords.x2, in.y2}, fill);
        return;
    }
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
    // The outline starts 1 px under the padding, so no gap can show between it and the box.
    const int32_t pad = d->outline_pad - 1;
    const Area inner = coords.grown(pad);
    const Area outer = inner.grown(d->outline_width);
    const int32_t rin = inner.empty() ? 0 : clamp_radius(inner, d->radius);
    const int32_t rout = rin + d->outline_width;
    Paint p;
    p.color = d->outline_color.full;
    p.opa = d->outline_opa;
    draw_ring(t, outer, rout, inner, rin, p);
}

/* Soft shadow as LVGL 8.3 draws it (no shadow cache): a corner table blurred twice, placed in
 * nine parts around the shadow box. See shadow_corner_table. */
void draw_shadow(const Target & t, const lv_draw_rect_dsc_t * d, const Area & coords)
{
    if(d->shadow_width <= 0 || d->shadow_opa <= kOpaMin) return;
    const int32_t sw = d->shadow_width;
    const Area core = coords.moved(d->shadow_ofs_x, d->shadow_ofs_y).grown(d->shadow_spread);
    if(core.empty()) return;
    const Area box = core.grown(sw / 2 + 1);
    const Area vis = box.intersect(t.clip());
    if(vis.empty()) return;

    const int32_t r_sh = clamp_radius(core, d->radius);
    const int32_t cs = sw + r_sh;
    thread_local std::vector<uint8_t> table;
    table = shadow_corner_table(sw, r_sh, core.w(), core.h());
    const uint8_t shadow_opa = d->shadow_opa;

    // The nine parts: corners cut at the middle, bands between them, the centre.
    const int32_t mx = box.x1 + box.w() / 2;
    const int32_t my = box.y1 + box.h() / 2;
    const int32_t lx2 = std::min(box.x1 + cs - 1, mx - 1);  // left corner columns end
    const int32_t rx1 = std::max(box.x2 - cs + 1, mx);      // right corner columns start
    const int32_t ty2 = std::min(box.y1 + cs - 1, my - 1);
    const int32_t by1 = std::max(box.y2 - cs + 1, my);
    const Area parts[3][3] = {
        {{box.x1, box.y1, lx2, ty2}, {lx2 + 1, box.y1, rx1 - 1, ty2}, {rx1, box.y1, box.x2, ty2}},
        {{box.x1, ty2 + 1, lx2, by1 - 1}, {lx2 + 1, ty2 + 1, rx1 - 1, by1 - 1}, {rx1, ty2 + 1, box.x2, by1 - 1}},
        {{box.x1, by1, lx2, box.y2}, {lx2 + 1, by1, rx1 - 1, box.y2}, {rx1, by1, box.x2, box.y2}},
    };

    // Under an opaque object the parts wholly covered by it are left out; under a translucent one
    // the object's shape (1 px smaller) is cut out of every part.
    const bool opaque_obj = d->bg_opa >= LV_OPA_COVER;
    const Area obj_in = coords.grown(-1);
    const RoundRect obj_shape(obj_in, d->radius);
    bool skip[3][3] = {};
    if(opaque_obj && !obj_in.empty()) {
        for(int i = 0; i < 3; i++)
            for(int j = 0; j < 3; j++) {
                const Area & a = parts[i][j];
                if(a.empty()) continue;
                skip[i][j] = obj_shape.coverage(a.x1, a.y1) == 255 && obj_shape.coverage(a.x2, a.y1) == 255 &&
                             obj_shape.coverage(a.x1, a.y2) == 255 && obj_shape.coverage(a.x2, a.y2) == 255;
            }
    }

    Paint p;
    p.color = d->shadow_color.full;
    p.opa = shadow_opa;
    FillCache cache;
    p.cache = &cache;
    const size_t ucs = static_cast<size_t>(cs);
    uint8_t * m = scratch_mask(static_cast<size_t>(box.w()));

    for(int32_t y = vis.y1; y <= vis.y2; y++) {
        const int band = y <= ty2 ? 0 : y >= by1 ? 2 : 1;
        // Table row: from the outer edge for the corner rows, the innermost row between them.
        const int32_t ri = band == 0 ? y - box.y1 : band == 2 ? box.y2 - y : cs - 1;
        const uint8_t * trow = &table[static_cast<size_t>(ri) * ucs];
        const RoundRect::Row orow = opaque_obj ? RoundRect::Row{} : obj_shape.row(y);
        for(int col = 0; col < 3; col++) {
            const Area & a = parts[band][col];
            if(a.empty() || skip[band][col]) continue;
            const int32_t x0 = std::max(a.x1, vis.x1);
            const int32_t x1 = std::min(a.x2, vis.x2);
            if(x1 < x0) continue;
            const int32_t n = x1 - x0 + 1;
            if(col == 1) {
                // Bands above and below the centre take the innermost column's value; the centre is full.
                const uint8_t v = band == 1 ? 255 : trow[0];
                if(opaque_obj) {
                    Paint f = p;
                    f.opa = band == 1 ? shadow_opa
                                      : static_cast<uint8_t>(shadow_opa >= 254 ? v : (v * shadow_opa) >> 8);
                    span(t, y, x0, n, f, nullptr);
                    continue;
                }
                for(int32_t k = 0; k < n; k++) m[k] = v;
            }
            else if(col == 0) {
                for(int32_t k = 0; k < n; k++) m[k] = trow[cs - 1 - (x0 + k - box.x1)];
            }
            else {
                for(int32_t k = 0; k < n; k++) m[k] = trow[x0 + k - (box.x2 - cs + 1)];
            }
            if(!opaque_obj && !orow.none)
                for(int32_t k = 0; k < n; k++) m[k] = mask_mul(m[k], 255U - orow.at(x0 + k));
            span(t, y, x0, n, p, m);
        }
    }
}

}  // namespace

std::vector<uint8_t> shadow_corner_table(int32_t sw, int32_t radius, int32_t core_w, int32_t core_h)
{
    const int32_t cs = sw + radius;
    const size_t n = static_cast<size_t>(cs);
    std::vector<int32_t> v(n * n);
    // Coverage of the core's corner, placed so the blur has room on the outer side.
    const int32_t right = sw / 2 + radius - 1 - (sw % 2 == 0 ? 1 : 0);
    const int32_t top = sw / 2 + 1;
    const RoundRect corner({right - core_w, top, right, top + core_h}, radius);
    for(int32_t j = 0; j < cs; j++)
        for(int32_t i = 0; i < cs; i++) v[static_cast<size_t>(j * cs + i)] = corner.coverage(i, j);

    const int32_t h = sw <= 3 ? 1 : sw / 2;
    std::vector<int32_t> tmp(n * n);
    // One box blur of window w: along rows (outward = higher column), then along columns
    // (outward = lower row); values past the inner edge repeat the innermost one, past the outer
    // edge count as 0.
    auto blur = [&](int32_t w) {
        for(int32_t & x : v) x = x * 64 / w;
        const int32_t out = w / 2;
        const int32_t in = w / 2 - (w % 2 == 0 ? 1 : 0);
        for(int32_t j = 0; j < cs; j++) {
            const int32_t * row = &v[static_cast<size_t>(j * cs)];
            for(int32_t i = 0; i < cs; i++) {
                int32_t sum = 0;
                for(int32_t k = i - in; k <= i + out; k++) sum += k < 0 ? row[0] : k >= cs ? 0 : row[k];
                tmp[static_cast<size_t>(j * cs + i)] = sum / w;
            }
        }
        for(int32_t i = 0; i < cs; i++)
            for(int32_t j = 0; j < cs; j++) {
                int32_t sum = 0;
                for(int32_t k = j - out; k <= j + in; k++)
                    sum += k < 0 ? 0 : tmp[static_cast<size_t>(std::min(k, cs - 1) * cs + i)];
                v[static_cast<size_t>(j * cs + i)] = sum >> 6;
            }
    };
    if(h > 1) {
        blur(h);
        const int32_t h2 = h + (sw % 2);
        if(h2 > 1) blur(h2);
    }
    std::vector<uint8_t> out(n * n);
    for(size_t k = 0; k < n * n; k++) out[k] = static_cast<uint8_t>(std::min(255, std::max(0, v[k])));
    return out;
}

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
