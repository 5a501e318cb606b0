// The Wayland backend below the compositor: pixel conversion, damage,
// buffer ownership and input decoding.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <set>
#include <vector>

#include <xkbcommon/xkbcommon-keysyms.h>
#include <xkbcommon/xkbcommon.h>

#include "wl_shared.h"

namespace {

constexpr int32_t fx(double v) { return static_cast<int32_t>(v * 256.0); }

// ---------------------------------------------------------------------------
// Pixels

TEST(WlPixels, PrimariesAndExtremesWidenToFullIntensity)
{
    EXPECT_EQ(lv_wl_rgb565_to_xrgb8888(0x0000), 0xFF000000u);
    EXPECT_EQ(lv_wl_rgb565_to_xrgb8888(0xFFFF), 0xFFFFFFFFu);
    EXPECT_EQ(lv_wl_rgb565_to_xrgb8888(0xF800), 0xFFFF0000u);
    EXPECT_EQ(lv_wl_rgb565_to_xrgb8888(0x07E0), 0xFF00FF00u);
    EXPECT_EQ(lv_wl_rgb565_to_xrgb8888(0x001F), 0xFF0000FFu);
    // The theme's blue #2196F3 is stored as 0x24BE.
    EXPECT_EQ(lv_wl_rgb565_to_xrgb8888(0x24BE), 0xFF2196F7u);
}

TEST(WlPixels, EveryColourSurvivesTheRoundTrip)
{
    for(uint32_t c = 0; c <= 0xFFFF; c++) {
        uint32_t x = lv_wl_rgb565_to_xrgb8888(static_cast<uint16_t>(c));
        uint32_t r = (x >> 16) & 0xFF, g = (x >> 8) & 0xFF, b = x & 0xFF;
        uint16_t back = static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
        ASSERT_EQ(back, c) << "colour " << c;
        ASSERT_EQ(x >> 24, 0xFFu);
    }
}

struct Image565 {
    int32_t w, h;
    std::vector<uint16_t> px;
    Image565(int32_t w_, int32_t h_) : w(w_), h(h_), px(static_cast<size_t>(w_ * h_))
    {
        for(size_t i = 0; i < px.size(); i++) px[i] = static_cast<uint16_t>(i * 2654435761u >> 16);
    }
    const uint8_t * bytes() const { return reinterpret_cast<const uint8_t *>(px.data()); }
};

TEST(WlPixels, CopyRectWritesOnlyTheRectInBothFormats)
{
    Image565 src(13, 9);
    const lv_wl_rect_t r = {3, 2, 11, 7};
    for(int bpp : {2, 4}) {
        const int32_t stride = 13 * bpp + 4; // padded rows, as a shm buffer may have
        std::vector<uint8_t> dst(static_cast<size_t>(stride * 9), 0xAB);
        lv_wl_copy_rect(dst.data(), stride, bpp, src.bytes(), 13 * 2, &r);
        for(int32_t y = 0; y < 9; y++) {
            for(int32_t x = 0; x < stride / bpp; x++) {
                const uint8_t * p = &dst[static_cast<size_t>(y * stride + x * bpp)];
                bool inside = x >= r.x1 && x < r.x2 && y >= r.y1 && y < r.y2;
                if(!inside) {
                    for(int i = 0; i < bpp; i++) ASSERT_EQ(p[i], 0xAB) << "bpp " << bpp << " at " << x << "," << y;
                    continue;
                }
                uint16_t s = src.px[static_cast<size_t>(y * 13 + x)];
                if(bpp == 2) {
                    uint16_t v;
                    std::memcpy(&v, p, 2);
                    ASSERT_EQ(v, s);
                }
                else {
                    uint32_t v;
                    std::memcpy(&v, p, 4);
                    ASSERT_EQ(v, lv_wl_rgb565_to_xrgb8888(s));
                }
            }
        }
    }
}

TEST(WlPixels, BlitIsClippedToTheImage)
{
    const int32_t w = 8, h = 6;
    std::vector<uint16_t> img(static_cast<size_t>(w * h), 0);
    std::vector<uint16_t> block(5 * 4);
    for(size_t i = 0; i < block.size(); i++) block[i] = static_cast<uint16_t>(100 + i);
    // A 5x4 block at -2,3: its first two columns and last row fall outside.
    lv_wl_blit565(reinterpret_cast<uint8_t *>(img.data()), w * 2, w, h, -2, 3, block.data(), 5, 4);
    for(int32_t y = 0; y < h; y++) {
        for(int32_t x = 0; x < w; x++) {
            int32_t bx = x + 2, by = y - 3;
            uint16_t want = (bx >= 0 && bx < 5 && by >= 0 && by < 4) ? block[static_cast<size_t>(by * 5 + bx)] : 0;
            ASSERT_EQ(img[static_cast<size_t>(y * w + x)], want) << x << "," << y;
        }
    }
    // Entirely outside: nothing written, no fault.
    lv_wl_blit565(reinterpret_cast<uint8_t *>(img.data()), w * 2, w, h, 20, 20, block.data(), 5, 4);
    lv_wl_blit565(reinterpret_cast<uint8_t *>(img.data()), w * 2, w, h, -5, 0, block.data(), 5, 4);
    EXPECT_EQ(img[0], 0);
}

// ---------------------------------------------------------------------------
// Damage

bool covered(const lv_wl_damage_t & d, int32_t x, int32_t y)
{
    for(int i = 0; i < d.n; i++)
        if(x >= d.r[i].x1 && x < d.r[i].x2 && y >= d.r[i].y1 && y < d.r[i].y2) return true;
    return false;
}

TEST(WlDamage, ContainedRectsAreDroppedAndCoveringOnesReplace)
{
    lv_wl_damage_t d;
    lv_wl_damage_clear(&d);
    lv_wl_damage_add(&d, {10, 10, 20, 20}, 100, 100);
    lv_wl_damage_add(&d, {12, 12, 15, 15}, 100, 100); // inside the first
    EXPECT_EQ(d.n, 1);
    lv_wl_damage_add(&d, {50, 50, 60, 60}, 100, 100);
    EXPECT_EQ(d.n, 2);
    lv_wl_damage_add(&d, {0, 0, 30, 30}, 100, 100); // covers the first
    ASSERT_EQ(d.n, 2);
    EXPECT_EQ(lv_wl_damage_area(&d), 30 * 30 + 10 * 10);
}

TEST(WlDamage, RectsAreClippedAndEmptyOnesIgnored)
{
    lv_wl_damage_t d;
    lv_wl_damage_clear(&d);
    lv_wl_damage_add(&d, {-5, -5, 10, 10}, 100, 50);
    lv_wl_damage_add(&d, {90, 40, 120, 80}, 100, 50);
    lv_wl_damage_add(&d, {200, 0, 300, 10}, 100, 50); // outside
    lv_wl_damage_add(&d, {5, 5, 5, 9}, 100, 50);      // zero width
    ASSERT_EQ(d.n, 2);
    EXPECT_EQ(d.r[0].x1, 0);
    EXPECT_EQ(d.r[0].y1, 0);
    EXPECT_EQ(d.r[1].x2, 100);
    EXPECT_EQ(d.r[1].y2, 50);
    lv_wl_damage_set_full(&d, 100, 50);
    ASSERT_EQ(d.n, 1);
    EXPECT_EQ(lv_wl_damage_area(&d), 5000);
    lv_wl_damage_clear(&d);
    EXPECT_TRUE(lv_wl_damage_is_empty(&d));
}

TEST(WlDamage, OverflowMergesNeighboursAndKeepsEveryPixelCovered)
{
    lv_wl_damage_t d;
    lv_wl_damage_clear(&d);
    // Eight far-apart 10x10 squares fill the list; a ninth right next to the
    // first must be merged with it, not with a distant one.
    for(int i = 0; i < LV_WL_DAMAGE_MAX; i++) lv_wl_damage_add(&d, {i * 100, 0, i * 100 + 10, 10}, 1000, 1000);
    ASSERT_EQ(d.n, LV_WL_DAMAGE_MAX);
    lv_wl_damage_add(&d, {10, 0, 20, 10}, 1000, 1000);
    EXPECT_EQ(d.n, LV_WL_DAMAGE_MAX);
    EXPECT_EQ(lv_wl_damage_area(&d), 9 * 100);

    // A bar that wraps from the right edge to the left: the overlapping
    // steps on the right are joined with each other, not with the far one.
    lv_wl_damage_t bar;
    lv_wl_damage_clear(&bar);
    for(int32_t x = 1218; x <= 1260; x += 7) lv_wl_damage_add(&bar, {x, 0, x + 16, 800}, 1280, 800);
    lv_wl_damage_add(&bar, {1263, 0, 1279, 800}, 1280, 800);
    lv_wl_damage_add(&bar, {3, 0, 19, 800}, 1280, 800);
    ASSERT_LE(bar.n, LV_WL_DAMAGE_MAX);
    for(int i = 0; i < bar.n; i++) EXPECT_LE(bar.r[i].x2 - bar.r[i].x1, 100) << "joined across the window";
    EXPECT_TRUE(covered(bar, 3, 0));
    EXPECT_TRUE(covered(bar, 1278, 799));

    // Random rectangles: whatever is merged, nothing added is ever lost.
    std::mt19937 rng(7);
    std::uniform_int_distribution<int32_t> pos(-20, 200), len(1, 60);
    lv_wl_damage_t r;
    lv_wl_damage_clear(&r);
    std::vector<lv_wl_rect_t> added;
    for(int i = 0; i < 200; i++) {
        int32_t x = pos(rng), y = pos(rng);
        lv_wl_rect_t a = {x, y, x + len(rng), y + len(rng)};
        added.push_back(a);
        lv_wl_damage_add(&r, a, 180, 170);
        ASSERT_LE(r.n, LV_WL_DAMAGE_MAX);
    }
    for(const auto & a : added)
        for(int32_t y = std::max(a.y1, 0); y < std::min(a.y2, 170); y++)
            for(int32_t x = std::max(a.x1, 0); x < std::min(a.x2, 180); x++)
                ASSERT_TRUE(covered(r, x, y)) << x << "," << y;
    for(int i = 0; i < r.n; i++) {
        EXPECT_GE(r.r[i].x1, 0);
        EXPECT_LE(r.r[i].x2, 180);
        EXPECT_GE(r.r[i].y1, 0);
        EXPECT_LE(r.r[i].y2, 170);
    }
}

TEST(WlDamage, AddAllJoinsTwoLists)
{
    lv_wl_damage_t a, b;
    lv_wl_damage_clear(&a);
    lv_wl_damage_clear(&b);
    lv_wl_damage_add(&a, {0, 0, 10, 10}, 100, 100);
    lv_wl_damage_add(&b, {5, 5, 8, 8}, 100, 100);
    lv_wl_damage_add(&b, {20, 20, 30, 30}, 100, 100);
    lv_wl_damage_add_all(&a, &b, 100, 100);
    EXPECT_EQ(a.n, 2);
    EXPECT_EQ(lv_wl_damage_area(&a), 200);
}

// ---------------------------------------------------------------------------
// Buffer pool

struct FakeBuffers {
    int created = 0;
    bool fail = false;
    std::set<int *> live;
    std::vector<std::pair<int32_t, int32_t>> sizes;

    static void * create(void * ctx, int32_t w, int32_t h)
    {
        auto * self = static_cast<FakeBuffers *>(ctx);
        if(self->fail) return nullptr;
        auto * b = new int(++self->created);
        self->live.insert(b);
        self->sizes.emplace_back(w, h);
        return b;
    }
    static void destroy(void * ctx, void * handle)
    {
        auto * self = static_cast<FakeBuffers *>(ctx);
        auto * b = static_cast<int *>(handle);
        EXPECT_EQ(self->live.erase(b), 1u) << "destroyed twice or never made";
        delete b;
    }
};

class WlPool : public ::testing::Test {
protected:
    FakeBuffers fb;
    lv_wl_pool_t pool;
    void SetUp() override
    {
        lv_wl_pool_ops_t ops = {FakeBuffers::create, FakeBuffers::destroy, &fb};
        lv_wl_pool_init(&pool, &ops, 64, 32);
    }
    void TearDown() override
    {
        lv_wl_pool_destroy(&pool);
        EXPECT_TRUE(fb.live.empty());
    }
};

TEST_F(WlPool, NeverHandsOutABufferTheCompositorHolds)
{
    std::set<void *> held;
    for(int i = 0; i < LV_WL_POOL_SLOTS; i++) {
        lv_wl_slot_t * s = lv_wl_pool_acquire(&pool);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(held.count(s->handle), 0u);
        lv_wl_pool_submit(&pool, s);
        held.insert(s->handle);
    }
    EXPECT_EQ(fb.created, LV_WL_POOL_SLOTS);
    EXPECT_EQ(lv_wl_pool_busy_count(&pool), LV_WL_POOL_SLOTS);
    EXPECT_EQ(lv_wl_pool_acquire(&pool), nullptr);
    EXPECT_EQ(fb.created, LV_WL_POOL_SLOTS) << "a fourth buffer was made";

    void * back = *held.begin();
    lv_wl_pool_release(&pool, back);
    lv_wl_slot_t * s = lv_wl_pool_acquire(&pool);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->handle, back);
    EXPECT_FALSE(s->busy);
}

TEST_F(WlPool, AnIdleBufferIsReusedBeforeANewOneIsMade)
{
    lv_wl_slot_t * a = lv_wl_pool_acquire(&pool);
    ASSERT_NE(a, nullptr);
    lv_wl_slot_t * again = lv_wl_pool_acquire(&pool); // not submitted: still ours
    EXPECT_EQ(again, a);
    EXPECT_EQ(fb.created, 1);
}

TEST_F(WlPool, NewBuffersLackEverythingAndDamageReachesAll)
{
    lv_wl_slot_t * a = lv_wl_pool_acquire(&pool);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(lv_wl_damage_area(&a->missing), 64 * 32);
    lv_wl_damage_clear(&a->missing); // brought up to date
    lv_wl_pool_submit(&pool, a);
    lv_wl_slot_t * b = lv_wl_pool_acquire(&pool);
    ASSERT_NE(b, nullptr);
    lv_wl_damage_clear(&b->missing);
    lv_wl_pool_submit(&pool, b);

    lv_wl_rect_t r = {4, 4, 8, 8};
    lv_wl_pool_damage(&pool, &r);
    EXPECT_EQ(lv_wl_damage_area(&a->missing), 16);
    EXPECT_EQ(lv_wl_damage_area(&b->missing), 16);

    // Of two idle buffers the one lacking least is preferred.
    lv_wl_rect_t more = {0, 0, 30, 30};
    lv_wl_damage_add(&a->missing, more, 64, 32);
    lv_wl_pool_release(&pool, a->handle);
    lv_wl_pool_release(&pool, b->handle);
    EXPECT_EQ(lv_wl_pool_acquire(&pool), b);
}

TEST_F(WlPool, ResizeDropsIdleBuffersAtOnceAndHeldOnesOnRelease)
{
    lv_wl_slot_t * idle = lv_wl_pool_acquire(&pool);
    ASSERT_NE(idle, nullptr);
    lv_wl_pool_submit(&pool, idle);
    lv_wl_slot_t * held = lv_wl_pool_acquire(&pool);
    ASSERT_NE(held, nullptr);
    lv_wl_pool_submit(&pool, held);
    void * held_handle = held->handle;
    lv_wl_pool_release(&pool, idle->handle);
    ASSERT_EQ(fb.live.size(), 2u);

    lv_wl_pool_resize(&pool, 100, 50);
    EXPECT_EQ(fb.live.size(), 1u) << "the idle old-size buffer should be gone";
    EXPECT_EQ(fb.live.count(static_cast<int *>(held_handle)), 1u) << "the compositor still reads the held one";

    // The old held buffer is never handed out; new ones have the new size.
    for(int i = 0; i < LV_WL_POOL_SLOTS - 1; i++) {
        lv_wl_slot_t * s = lv_wl_pool_acquire(&pool);
        ASSERT_NE(s, nullptr);
        EXPECT_NE(s->handle, held_handle);
        EXPECT_EQ(s->w, 100);
        EXPECT_EQ(s->h, 50);
        lv_wl_pool_submit(&pool, s);
    }
    EXPECT_EQ(lv_wl_pool_acquire(&pool), nullptr);
    lv_wl_pool_release(&pool, held_handle);
    EXPECT_EQ(fb.live.count(static_cast<int *>(held_handle)), 0u);
    lv_wl_slot_t * s = lv_wl_pool_acquire(&pool); // the freed slot, refilled
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(fb.sizes.back(), std::make_pair(100, 50));
}

TEST_F(WlPool, FailedCreationYieldsNothingAndCanRecover)
{
    fb.fail = true;
    EXPECT_EQ(lv_wl_pool_acquire(&pool), nullptr);
    fb.fail = false;
    EXPECT_NE(lv_wl_pool_acquire(&pool), nullptr);
    // A release of something the pool does not know is ignored.
    int stranger = 0;
    lv_wl_pool_release(&pool, &stranger);
    lv_wl_pool_release(&pool, nullptr);
}

// ---------------------------------------------------------------------------
// Pointer and touch decoding

lv_indev_data_t read(lv_wl_ptr_t & p)
{
    lv_indev_data_t d;
    std::memset(&d, 0, sizeof(d));
    lv_wl_ptr_read(&p, &d);
    return d;
}

TEST(WlPointer, ATapBetweenTwoReadsIsReportedAsPressThenRelease)
{
    lv_wl_ptr_t p;
    lv_wl_ptr_init(&p, 1280, 800);
    lv_wl_ptr_motion(&p, fx(100.5), fx(200.75));
    lv_wl_ptr_button(&p, true);
    lv_wl_ptr_motion(&p, fx(110), fx(210));
    lv_wl_ptr_button(&p, false);

    lv_indev_data_t d = read(p);
    EXPECT_EQ(d.state, LV_INDEV_STATE_PRESSED);
    EXPECT_EQ(d.point.x, 100);
    EXPECT_EQ(d.point.y, 200);
    EXPECT_TRUE(d.continue_reading);
    d = read(p);
    EXPECT_EQ(d.state, LV_INDEV_STATE_RELEASED);
    EXPECT_EQ(d.point.x, 110);
    EXPECT_EQ(d.point.y, 210);
    EXPECT_FALSE(d.continue_reading);
    d = read(p); // nothing new: the latest state again
    EXPECT_EQ(d.state, LV_INDEV_STATE_RELEASED);
    EXPECT_EQ(d.point.x, 110);
    EXPECT_FALSE(d.continue_reading);
}

TEST(WlPointer, MotionAfterAPressAsksForAnotherRead)
{
    lv_wl_ptr_t p;
    lv_wl_ptr_init(&p, 1280, 800);
    lv_wl_ptr_motion(&p, fx(10), fx(10));
    lv_wl_ptr_button(&p, true);
    lv_wl_ptr_motion(&p, fx(40), fx(50));
    lv_indev_data_t d = read(p);
    EXPECT_EQ(d.state, LV_INDEV_STATE_PRESSED);
    EXPECT_EQ(d.point.x, 10);
    EXPECT_TRUE(d.continue_reading);
    d = read(p);
    EXPECT_EQ(d.state, LV_INDEV_STATE_PRESSED);
    EXPECT_EQ(d.point.x, 40);
    EXPECT_EQ(d.point.y, 50);
    EXPECT_FALSE(d.continue_reading);
}

TEST(WlPointer, PositionsAreClampedIntoTheSurface)
{
    lv_wl_ptr_t p;
    lv_wl_ptr_init(&p, 1280, 800);
    lv_wl_ptr_motion(&p, fx(-0.5), fx(-30));
    lv_indev_data_t d = read(p);
    EXPECT_EQ(d.point.x, 0);
    EXPECT_EQ(d.point.y, 0);
    lv_wl_ptr_motion(&p, fx(1280), fx(5000));
    d = read(p);
    EXPECT_EQ(d.point.x, 1279);
    EXPECT_EQ(d.point.y, 799);
    lv_wl_ptr_set_size(&p, 640, 400); // the window shrank
    d = read(p);
    EXPECT_EQ(d.point.x, 639);
    EXPECT_EQ(d.point.y, 399);
}

TEST(WlPointer, LeavingWhilePressedReleases)
{
    lv_wl_ptr_t p;
    lv_wl_ptr_init(&p, 100, 100);
    lv_wl_ptr_motion(&p, fx(5), fx(5));
    lv_wl_ptr_button(&p, true);
    EXPECT_EQ(read(p).state, LV_INDEV_STATE_PRESSED);
    lv_wl_ptr_leave(&p);
    EXPECT_EQ(read(p).state, LV_INDEV_STATE_RELEASED);
    lv_wl_ptr_leave(&p); // not pressed: nothing queued
    EXPECT_EQ(p.count, 0);
    lv_wl_ptr_button(&p, false); // a release without press adds nothing either
    EXPECT_EQ(p.count, 0);
}

TEST(WlPointer, AFloodOfUnreadClicksEndsInTheLatestState)
{
    lv_wl_ptr_t p;
    lv_wl_ptr_init(&p, 100, 100);
    for(int i = 0; i < 3 * LV_WL_PTR_QUEUE + 1; i++) lv_wl_ptr_button(&p, i % 2 == 0);
    // 49 changes, the last a press.
    int reads = 0;
    lv_indev_data_t d;
    do {
        d = read(p);
        reads++;
    } while(d.continue_reading && reads < 100);
    EXPECT_LE(reads, LV_WL_PTR_QUEUE);
    EXPECT_EQ(d.state, LV_INDEV_STATE_PRESSED);
}

TEST(WlTouch, OneFingerDrivesTheDeviceOthersAreIgnored)
{
    lv_wl_ptr_t t;
    lv_wl_ptr_init(&t, 1280, 800);
    lv_wl_touch_down(&t, 7, fx(300), fx(400));
    lv_wl_touch_down(&t, 8, fx(900), fx(100)); // second finger
    lv_wl_touch_motion(&t, 8, fx(950), fx(150));
    lv_indev_data_t d = read(t);
    EXPECT_EQ(d.state, LV_INDEV_STATE_PRESSED);
    EXPECT_EQ(d.point.x, 300);
    EXPECT_EQ(d.point.y, 400);
    EXPECT_FALSE(d.continue_reading);

    lv_wl_touch_motion(&t, 7, fx(310), fx(420));
    lv_wl_touch_up(&t, 8); // the other finger lifts: still pressed
    d = read(t);
    EXPECT_EQ(d.state, LV_INDEV_STATE_PRESSED);
    EXPECT_EQ(d.point.x, 310);
    EXPECT_EQ(d.point.y, 420);

    lv_wl_touch_up(&t, 7);
    d = read(t);
    EXPECT_EQ(d.state, LV_INDEV_STATE_RELEASED);
    EXPECT_EQ(d.point.x, 310);

    // After the first finger lifts, a new one takes over.
    lv_wl_touch_down(&t, 8, fx(5), fx(6));
    d = read(t);
    EXPECT_EQ(d.state, LV_INDEV_STATE_PRESSED);
    EXPECT_EQ(d.point.x, 5);
}

TEST(WlTouch, AQuickTapAndACancelAreBothSeen)
{
    lv_wl_ptr_t t;
    lv_wl_ptr_init(&t, 1280, 800);
    lv_wl_touch_down(&t, 1, fx(50), fx(60));
    lv_wl_touch_up(&t, 1);
    EXPECT_EQ(read(t).state, LV_INDEV_STATE_PRESSED);
    lv_indev_data_t d = read(t);
    EXPECT_EQ(d.state, LV_INDEV_STATE_RELEASED);
    EXPECT_EQ(d.point.x, 50);
    EXPECT_EQ(d.point.y, 60);

    lv_wl_touch_down(&t, 2, fx(70), fx(80));
    lv_wl_touch_cancel(&t);
    EXPECT_EQ(read(t).state, LV_INDEV_STATE_PRESSED);
    EXPECT_EQ(read(t).state, LV_INDEV_STATE_RELEASED);
    EXPECT_FALSE(t.touch_active);
    lv_wl_touch_up(&t, 2); // late up after the cancel: nothing
    EXPECT_EQ(t.count, 0);
}

// ---------------------------------------------------------------------------
// Keyboard and wheel

TEST(WlKeyboard, KeysAreReportedInOrderAndFocusLossReleases)
{
    lv_wl_kbd_t k;
    lv_wl_kbd_init(&k);
    lv_wl_kbd_key(&k, 'a', true);
    lv_wl_kbd_key(&k, 'a', false);
    lv_wl_kbd_key(&k, 10, true);
    lv_indev_data_t d;
    std::memset(&d, 0, sizeof(d));
    std::vector<std::pair<uint32_t, int>> seen;
    do {
        lv_wl_kbd_read(&k, &d);
        seen.emplace_back(d.key, d.state);
    } while(d.continue_reading);
    std::vector<std::pair<uint32_t, int>> want = {
        {'a', LV_INDEV_STATE_PRESSED}, {'a', LV_INDEV_STATE_RELEASED}, {10, LV_INDEV_STATE_PRESSED}};
    EXPECT_EQ(seen, want);

    lv_wl_kbd_leave(&k); // Enter still held
    lv_wl_kbd_read(&k, &d);
    EXPECT_EQ(d.key, 10u);
    EXPECT_EQ(d.state, LV_INDEV_STATE_RELEASED);
    lv_wl_kbd_leave(&k);
    EXPECT_EQ(k.count, 0);
}

TEST(WlKeyboard, KeysymsMapToLvglKeysOrText)
{
    EXPECT_EQ(lv_wl_keysym_to_lv_key(XKB_KEY_Return, '\r'), 10u);
    EXPECT_EQ(lv_wl_keysym_to_lv_key(XKB_KEY_Escape, 0x1B), 27u);
    EXPECT_EQ(lv_wl_keysym_to_lv_key(XKB_KEY_BackSpace, 8), 8u);
    EXPECT_EQ(lv_wl_keysym_to_lv_key(XKB_KEY_Left, 0), 20u);
    EXPECT_EQ(lv_wl_keysym_to_lv_key(XKB_KEY_ISO_Left_Tab, 0), 11u);
    EXPECT_EQ(lv_wl_keysym_to_lv_key(XKB_KEY_eacute, 0xE9), 0xE9u);
    EXPECT_EQ(lv_wl_keysym_to_lv_key(XKB_KEY_Shift_L, 0), 0u);
    EXPECT_EQ(lv_wl_keysym_to_lv_key(XKB_KEY_a, 1), 0u) << "control characters carry no text";
}

// The real decoding path as the backend drives it: a compositor keymap,
// modifier state, keysym and text.
TEST(WlKeyboard, AnUsKeymapGivesShiftedTextAndControlKeys)
{
    xkb_context * ctx = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    ASSERT_NE(ctx, nullptr);
    xkb_rule_names names = {"evdev", "pc105", "us", "", ""};
    xkb_keymap * km = xkb_keymap_new_from_names(ctx, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if(!km) {
        xkb_context_unref(ctx);
        GTEST_SKIP() << "no xkb data on this machine";
    }
    xkb_state * st = xkb_state_new(km);
    auto key = [&](uint32_t evdev) {
        xkb_keycode_t c = evdev + 8;
        return lv_wl_keysym_to_lv_key(xkb_state_key_get_one_sym(st, c), xkb_state_key_get_utf32(st, c));
    };
    const uint32_t KEY_A = 30, KEY_ENTER = 28, KEY_LEFTSHIFT = 42, KEY_UP = 103, KEY_1 = 2;
    EXPECT_EQ(key(KEY_A), static_cast<uint32_t>('a'));
    EXPECT_EQ(key(KEY_1), static_cast<uint32_t>('1'));
    EXPECT_EQ(key(KEY_ENTER), 10u);
    EXPECT_EQ(key(KEY_UP), 17u);
    xkb_state_update_key(st, KEY_LEFTSHIFT + 8, XKB_KEY_DOWN);
    EXPECT_EQ(key(KEY_A), static_cast<uint32_t>('A'));
    EXPECT_EQ(key(KEY_1), static_cast<uint32_t>('!'));
    xkb_state_unref(st);
    xkb_keymap_unref(km);
    xkb_context_unref(ctx);
}

TEST(WlAxis, DiscreteStepsWinOverTheValueOfTheSameFrame)
{
    lv_wl_axis_t a;
    lv_wl_axis_init(&a);
    lv_indev_data_t d;
    std::memset(&d, 0, sizeof(d));
    // A wheel notch down as sway sends it: discrete 1 with value 15, then frame.
    lv_wl_axis_discrete(&a, 1);
    lv_wl_axis_value(&a, fx(15));
    lv_wl_axis_frame(&a);
    lv_wl_axis_discrete(&a, -1);
    lv_wl_axis_value(&a, fx(-15));
    lv_wl_axis_frame(&a);
    lv_wl_axis_discrete(&a, -1);
    lv_wl_axis_value(&a, fx(-15));
    lv_wl_axis_frame(&a);
    lv_wl_axis_read(&a, &d);
    EXPECT_EQ(d.enc_diff, -1);
    lv_wl_axis_read(&a, &d);
    EXPECT_EQ(d.enc_diff, 0) << "steps are reported once";
}

TEST(WlAxis, ContinuousScrollBecomesStepsKeepingTheRest)
{
    lv_wl_axis_t a;
    lv_wl_axis_init(&a);
    lv_indev_data_t d;
    std::memset(&d, 0, sizeof(d));
    for(int i = 0; i < 5; i++) {
        lv_wl_axis_value(&a, fx(4)); // 20 units: two steps
        lv_wl_axis_frame(&a);
    }
    lv_wl_axis_read(&a, &d);
    EXPECT_EQ(d.enc_diff, 2);
    lv_wl_axis_value(&a, fx(-25)); // two steps back, 5 units kept
    lv_wl_axis_read(&a, &d);
    EXPECT_EQ(d.enc_diff, -2);
    a.pressed = true;
    lv_wl_axis_read(&a, &d);
    EXPECT_EQ(d.state, LV_INDEV_STATE_PRESSED);
}

} // namespace
