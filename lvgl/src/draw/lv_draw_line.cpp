/**
 * @file lv_draw_line.cpp
 * Lines: exact rectangles for horizontal and vertical lines (with half-disc caps), and
 * anti-aliased coverage from the distance to the segment for any other direction.
 */
#include "lv_draw_sw.h"

#include <cmath>
#include <cstring>

namespace lv_sw {
namespace {

/* Round end: a filled box of the line's width around the end point with a radius of half its
 * side, drawn over the body (as the library draws it), kept inside `keep`. */
void draw_cap(const Target & t, const Paint & p, int32_t px, int32_t py, int32_t width, const Area & keep)
{
    const int32_t r = width >> 1;
    const int32_t corr = (width & 1) ? 0 : 1;
    const Area disc{px - r, py - r, px + r - corr, py + r - corr};
    draw_filled_shape(t.clipped(keep), RoundRect(disc, LV_RADIUS_CIRCLE), p);
}

void draw_axis_line(const Target & t, const lv_draw_line_dsc_t * d, lv_point_t p1, lv_point_t p2)
{
    const int32_t w = d->width - 1;
    const int32_t half0 = w >> 1;
    const int32_t half1 = half0 + (w & 1);
    Paint p;
    p.color = d->color.full;
    p.opa = d->opa;

    // Everything stays inside the box of the two points grown by half the width.
    const int32_t g = d->width >> 1;
    const Area keep{std::min(p1.x, p2.x) - g, std::min(p1.y, p2.y) - g, std::max(p1.x, p2.x) + g,
                    std::max(p1.y, p2.y) + g};
    const Target tk = t.clipped(keep);
    const bool hor = p1.y == p2.y;
    Area body;
    if(hor) body = {std::min(p1.x, p2.x), p1.y - half1, std::max(p1.x, p2.x) - 1, p1.y + half0};
    else body = {p1.x - half1, std::min(p1.y, p2.y), p1.x + half0, std::max(p1.y, p2.y) - 1};
    fill_area(tk, body, p);

    if(d->round_start) draw_cap(tk, p, p1.x, p1.y, d->width, keep);
    if(d->round_end) draw_cap(tk, p, p2.x, p2.y, d->width, keep);
}

inline double clamp01(double v) { return v <= 0.0 ? 0.0 : v >= 1.0 ? 1.0 : v; }

void draw_skew_line(const Target & t, const lv_draw_line_dsc_t * d, lv_point_t p1, lv_point_t p2)
{
    // Same centre line as the axis-aligned case: odd widths are centred on the pixel, even ones on its corner.
    const double off = (d->width & 1) ? 0.5 : 0.0;
    const double ax = p1.x + off;
    const double ay = p1.y + off;
    const double bx = p2.x + off;
    const double by = p2.y + off;
    const double dx = bx - ax;
    const double dy = by - ay;
    const double len = std::sqrt(dx * dx + dy * dy);
    const double ux = dx / len;
    const double uy = dy / len;
    const double hw = d->width / 2.0;

    const Area bbox{static_cast<int32_t>(std::floor(std::min(ax, bx) - hw - 1)),
                    static_cast<int32_t>(std::floor(std::min(ay, by) - hw - 1)),
                    static_cast<int32_t>(std::ceil(std::max(ax, bx) + hw + 1)),
                    static_cast<int32_t>(std::ceil(std::max(ay, by) + hw + 1))};
    const Area vis = bbox.intersect(t.clip());
    if(vis.empty()) return;

    Paint p;
    p.color = d->color.full;
    p.opa = d->opa;
    uint8_t * mask = scratch_mask(static_cast<size_t>(vis.w()));

    for(int32_t y = vis.y1; y <= vis.y2; y++) {
        const double cy = y + 0.5;
        // Columns whose centre may be within hw + 1 of the centre line.
        int32_t x0 = vis.x1;
        int32_t x1 = vis.x2;
        if(std::fabs(uy) > 1e-9) {
            const double xc = ax + ux * (cy - ay) / uy;
            const double reach = (hw + 1.0) / std::fabs(uy);
            x0 = std::max(x0, static_cast<int32_t>(std::floor(xc - reach)));
            x1 = std::min(x1, static_cast<int32_t>(std::ceil(xc + reach)));
        }
        if(x1 < x0) continue;
        bool any = false;
        for(int32_t x = x0; x <= x1; x++) {
            const double cx = x + 0.5;
            const double rx = cx - ax;
            const double ry = cy - ay;
            const double along = rx * ux + ry * uy;
            const double across = std::fabs(-rx * uy + ry * ux);
            double c;
            if(along < 0.0 && d->round_start) {
                c = clamp01(hw - std::sqrt(rx * rx + ry * ry) + 0.5);
            }
            else if(along > len && d->round_end) {
                const double ex = cx - bx;
                const double ey = cy - by;
                c = clamp01(hw - std::sqrt(ex * ex + ey * ey) + 0.5);
            }
            else {
                c = clamp01(hw - across + 0.5);
                if(!d->round_start) c *= clamp01(along + 0.5);
                if(!d->round_end) c *= clamp01(len - along + 0.5);
            }
            const auto v = static_cast<uint8_t>(c * 255.0 + 0.5);
            mask[x - x0] = v;
            any |= v != 0;
        }
        if(any) span(t, y, x0, x1 - x0 + 1, p, mask);
    }
}

}  // namespace
}  // namespace lv_sw

extern "C" {

void lv_draw_line_dsc_init(lv_draw_line_dsc_t * dsc)
{
    if(dsc == nullptr) return;
    std::memset(dsc, 0, sizeof(*dsc));
    dsc->width = 1;
    dsc->opa = LV_OPA_COVER;
    dsc->color = lv_color_black();
}

void lv_draw_line(lv_draw_ctx_t * draw_ctx, const lv_draw_line_dsc_t * dsc, const lv_point_t * point1,
                  const lv_point_t * point2)
{
    if(dsc == nullptr || point1 == nullptr || point2 == nullptr) return;
    if(dsc->width <= 0 || dsc->opa <= LV_OPA_MIN) return;
    if(point1->x == point2->x && point1->y == point2->y) return;
    const lv_sw::Target t(draw_ctx);
    if(!t.ok()) return;
    if(point1->y == point2->y || point1->x == point2->x) lv_sw::draw_axis_line(t, dsc, *point1, *point2);
    else lv_sw::draw_skew_line(t, dsc, *point1, *point2);
}

}  // extern "C"
