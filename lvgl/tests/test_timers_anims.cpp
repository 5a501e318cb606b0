// Timers, animations and idling: periods and repeat counts, callbacks that
// delete timers, lv_timer_handler's "time till next" and LV_NO_TIMER_READY
// when idle, animation values, delay, repeat, playback, ready callbacks,
// lv_anim_get with a NULL exec callback, and lv_obj_del_async.
#include "core_fixture.h"

using core_test::Core;

namespace {

void run_ms(uint32_t ms)
{
    for(uint32_t i = 0; i < ms; i++) {
        lv_tick_inc(1);
        lv_timer_handler();
    }
}

class TimersNoDisplay : public ::testing::Test {
protected:
    void SetUp() override { lv_init(); }
    void TearDown() override { lv_deinit(); }
};

TEST_F(TimersNoDisplay, PeriodRepeatCountPauseAndReady)
{
    static int runs;
    runs = 0;
    lv_timer_t * t = lv_timer_create([](lv_timer_t *) { runs++; }, 50, nullptr);
    run_ms(49);
    EXPECT_EQ(runs, 0);
    run_ms(1);
    EXPECT_EQ(runs, 1);
    run_ms(100);
    EXPECT_EQ(runs, 3);
    lv_timer_pause(t);
    run_ms(200);
    EXPECT_EQ(runs, 3);
    lv_timer_resume(t);
    lv_timer_handler();
    EXPECT_EQ(runs, 4); // overdue: runs at the next pass
    lv_timer_ready(t);
    lv_timer_handler();
    EXPECT_EQ(runs, 5);

    static int once;
    once = 0;
    lv_timer_t * t2 = lv_timer_create([](lv_timer_t *) { once++; }, 10, nullptr);
    lv_timer_set_repeat_count(t2, 2);
    run_ms(100);
    EXPECT_EQ(once, 2);
    // t2 deleted itself: only t and the animation timer remain.
    int cnt = 0;
    for(lv_timer_t * i = lv_timer_get_next(nullptr); i; i = lv_timer_get_next(i)) cnt++;
    EXPECT_EQ(cnt, 2);
    lv_timer_del(t);
}

TEST_F(TimersNoDisplay, HandlerReportsTimeTillNextAndNoTimerWhenAllPaused)
{
    lv_timer_t * t = lv_timer_create([](lv_timer_t *) {}, 40, nullptr);
    run_ms(15);
    EXPECT_EQ(lv_timer_handler(), 25u);
    lv_timer_pause(t);
    // Only the (paused) animation timer and `t`: nothing pending.
    EXPECT_EQ(lv_timer_handler(), LV_NO_TIMER_READY);
    lv_timer_del(t);
}

TEST_F(TimersNoDisplay, CallbacksMayDeleteThemselvesAndOthers)
{
    static lv_timer_t * victim;
    static int victim_runs, killer_runs;
    victim_runs = killer_runs = 0;
    victim = lv_timer_create([](lv_timer_t *) { victim_runs++; }, 10, nullptr);
    lv_timer_create(
        [](lv_timer_t * self) {
            killer_runs++;
            lv_timer_del(victim);
            lv_timer_del(self);
        },
        10, nullptr);
    run_ms(50);
    EXPECT_EQ(killer_runs, 1);
    EXPECT_LE(victim_runs, 1);
    int cnt = 0;
    for(lv_timer_t * i = lv_timer_get_next(nullptr); i; i = lv_timer_get_next(i)) cnt++;
    EXPECT_EQ(cnt, 1); // the animation timer
}

struct AnimProbe {
    std::vector<std::pair<uint32_t, int32_t>> values;
    int ready = 0;
    uint32_t t0 = 0;
};
void probe_exec(void * var, int32_t v)
{
    auto * p = static_cast<AnimProbe *>(var);
    p->values.push_back({lv_tick_get() - p->t0, v});
}

void probe_ready(lv_anim_t * a)
{
    auto * p = static_cast<AnimProbe *>(a->var);
    p->ready++;
    // Finished animations are already gone when ready is reported.
    EXPECT_EQ(lv_anim_get(a->var, nullptr), nullptr);
}

TEST_F(TimersNoDisplay, LinearAnimationWithDelayStepsOnTimerTicks)
{
    AnimProbe p;
    p.t0 = lv_tick_get();
    lv_anim_t a;
    lv_anim_init(&a);
    lv_anim_set_var(&a, &p);
    lv_anim_set_exec_cb(&a, probe_exec);
    lv_anim_set_values(&a, 0, 11);
    lv_anim_set_time(&a, 660);
    lv_anim_set_delay(&a, 60);
    lv_anim_set_ready_cb(&a, probe_ready);
    lv_anim_start(&a);
    ASSERT_FALSE(p.values.empty());
    EXPECT_EQ(p.values.front(), (std::pair<uint32_t, int32_t>{0, 0})); // applied at once
    EXPECT_NE(lv_anim_get(&p, nullptr), nullptr);
    EXPECT_NE(lv_anim_get(&p, probe_exec), nullptr);
    EXPECT_EQ(lv_anim_get(&p, [](void *, int32_t) {}), nullptr); // another exec callback
    EXPECT_EQ(lv_anim_count_running(), 1);

    run_ms(1000);
    EXPECT_EQ(p.ready, 1);
    // Ticks every 30 ms from the start; 60 ms delay, then 660 ms: done at 720.
    EXPECT_EQ(p.values.back(), (std::pair<uint32_t, int32_t>{720, 11}));
    // LVGL's 1024-step math: value 1 first 90 ms into the run (60 ms gives 0).
    for(const auto & v : p.values) {
        if(v.second == 1) {
            EXPECT_EQ(v.first, 150u);
            break;
        }
    }
    for(size_t i = 1; i < p.values.size(); i++) EXPECT_GE(p.values[i].second, p.values[i - 1].second);
    EXPECT_EQ(lv_anim_count_running(), 0);
    EXPECT_EQ(lv_timer_handler(), LV_NO_TIMER_READY); // the animation timer paused itself
}

TEST_F(TimersNoDisplay, RepeatAndPlaybackThenReadyOnce)
{
    AnimProbe p;
    p.t0 = lv_tick_get();
    lv_anim_t a;
    lv_anim_init(&a);
    lv_anim_set_var(&a, &p);
    lv_anim_set_exec_cb(&a, probe_exec);
    lv_anim_set_values(&a, 0, 100);
    lv_anim_set_time(&a, 90);
    lv_anim_set_repeat_count(&a, 3);
    lv_anim_set_ready_cb(&a, probe_ready);
    lv_anim_start(&a);
    run_ms(200);
    EXPECT_EQ(p.ready, 0);
    run_ms(200);
    EXPECT_EQ(p.ready, 1);
    int ends = 0;
    for(const auto & v : p.values) ends += v.second == 100;
    EXPECT_EQ(ends, 3);

    AnimProbe q;
    q.t0 = lv_tick_get();
    lv_anim_set_var(&a, &q);
    lv_anim_set_repeat_count(&a, 1);
    lv_anim_set_playback_time(&a, 60);
    lv_anim_start(&a);
    run_ms(400);
    EXPECT_EQ(q.ready, 1);
    EXPECT_EQ(q.values.back().second, 0); // played back to the start
}

TEST_F(TimersNoDisplay, StartingAgainReplacesAndDeleteStops)
{
    AnimProbe p;
    lv_anim_t a;
    lv_anim_init(&a);
    lv_anim_set_var(&a, &p);
    lv_anim_set_exec_cb(&a, probe_exec);
    lv_anim_set_time(&a, 100);
    lv_anim_start(&a);
    lv_anim_start(&a);
    EXPECT_EQ(lv_anim_count_running(), 1);
    EXPECT_TRUE(lv_anim_del(&p, nullptr));
    EXPECT_FALSE(lv_anim_del(&p, nullptr));
    EXPECT_EQ(lv_anim_count_running(), 0);
    EXPECT_EQ(lv_anim_speed_to_time(100, 0, 50), 500u);
}

class Idle : public Core {};

TEST_F(Idle, NoTimerPendingWhenNothingHappens)
{
    kit->advance_ms(100);
    EXPECT_EQ(kit->last_handler_result(), LV_NO_TIMER_READY);
    kit->reset_flush_stats();
    kit->advance_ms(1000);
    EXPECT_EQ(kit->flush_count(), 0u); // nothing invalidated: nothing flushed
    EXPECT_EQ(kit->last_handler_result(), LV_NO_TIMER_READY);

    // An invalidation wakes the refresh, which sleeps again afterwards.
    lv_obj_invalidate(scr);
    EXPECT_EQ(lv_timer_handler(), LV_NO_TIMER_READY); // redrawn in this pass, asleep again
    EXPECT_EQ(kit->flush_count(), 1u);

    // A press keeps the input timer running until it is released and handled.
    lv_obj_t * btn = lv_btn_create(scr);
    lv_obj_set_size(btn, 100, 50);
    kit->advance_ms(40);
    kit->press(10, 10);
    kit->advance_ms(500);
    EXPECT_NE(kit->last_handler_result(), LV_NO_TIMER_READY);
    EXPECT_LE(kit->last_handler_result(), 30u);
    kit->release();
    kit->advance_ms(300); // release read + the button's return transition
    EXPECT_EQ(kit->last_handler_result(), LV_NO_TIMER_READY);
}

TEST_F(Idle, ContinuousChangesFlushEvery30ms)
{
    lv_obj_t * obj = lv_obj_create(scr);
    kit->advance_ms(100);
    kit->reset_flush_stats();
    for(int i = 0; i < 30; i++) {
        lv_obj_set_x(obj, static_cast<lv_coord_t>(i));
        kit->advance_ms(10);
    }
    // 300 ms of changes every 10 ms: one frame per 30 ms period.
    EXPECT_GE(kit->flush_count(), 9u);
    EXPECT_LE(kit->flush_count(), 11u);
}

TEST_F(Idle, DeleteAsyncHappensOnTheNextPass)
{
    lv_obj_t * obj = lv_obj_create(scr);
    lv_obj_del_async(obj);
    EXPECT_TRUE(lv_obj_is_valid(obj));
    lv_timer_handler();
    EXPECT_FALSE(lv_obj_is_valid(obj));
    // Deleting it meanwhile by other means is safe.
    lv_obj_t * obj2 = lv_obj_create(scr);
    lv_obj_del_async(obj2);
    lv_obj_del(obj2);
    lv_timer_handler();
    EXPECT_EQ(lv_obj_get_child_cnt(scr), 0u);
}

} // namespace
