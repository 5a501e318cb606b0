/**
 * @file lv_draw_sw_blend.cpp
 * Span blending into RGB565 with LVGL 8.3's two formulas (see lv_draw_sw.h). The loops work on
 * 8 pixels at a time with 16-bit lanes (GCC/Clang vector extensions: SSE2 on x86, NEON on ARM):
 * a fill sum is at most 63 * 255 and a mix difference times its level at most 63 * 32.
 */
#include "lv_draw_sw.h"

#include <cstring>

namespace lv_sw {

namespace {

typedef uint16_t v16 __attribute__((vector_size(16)));
typedef int16_t s16 __attribute__((vector_size(16)));
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
/* floor(t / 255), exact for t < 16400 */
inline v16 vdiv255(v16 t) { return (t + 1 + (t >> 8)) >> 8; }

/* The mix formula on 8 pixels: fg channels, destination, levels m = (w + 4) >> 3 (0..32). */
inline v16 mix_vec(v16 fr, v16 fg, v16 fb, v16 d, v16 m)
{
    const s16 sm = reinterpret_cast<s16>(m);
    auto ch = [&](v16 f, v16 b) {
        const s16 diff = reinterpret_cast<s16>(f) - reinterpret_cast<s16>(b);
        return reinterpret_cast<v16>(reinterpret_cast<s16>(b) + ((diff * sm) >> 5));
    };
    return (ch(fr, d >> 11) << 11) | (ch(fg, (d >> 5) & 63) << 5) | ch(fb, d & 31);
}

/* Weights of 8 masked pixels as levels (mask_weight, then (w + 4) >> 3). */
inline v16 mask_levels(v16 m, uint16_t opa)
{
    v16 w;
    if(opa >= kOpaMax) {
        w = m;
    }
    else {
        w = (m * opa) >> 8;
        const v16 full = reinterpret_cast<v16>(m == static_cast<uint16_t>(255));
        w = (w & ~full) | (splat(opa) & full);
    }
    return (w + 4) >> 3;
}

/* The fill formula on 8 pixels; q, and the fg channels already times q. */
inline v16 fill_vec(v16 d, uint16_t iq, uint16_t fr, uint16_t fg, uint16_t fb)
{
    const v16 r = vdiv255((d >> 11) * iq + fr);
    const v16 g = vdiv255(((d >> 5) & 63) * iq + fg);
    const v16 b = vdiv255((d & 31) * iq + fb);
    return (r << 11) | (g << 5) | b;
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

void blend_fill(uint16_t * p, int32_t n, uint16_t c, uint8_t opa, FillCache * cache)
{
    if(opa <= kOpaMin) return;
    if(opa >= kOpaMax) {
        fill_px(p, n, c);
        return;
    }
    int32_t i = 0;
    if(cache && !cache->met_other) {
        // Black destinations before the first other colour get the cached mix result.
        const uint16_t black_res = mix565(c, 0, opa);
        for(; i < n && p[i] == 0; i++) p[i] = black_res;
        if(i == n) return;
        cache->met_other = true;
    }
    const uint32_t q = (8U * ((opa + 4U) >> 3)) & 0xFFU;
    if(q == 0) return;  // opa 3 and 252: the weighted mean is the destination itself
    const uint16_t iq = static_cast<uint16_t>(255U - q);
    const uint16_t fr = static_cast<uint16_t>((c >> 11) * q);
    const uint16_t fg = static_cast<uint16_t>(((c >> 5) & 63U) * q);
    const uint16_t fb = static_cast<uint16_t>((c & 31U) * q);
    for(; i + 8 <= n; i += 8) store(p + i, fill_vec(load(p + i), iq, fr, fg, fb));
    for(; i < n; i++) p[i] = fill565(c, p[i], opa);
}

void blend_mix(uint16_t * p, int32_t n, uint16_t c, uint8_t w)
{
    const uint16_t m = static_cast<uint16_t>((w + 4U) >> 3);
    if(m == 0) return;
    if(m >= 32) {
        fill_px(p, n, c);
        return;
    }
    const v16 fr = splat(c >> 11);
    const v16 fg = splat((c >> 5) & 63);
    const v16 fb = splat(c & 31);
    const v16 vm = splat(m);
    int32_t i = 0;
    for(; i + 8 <= n; i += 8) store(p + i, mix_vec(fr, fg, fb, load(p + i), vm));
    for(; i < n; i++) p[i] = mix565(c, p[i], w);
}

void blend_mix_mask(uint16_t * p, int32_t n, uint16_t c, const uint8_t * mask, uint8_t opa)
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
        store(p + i, mix_vec(fr, fg, fb, load(p + i), mask_levels(load_mask(mask + i), opa)));
    }
    for(; i < n; i++) {
        const uint32_t w = mask_weight(mask[i], opa);
        if(w > 3) p[i] = mix565(c, p[i], w);
    }
}

void blend_colors(uint16_t * p, int32_t n, const uint16_t * colors, uint8_t opa)
{
    if(opa <= kOpaMin) return;
    if(opa >= kOpaMax) {
        std::memcpy(p, colors, static_cast<size_t>(n) * sizeof(uint16_t));
        return;
    }
    const v16 m = splat(static_cast<uint16_t>((opa + 4U) >> 3));
    int32_t i = 0;
    for(; i + 8 <= n; i += 8) {
        const v16 s = load(colors + i);
        store(p + i, mix_vec(s >> 11, (s >> 5) & 63, s & 31, load(p + i), m));
    }
    for(; i < n; i++) p[i] = mix565(colors[i], p[i], opa);
}

void blend_colors_mask(uint16_t * p, int32_t n, const uint16_t * colors, const uint8_t * mask, uint8_t opa)
{
    if(opa <= kOpaMin) return;
    int32_t i = 0;
    for(; i + 8 <= n; i += 8) {
        const v16 s = load(colors + i);
        store(p + i, mix_vec(s >> 11, (s >> 5) & 63, s & 31, load(p + i), mask_levels(load_mask(mask + i), opa)));
    }
    for(; i < n; i++) {
        const uint32_t w = mask_weight(mask[i], opa);
        if(w > 3) p[i] = mix565(colors[i], p[i], w);
    }
}

void blend_colors_weights(uint16_t * p, int32_t n, const uint16_t * colors, const uint8_t * w)
{
    int32_t i = 0;
    for(; i + 8 <= n; i += 8) {
        const v16 s = load(colors + i);
        store(p + i, mix_vec(s >> 11, (s >> 5) & 63, s & 31, load(p + i), (load_mask(w + i) + 4) >> 3));
    }
    for(; i < n; i++)
        if(w[i] > 3) p[i] = mix565(colors[i], p[i], w[i]);
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
        if(mask) blend_colors_mask(dst, n, p.xcolors + x, mask, p.opa);
        else blend_colors(dst, n, p.xcolors + x, p.opa);
    }
    else {
        const uint16_t c = p.ycolors ? p.ycolors[y] : p.color;
        if(mask) blend_mix_mask(dst, n, c, mask, p.opa);
        else if(p.mix) blend_mix(dst, n, c, p.opa);
        else blend_fill(dst, n, c, p.opa, p.cache);
    }
}

void fill_area(const Target & t, const Area & a, const Paint & p)
{
    const Area r = a.intersect(t.clip());
    if(r.empty()) return;
    FillCache cache;
    Paint pc = p;
    if(pc.cache == nullptr) pc.cache = &cache;
    for(int32_t y = r.y1; y <= r.y2; y++) {
        // Each row of a vertical gradient is a fill call of its own in LVGL.
        if(p.ycolors) *pc.cache = FillCache{};
        span(t, y, r.x1, r.w(), pc, nullptr);
    }
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
