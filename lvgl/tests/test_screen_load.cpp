// Screen loading: lv_scr_load, and lv_scr_load_anim with ANIM_NONE
// following LVGL 8.3's timeline tick by tick (events, active/previous
// screen, scr_to_load, auto-delete and the first frame showing the new screen).
#include "core_fixture.h"

using core_test::Core;

namespace {

struct LoadEvent {
    uint32_t t;
    lv_event_code_t code;
    lv_obj_t * target;
    lv_obj_t * act;
    lv_obj_t * prev;
    lv_obj_t * to_load;
};

struct LoadLog {
    std::vector<LoadEvent> events;
    uint32_t t0 = 0;
    static void cb(lv_event_t * e)
    {
        const lv_event_code_t c = lv_event_get_code(e);
        if(c < LV_EVENT_SCREEN_UNLOAD_START && c != LV_EVENT_DELETE) return;
        if(c > LV_EVENT_SCREEN_UNLOADED) return;
        auto * self = static_cast<LoadLog *>(lv_event_get_user_data(e));
        lv_disp_t * d = lv_disp_get_default();
        self->events.push_back(
            {lv_tick_get() - self->t0, c, lv_event_get_target(e), d->act_scr, d->prev_scr, d->scr_to_load});
    }
};

class ScreenLoad : public Core {
protected:
    LoadLog log;

    lv_obj_t * make_screen(uint32_t color)
    {
        lv_obj_t * s = lv_obj_create(nullptr);
        lv_obj_set_style_bg_color(s, lv_color_hex(color), 0);
        lv_obj_add_event_cb(s, LoadLog::cb, LV_EVENT_ALL, &log);
        return s;
    }
    /** Step the clock 1 ms at a time, as the reference measurement did. */
    void step_1ms_until(uint32_t t_rel)
    {
        while(lv_tick_get() - log.t0 < t_rel) {
            lv_tick_inc(1);
            lv_timer_handler();
        }
    }
};

TEST_F(ScreenLoad, ScrLoadIsImmediateAndSendsLoaded)
{
    lv_obj_t * s1 = make_screen(0xFF0000);
    log.t0 = lv_tick_get();
    lv_scr_load(s1);
    EXPECT_EQ(lv_scr_act(), s1);
    ASSERT_FALSE(log.events.empty());
    bool loaded = false;
    for(const LoadEvent & e : log.events) loaded = loaded || (e.code == LV_EVENT_SCREEN_LOADED && e.target == s1);
    EXPECT_TRUE(loaded);
    EXPECT_EQ(lv_disp_get_default()->prev_scr, nullptr);
    // As in LVGL, an immediate load leaves scr_to_load on the loaded (active) screen.
    EXPECT_EQ(lv_disp_get_default()->scr_to_load, s1);
    kit->advance_ms(40);
    EXPECT_EQ(kit->pixel(640, 400), lv_color_to16(lv_color_hex(0xFF0000)));
}

TEST_F(ScreenLoad, AnimNoneTimelineMatchesLvgl)
{
    lv_obj_t * s1 = make_screen(0xFF0000);
    lv_scr_load(s1);
    kit->advance_ms(100); // drawn and idle
    ASSERT_EQ(kit->pixel(640, 400), lv_color_to16(lv_color_hex(0xFF0000)));
    lv_obj_t * s2 = make_screen(0x00FF00);
    lv_obj_t * child = lv_obj_create(s1); // deleted with S1
    EXPECT_NE(child, nullptr);
    log.events.clear();
    lv_disp_t * d = lv_disp_get_default();

    log.t0 = lv_tick_get();
    lv_scr_load_anim(s2, LV_SCR_LOAD_ANIM_NONE, 200, 200, true);

    ASSERT_EQ(log.events.size(), 1u);
    EXPECT_EQ(log.events[0].code, LV_EVENT_SCREEN_UNLOAD_START);
    EXPECT_EQ(log.events[0].target, s1);
    EXPECT_EQ(log.events[0].t, 0u);
    EXPECT_EQ(d->act_scr, s1);
    EXPECT_EQ(d->prev_scr, nullptr);
    EXPECT_EQ(d->scr_to_load, s2);

    step_1ms_until(210);
    EXPECT_EQ(d->act_scr, s1);
    step_1ms_until(211);
    ASSERT_EQ(log.events.size(), 2u);
    EXPECT_EQ(log.events[1].code, LV_EVENT_SCREEN_LOAD_START);
    EXPECT_EQ(log.events[1].target, s2);
    EXPECT_EQ(log.events[1].t, 211u);
    EXPECT_EQ(d->act_scr, s2);
    EXPECT_EQ(d->prev_scr, s1);
    EXPECT_EQ(d->scr_to_load, s2);

    // Nothing invalidated S2 yet: the display still shows S1.
    step_1ms_until(420);
    EXPECT_EQ(kit->pixel(640, 400), lv_color_to16(lv_color_hex(0xFF0000)));
    ASSERT_EQ(log.events.size(), 2u);

    step_1ms_until(421);
    ASSERT_EQ(log.events.size(), 5u);
    const lv_event_code_t order[] = {LV_EVENT_SCREEN_LOADED, LV_EVENT_SCREEN_UNLOADED, LV_EVENT_DELETE};
    lv_obj_t * targets[] = {s2, s1, s1};
    for(int i = 0; i < 3; i++) {
        const LoadEvent & e = log.events[2 + i];
        EXPECT_EQ(e.code, order[i]) << i;
        EXPECT_EQ(e.target, targets[i]) << i;
        EXPECT_EQ(e.t, 421u) << i;
        EXPECT_EQ(e.act, s2) << i;
        EXPECT_EQ(e.prev, s1) << i;     // still set during the events
        EXPECT_EQ(e.to_load, s2) << i;
    }
    EXPECT_EQ(d->prev_scr, nullptr);
    EXPECT_EQ(d->scr_to_load, nullptr);
    EXPECT_EQ(d->act_scr, s2);
    EXPECT_FALSE(lv_obj_is_valid(s1));
    EXPECT_EQ(kit->pixel(640, 400), lv_color_to16(lv_color_hex(0xFF0000)));

    step_1ms_until(422); // first frame of S2
    EXPECT_EQ(kit->pixel(640, 400), lv_color_to16(lv_color_hex(0x00FF00)));
    EXPECT_EQ(lv_anim_count_running(), 0);
}

TEST_F(ScreenLoad, LoadFromAClickHandlerRunsOnTheAnimationTicksOfThatPass)
{
    lv_obj_t * s1 = make_screen(0xFF0000);
    lv_scr_load(s1);
    lv_obj_t * btn = lv_btn_create(s1);
    lv_obj_set_pos(btn, 100, 100);
    lv_obj_set_size(btn, 200, 80);
    static lv_obj_t * target;
    target = make_screen(0x0000FF);
    lv_obj_add_event_cb(
        btn,
        [](lv_event_t * e) {
            if(lv_event_get_code(e) != LV_EVENT_CLICKED) return;
            lv_scr_load_anim(target, LV_SCR_LOAD_ANIM_NONE, 200, 100, false);
        },
        LV_EVENT_ALL, nullptr);
    log.t0 = t0;
    log.events.clear();

    advance_to(100);
    kit->press(150, 130);
    advance_to(300);
    kit->release(); // seen at 330
    advance_to(800);
    std::vector<std::pair<lv_event_code_t, uint32_t>> seen;
    for(const LoadEvent & e : log.events) seen.push_back({e.code, e.t});
    const std::vector<std::pair<lv_event_code_t, uint32_t>> expected = {
        {LV_EVENT_SCREEN_UNLOAD_START, 330}, {LV_EVENT_SCREEN_LOAD_START, 450},
        {LV_EVENT_SCREEN_LOADED, 630},       {LV_EVENT_SCREEN_UNLOADED, 630}};
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(lv_obj_is_valid(s1)); // auto_del false: kept
    EXPECT_EQ(lv_scr_act(), target);
    EXPECT_EQ(kit->pixel(640, 400), lv_color_to16(lv_color_hex(0x0000FF)));
}

TEST_F(ScreenLoad, SecondLoadDuringAnimationFinishesTheFirstAtOnce)
{
    lv_obj_t * s1 = make_screen(0xFF0000);
    lv_scr_load(s1);
    lv_obj_t * s2 = make_screen(0x00FF00);
    lv_obj_t * s3 = make_screen(0x0000FF);
    lv_scr_load_anim(s2, LV_SCR_LOAD_ANIM_NONE, 200, 200, true);
    kit->advance_ms(50);
    lv_scr_load_anim(s3, LV_SCR_LOAD_ANIM_NONE, 200, 200, true);
    // S2 became active at once and S1 (auto-deleted) is gone.
    EXPECT_FALSE(lv_obj_is_valid(s1));
    EXPECT_EQ(lv_scr_act(), s2);
    EXPECT_EQ(lv_disp_get_default()->scr_to_load, s3);
    kit->advance_ms(500);
    EXPECT_EQ(lv_scr_act(), s3);
    EXPECT_FALSE(lv_obj_is_valid(s2));
    EXPECT_EQ(lv_disp_get_default()->scr_to_load, nullptr);
}

TEST_F(ScreenLoad, DeletingTheActiveScreenLeavesNoDanglingPointer)
{
    lv_obj_t * s1 = make_screen(0xFF0000);
    lv_scr_load(s1);
    lv_obj_del(s1);
    EXPECT_EQ(lv_scr_act(), nullptr);
    kit->advance_ms(100); // refreshing without an active screen is harmless
    lv_obj_t * s2 = make_screen(0x00FF00);
    lv_scr_load(s2);
    kit->advance_ms(40);
    EXPECT_EQ(kit->pixel(0, 0), lv_color_to16(lv_color_hex(0x00FF00)));
}

} // namespace
