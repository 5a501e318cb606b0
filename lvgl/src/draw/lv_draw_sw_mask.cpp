/**
 * @file lv_draw_sw_mask.cpp
 * Rounded-rectangle coverage. The corner of a given radius is computed once and kept, so a
 * shape costs a table lookup per edge pixel; interior runs are plain spans.
 */
#include "lv_draw_sw.h"

#include <map>
#include <memory>

namespace lv_sw {

/* The corner arc as LVGL 8.3 computes it: a midpoint circle of radius 4r traced from (4r, 0);
 * each group of four sub-rows is one pixel row of the first octant, and a pixel's coverage is 16
 * times the quarter-pixel fractions that fall into it (so 0, 16 .. 240, or 255 inside). The pixel
 * on the diagonal is estimated apart, and the second octant mirrors the first. */
namespace {

struct ArcPx {
    int32_t x;  // columns and rows counted from the circle's centre outward
    int32_t y;
    int32_t cov;
};

std::vector<ArcPx> trace_arc(int32_t r)
{
    std::vector<ArcPx> px;
    if(r == 1) {
        px.push_back({0, 0, 180});
        return px;
    }
    int32_t cx = 4 * r;
    int32_t cy = 0;
    int32_t err = 1 - 4 * r;
    auto advance = [&] {
        if(err <= 0) {
            err += 2 * cy + 3;
        }
        else {
            err += 2 * (cy - cx) + 5;
            cx--;
        }
        cy++;
    };
    for(int32_t row = 0;; row++) {
        int32_t sub[4];
        int32_t got = 0;
        while(got < 4) {
            advance();
            if(cy > cx) break;
            sub[got++] = cx;
        }
        if(got < 4) break;
        const int32_t outer = sub[0] >> 2;
        // Sub-rows reaching past a column cover it wholly; the one ending in it adds its fraction.
        int32_t c_outer = 0;
        int32_t c_inner = 0;
        bool inner_used = false;
        for(int32_t k = 0; k < 4; k++) {
            if((sub[k] >> 2) == outer) {
                c_outer += sub[k] & 3;
                c_inner += 4;
            }
            else {
                c_inner += sub[k] & 3;
                inner_used = true;
            }
        }
        px.push_back({outer, row, c_outer * 16});
        if(inner_used) px.push_back({outer - 1, row, c_inner * 16});
    }
    const int32_t mid = r * 723;  // r / sqrt(2) in 1/1024 px
    const int32_t mid_int = mid >> 10;
    if(px.empty() || px.back().x != mid_int || px.back().y != mid_int) {
        const int32_t frac = mid - (mid_int << 10);
        int32_t v;
        if(frac <= 512) v = (frac * frac * 2) >> 16;
        else v = 15 - (((1024 - frac) * (1024 - frac) * 2) >> 16);
        px.push_back({mid_int, mid_int, v * 16});
    }
    for(int32_t i = static_cast<int32_t>(px.size()) - 2; i >= 0; i--) {
        const ArcPx a = px[static_cast<size_t>(i)];
        px.push_back({a.y, a.x, a.cov});
    }
    return px;
}

}  // namespace

/* Coverage of the top-left corner square of a shape with radius r: row j, column i.
 * Each row rises from 0 to 255 toward the inside, so it is described by where it leaves 0
 * (first_nz) and where it reaches 255 (first_full); the mirrored rows serve the right side. */
struct RoundRect::Corner {
    int32_t r = 0;
    std::vector<uint8_t> cov;       // r * r
    std::vector<uint8_t> cov_rev;   // each row reversed
    std::vector<int32_t> first_nz;  // per row
    std::vector<int32_t> first_full;

    explicit Corner(int32_t radius) : r(radius)
    {
        const size_t n = static_cast<size_t>(r) * static_cast<size_t>(r);
        cov.assign(n, 0);
        cov_rev.resize(n);
        first_nz.resize(static_cast<size_t>(r));
        first_full.resize(static_cast<size_t>(r));
        // Per row from the centre: the arc pixels, everything nearer the centre is inside.
        std::vector<int32_t> inner_edge(static_cast<size_t>(r), r);
        std::vector<int32_t> val(n, -1);
        for(const ArcPx & a : trace_arc(r)) {
            if(a.x < 0 || a.x >= r || a.y < 0 || a.y >= r) {
                if(a.y >= 0 && a.y < r && a.x >= r) continue;
                if(a.y >= 0 && a.y < r) inner_edge[static_cast<size_t>(a.y)] = 0;
                continue;
            }
            val[static_cast<size_t>(a.y * r + a.x)] = a.cov;
            inner_edge[static_cast<size_t>(a.y)] = std::min(inner_edge[static_cast<size_t>(a.y)], a.x);
        }
        for(int32_t cy = 0; cy < r; cy++) {
            const int32_t j = r - 1 - cy;
            for(int32_t cx = 0; cx < r; cx++) {
                const int32_t i = r - 1 - cx;
                const int32_t v = val[static_cast<size_t>(cy * r + cx)];
                const int32_t c = v >= 0 ? v : (cx < inner_edge[static_cast<size_t>(cy)] ? 255 : 0);
                cov[static_cast<size_t>(j * r + i)] = static_cast<uint8_t>(c);
                cov_rev[static_cast<size_t>(j * r + (r - 1 - i))] = static_cast<uint8_t>(c);
            }
        }
        for(int32_t j = 0; j < r; j++) {
            int32_t nz = r;
            int32_t full = r;
            for(int32_t i = 0; i < r; i++)
                if(cov[static_cast<size_t>(j * r + i)] != 0) {
                    nz = i;
                    break;
                }
            for(int32_t i = r - 1; i >= 0 && cov[static_cast<size_t>(j * r + i)] == 255; i--) full = i;
            if(nz > full) nz = full;
            first_nz[static_cast<size_t>(j)] = nz;
            first_full[static_cast<size_t>(j)] = full;
        }
    }
};

namespace {

// Larger corners only occur on shapes far bigger than the screen; they are drawn with this radius.
constexpr int32_t kMaxCornerRadius = 1024;

std::shared_ptr<const RoundRect::Corner> corner_for(int32_t r)
{
    // Few distinct radii occur in a UI: keep them, within a memory budget.
    constexpr size_t kBudget = 8u << 20;
    // Shapes share ownership, so dropping the cache never pulls a table from under a live shape.
    thread_local std::map<int32_t, std::shared_ptr<const RoundRect::Corner>> cache;
    thread_local size_t bytes = 0;
    auto it = cache.find(r);
    if(it != cache.end()) return it->second;
    const size_t need = 2 * static_cast<size_t>(r) * static_cast<size_t>(r);
    if(bytes + need > kBudget) {
        cache.clear();
        bytes = 0;
    }
    auto c = std::make_shared<const RoundRect::Corner>(r);
    cache.emplace(r, c);
    bytes += need;
    return c;
}

}  // namespace

RoundRect::RoundRect(const Area & a, int32_t radius) : a_(a)
{
    if(a.empty()) return;
    r_ = std::min(clamp_radius(a, radius), kMaxCornerRadius);
    if(r_ > 0) corner_ = corner_for(r_);
}

RoundRect::Row RoundRect::row(int32_t y) const
{
    Row row;
    if(a_.empty() || y < a_.y1 || y > a_.y2) return row;
    row.none = false;
    int32_t j = -1;
    if(r_ > 0) {
        if(y - a_.y1 < r_) j = y - a_.y1;
        else if(a_.y2 - y < r_) j = a_.y2 - y;
    }
    if(j < 0) {
        row.aa_l = row.full_l = a_.x1;
        row.full_r = row.aa_r = a_.x2;
        return row;
    }
    const Corner & c = *corner_;
    const int32_t nz = c.first_nz[static_cast<size_t>(j)];
    const int32_t ff = c.first_full[static_cast<size_t>(j)];
    row.aa_l = a_.x1 + nz;
    row.full_l = a_.x1 + ff;
    row.full_r = a_.x2 - ff;
    row.aa_r = a_.x2 - nz;
    row.left = c.cov.data() + (j * r_ + nz);
    row.right = c.cov_rev.data() + (j * r_ + (r_ - ff));
    return row;
}

namespace {

/* Masks of a row are premultiplied here: the scratch masks belong to the callers. */
uint8_t * row_mask(size_t n)
{
    thread_local std::vector<uint8_t> buf;
    if(buf.size() < n + 16) buf.resize(n + 16);
    return buf.data();
}

// Pixels x0..x1 of shape row o minus hole row h (may be none), masks multiplied onto `start`.
void emit_masked(const Target & t, int32_t y, int32_t x0, int32_t x1, const RoundRect::Row & o,
                 const RoundRect::Row * h, uint8_t start, const Paint & p)
{
    x0 = std::max(x0, t.clip().x1);
    x1 = std::min(x1, t.clip().x2);
    if(x1 < x0) return;
    uint8_t * m = row_mask(static_cast<size_t>(x1 - x0 + 1));
    for(int32_t x = x0; x <= x1; x++) {
        uint8_t v = mask_mul(start, o.at(x));
        if(h) v = mask_mul(v, 255U - h->at(x));
        m[x - x0] = v;
    }
    span(t, y, x0, x1 - x0 + 1, p, m);
}

}  // namespace

void draw_round_rect(const Target & t, const RoundRect & shape, const RoundRect * hole, const Paint & p,
                     uint8_t mask_start)
{
    if(!t.ok() || p.opa <= kOpaMin || mask_start <= kOpaMin) return;
    const Area rows = shape.area().intersect(t.clip());
    if(rows.empty()) return;
    // Where both masks are full the pixel's weight is the start value at the blend opacity.
    Paint full = p;
    full.mix = true;
    full.opa = static_cast<uint8_t>(mask_weight(mask_start, p.opa));

    for(int32_t y = rows.y1; y <= rows.y2; y++) {
        const RoundRect::Row o = shape.row(y);
        if(o.none) continue;
        const RoundRect::Row h = hole ? hole->row(y) : RoundRect::Row{};
        if(h.none || h.aa_r < o.aa_l || h.aa_l > o.aa_r) {
            if(o.full_l > o.aa_l) emit_masked(t, y, o.aa_l, o.full_l - 1, o, nullptr, mask_start, p);
            if(o.full_r >= o.full_l) span(t, y, o.full_l, o.full_r - o.full_l + 1, full, nullptr);
            if(o.aa_r > o.full_r) emit_masked(t, y, o.full_r + 1, o.aa_r, o, nullptr, mask_start, p);
            continue;
        }
        if(h.full_r < h.full_l) {
            emit_masked(t, y, o.aa_l, o.aa_r, o, &h, mask_start, p);
            continue;
        }
        // Left of the hole's solid part: outer edge, solid ring, then whatever mixes with the hole.
        const int32_t l0 = o.aa_l;
        const int32_t l1 = std::min(h.full_l - 1, o.aa_r);
        if(l1 >= l0) {
            int32_t x = l0;
            const int32_t a_end = std::min({o.full_l - 1, l1, h.aa_l - 1});
            if(a_end >= x) {
                emit_masked(t, y, x, a_end, o, nullptr, mask_start, p);
                x = a_end + 1;
            }
            if(x >= o.full_l) {
                const int32_t b_end = std::min({o.full_r, h.aa_l - 1, l1});
                if(b_end >= x) {
                    span(t, y, x, b_end - x + 1, full, nullptr);
                    x = b_end + 1;
                }
            }
            if(x <= l1) emit_masked(t, y, x, l1, o, &h, mask_start, p);
        }
        // Right of it, mirrored.
        const int32_t r0 = std::max(h.full_r + 1, o.aa_l);
        const int32_t r1 = o.aa_r;
        if(r1 >= r0) {
            int32_t x = r1;
            const int32_t a_start = std::max({o.full_r + 1, r0, h.aa_r + 1});
            if(a_start <= x) {
                emit_masked(t, y, a_start, x, o, nullptr, mask_start, p);
                x = a_start - 1;
            }
            if(x <= o.full_r) {
                const int32_t b_start = std::max({o.full_l, h.aa_r + 1, r0});
                if(b_start <= x) {
                    span(t, y, b_start, x - b_start + 1, full, nullptr);
                    x = b_start - 1;
                }
            }
            if(x >= r0) emit_masked(t, y, r0, x, o, &h, mask_start, p);
        }
    }
}

}  // namespace lv_sw
