// Images: direct copies, alpha, opacity, recolouring, clipping.
#include "draw/lv_draw.h"
#include "support/canvas.h"
#include "support/png_util.h"

#include <gtest/gtest.h>

#include <vector>

using tessel_test::area;
using tessel_test::Canvas;
using tessel_test::matches_golden;

namespace {

struct Img {
    std::vector<uint8_t> data;
    lv_img_dsc_t dsc{};
    Img(int w, int h, uint32_t cf) { resize(w, h, cf); }
    void resize(int w, int h, uint32_t cf)
    {
        const int ps = cf == LV_IMG_CF_TRUE_COLOR_ALPHA ? 3 : 2;
        data.assign(static_cast<size_t>(w * h * ps), 0);
        dsc.header.cf = cf;
        dsc.header.w = static_cast<uint32_t>(w);
        dsc.header.h = static_cast<uint32_t>(h);
        dsc.data_size = static_cast<uint32_t>(data.size());
        dsc.data = data.data();
    }
    void set(int x, int y, uint16_t c, uint8_t a = 255)
    {
        const int ps = dsc.header.cf == LV_IMG_CF_TRUE_COLOR_ALPHA ? 3 : 2;
        uint8_t * p = &data[static_cast<size_t>((y * static_cast<int>(dsc.header.w) + x) * ps)];
        p[0] = static_cast<uint8_t>(c & 0xFF);
        p[1] = static_cast<uint8_t>(c >> 8);
        if(ps == 3) p[2] = a;
    }
};

lv_draw_img_dsc_t img_dsc(lv_opa_t opa = LV_OPA_COVER)
{
    lv_draw_img_dsc_t d;
    lv_draw_img_dsc_init(&d);
    d.opa = opa;
    return d;
}

void draw(Canvas & c, const lv_draw_img_dsc_t & d, const Img & img, int x, int y)
{
    const lv_area_t a = area(x, y, x + static_cast<int>(img.dsc.header.w) - 1, y + static_cast<int>(img.dsc.header.h) - 1);
    lv_draw_img(c.ctx(), &d, &a, &img.dsc);
}

uint16_t pattern(int x, int y) { return static_cast<uint16_t>(x * 2113 + y * 7919); }

}  // namespace

TEST(ImgDefaults, DescriptorInit)
{
    lv_draw_img_dsc_t d;
    lv_draw_img_dsc_init(&d);
    EXPECT_EQ(d.opa, LV_OPA_COVER);
    EXPECT_EQ(d.zoom, LV_IMG_ZOOM_NONE);
    EXPECT_EQ(d.angle, 0);
    EXPECT_EQ(d.recolor_opa, LV_OPA_TRANSP);
}

TEST(ImgTrueColor, OpaqueImageIsCopiedPixelForPixel)
{
    Img img(13, 7, LV_IMG_CF_TRUE_COLOR);
    for(int y = 0; y < 7; y++)
        for(int x = 0; x < 13; x++) img.set(x, y, pattern(x, y));
    Canvas c(30, 20, 0x0000);
    draw(c, img_dsc(), img, 5, 4);
    for(int y = 0; y < 7; y++)
        for(int x = 0; x < 13; x++) ASSERT_EQ(c.at(5 + x, 4 + y), pattern(x, y));
    EXPECT_EQ(c.count_not(0x0000, 0, 0, 29, 3), 0);
    EXPECT_EQ(c.count_not(0x0000, 18, 0, 29, 19), 0);
    EXPECT_EQ(c.count_not(0x0000, 0, 11, 29, 19), 0);
    // At half opacity each pixel is mixed with the background.
    Canvas h(30, 20, 0xFFFF);
    draw(h, img_dsc(128), img, 0, 0);
    lv_color_t p;
    p.full = pattern(3, 2);
    EXPECT_EQ(h.at(3, 2), lv_color_mix(p, lv_color_white(), 128).full);
}

TEST(ImgAlpha, AlphaByteAndOpacityCombine)
{
    Img img(4, 1, LV_IMG_CF_TRUE_COLOR_ALPHA);
    img.set(0, 0, 0xF800, 255);
    img.set(1, 0, 0xF800, 0);
    img.set(2, 0, 0xF800, 128);
    img.set(3, 0, 0x07E0, 255);
    Canvas c(4, 1, 0x001F);
    draw(c, img_dsc(), img, 0, 0);
    EXPECT_EQ(c.at(0, 0), 0xF800);
    EXPECT_EQ(c.at(1, 0), 0x001F);
    lv_color_t red, blue;
    red.full = 0xF800;
    blue.full = 0x001F;
    EXPECT_EQ(c.at(2, 0), lv_color_mix(red, blue, 128).full);
    EXPECT_EQ(c.at(3, 0), 0x07E0);
    Canvas h(4, 1, 0x001F);
    draw(h, img_dsc(100), img, 0, 0);
    // An opaque pixel under a drawing opacity below 254 takes the opacity itself.
    EXPECT_EQ(h.at(0, 0), lv_color_mix(red, blue, 100).full);
    EXPECT_EQ(h.at(2, 0), lv_color_mix(red, blue, (128 * 100) >> 8).full);
}

TEST(ImgRecolor, RecolourMixesBeforeBlending)
{
    Img img(2, 1, LV_IMG_CF_TRUE_COLOR_ALPHA);
    img.set(0, 0, 0x0000, 255);
    img.set(1, 0, 0x0000, 0);
    Canvas c(2, 1, 0x001F);
    lv_draw_img_dsc_t d = img_dsc();
    d.recolor = lv_color_hex(0xE8E8E8);
    d.recolor_opa = 254;
    draw(c, d, img, 0, 0);
    // Recolouring is a weighted mean at full precision, rounded down: 29 * 254 / 255 -> 28.
    const lv_color_t rc = lv_color_hex(0xE8E8E8);
    lv_color_t want;
    want.full = static_cast<uint16_t>(((rc.ch.red * 254 / 255) << 11) | ((rc.ch.green * 254 / 255) << 5) | (rc.ch.blue * 254 / 255));
    EXPECT_EQ(c.at(0, 0), want.full);
    EXPECT_EQ(c.at(1, 0), 0x001F);  // transparent stays transparent
}

TEST(ImgClip, ClippedAndOutsideTheBuffer)
{
    Img img(20, 20, LV_IMG_CF_TRUE_COLOR_ALPHA);
    for(int y = 0; y < 20; y++)
        for(int x = 0; x < 20; x++) img.set(x, y, pattern(x, y), static_cast<uint8_t>(x * 13));
    Canvas c(30, 30, 0x1234);
    c.set_clip(10, 10, 19, 19);
    draw(c, img_dsc(), img, 3, 5);
    draw(c, img_dsc(200), img, -15, -15);
    draw(c, img_dsc(), img, 25, 25);
    for(int y = 0; y < 30; y++)
        for(int x = 0; x < 30; x++)
            if(x < 10 || x > 19 || y < 10 || y > 19) {
                ASSERT_EQ(c.at(x, y), 0x1234) << x << "," << y;
            }
    EXPECT_TRUE(c.guards_intact());
    // Undersized data is refused rather than read past its end.
    Img bad(8, 8, LV_IMG_CF_TRUE_COLOR_ALPHA);
    bad.dsc.data_size = 10;
    Canvas b(8, 8, 0x1234);
    draw(b, img_dsc(), bad, 0, 0);
    EXPECT_EQ(b.count_not(0x1234, 0, 0, 7, 7), 0);
}

TEST(ImgGolden, AlphaImageOnAGradient)
{
    Img img(40, 24, LV_IMG_CF_TRUE_COLOR_ALPHA);
    for(int y = 0; y < 24; y++)
        for(int x = 0; x < 40; x++) {
            const int dx = x - 20, dy = y - 12;
            const int d2 = dx * dx + dy * dy * 3;
            const uint8_t a = d2 < 300 ? 255 : d2 < 500 ? static_cast<uint8_t>((500 - d2) * 255 / 200) : 0;
            img.set(x, y, lv_color_hex(x < 20 ? 0xF44336 : 0x4CAF50).full, a);
        }
    Canvas c(140, 40, 0);
    lv_draw_rect_dsc_t bg;
    lv_draw_rect_dsc_init(&bg);
    bg.bg_color = lv_color_hex(0x90F0F8);
    bg.bg_grad_color = lv_color_hex(0x2196F3);
    bg.bg_grad_dir = LV_GRAD_DIR_HOR;
    const lv_area_t all = area(0, 0, 139, 39);
    lv_draw_rect(c.ctx(), &bg, &all);
    draw(c, img_dsc(), img, 4, 8);
    draw(c, img_dsc(106), img, 50, 8);
    lv_draw_img_dsc_t rc = img_dsc();
    rc.recolor = lv_color_hex(0xFFDF00);
    rc.recolor_opa = 128;
    draw(c, rc, img, 96, 8);
    EXPECT_TRUE(matches_golden("draw_img_alpha", c.data(), c.w(), c.h(), {1, 0}));
}
