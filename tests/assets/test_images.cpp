// The compiled-in images: descriptors as the screens expect them, and pixel
// data that really is RGB565 (low byte first) plus alpha of the intended
// pictures.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "lvgl.h"
#include "tessel_images.h"

namespace {

struct ImageSpec {
    const char * name;
    const lv_img_dsc_t * dsc;
    uint32_t w, h, data_size;
};

const std::vector<ImageSpec> & all_images()
{
    static const std::vector<ImageSpec> images = {
        {"Start_animimg_1Start3_0", &Start_animimg_1Start3_0, 1000, 700, 2100000},
        {"Start_animimg_1Start3_1", &Start_animimg_1Start3_1, 1000, 700, 2100000},
        {"Start_animimg_1Start3_2", &Start_animimg_1Start3_2, 1000, 700, 2100000},
        {"Start_animimg_1Start3_3", &Start_animimg_1Start3_3, 1000, 700, 2100000},
        {"Start_animimg_1Start3_4", &Start_animimg_1Start3_4, 1000, 700, 2100000},
        {"Start_animimg_1Start3_5", &Start_animimg_1Start3_5, 1000, 700, 2100000},
        {"Start_animimg_1Start3_6", &Start_animimg_1Start3_6, 1000, 700, 2100000},
        {"Start_animimg_1Start3_7", &Start_animimg_1Start3_7, 1000, 700, 2100000},
        {"Start_animimg_1Start3_8", &Start_animimg_1Start3_8, 1000, 700, 2100000},
        {"Start_animimg_1Start3_9", &Start_animimg_1Start3_9, 1000, 700, 2100000},
        {"Start_animimg_1Start3_10", &Start_animimg_1Start3_10, 1000, 700, 2100000},
        {"_gui_bk_1280x800", &_gui_bk_1280x800, 1280, 800, 3072000},
        {"_btn_140x50", &_btn_140x50, 140, 50, 21000},
        {"_btn_139x54", &_btn_139x54, 139, 54, 22518},
        {"_setup_94x89", &_setup_94x89, 94, 89, 25098},
        {"_btn_115x39", &_btn_115x39, 115, 39, 13455},
        {"_btn_177x54", &_btn_177x54, 177, 54, 28674},
        {"_btn_140x54", &_btn_140x54, 140, 54, 22680},
        {"_QOR_Logo_alpha_150x55", &_QOR_Logo_alpha_150x55, 150, 55, 24750},
        {"_BKO_alpha_95x38", &_BKO_alpha_95x38, 95, 38, 10830},
        {"_zev_logo_zhtw_alpha_251x65", &_zev_logo_zhtw_alpha_251x65, 251, 65, 48945},
        {"_QBVEXO_alpha_242x75", &_QBVEXO_alpha_242x75, 242, 75, 54450},
        {"_HD_volume_alpha_520x15", &_HD_volume_alpha_520x15, 520, 15, 23400},
        {"_LO_volume_alpha_520x15", &_LO_volume_alpha_520x15, 520, 15, 23400},
    };
    return images;
}

// The start animation's frames in playing order.
const lv_img_dsc_t * const kFrames[] = {
    &Start_animimg_1Start3_0, &Start_animimg_1Start3_1, &Start_animimg_1Start3_2,
    &Start_animimg_1Start3_3, &Start_animimg_1Start3_4, &Start_animimg_1Start3_5,
    &Start_animimg_1Start3_6, &Start_animimg_1Start3_7, &Start_animimg_1Start3_8,
    &Start_animimg_1Start3_9, &Start_animimg_1Start3_10,
};

struct Pixel {
    int r, g, b, a;  // colour channels expanded to 0..255
};

Pixel pixel_at(const lv_img_dsc_t & img, uint32_t x, uint32_t y)
{
    const uint8_t * p = img.data + (static_cast<size_t>(y) * img.header.w + x) * 3;
    unsigned c = p[0] | (p[1] << 8);
    return {static_cast<int>(((c >> 11) & 0x1F) * 255 / 31), static_cast<int>(((c >> 5) & 0x3F) * 255 / 63),
            static_cast<int>((c & 0x1F) * 255 / 31), p[2]};
}

bool same_pixel(const lv_img_dsc_t & a, const lv_img_dsc_t & b, size_t i)
{
    return a.data[i * 3] == b.data[i * 3] && a.data[i * 3 + 1] == b.data[i * 3 + 1] &&
           a.data[i * 3 + 2] == b.data[i * 3 + 2];
}

size_t pixels_differing(const lv_img_dsc_t & a, const lv_img_dsc_t & b)
{
    size_t n = static_cast<size_t>(a.header.w) * a.header.h, diff = 0;
    for(size_t i = 0; i < n; i++) diff += !same_pixel(a, b, i);
    return diff;
}

TEST(ImageDescriptors, HeaderSizeAndFormatMatchTheTable)
{
    for(const ImageSpec & s : all_images()) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(s.dsc->header.cf, LV_IMG_CF_TRUE_COLOR_ALPHA);
        EXPECT_EQ(s.dsc->header.always_zero, 0u);
        EXPECT_EQ(s.dsc->header.reserved, 0u);
        EXPECT_EQ(s.dsc->header.w, s.w);
        EXPECT_EQ(s.dsc->header.h, s.h);
        EXPECT_EQ(s.dsc->data_size, s.data_size);
        EXPECT_EQ(s.dsc->data_size, s.w * s.h * 3);
        EXPECT_NE(s.dsc->data, nullptr);
    }
}

TEST(ImageDescriptors, PixelDataOfDifferentImagesIsDistinctAndSumsUp)
{
    uint64_t total = 0;
    for(const ImageSpec & s : all_images()) {
        total += s.dsc->data_size;
        for(const ImageSpec & t : all_images()) {
            if(&s != &t) {
                EXPECT_NE(s.dsc->data, t.dsc->data) << s.name << " and " << t.name;
            }
        }
    }
    EXPECT_EQ(total, 26491200u);
}

TEST(StartFrames, FirstFrameIsPlainOpaqueWhite)
{
    const lv_img_dsc_t & f = *kFrames[0];
    for(uint32_t i = 0; i < f.data_size; i++) ASSERT_EQ(f.data[i], 0xFF) << "byte " << i;
}

TEST(StartFrames, EachFrameComesCloserToTheLastOne)
{
    // The title picture is built up piece by piece, so every frame shares
    // more pixels with the final picture than the frame before it.
    const lv_img_dsc_t & last = *kFrames[10];
    size_t before = pixels_differing(*kFrames[0], last);
    for(int k = 1; k <= 9; k++) {
        size_t now = pixels_differing(*kFrames[k], last);
        EXPECT_LT(now, before) << "frame " << k;
        EXPECT_GT(now, 0u) << "frame " << k << " already is the final picture";
        before = now;
    }
}

TEST(StartFrames, OnlyTheLastFrameCarriesTheStartPrompt)
{
    // The prompt's blue bar sits at the bottom centre (left end of the bar).
    auto is_blue = [](Pixel p) { return p.a == 255 && p.b > 180 && p.b > p.r + 80 && p.b > p.g + 20; };
    EXPECT_TRUE(is_blue(pixel_at(*kFrames[10], 365, 616)));
    EXPECT_TRUE(is_blue(pixel_at(*kFrames[10], 635, 616)));
    for(int k = 0; k < 10; k++) EXPECT_FALSE(is_blue(pixel_at(*kFrames[k], 365, 616))) << "frame " << k;
}

TEST(Background, MostlyTransparentWithAnOpaqueGreyBandAtTheBottom)
{
    const lv_img_dsc_t & bk = _gui_bk_1280x800;
    size_t transparent = 0, n = 1280 * 800;
    for(size_t i = 0; i < n; i++) transparent += bk.data[i * 3 + 2] == 0;
    EXPECT_GT(transparent, n * 6 / 10);

    // A neutral grey catches swapped colour bytes (a grey's swapped value is
    // strongly coloured).
    for(uint32_t x : {0u, 640u, 1279u}) {
        Pixel p = pixel_at(bk, x, 795);
        EXPECT_EQ(p.a, 255) << x;
        EXPECT_NEAR(p.r, p.g, 16) << x;
        EXPECT_NEAR(p.g, p.b, 16) << x;
        EXPECT_GT(p.r, 60) << x;
        EXPECT_LT(p.r, 200) << x;
    }
    // The illustration is at the right edge, the left is clear.
    EXPECT_EQ(pixel_at(bk, 1270, 400).a, 255);
    EXPECT_EQ(pixel_at(bk, 100, 400).a, 0);
}

TEST(ButtonFaces, LightFaceWithTheTopRightCornerCut)
{
    for(const lv_img_dsc_t * b : {&_btn_140x50, &_btn_139x54, &_btn_115x39, &_btn_177x54, &_btn_140x54}) {
        uint32_t w = b->header.w, h = b->header.h;
        SCOPED_TRACE(w);
        Pixel centre = pixel_at(*b, w / 2, h / 2);
        EXPECT_EQ(centre.a, 255);
        EXPECT_GT(centre.r, 200);
        EXPECT_GT(centre.g, 200);
        EXPECT_GT(centre.b, 200);
        EXPECT_EQ(pixel_at(*b, w - 1, 0).a, 0);       // cut corner
        EXPECT_GT(pixel_at(*b, 0, 0).a, 150) << "other corners stay square";
        EXPECT_GT(pixel_at(*b, 0, h - 1).a, 150);
        EXPECT_GT(pixel_at(*b, w - 1, h - 1).a, 150);
        Pixel edge = pixel_at(*b, 0, h / 2);          // dark outline
        EXPECT_LT(edge.r + edge.g + edge.b, 3 * 100);
    }
}

TEST(SetupFace, DarkGearOnALightDisc)
{
    const lv_img_dsc_t & s = _setup_94x89;
    EXPECT_EQ(pixel_at(s, 0, 0).a, 0);  // round: the corners are clear
    Pixel hub = pixel_at(s, 47, 44);     // the gear's hole shows the disc
    EXPECT_EQ(hub.a, 255);
    EXPECT_GT(hub.r + hub.g + hub.b, 3 * 200);
    Pixel gear = pixel_at(s, 47, 44 + 20);
    EXPECT_EQ(gear.a, 255);
    EXPECT_LT(gear.r + gear.g + gear.b, 3 * 110);
    Pixel rim = pixel_at(s, 47, 44 + 40);
    EXPECT_GT(rim.r + rim.g + rim.b, 3 * 180);
}

TEST(Logos, BkoLetteringIsRed)
{
    const lv_img_dsc_t & l = _BKO_alpha_95x38;
    int opaque = 0, red = 0;
    for(uint32_t y = 0; y < l.header.h; y++)
        for(uint32_t x = 0; x < l.header.w; x++) {
            Pixel p = pixel_at(l, x, y);
            if(p.a < 200) continue;
            opaque++;
            red += p.r > 120 && p.r > p.g * 2 && p.r > p.b * 2;
        }
    EXPECT_GT(opaque, 300);
    EXPECT_GT(red, opaque * 9 / 10);
}

TEST(Logos, LogosAreCutOutOnTransparency)
{
    for(const lv_img_dsc_t * l : {&_QOR_Logo_alpha_150x55, &_BKO_alpha_95x38, &_zev_logo_zhtw_alpha_251x65,
                                  &_QBVEXO_alpha_242x75}) {
        uint32_t w = l->header.w, h = l->header.h;
        size_t n = static_cast<size_t>(w) * h, clear = 0, solid = 0;
        for(size_t i = 0; i < n; i++) {
            clear += l->data[i * 3 + 2] == 0;
            solid += l->data[i * 3 + 2] == 255;
        }
        EXPECT_GT(clear, n / 4) << w;
        EXPECT_GT(solid, n / 10) << w;
    }
}

TEST(VolumeScales, PaleGreenThroughGreenAndBlueToRed)
{
    for(const lv_img_dsc_t * v : {&_HD_volume_alpha_520x15, &_LO_volume_alpha_520x15}) {
        Pixel pale = pixel_at(*v, 12, 10);
        Pixel green = pixel_at(*v, 170, 10);
        Pixel blue = pixel_at(*v, 350, 10);
        Pixel red = pixel_at(*v, 505, 10);
        for(Pixel p : {pale, green, blue, red}) EXPECT_EQ(p.a, 255);
        EXPECT_GT(pale.g, pale.r);
        EXPECT_GT(pale.r, 150) << "pale, not saturated";
        EXPECT_GT(green.g, green.r + 60);
        EXPECT_GT(green.g, green.b + 40);
        EXPECT_GT(blue.b, blue.r + 80);
        EXPECT_GT(blue.b, blue.g);
        EXPECT_GT(red.r, red.g + 100);
        EXPECT_GT(red.r, red.b + 60);
        EXPECT_EQ(pixel_at(*v, 0, 0).a, 0) << "rounded ends";
    }
}

}  // namespace
