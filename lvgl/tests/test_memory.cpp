// The memory pool: allocation, reuse and merging, monitor figures,
// exhaustion (NULL from lv_mem_alloc, a clear abort for objects), invalid
// frees, and a 60-widget screen built and deleted 1000 times returning the
// pool to where it started.
#include "core_fixture.h"

#include <cstdlib>
#include <cstring>

using core_test::Core;

namespace {

class Pool : public ::testing::Test {
protected:
    void SetUp() override { lv_init(); }
    void TearDown() override { lv_deinit(); }
    static lv_mem_monitor_t mon()
    {
        lv_mem_monitor_t m;
        lv_mem_monitor(&m);
        return m;
    }
};

TEST_F(Pool, AllocFreeReallocKeepDataAndMergeBack)
{
    const lv_mem_monitor_t start = mon();
    EXPECT_EQ(start.total_size, LV_MEM_SIZE);
    EXPECT_EQ(start.free_cnt, 1u);

    auto * a = static_cast<uint8_t *>(lv_mem_alloc(10));
    auto * b = static_cast<uint8_t *>(lv_mem_alloc(100));
    auto * c = static_cast<uint8_t *>(lv_mem_alloc(1000));
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(a) % 8, 0u);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(b) % 8, 0u);
    std::memset(a, 0xAA, 10);
    std::memset(b, 0xBB, 100);
    std::memset(c, 0xCC, 1000);
    EXPECT_EQ(mon().used_cnt, start.used_cnt + 3); // lv_init's own timer is in the pool too

    // Growing b past its neighbour moves it and keeps the contents.
    auto * b2 = static_cast<uint8_t *>(lv_mem_realloc(b, 5000));
    ASSERT_NE(b2, nullptr);
    for(int i = 0; i < 100; i++) ASSERT_EQ(b2[i], 0xBB);
    // Shrinking in place keeps the pointer.
    EXPECT_EQ(lv_mem_realloc(b2, 50), b2);
    for(int i = 0; i < 50; i++) ASSERT_EQ(b2[i], 0xBB);
    for(int i = 0; i < 10; i++) ASSERT_EQ(a[i], 0xAA);
    for(int i = 0; i < 1000; i++) ASSERT_EQ(c[i], 0xCC);

    lv_mem_free(a);
    lv_mem_free(c);
    lv_mem_free(b2);
    const lv_mem_monitor_t end = mon();
    EXPECT_EQ(end.free_size, start.free_size);
    EXPECT_EQ(end.free_cnt, 1u); // every hole merged again
    EXPECT_EQ(end.used_cnt, start.used_cnt);
    EXPECT_GE(end.max_used, 5000u);

    // Zero-sized requests give a valid, freeable pointer; NULL frees are ignored.
    void * z = lv_mem_alloc(0);
    EXPECT_NE(z, nullptr);
    lv_mem_free(z);
    lv_mem_free(nullptr);
    void * r = lv_mem_realloc(nullptr, 32);
    EXPECT_NE(r, nullptr);
    lv_mem_free(r);
    EXPECT_EQ(mon().free_size, start.free_size);
}

TEST_F(Pool, ExhaustionReturnsNullAndThePoolStaysUsable)
{
    const lv_mem_monitor_t start = mon();
    EXPECT_EQ(lv_mem_alloc(LV_MEM_SIZE + 1), nullptr);
    std::vector<void *> blocks;
    for(;;) {
        void * p = lv_mem_alloc(64 * 1024);
        if(p == nullptr) break;
        blocks.push_back(p);
        ASSERT_LT(blocks.size(), 1000u);
    }
    EXPECT_GE(blocks.size(), 150u); // about 10 MiB in 64 KiB pieces
    EXPECT_GE(mon().used_pct, 99);
    // Still room for small things, and a failed realloc leaves the block alone.
    void * small = lv_mem_alloc(16);
    EXPECT_NE(small, nullptr);
    EXPECT_EQ(lv_mem_realloc(blocks[0], 2 * 64 * 1024), nullptr);
    lv_mem_free(small);
    for(void * p : blocks) lv_mem_free(p);
    EXPECT_EQ(mon().free_size, start.free_size);
    EXPECT_EQ(mon().free_cnt, 1u);
}

// Re-executing the binary gives each death test a fresh process. A cross
// build under user-mode emulation cannot re-exec an arm64 binary; it asks for
// forking instead through GTEST_DEATH_TEST_STYLE.
class PoolDeathTest : public Pool {
  protected:
    void SetUp() override
    {
        Pool::SetUp();
        if(!getenv("GTEST_DEATH_TEST_STYLE")) GTEST_FLAG_SET(death_test_style, "threadsafe");
    }
};

TEST_F(PoolDeathTest, ObjectsInAFullPoolAbortWithAClearMessage)
{
    EXPECT_DEATH(
        {
            testkit::Display d;
            while(lv_mem_alloc(1024) != nullptr) {
            }
            while(lv_mem_alloc(8) != nullptr) {
            }
            lv_obj_create(lv_scr_act());
        },
        "memory pool exhausted");
}

TEST_F(PoolDeathTest, InvalidAndDoubleFreesAbort)
{
    EXPECT_DEATH(
        {
            void * p = lv_mem_alloc(32);
            lv_mem_free(p);
            lv_mem_free(p);
        },
        "double free");
    static int outside;
    EXPECT_DEATH(lv_mem_free(&outside), "outside the pool");
}

/* A screen like the application's test screen: 3 panels of labels and
 * buttons with captions, a roller, a slider, a line and images (60 widgets). */
lv_obj_t * build_screen(const lv_img_dsc_t * img, const lv_point_t * pts)
{
    lv_obj_t * s = lv_obj_create(nullptr);
    lv_obj_set_size(s, 1280, 800);
    lv_obj_set_scrollbar_mode(s, LV_SCROLLBAR_MODE_OFF);
    int count = 1;
    for(int p = 0; p < 3; p++) {
        lv_obj_t * panel = lv_obj_create(s);
        count++;
        lv_obj_set_pos(panel, static_cast<lv_coord_t>(46 + p * 400), 228);
        lv_obj_set_size(panel, 380, 553);
        lv_obj_set_style_border_width(panel, 4, 0);
        lv_obj_set_style_radius(panel, 35, 0);
        lv_obj_set_style_bg_grad_dir(panel, LV_GRAD_DIR_VER, 0);
        lv_obj_set_style_pad_all(panel, 0, 0);
        for(int i = 0; i < 8; i++) {
            lv_obj_t * l = lv_label_create(panel);
            lv_label_set_text_fmt(l, "Result %d", i);
            lv_label_set_long_mode(l, LV_LABEL_LONG_WRAP);
            lv_obj_set_pos(l, 208, static_cast<lv_coord_t>(25 + i * 60));
            lv_obj_set_size(l, 150, 40);
            lv_obj_set_style_text_letter_space(l, 2, 0);
            lv_obj_t * b = lv_btn_create(panel);
            lv_obj_t * bl = lv_label_create(b);
            lv_label_set_text(bl, "TEST");
            lv_obj_align(bl, LV_ALIGN_CENTER, 0, 0);
            lv_obj_set_style_pad_all(b, 0, 0);
            lv_obj_set_pos(b, 43, static_cast<lv_coord_t>(20 + i * 60));
            lv_obj_set_size(b, 140, 50);
            lv_obj_set_style_bg_img_src(b, img, 0);
            count += 3;
            if(count >= 50) break;
        }
    }
    lv_obj_t * roller = lv_roller_create(s);
    lv_roller_set_options(roller, "Default\nUart\nSPI_M\nSPI_S\nDSI", LV_ROLLER_MODE_INFINITE);
    lv_roller_set_visible_row_count(roller, 3);
    lv_obj_t * slider = lv_slider_create(s);
    lv_obj_set_pos(slider, 300, 20);
    lv_obj_t * line = lv_line_create(s);
    lv_line_set_points(line, pts, 2);
    lv_obj_set_style_line_width(line, 10, 0);
    count += 3;
    while(count < 60) {
        lv_obj_t * im = lv_img_create(s);
        lv_img_set_src(im, img);
        lv_obj_add_flag(im, LV_OBJ_FLAG_CLICKABLE);
        count++;
    }
    lv_obj_update_layout(s);
    return s;
}

class PoolScreens : public Core {};

TEST_F(PoolScreens, BuildingAndDeletingAScreenThousandTimesLeaksNothing)
{
    static uint16_t px[8 * 8];
    static lv_img_dsc_t img;
    img.header.cf = LV_IMG_CF_TRUE_COLOR;
    img.header.w = 8;
    img.header.h = 8;
    img.data_size = sizeof(px);
    img.data = reinterpret_cast<const uint8_t *>(px);
    static const lv_point_t pts[] = {{0, 0}, {1200, 0}};

    // Warm up once (first-use allocations), then measure.
    lv_obj_t * warm = build_screen(&img, pts);
    lv_obj_del(warm);
    kit->advance_ms(100);
    lv_mem_monitor_t start;
    lv_mem_monitor(&start);

    uint32_t children = 0;
    for(int i = 0; i < 1000; i++) {
        lv_obj_t * s = build_screen(&img, pts);
        if(i == 0) {
            // Count every object of the tree once.
            struct C {
                static uint32_t n(lv_obj_t * o)
                {
                    uint32_t k = 1;
                    for(uint32_t j = 0; j < lv_obj_get_child_cnt(o); j++) k += n(lv_obj_get_child(o, static_cast<int32_t>(j)));
                    return k;
                }
            };
            children = C::n(s);
        }
        if(i % 100 == 0) {
            // Show some of them, with a press animating a button.
            lv_obj_t * old = lv_scr_act();
            lv_scr_load(s);
            kit->press(100, 260);
            kit->advance_ms(100);
            kit->release();
            kit->advance_ms(200);
            lv_scr_load(old);
        }
        lv_obj_del(s);
    }
    kit->advance_ms(100);
    EXPECT_GE(children, 60u); // the roller adds its inner parts
    lv_mem_monitor_t end;
    lv_mem_monitor(&end);
    EXPECT_EQ(end.free_size, start.free_size);
    EXPECT_EQ(end.used_cnt, start.used_cnt);
    EXPECT_EQ(end.free_cnt, start.free_cnt);
    EXPECT_LT(end.max_used, 2u * 1024u * 1024u); // one screen is far below the pool size
}

} // namespace
