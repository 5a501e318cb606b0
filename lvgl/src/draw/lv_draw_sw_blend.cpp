/**
 * @file lv_draw_sw_blend.cpp
 * Span blending into RGB565. The loops work on 8 pixels at a time with 16-bit lanes
 * (GCC/Clang vector extensions: SSE2 on x86, NEON on ARM), so every intermediate fits 16 bits:
 * channel * 255 + 128 < 65535, and (t + 1 + (t >> 8)) >> 8 is exactly t / 255 there.
 */
#include "lv_draw_sw.h"

#include <cstring>

namespace lv_sw {

namespace {

typedef uint16_t v16 __attribute__((vector_size(16)));
typedef uint8_t v8b __attribute__((vector_size(8)));

inline v16 load(const uint16_t * p)
{
    v16 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline void store(uint16_t * p, v16 v) { std::memcpy(p, &v, sizeof v); }
inline v16 load_mask(const uint8_t * m)
{
    v8b b;
    std::memcpy(&b, m, sizeof b);
    return __builtin_convertvector(b, v16);
}
inline v16 splat(uint16_t x) { return v16{} + x; }
inline v16 div255(v16 t) { return (t + 1 + (t >> 8)) >> 8; }

/* Combined per-pixel alpha of coverage m and span opacity, with LVGL's thresholds:
 * nearly transparent is skipped, nearly opaque replaces. */
inline uint32_t effective_alpha(uint32_t m, uint32_t opa)
{
    uint32_t a = opa >= kOpaMax ? m : m >= kOpaMax ? opa : ((m * opa) >> 8);
    if(a <= kOpaMin) return 0;
    if(a >= kOpaMax) return 255;
    return a;
}

inline v16 effective_alpha(v16 m, uint16_t opa)
{
    v16 a = opa >= kOpaMax ? m : (m * opa) >> 8;
    const v16 hi_m = reinterpret_cast<v16>(m >= static_cast<uint16_t>(kOpaMax));
    a = (a & ~hi_m) | (splat(opa) & hi_m);
    const v16 lo = reinterpret_cast<v16>(a <= static_cast<uint16_t>(kOpaMin));
    const v16 hi = reinterpret_cast<v16>(a >= static_cast<uint16_t>(kOpaMax));
    a &= ~lo;
    a = (a & ~hi) | (splat(255) & hi);
    return a;
}

inline v16 mix_vec(v16 fr, v16 fg, v16 fb, v16 d, v16 a)
{
    const v16 ia = 255 - a;
    v16 r = (d >> 11) * ia + fr * a + 128;
    v16 g = ((d >> 5) & 63) * ia + fg * a + 128;
    v16 b = (d & 31) * ia + fb * a + 128;
    return (div255(r) << 11) | (div255(g) << 5) | div255(b);
}

}  // namespace

void fill_px(uint16_t * p, int32_t n, uint16_t c)
{
    int32_t i = 0;
    const v16 v = splat(c);
    for(; i + 32 <= n; i += 32) {
        store(p + i, v);
        store(p + i + 8, v);
        store(p + i + 16, v);
        store(p + i + 24, v);
    }
    for(; i + 8 <= n; i += 8) store(p + i, v);
    for(; i < n; i++) p[i] = c;
}

void blend_px(uint16_t * p, int32_t n, uint16_t c, uint8_t opa)
{
    if(opa <= kOpaMin) return;
    if(opa >= kOpaMax) {
        fill_px(p, n, c);
        return;
    }
    const uint16_t ia = static_cast<uint16_t>(255 - opa);
    const uint16_t fr = static_cast<uint16_t>((c >> 11) * opa + 128);
    const uint16_t fg = static_cast<uint16_t>(((c >> 5) & 63) * opa + 128);
    const uint16_t fb = static_cast<uint16_t>((c & 31) * opa + 128);
    int32_t i = 0;
    for(; i + 8 <= n; i += 8) {
        const v16 d = load(p + i);
        const v16 r = (d >> 11) * ia + fr;
        const v16 g = ((d >> 5) & 63) * ia + fg;
        const v16 b = (d & 31) * ia + fb;
        store(p + i, (div255(r) << 11) | (div255(g) << 5) | div255(b));
    }
    for(; i < n; i++) p[i] = mix565(c, p[i], opa);
}

void blend_px_mask(uint16_t * p, int32_t n, uint16_t c, const uint8_t * mask, uint8_t opa)
{
    if(opa <= kOpaMin) return;
    const v16 fr = splat(c >> 11);
    const v16 fg = splat((c >> 5) & 63);
    const v16 fb = splat(c & 31);
    int32_t i = 0;
    for(; i + 8 <= n; i += 8) {
        uint64_t m8;
        std::memcpy(&m8, mask + i, 8);
        if(m8 == 0) continue;  // fully outside: common at shape edges
        const v16 a = effective_alpha(load_mask(mask + i), opa);
        store(p + i, mix_vec(fr, fg, fb, load(p + i), a));
    }
    for(; i < n; i++) {
        const uint32_t a = effective_alpha(mask[i], opa);
        if(a == 0) continue;
        p[i] = a == 255 ? c : mix565(c, p[i], a);
    }
}

void blend_px_colors(uint16_t * p, int32_t n, const uint16_t * colors, uint8_t opa)
{
    if(opa <= kOpaMin) return;
    if(opa >= kOpaMax) {
        std::memcpy(p, colors, static_cast<size_t>(n) * sizeof(uint16_t));
        return;
    }
    const v16 a = splat(opa);
    int32_t i = 0;
    for(; i + 8 <= n; i += 8) {
        const v16 s = load(colors + i);
        store(p + i, mix_vec(s >> 11, (s >> 5) & 63, s & 31, load(p + i), a));
    }
    for(; i < n; i++) p[i] = mix565(colors[i], p[i], opa);
}

void blend_px_colors_mask(uint16_t * p, int32_t n, const uint16_t * colors, const uint8_t * mask, uint8_t opa)
{
    if(opa <= kOpaMin) return;
    int32_t i = 0;
    for(; i + 8 <= n; i += 8) {
        const v16 a = effective_alpha(load_mask(mask + i), opa);
        const v16 s = load(colors + i);
        store(p + i, mix_vec(s >> 11, (s >> 5) & 63, s & 31, load(p + i), a));
    }
    for(; i < n; i++) {
        const uint32_t a = effective_alpha(mask[i], opa);
        if(a == 0) continue;
        p[i] = a == 255 ? colors[i] : mix565(colors[i], p[i], a);
    }
}

Target::Target(const lv_draw_ctx_t * ctx)
{
    if(ctx == nullptr || ctx->buf == nullptr || ctx->buf_area == nullptr) return;
    buf_ = static_cast<uint16_t *>(ctx->buf);
    buf_area_ = Area::of(*ctx->buf_area);
    stride_ = buf_area_.w();
    // Never trust the clip to lie inside the buffer.
    clip_ = ctx->clip_area ? Area::of(*ctx->clip_area).intersect(buf_area_) : buf_area_;
}

void span(const Target & t, int32_t y, int32_t x, int32_t n, const Paint & p, const uint8_t * mask)
{
    const Area & c = t.clip();
    if(y < c.y1 || y > c.y2 || n <= 0) return;
    if(x < c.x1) {
        const int32_t d = c.x1 - x;
        n -= d;
        x = c.x1;
        if(mask) mask += d;
    }
    if(x + n - 1 > c.x2) n = c.x2 - x + 1;
    if(n <= 0) return;

    uint16_t * dst = t.row(y) + x;
    if(p.xcolors) {
        if(mask) blend_px_colors_mask(dst, n, p.xcolors + x, mask, p.opa);
        else blend_px_colors(dst, n, p.xcolors + x, p.opa);
    }
    else {
        const uint16_t c = p.ycolors ? p.ycolors[y] : p.color;
        if(mask) blend_px_mask(dst, n, c, mask, p.opa);
        else blend_px(dst, n, c, p.opa);
    }
}

void fill_area(const Target & t, const Area & a, const Paint & p)
{
    const Area r = a.intersect(t.clip());
    if(r.empty()) return;
    for(int32_t y = r.y1; y <= r.y2; y++) span(t, y, r.x1, r.w(), p, nullptr);
}

uint8_t * scratch_mask(size_t n)
{
    thread_local std::vector<uint8_t> buf;
    if(buf.size() < n + 16) buf.resize(n + 16);
    return buf.data();
}

uint16_t * scratch_colors(size_t n)
{
    thread_local std::vector<uint16_t> buf;
    if(buf.size() < n + 16) buf.resize(n + 16);
    return buf.data();
}

}  // namespace lv_sw

extern "C" void lv_draw_fill(lv_draw_ctx_t * draw_ctx, const lv_area_t * area, lv_color_t color, lv_opa_t opa)
{
    if(area == nullptr) return;
    lv_sw::Target t(draw_ctx);
    if(!t.ok()) return;
    lv_sw::Paint p;
    p.color = color.full;
    p.opa = opa;
    lv_sw::fill_area(t, lv_sw::Area::of(*area), p);
}
