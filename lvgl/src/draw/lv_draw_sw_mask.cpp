/**
 * @file lv_draw_sw_mask.cpp
 * Rounded-rectangle coverage. The corner of a given radius is computed once and kept, so a
 * shape costs a table lookup per edge pixel; interior runs are plain spans.
 */
#include "lv_draw_sw.h"

#include <cmath>
#include <map>
#include <memory>

namespace lv_sw {

/* Coverage of the top-left corner square of a shape with radius r: row j, column i.
 * Each row rises monotonically from 0 to 255, so it is described by where it leaves 0
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
        cov.resize(n);
        cov_rev.resize(n);
        first_nz.resize(static_cast<size_t>(r));
        first_full.resize(static_cast<size_t>(r));
        const double rf = r;
        for(int32_t j = 0; j < r; j++) {
            int32_t nz = r;
            int32_t full = r;
            for(int32_t i = 0; i < r; i++) {
                // Signed distance of the pixel centre to the arc, turned into coverage.
                const double dx = rf - (i + 0.5);
                const double dy = rf - (j + 0.5);
                const double c = rf - std::sqrt(dx * dx + dy * dy) + 0.5;
                const int32_t v = c <= 0.0 ? 0 : c >= 1.0 ? 255 : static_cast<int32_t>(c * 255.0 + 0.5);
                cov[static_cast<size_t>(j * r + i)] = static_cast<uint8_t>(v);
                cov_rev[static_cast<size_t>(j * r + (r - 1 - i))] = static_cast<uint8_t>(v);
                if(v > 0 && nz == r) nz = i;
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

void emit_row(const Target & t, int32_t y, const RoundRect::Row & r, const Paint & p)
{
    if(r.none) return;
    if(r.full_l > r.aa_l) span(t, y, r.aa_l, r.full_l - r.aa_l, p, r.left);
    if(r.full_r >= r.full_l) span(t, y, r.full_l, r.full_r - r.full_l + 1, p, nullptr);
    if(r.aa_r > r.full_r) span(t, y, r.full_r + 1, r.aa_r - r.full_r, p, r.right);
}

// Pixels x0..x1 of shape row o minus hole row h, through a scratch mask.
void emit_diff(const Target & t, int32_t y, int32_t x0, int32_t x1, const RoundRect::Row & o,
               const RoundRect::Row & h, const Paint & p)
{
    x0 = std::max(x0, t.clip().x1);
    x1 = std::min(x1, t.clip().x2);
    if(x1 < x0) return;
    uint8_t * m = scratch_mask(static_cast<size_t>(x1 - x0 + 1));
    for(int32_t x = x0; x <= x1; x++) {
        const int32_t v = static_cast<int32_t>(o.at(x)) - static_cast<int32_t>(h.at(x));
        m[x - x0] = static_cast<uint8_t>(v > 0 ? v : 0);
    }
    span(t, y, x0, x1 - x0 + 1, p, m);
}

}  // namespace

void draw_round_rect(const Target & t, const RoundRect & shape, const RoundRect * hole, const Paint & p)
{
    if(!t.ok() || p.opa <= kOpaMin) return;
    const Area rows = shape.area().intersect(t.clip());
    if(rows.empty()) return;

    for(int32_t y = rows.y1; y <= rows.y2; y++) {
        const RoundRect::Row o = shape.row(y);
        const RoundRect::Row h = hole ? hole->row(y) : RoundRect::Row{};
        if(h.none || h.aa_r < o.aa_l || h.aa_l > o.aa_r) {
            emit_row(t, y, o, p);
            continue;
        }
        if(h.full_r < h.full_l) {
            // The hole has no solid part on this row: one mixed run.
            emit_diff(t, y, o.aa_l, o.aa_r, o, h, p);
            continue;
        }
        // Left of the hole's solid part: outer edge, solid ring, then whatever mixes with the hole.
        const int32_t l0 = o.aa_l;
        const int32_t l1 = std::min(h.full_l - 1, o.aa_r);
        if(l1 >= l0) {
            int32_t x = l0;
            const int32_t a_end = std::min({o.full_l - 1, l1, h.aa_l - 1});
            if(a_end >= x) {
                span(t, y, x, a_end - x + 1, p, o.left + (x - o.aa_l));
                x = a_end + 1;
            }
            if(x >= o.full_l) {
                const int32_t b_end = std::min({o.full_r, h.aa_l - 1, l1});
                if(b_end >= x) {
                    span(t, y, x, b_end - x + 1, p, nullptr);
                    x = b_end + 1;
                }
            }
            if(x <= l1) emit_diff(t, y, x, l1, o, h, p);
        }
        // Right of it, mirrored.
        const int32_t r0 = std::max(h.full_r + 1, o.aa_l);
        const int32_t r1 = o.aa_r;
        if(r1 >= r0) {
            int32_t x = r1;
            const int32_t a_start = std::max({o.full_r + 1, r0, h.aa_r + 1});
            if(a_start <= x) {
                span(t, y, a_start, x - a_start + 1, p, o.right + (a_start - o.full_r - 1));
                x = a_start - 1;
            }
            if(x <= o.full_r) {
                const int32_t b_start = std::max({o.full_l, h.aa_r + 1, r0});
                if(b_start <= x) {
                    span(t, y, b_start, x - b_start + 1, p, nullptr);
                    x = b_start - 1;
                }
            }
            if(x >= r0) emit_diff(t, y, r0, x, o, h, p);
        }
    }
}

}  // namespace lv_sw
