// The start animation's frame list: the eleven frames in numeric order, so
// that the run ends on the complete title picture (frame 10).
#include <gtest/gtest.h>

#include "tessel_images.h"
#include "widgets_init.h"

namespace {

TEST(StartFrameList, ElevenFramesInNumericOrder)
{
    const lv_img_dsc_t * const expected[] = {
        &Start_animimg_1Start3_0, &Start_animimg_1Start3_1, &Start_animimg_1Start3_2,
        &Start_animimg_1Start3_3, &Start_animimg_1Start3_4, &Start_animimg_1Start3_5,
        &Start_animimg_1Start3_6, &Start_animimg_1Start3_7, &Start_animimg_1Start3_8,
        &Start_animimg_1Start3_9, &Start_animimg_1Start3_10,
    };
    static_assert(sizeof(Start_animimg_1_imgs) / sizeof(Start_animimg_1_imgs[0]) == 11, "eleven frames");
    for(int k = 0; k < 11; k++) EXPECT_EQ(Start_animimg_1_imgs[k], expected[k]) << "frame " << k;
    EXPECT_EQ(Start_animimg_1_imgs[10]->header.w, 1000u);
    EXPECT_EQ(Start_animimg_1_imgs[10]->header.h, 700u);
}

}  // namespace
