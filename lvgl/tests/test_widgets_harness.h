/**
 * @file test_widgets_harness.h
 * Fixture for the widget tests: the test kit's headless 1280 x 800 display
 * and scripted pointer, with the library started afresh for each test and
 * shut down afterwards, plus drag helpers and an event recorder.
 */
#ifndef TEST_WIDGETS_HARNESS_H
#define TEST_WIDGETS_HARNESS_H

#include "lvgl.h"
#include "testkit.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <list>
#include <memory>
#include <vector>

namespace widgets_test {

class Harness : public ::testing::Test {
protected:
    void SetUp() override
    {
        lv_init();
        display_ = std::make_unique<testkit::Display>();
    }

    void TearDown() override
    {
        display_.reset();
        lv_deinit();
    }

    /** Let `ms` pass in 5 ms steps, running the timers after each. */
    void advance(uint32_t ms) { display_->advance_ms(ms); }

    /** Press at (x, y) and hold there until the pointer has been read. */
    void press(lv_coord_t x, lv_coord_t y)
    {
        display_->press(x, y);
        advance(35);
    }
    /** Move the held pointer and let it be read once. */
    void move_to(lv_coord_t x, lv_coord_t y)
    {
        display_->move(x, y);
        advance(35);
    }
    void release()
    {
        display_->release();
        advance(35);
    }
    void tap(lv_coord_t x, lv_coord_t y)
    {
        press(x, y);
        release();
    }
    /** A drag in `steps` reads, then release where it ended. */
    void drag(lv_coord_t x1, lv_coord_t y1, lv_coord_t x2, lv_coord_t y2, int steps)
    {
        press(x1, y1);
        for(int i = 1; i <= steps; i++)
            move_to(static_cast<lv_coord_t>(x1 + (x2 - x1) * i / steps),
                    static_cast<lv_coord_t>(y1 + (y2 - y1) * i / steps));
        release();
    }

    /** Redraw the whole active screen now. */
    void render()
    {
        lv_obj_invalidate(lv_scr_act());
        display_->refresh();
    }
    /** The RGB565 pixel last flushed at (x, y). */
    uint16_t px(int x, int y) const
    {
        return display_->pixel(static_cast<lv_coord_t>(x), static_cast<lv_coord_t>(y));
    }
    /** A copy of a screen rectangle (inclusive), row-major. */
    std::vector<uint16_t> crop(int x1, int y1, int x2, int y2) const
    {
        std::vector<uint16_t> out;
        for(int y = y1; y <= y2; y++)
            for(int x = x1; x <= x2; x++) out.push_back(px(x, y));
        return out;
    }

    /** Counts the events of each code an object receives. */
    struct EventLog {
        int counts[_LV_EVENT_LAST] = {};
        std::vector<lv_event_code_t> order;
        int operator[](lv_event_code_t c) const { return counts[c]; }
    };
    static void log_cb(lv_event_t * e)
    {
        auto * log = static_cast<EventLog *>(lv_event_get_user_data(e));
        const lv_event_code_t c = lv_event_get_code(e);
        if(c < _LV_EVENT_LAST) log->counts[c]++;
        if(c == LV_EVENT_PRESSED || c == LV_EVENT_RELEASED || c == LV_EVENT_CLICKED || c == LV_EVENT_VALUE_CHANGED ||
           c == LV_EVENT_PRESS_LOST)
            log->order.push_back(c);
    }
    /** Record the events of `obj`; the log lives as long as the fixture (objects outlive test bodies). */
    EventLog & watch(lv_obj_t * obj)
    {
        logs_.emplace_back();
        lv_obj_add_event_cb(obj, log_cb, LV_EVENT_ALL, &logs_.back());
        return logs_.back();
    }

    std::unique_ptr<testkit::Display> display_;
    std::list<EventLog> logs_;
};

} // namespace widgets_test

#endif
