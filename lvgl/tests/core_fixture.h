// Fixture for the core tests: a fresh library with the headless test kit
// display (1280 x 800, pointer) for every test, shut down afterwards.
#ifndef CORE_FIXTURE_H
#define CORE_FIXTURE_H

#include "lvgl.h"
#include "testkit.h"

#include <gtest/gtest.h>

#include <list>
#include <memory>
#include <vector>

namespace core_test {

struct EventRecorder;


/** Records (time, code, target) of the events a callback sees. */
struct Rec {
    uint32_t t;
    lv_event_code_t code;
    lv_obj_t * target;
};

struct EventRecorder {
    std::vector<Rec> events;
    uint32_t t0 = 0;
    static void cb(lv_event_t * e)
    {
        auto * self = static_cast<EventRecorder *>(lv_event_get_user_data(e));
        self->events.push_back({lv_tick_get() - self->t0, lv_event_get_code(e), lv_event_get_target(e)});
    }
    void watch(lv_obj_t * obj) { lv_obj_add_event_cb(obj, cb, LV_EVENT_ALL, this); }
    /** The codes seen, without drawing/style/layout noise. */
    std::vector<lv_event_code_t> input_codes() const
    {
        std::vector<lv_event_code_t> out;
        for(const Rec & r : events)
            if(r.code != LV_EVENT_PRESSING && r.code < LV_EVENT_HIT_TEST) out.push_back(r.code);
        return out;
    }
    const Rec * first(lv_event_code_t c) const
    {
        for(const Rec & r : events)
            if(r.code == c) return &r;
        return nullptr;
    }
    int count(lv_event_code_t c) const
    {
        int n = 0;
        for(const Rec & r : events) n += r.code == c;
        return n;
    }
};

class Core : public ::testing::Test {
protected:
    void SetUp() override
    {
        lv_init();
        kit = std::make_unique<testkit::Display>();
        t0 = lv_tick_get();
        scr = lv_scr_act();
    }
    void TearDown() override
    {
        kit.reset();
        lv_deinit();
    }
    /** Milliseconds since the display was registered. */
    uint32_t now() const { return lv_tick_get() - t0; }
    /** Advance to `t` ms after the display was registered. */
    void advance_to(uint32_t t) { kit->advance_ms(t - now()); }

    /** A recorder that outlives every object (deleted objects still report DELETE). */
    EventRecorder & recorder()
    {
        recorders.emplace_back();
        recorders.back().t0 = t0;
        return recorders.back();
    }

    std::list<EventRecorder> recorders; // declared first: destroyed after the display
    std::unique_ptr<testkit::Display> kit;
    uint32_t t0 = 0;
    lv_obj_t * scr = nullptr;
};

} // namespace core_test

#endif
