// Animated image: the frame timeline of an 11-frame, 660 ms run, its end on
// frame 0, the animation's lifetime, and that frames are drawn as images.
#include "test_widgets_harness.h"

#include <array>
#include <vector>

namespace {

using widgets_test::Harness;

constexpr int kFrames = 11;
constexpr int kSide = 8;

// Eleven solid 8 x 8 frames, each its own colour.
struct Frames {
    std::array<std::array<uint16_t, kSide * kSide>, kFrames> pixels{};
    std::array<lv_img_dsc_t, kFrames> dsc{};
    std::array<const void *, kFrames> list{};

    Frames()
    {
        for(int i = 0; i < kFrames; i++) {
            pixels[i].fill(colour(i));
            lv_img_dsc_t & d = dsc[i];
            d.header.cf = LV_IMG_CF_TRUE_COLOR;
            d.header.w = kSide;
            d.header.h = kSide;
            d.data_size = sizeof(pixels[i]);
            d.data = reinterpret_cast<const uint8_t *>(pixels[i].data());
            list[i] = &d;
        }
    }
    static uint16_t colour(int i) { return static_cast<uint16_t>(0x0841 * (i + 1) + (i << 11)); }
    int index_of(const void * src) const
    {
        for(int i = 0; i < kFrames; i++)
            if(list[i] == src) return i;
        return -1;
    }
};

class AnimImg : public Harness {
protected:
    Frames frames;

    lv_obj_t * make(uint32_t duration, uint16_t repeat)
    {
        lv_obj_t * a = lv_animimg_create(lv_scr_act());
        lv_animimg_set_src(a, frames.list.data(), kFrames);
        lv_animimg_set_duration(a, duration);
        lv_animimg_set_repeat_count(a, repeat);
        return a;
    }
    int shown(lv_obj_t * a) { return frames.index_of(lv_img_get_src(a)); }
};

TEST_F(AnimImg, IsAnImageSubclassWithContentSize)
{
    lv_obj_t * a = lv_animimg_create(lv_scr_act());
    EXPECT_TRUE(lv_obj_check_type(a, &lv_animimg_class));
    EXPECT_FALSE(lv_obj_check_type(a, &lv_img_class));
    lv_obj_update_layout(a);
    EXPECT_EQ(lv_obj_get_width(a), 0);
    EXPECT_EQ(lv_obj_get_height(a), 0);
    EXPECT_EQ(lv_obj_get_child_cnt(a), 0u);
}

TEST_F(AnimImg, RunShowsEachFrameForSixtyMsThenEndsOnFrameZero)
{
    lv_obj_t * a = make(660, 1);
    lv_animimg_start(a);
    ASSERT_EQ(shown(a), 0) << "frame 0 shows at once";
    ASSERT_NE(lv_anim_get(a, nullptr), nullptr);

    // When did each frame first show?
    std::vector<int> first_seen(kFrames, -1);
    std::vector<int> sequence{0};
    int back_to_zero = -1;
    for(int t = 5; t <= 900; t += 5) {
        advance(5);
        const int f = shown(a);
        if(f != sequence.back()) {
            sequence.push_back(f);
            if(f > 0 && first_seen[f] < 0) first_seen[f] = t;
            if(f == 0 && back_to_zero < 0) back_to_zero = t;
        }
    }
    const std::vector<int> expected{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0};
    EXPECT_EQ(sequence, expected);
    for(int k = 1; k < kFrames; k++) {
        EXPECT_GE(first_seen[k], 60 * k - 30) << "frame " << k;
        EXPECT_LE(first_seen[k], 60 * k + 35) << "frame " << k;
    }
    EXPECT_GE(back_to_zero, 660 - 5);
    EXPECT_LE(back_to_zero, 660 + 35);
    EXPECT_EQ(shown(a), 0) << "LVGL 8.3 lands on frame 0, not on the last frame";
    EXPECT_EQ(lv_anim_get(a, nullptr), nullptr) << "the run is over";
}

TEST_F(AnimImg, RepeatCountTwoPlaysTheListTwice)
{
    lv_obj_t * a = make(660, 2);
    lv_animimg_start(a);
    int tens = 0;
    int last = 0;
    for(int t = 0; t < 1500; t += 5) {
        if(t == 1000) {
            EXPECT_NE(lv_anim_get(a, nullptr), nullptr) << "second run still going";
        }
        advance(5);
        const int f = shown(a);
        if(f == 10 && last != 10) tens++;
        last = f;
    }
    EXPECT_EQ(tens, 2);
    EXPECT_EQ(shown(a), 0);
    EXPECT_EQ(lv_anim_get(a, nullptr), nullptr);
}

TEST_F(AnimImg, AnimationDiesWithTheObjectAndAppCanSetTheLastFrame)
{
    lv_obj_t * a = make(660, 1);
    lv_animimg_start(a);
    advance(200);
    ASSERT_NE(lv_anim_get(a, nullptr), nullptr);
    lv_obj_del(a);
    EXPECT_EQ(lv_anim_get(a, nullptr), nullptr);
    EXPECT_EQ(lv_anim_count_running(), 0u);
    advance(600); // nothing may touch the deleted object

    // After a finished run the application shows the last frame itself and it stays.
    lv_obj_t * b = make(660, 1);
    lv_animimg_start(b);
    advance(700);
    ASSERT_EQ(lv_anim_get(b, nullptr), nullptr);
    lv_img_set_src(b, frames.list[10]);
    advance(300);
    EXPECT_EQ(shown(b), 10);
}

TEST_F(AnimImg, StartWithoutFramesDoesNothing)
{
    lv_obj_t * a = lv_animimg_create(lv_scr_act());
    lv_animimg_set_duration(a, 100);
    lv_animimg_start(a);
    EXPECT_EQ(lv_anim_get(a, nullptr), nullptr);
    advance(200);
    EXPECT_EQ(lv_img_get_src(a), nullptr);
}

TEST_F(AnimImg, DrawsTheCurrentFrame)
{
    lv_obj_t * a = make(660, 1);
    lv_obj_set_pos(a, 40, 30);
    lv_animimg_start(a);
    render();
    EXPECT_EQ(px(44, 34), Frames::colour(0));
    advance(190); // frame 3 from about 180 ms
    render();     // (a refresh steps due animations first, as in LVGL)
    const int f = shown(a);
    ASSERT_GE(f, 2);
    EXPECT_EQ(px(44, 34), Frames::colour(f));
    EXPECT_EQ(px(40 + kSide, 34), lv_color_to16(lv_color_hex(0xF5F5F5))) << "nothing beyond the frame";
}

} // namespace
