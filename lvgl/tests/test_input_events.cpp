// Pointer input and events: the order and timing of a click, of a press
// that slides off, long presses, hit testing (overlap, hidden, clipped),
// deletion inside a callback, event filters, user data and bubbling.
#include "core_fixture.h"

using core_test::Core;
using core_test::EventRecorder;

namespace {

using Codes = std::vector<lv_event_code_t>;

class Input : public Core {
protected:
    lv_obj_t * make_btn(lv_obj_t * parent, lv_coord_t x, lv_coord_t y, lv_coord_t w, lv_coord_t h)
    {
        lv_obj_t * b = lv_btn_create(parent);
        lv_obj_set_pos(b, x, y);
        lv_obj_set_size(b, w, h);
        return b;
    }
    // press at (x0, y0), move to (x1, y1), release: `step_ms` between each
    void stroke(lv_coord_t x0, lv_coord_t y0, lv_coord_t x1, lv_coord_t y1, uint32_t step_ms)
    {
        kit->press(x0, y0);
        kit->advance_ms(step_ms);
        kit->move(x1, y1);
        kit->advance_ms(step_ms);
        kit->release();
        kit->advance_ms(step_ms);
    }
};

TEST_F(Input, ClickTimelineFollowsTheReadGrid)
{
    lv_obj_t * btn = make_btn(scr, 100, 100, 200, 80);
    EventRecorder & rec = recorder();
    rec.watch(btn);

    advance_to(100);
    kit->press(150, 130);
    advance_to(200);
    const core_test::Rec * pressed = rec.first(LV_EVENT_PRESSED);
    ASSERT_NE(pressed, nullptr);
    EXPECT_EQ(pressed->t, 120u); // reads every 30 ms: 90, 120, ...
    EXPECT_TRUE(lv_obj_has_state(btn, LV_STATE_PRESSED));

    advance_to(300);
    kit->release();
    advance_to(400);
    const core_test::Rec * released = rec.first(LV_EVENT_RELEASED);
    ASSERT_NE(released, nullptr);
    EXPECT_EQ(released->t, 330u);
    EXPECT_EQ(rec.first(LV_EVENT_CLICKED)->t, 330u);
    EXPECT_EQ(rec.first(LV_EVENT_SHORT_CLICKED)->t, 330u);

    const Codes expected = {LV_EVENT_PRESSED, LV_EVENT_FOCUSED, LV_EVENT_RELEASED, LV_EVENT_SHORT_CLICKED,
                            LV_EVENT_CLICKED};
    EXPECT_EQ(rec.input_codes(), expected);
    EXPECT_FALSE(lv_obj_has_state(btn, LV_STATE_PRESSED));
    EXPECT_TRUE(lv_obj_has_state(btn, LV_STATE_FOCUSED)); // kept after the click
}

TEST_F(Input, PressThatSlidesOffStaysPressedAndClicks)
{
    // LVGL 8.3: a button is press-locked, and a drag scrolls only what has
    // content beyond its edge; so the press stays and the release clicks.
    lv_obj_t * btn = make_btn(scr, 100, 100, 200, 80);
    EventRecorder & rec = recorder();
    rec.watch(btn);

    kit->press(150, 130);
    kit->advance_ms(60);
    kit->move(600, 500);
    kit->advance_ms(60);
    EXPECT_TRUE(lv_obj_has_state(btn, LV_STATE_PRESSED));
    kit->release();
    kit->advance_ms(60);

    const Codes expected = {LV_EVENT_PRESSED, LV_EVENT_FOCUSED, LV_EVENT_RELEASED, LV_EVENT_SHORT_CLICKED,
                            LV_EVENT_CLICKED};
    EXPECT_EQ(rec.input_codes(), expected);
    EXPECT_FALSE(lv_obj_has_state(btn, LV_STATE_PRESSED));
    EXPECT_GE(rec.count(LV_EVENT_PRESSING), 1);

    // with content below the screen's edge a drag down scrolls it: no click
    lv_obj_t * tall = make_btn(scr, 900, 0, 50, 1200);
    rec.events.clear();
    stroke(150, 130, 160, 300, 60);
    EXPECT_EQ(rec.count(LV_EVENT_RELEASED), 1);
    EXPECT_EQ(rec.count(LV_EVENT_CLICKED), 0);
    lv_obj_del(tall);
}

TEST_F(Input, SmallJitterInsideTheButtonStillClicks)
{
    lv_obj_t * btn = make_btn(scr, 100, 100, 200, 80);
    EventRecorder & rec = recorder();
    rec.watch(btn);
    stroke(150, 130, 155, 133, 40);
    EXPECT_EQ(rec.count(LV_EVENT_CLICKED), 1);
    EXPECT_EQ(rec.count(LV_EVENT_PRESS_LOST), 0);
}

TEST_F(Input, LongPressAfter400msSuppressesShortClick)
{
    lv_obj_t * btn = make_btn(scr, 100, 100, 200, 80);
    EventRecorder & rec = recorder();
    rec.watch(btn);
    advance_to(100);
    kit->press(150, 130);
    advance_to(1000);
    const core_test::Rec * lp = rec.first(LV_EVENT_LONG_PRESSED);
    ASSERT_NE(lp, nullptr);
    EXPECT_EQ(lp->t, 540u); // first read at least 400 ms after the press was seen at 120
    EXPECT_GE(rec.count(LV_EVENT_LONG_PRESSED_REPEAT), 3);
    kit->release();
    kit->advance_ms(60);
    EXPECT_EQ(rec.count(LV_EVENT_SHORT_CLICKED), 0);
    EXPECT_EQ(rec.count(LV_EVENT_CLICKED), 1);
}

TEST_F(Input, HitTestPrefersLaterSiblingsAndSkipsHiddenAndClipped)
{
    lv_obj_t * a = make_btn(scr, 100, 100, 200, 100);
    lv_obj_t * b = make_btn(scr, 200, 150, 200, 100); // overlaps a, created later: on top
    lv_obj_t * panel = lv_obj_create(scr);
    lv_obj_set_pos(panel, 600, 100);
    lv_obj_set_size(panel, 200, 200);
    lv_obj_set_style_pad_all(panel, 0, 0);
    lv_obj_set_style_border_width(panel, 0, 0);
    lv_obj_t * inner = make_btn(panel, 150, 150, 200, 200); // mostly outside its parent
    lv_obj_update_layout(scr);

    lv_point_t overlap = {250, 175};
    EXPECT_EQ(lv_indev_search_obj(scr, &overlap), b);
    lv_obj_add_flag(b, LV_OBJ_FLAG_HIDDEN);
    EXPECT_EQ(lv_indev_search_obj(scr, &overlap), a);
    lv_obj_clear_flag(b, LV_OBJ_FLAG_HIDDEN);
    lv_obj_clear_flag(b, LV_OBJ_FLAG_CLICKABLE);
    EXPECT_EQ(lv_indev_search_obj(scr, &overlap), a);

    lv_point_t inside_parent = {760, 260};
    lv_point_t outside_parent = {900, 350}; // on `inner` but clipped away by `panel`
    EXPECT_EQ(lv_indev_search_obj(scr, &inside_parent), inner);
    EXPECT_EQ(lv_indev_search_obj(scr, &outside_parent), scr);

    // A label inside a button is not clickable: the button gets the press.
    lv_obj_t * label = lv_label_create(a);
    lv_label_set_text(label, "A");
    lv_obj_center(label);
    lv_obj_update_layout(scr);
    lv_area_t lc;
    lv_obj_get_coords(label, &lc);
    lv_point_t on_label = {static_cast<lv_coord_t>(lc.x1 + 2), static_cast<lv_coord_t>(lc.y1 + 2)};
    EXPECT_EQ(lv_indev_search_obj(scr, &on_label), a);

    // The event goes to the topmost object.
    EventRecorder & ra = recorder();
    EventRecorder & rb = recorder();
    ra.watch(a);
    rb.watch(b);
    lv_obj_add_flag(b, LV_OBJ_FLAG_CLICKABLE);
    kit->tap(250, 175);
    EXPECT_EQ(rb.count(LV_EVENT_CLICKED), 1);
    EXPECT_EQ(ra.count(LV_EVENT_CLICKED), 0);
}

TEST_F(Input, DisabledObjectsAreNotHit)
{
    lv_obj_t * a = make_btn(scr, 100, 100, 200, 100);
    lv_obj_add_state(a, LV_STATE_DISABLED);
    lv_obj_update_layout(scr);
    lv_point_t p = {150, 150};
    EXPECT_EQ(lv_indev_search_obj(scr, &p), scr);
}

void delete_on_click(lv_event_t * e)
{
    if(lv_event_get_code(e) == LV_EVENT_CLICKED) lv_obj_del(lv_event_get_target(e));
}

void count_cb(lv_event_t * e) { (*static_cast<int *>(lv_event_get_user_data(e)))++; }

TEST_F(Input, DeletingTheTargetInsideItsCallbackStopsProcessingSafely)
{
    lv_obj_t * btn = make_btn(scr, 100, 100, 200, 80);
    int after = 0;
    lv_obj_add_event_cb(btn, delete_on_click, LV_EVENT_ALL, nullptr);
    lv_obj_add_event_cb(btn, count_cb, LV_EVENT_CLICKED, &after); // must not run: btn is gone
    kit->tap(150, 130);
    EXPECT_EQ(after, 0);
    EXPECT_EQ(lv_obj_get_child_cnt(scr), 0u);
    // The device keeps working afterwards.
    lv_obj_t * btn2 = make_btn(scr, 100, 100, 200, 80);
    int clicks = 0;
    lv_obj_add_event_cb(btn2, count_cb, LV_EVENT_CLICKED, &clicks);
    kit->tap(150, 130);
    EXPECT_EQ(clicks, 1);
}

TEST_F(Input, FiltersUserDataAndOrderOfCallbacks)
{
    lv_obj_t * obj = lv_obj_create(scr);
    std::vector<int> order;
    struct Ctx {
        std::vector<int> * order;
        int id;
    } c1{&order, 1}, c2{&order, 2}, c3{&order, 3};
    auto cb = [](lv_event_t * e) {
        auto * c = static_cast<Ctx *>(lv_event_get_user_data(e));
        c->order->push_back(c->id);
    };
    lv_obj_add_event_cb(obj, cb, LV_EVENT_VALUE_CHANGED, &c1);
    lv_obj_add_event_cb(obj, cb, LV_EVENT_ALL, &c2);
    lv_obj_add_event_cb(obj, cb, LV_EVENT_CLICKED, &c3);
    lv_event_send(obj, LV_EVENT_VALUE_CHANGED, nullptr);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    order.clear();
    lv_event_send(obj, LV_EVENT_CLICKED, nullptr);
    EXPECT_EQ(order, (std::vector<int>{2, 3}));
    order.clear();
    EXPECT_TRUE(lv_obj_remove_event_cb(obj, cb));
    lv_event_send(obj, LV_EVENT_CLICKED, nullptr);
    EXPECT_EQ(order, (std::vector<int>{2, 3}));
    lv_obj_del(obj); // while the callbacks' data is alive
}

TEST_F(Input, BubblingReachesParentsOnlyWithTheFlag)
{
    lv_obj_t * parent = lv_obj_create(scr);
    lv_obj_t * child = lv_obj_create(parent);
    EventRecorder & rp = recorder();
    rp.watch(parent);
    lv_event_send(child, LV_EVENT_VALUE_CHANGED, nullptr);
    EXPECT_EQ(rp.count(LV_EVENT_VALUE_CHANGED), 0);
    lv_obj_add_flag(child, LV_OBJ_FLAG_EVENT_BUBBLE);
    lv_event_send(child, LV_EVENT_VALUE_CHANGED, nullptr);
    ASSERT_EQ(rp.count(LV_EVENT_VALUE_CHANGED), 1);
    EXPECT_EQ(rp.first(LV_EVENT_VALUE_CHANGED)->target, child);
}

TEST_F(Input, CheckableObjectTogglesOnClick)
{
    lv_obj_t * btn = make_btn(scr, 100, 100, 200, 80);
    lv_obj_add_flag(btn, LV_OBJ_FLAG_CHECKABLE);
    EventRecorder & rec = recorder();
    rec.watch(btn);
    kit->tap(150, 130);
    EXPECT_TRUE(lv_obj_has_state(btn, LV_STATE_CHECKED));
    EXPECT_EQ(rec.count(LV_EVENT_VALUE_CHANGED), 1);
    kit->tap(150, 130);
    EXPECT_FALSE(lv_obj_has_state(btn, LV_STATE_CHECKED));
}

TEST_F(Input, ClickFocusMovesBetweenObjects)
{
    lv_obj_t * a = make_btn(scr, 100, 100, 200, 80);
    lv_obj_t * b = make_btn(scr, 400, 100, 200, 80);
    EventRecorder & ra = recorder();
    ra.watch(a);
    kit->tap(150, 130);
    EXPECT_TRUE(lv_obj_has_state(a, LV_STATE_FOCUSED));
    kit->tap(450, 130);
    EXPECT_FALSE(lv_obj_has_state(a, LV_STATE_FOCUSED));
    EXPECT_TRUE(lv_obj_has_state(b, LV_STATE_FOCUSED));
    EXPECT_EQ(ra.count(LV_EVENT_DEFOCUSED), 1);
}

TEST_F(Input, PressOnHiddenObjectGoesToWhatIsBelow)
{
    lv_obj_t * a = make_btn(scr, 100, 100, 200, 80);
    lv_obj_t * b = make_btn(scr, 100, 100, 200, 80);
    lv_obj_add_flag(b, LV_OBJ_FLAG_HIDDEN);
    EventRecorder & ra = recorder();
    EventRecorder & rb = recorder();
    ra.watch(a);
    rb.watch(b);
    kit->tap(150, 130);
    EXPECT_EQ(ra.count(LV_EVENT_CLICKED), 1);
    EXPECT_EQ(rb.count(LV_EVENT_PRESSED), 0);
}

} // namespace
