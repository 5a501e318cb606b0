// Renderer micro-benchmark: full 1280 x 800 redraws drawn straight through lv_draw_*,
// one full-size buffer, as the refresher does for an invalidated screen.
//   draw_bench [frames]
// Prints min / median / max milliseconds per frame for each scene.
#include "src/draw/lv_draw.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kW = 1280;
constexpr int kH = 800;

struct Screen {
    std::vector<uint16_t> buf = std::vector<uint16_t>(static_cast<size_t>(kW) * kH);
    lv_area_t full{0, 0, kW - 1, kH - 1};
    lv_draw_ctx_t ctx{};
    Screen()
    {
        ctx.buf = buf.data();
        ctx.buf_area = &full;
        ctx.clip_area = &full;
    }
};

lv_area_t box(int x, int y, int w, int h)
{
    return {static_cast<lv_coord_t>(x), static_cast<lv_coord_t>(y), static_cast<lv_coord_t>(x + w - 1),
            static_cast<lv_coord_t>(y + h - 1)};
}

void white_screen(Screen & s)
{
    lv_draw_rect_dsc_t d;
    lv_draw_rect_dsc_init(&d);
    lv_draw_rect(&s.ctx, &d, &s.full);
}

void busy_scene(Screen & s)
{
    lv_draw_ctx_t * ctx = &s.ctx;
    // Screen: horizontal gradient.
    lv_draw_rect_dsc_t scr;
    lv_draw_rect_dsc_init(&scr);
    scr.bg_color = lv_color_hex(0x90F0F8);
    scr.bg_grad_color = lv_color_hex(0x88CCE8);
    scr.bg_grad_dir = LV_GRAD_DIR_HOR;
    lv_draw_rect(ctx, &scr, &s.full);

    // Panel 1160 x 620, radius 35, border 4, vertical gradient at opa 86.
    lv_draw_rect_dsc_t panel;
    lv_draw_rect_dsc_init(&panel);
    panel.radius = 35;
    panel.bg_color = lv_color_hex(0xF8FCF8);
    panel.bg_grad_color = lv_color_hex(0x4894C8);
    panel.bg_grad_dir = LV_GRAD_DIR_VER;
    panel.bg_opa = 86;
    panel.border_width = 4;
    panel.border_color = lv_color_hex(0xA8CCE8);
    const lv_area_t pa = box(60, 120, 1160, 620);
    lv_draw_rect(ctx, &panel, &pa);

    // Three 220 x 70 buttons: border 5 at opa 52, shadow 10 / spread 2 / offset 5, 5, a caption.
    lv_draw_rect_dsc_t btn;
    lv_draw_rect_dsc_init(&btn);
    btn.radius = 5;
    btn.bg_color = lv_color_hex(0x2196F3);
    btn.border_width = 5;
    btn.border_opa = 52;
    btn.border_color = lv_color_black();
    btn.shadow_width = 10;
    btn.shadow_spread = 2;
    btn.shadow_ofs_x = 5;
    btn.shadow_ofs_y = 5;
    btn.shadow_color = lv_color_hex(0x787878);
    lv_draw_label_dsc_t cap;
    lv_draw_label_dsc_init(&cap);
    cap.color = lv_color_white();
    cap.align = LV_TEXT_ALIGN_CENTER;
    for(int i = 0; i < 3; i++) {
        const lv_area_t a = box(120 + i * 300, 180, 220, 70);
        lv_draw_rect(ctx, &btn, &a);
        const lv_area_t t = box(120 + i * 300, 207, 220, 16);
        lv_draw_label(ctx, &cap, &t, "Button - TEST", nullptr);
    }

    // Two letter-spaced labels.
    lv_draw_label_dsc_t lbl;
    lv_draw_label_dsc_init(&lbl);
    lbl.letter_space = 2;
    const lv_area_t l1 = box(120, 300, 600, 40);
    lv_draw_label(ctx, &lbl, &l1, "Letter spaced result label: PASS", nullptr);
    const lv_area_t l2 = box(120, 350, 300, 60);
    lv_draw_label(ctx, &lbl, &l2, "A second label that wraps onto more lines", nullptr);

    // Roller: 100 x 100, card look with gradient, selected row band, three centred rows.
    lv_draw_rect_dsc_t rol;
    lv_draw_rect_dsc_init(&rol);
    rol.radius = 5;
    rol.bg_color = lv_color_hex(0x505450);
    rol.bg_grad_color = lv_color_hex(0x101410);
    rol.bg_grad_dir = LV_GRAD_DIR_VER;
    rol.border_width = 5;
    rol.border_color = lv_color_hex(0xD8D8D8);
    const lv_area_t ra = box(900, 300, 100, 100);
    lv_draw_rect(ctx, &rol, &ra);
    lv_draw_rect_dsc_t sel;
    lv_draw_rect_dsc_init(&sel);
    sel.bg_color = lv_color_hex(0x90C4F0);
    sel.bg_grad_color = lv_color_hex(0x389CF0);
    sel.bg_grad_dir = LV_GRAD_DIR_VER;
    const lv_area_t sa = box(905, 334, 90, 32);
    lv_draw_rect(ctx, &sel, &sa);
    lv_draw_label_dsc_t rl;
    lv_draw_label_dsc_init(&rl);
    rl.color = lv_color_white();
    rl.align = LV_TEXT_ALIGN_CENTER;
    rl.line_space = 16;
    lv_area_t clip = box(905, 305, 90, 90);
    const lv_area_t * old = ctx->clip_area;
    ctx->clip_area = &clip;
    const lv_area_t rt = box(905, 310, 90, 200);
    lv_draw_label(ctx, &rl, &rt, "DSI\nDefault\nUart\nSPI_M\nSPI_S", nullptr);
    ctx->clip_area = old;

    // Slider: main at opa 51, indicator, knob.
    lv_draw_rect_dsc_t sl;
    lv_draw_rect_dsc_init(&sl);
    sl.radius = LV_RADIUS_CIRCLE;
    sl.bg_color = lv_color_hex(0x2196F3);
    sl.bg_opa = 51;
    const lv_area_t sm = box(120, 500, 260, 13);
    lv_draw_rect(ctx, &sl, &sm);
    sl.bg_opa = LV_OPA_COVER;
    const lv_area_t si = box(120, 500, 130, 13);
    lv_draw_rect(ctx, &sl, &si);
    const lv_area_t sk = box(239, 495, 23, 23);
    lv_draw_rect(ctx, &sl, &sk);

    // 1200 px line, width 10, rounded ends.
    lv_draw_line_dsc_t ln;
    lv_draw_line_dsc_init(&ln);
    ln.width = 10;
    ln.color = lv_color_hex(0x707470);
    ln.round_start = 1;
    ln.round_end = 1;
    const lv_point_t p1{40, 93};
    const lv_point_t p2{1240, 93};
    lv_draw_line(ctx, &ln, &p1, &p2);
}

// The test screen's background: a full-screen image, mostly transparent, at opacity 30.
struct Overlay {
    std::vector<uint8_t> data = std::vector<uint8_t>(static_cast<size_t>(kW) * kH * 3, 0);
    lv_img_dsc_t dsc{};
    Overlay()
    {
        for(int y = 0; y < kH; y++)
            for(int x = 0; x < kW; x++) {
                uint8_t * p = &data[(static_cast<size_t>(y) * kW + x) * 3];
                const bool shown = x > 1000 || y > 700;
                p[0] = static_cast<uint8_t>(x);
                p[1] = static_cast<uint8_t>(y);
                p[2] = shown ? 255 : 0;
            }
        dsc.header.cf = LV_IMG_CF_TRUE_COLOR_ALPHA;
        dsc.header.w = kW;
        dsc.header.h = kH;
        dsc.data_size = static_cast<uint32_t>(data.size());
        dsc.data = data.data();
    }
};

void bench(const char * name, int frames, const std::function<void()> & f)
{
    std::vector<double> ms;
    for(int i = 0; i < 3; i++) f();  // warm caches
    for(int i = 0; i < frames; i++) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        const auto t1 = std::chrono::steady_clock::now();
        ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-28s min %7.3f ms  median %7.3f ms  max %7.3f ms  (%d frames)\n", name, ms.front(),
                ms[ms.size() / 2], ms.back(), frames);
}

}  // namespace

int main(int argc, char ** argv)
{
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    Screen s;
    Overlay ov;
    bench("white screen", frames, [&] { white_screen(s); });
    bench("busy scene", frames, [&] { busy_scene(s); });
    bench("busy scene + image overlay", frames, [&] {
        lv_draw_rect_dsc_t d;
        lv_draw_rect_dsc_init(&d);
        d.bg_color = lv_color_hex(0x90F0F8);
        d.bg_grad_color = lv_color_hex(0x88CCE8);
        d.bg_grad_dir = LV_GRAD_DIR_HOR;
        d.bg_img_src = &ov.dsc;
        d.bg_img_opa = 30;
        lv_draw_rect(&s.ctx, &d, &s.full);
        busy_scene(s);
    });
    if(argc > 2) {
        // Dump the busy scene as raw RGB565 for a look.
        busy_scene(s);
        if(FILE * f = std::fopen(argv[2], "wb")) {
            std::fwrite(s.buf.data(), 2, s.buf.size(), f);
            std::fclose(f);
        }
    }
    return 0;
}
