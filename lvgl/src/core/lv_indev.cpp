// Input devices. Pointers are processed as LVGL does: press, pressing,
// long press, press lost, release with short click and click. Other
// device types are read and ignored.
//
// Idling: a read timer pauses itself when nothing is pressed and nothing is
// pending; the input backend resumes it when input arrives. The read after a
// resume is aligned to the timer's original 30 ms grid, so a press is seen
// on the same tick as with an always-running timer.
#include "lv_core_private.h"

#include <cstdlib>
#include <cstring>

struct _lv_indev_proc_t {
    lv_indev_state_t state;
    lv_point_t act_point;
    lv_point_t last_point;
    lv_point_t press_point;
    lv_point_t vect;
    lv_obj_t * act_obj;      // pressed object (NULL if none)
    lv_obj_t * last_pressed; // object that got focus by a click
    uint32_t pr_timestamp;
    uint32_t longpr_rep_timestamp;
    uint32_t grid_anchor;    // a tick on the read timer's grid
    uint8_t long_pr_sent : 1;
    uint8_t lost : 1;        // the press was lost (slid off or scroll started)
    uint8_t reset_query : 1; // the pressed object went away during processing
    uint8_t idle_paused : 1; // the read timer paused itself
    uint8_t wait_release : 1;
};

namespace {

lv_indev_t ** g_indevs = nullptr;
uint32_t g_indev_cnt = 0;
lv_indev_t * g_indev_act = nullptr;
lv_obj_t * g_obj_act = nullptr;

lv_obj_t * search_in_screen(lv_obj_t * scr, lv_point_t * p) { return scr ? lv_indev_search_obj(scr, p) : nullptr; }

lv_obj_t * find_target(lv_disp_t * disp, lv_point_t * p)
{
    lv_obj_t * o = search_in_screen(disp->sys_layer, p);
    if(o == nullptr) o = search_in_screen(disp->top_layer, p);
    if(o == nullptr) o = search_in_screen(disp->act_scr, p);
    return o;
}

// Does a child of `o` reach beyond its content area's far edge on this axis?
// Only then has LVGL 8.3 something to scroll there (nothing is ever scrolled
// here, so there is no content before the near edge to scroll back to).
bool overflows(const lv_obj_t * o, bool hor)
{
    const lv_coord_t edge = hor ? o->coords.x2 - lv_obj_get_style_pad_right(o, LV_PART_MAIN)
                                : o->coords.y2 - lv_obj_get_style_pad_bottom(o, LV_PART_MAIN);
    const lv_coord_t end = edge - lv_obj_get_style_border_width(o, LV_PART_MAIN);
    for(uint32_t i = 0; i < o->child_cnt; i++) {
        const lv_obj_t * c = o->children[i];
        if(lv_obj_has_flag(c, LV_OBJ_FLAG_HIDDEN) || lv_obj_has_flag(c, LV_OBJ_FLAG_FLOATING)) continue;
        if((hor ? c->coords.x2 : c->coords.y2) > end) return true;
    }
    return false;
}

// Would dragging `obj` along this axis scroll something (itself or a chained
// scrollable ancestor whose content overflows there)? Otherwise a press-locked
// object stays pressed wherever the pointer goes, and the release clicks it.
bool drags_scroll(const lv_obj_t * obj, bool hor)
{
    for(const lv_obj_t * o = obj; o; o = o->parent) {
        if(lv_obj_has_flag(o, LV_OBJ_FLAG_SCROLLABLE) && overflows(o, hor)) return true;
        if(!lv_obj_has_flag(o, LV_OBJ_FLAG_SCROLL_CHAIN)) return false;
    }
    return false;
}

// Send an input event; false if processing must stop (object deleted or reset).
bool send(lv_indev_t * indev, lv_obj_t * obj, lv_event_code_t code)
{
    lv_event_send(obj, code, indev);
    return !indev->proc->reset_query;
}

void lose_press(lv_indev_t * indev)
{
    _lv_indev_proc_t * p = indev->proc;
    lv_obj_t * obj = p->act_obj;
    p->lost = 1;
    lv_obj_clear_state(obj, LV_STATE_PRESSED);
    send(indev, obj, LV_EVENT_PRESS_LOST);
}

void click_focus(lv_indev_t * indev, lv_obj_t * obj)
{
    _lv_indev_proc_t * p = indev->proc;
    if(!lv_obj_has_flag(obj, LV_OBJ_FLAG_CLICK_FOCUSABLE)) return;
    lv_obj_t * prev = p->last_pressed;
    if(prev == obj) return;
    p->last_pressed = obj;
    if(prev) {
        lv_event_send(prev, LV_EVENT_DEFOCUSED, indev);
        if(p->reset_query) return;
    }
    lv_event_send(obj, LV_EVENT_FOCUSED, indev);
}

void proc_press(lv_indev_t * indev)
{
    _lv_indev_proc_t * p = indev->proc;
    lv_disp_t * disp = indev->driver->disp;
    if(p->wait_release || disp == nullptr) return;
    const uint32_t now = lv_tick_get();
    lv_disp_trig_activity(disp);

    lv_obj_t * target = p->act_obj;
    const bool new_press = p->state == LV_INDEV_STATE_RELEASED;
    if(new_press) {
        p->press_point = p->act_point;
        p->lost = 0;
        target = find_target(disp, &p->act_point);
    }
    else if(p->act_obj && !p->lost && !lv_obj_has_flag(p->act_obj, LV_OBJ_FLAG_PRESS_LOCK)) {
        // Without press lock the press moves to whatever is under the pointer.
        lv_obj_t * under = find_target(disp, &p->act_point);
        if(under != p->act_obj) {
            lose_press(indev);
            if(p->reset_query) return;
            target = under;
            p->lost = 0;
            p->press_point = p->act_point;
            p->act_obj = nullptr;
        }
    }

    if(target != nullptr && target != p->act_obj) {
        p->act_obj = target;
        p->pr_timestamp = now;
        p->long_pr_sent = 0;
        p->lost = 0;
        g_obj_act = target;
        lv_obj_add_state(target, LV_STATE_PRESSED);
        if(!send(indev, target, LV_EVENT_PRESSED)) return;
    }

    lv_obj_t * obj = p->act_obj;
    if(obj == nullptr || p->lost) return;
    g_obj_act = obj;

    // A drag beyond the scroll limit scrolls, along its main axis, whatever
    // can scroll there: the press is lost.
    const int dx = std::abs(p->act_point.x - p->press_point.x);
    const int dy = std::abs(p->act_point.y - p->press_point.y);
    const int limit = indev->driver->scroll_limit;
    if((dx > limit || dy > limit) && drags_scroll(obj, dx > dy)) {
        lose_press(indev);
        return;
    }

    if(!send(indev, obj, LV_EVENT_PRESSING)) return;

    if(!p->long_pr_sent) {
        if(lv_tick_elaps(p->pr_timestamp) >= indev->driver->long_press_time) {
            p->long_pr_sent = 1;
            p->longpr_rep_timestamp = now;
            if(!send(indev, obj, LV_EVENT_LONG_PRESSED)) return;
        }
    }
    else if(lv_tick_elaps(p->longpr_rep_timestamp) >= indev->driver->long_press_repeat_time) {
        p->longpr_rep_timestamp = now;
        send(indev, obj, LV_EVENT_LONG_PRESSED_REPEAT);
    }
}

void proc_release(lv_indev_t * indev)
{
    _lv_indev_proc_t * p = indev->proc;
    if(p->wait_release) {
        p->wait_release = 0;
        p->act_obj = nullptr;
        return;
    }
    lv_obj_t * obj = p->act_obj;
    if(obj == nullptr) return;
    g_obj_act = obj;
    const bool clicked = !p->lost;
    if(clicked) {
        lv_obj_clear_state(obj, LV_STATE_PRESSED);
        click_focus(indev, obj);
        if(p->reset_query) return;
    }
    if(!send(indev, obj, LV_EVENT_RELEASED)) return;
    if(clicked) {
        if(!p->long_pr_sent && !send(indev, obj, LV_EVENT_SHORT_CLICKED)) return;
        if(!send(indev, obj, LV_EVENT_CLICKED)) return;
    }
    p->act_obj = nullptr;
    p->lost = 0;
}

void read_pointer(lv_indev_t * indev, const lv_indev_data_t & data)
{
    _lv_indev_proc_t * p = indev->proc;
    lv_disp_t * disp = indev->driver->disp;
    lv_point_t pt = data.point;
    if(disp) {
        const lv_coord_t w = lv_disp_get_hor_res(disp);
        const lv_coord_t h = lv_disp_get_ver_res(disp);
        if(pt.x < 0) pt.x = 0;
        if(pt.y < 0) pt.y = 0;
        if(pt.x >= w) pt.x = static_cast<lv_coord_t>(w - 1);
        if(pt.y >= h) pt.y = static_cast<lv_coord_t>(h - 1);
    }
    p->last_point = p->act_point;
    p->act_point = pt;
    p->vect.x = static_cast<lv_coord_t>(p->act_point.x - p->last_point.x);
    p->vect.y = static_cast<lv_coord_t>(p->act_point.y - p->last_point.y);
    p->reset_query = 0;

    if(data.state == LV_INDEV_STATE_PRESSED) proc_press(indev);
    else proc_release(indev);

    if(p->reset_query) {
        // The pressed object was deleted or hidden: forget it; wait for the release.
        const bool still_pressed = data.state == LV_INDEV_STATE_PRESSED;
        p->act_obj = nullptr;
        p->lost = 0;
        p->wait_release = still_pressed;
        p->reset_query = 0;
    }
    p->state = data.state;
    g_obj_act = nullptr;
}

} // namespace

void lv_indev_drv_init(lv_indev_drv_t * driver)
{
    std::memset(driver, 0, sizeof(*driver));
    driver->type = LV_INDEV_TYPE_NONE;
    driver->scroll_limit = 10;
    driver->scroll_throw = 10;
    driver->gesture_limit = 50;
    driver->gesture_min_velocity = 3;
    driver->long_press_time = 400;
    driver->long_press_repeat_time = 100;
}

lv_indev_t * lv_indev_drv_register(lv_indev_drv_t * driver)
{
    if(driver->disp == nullptr) driver->disp = lv_disp_get_default();
    auto * indev = static_cast<lv_indev_t *>(lv_mem_alloc_checked(sizeof(lv_indev_t)));
    auto * proc = static_cast<_lv_indev_proc_t *>(lv_mem_alloc_checked(sizeof(_lv_indev_proc_t)));
    std::memset(proc, 0, sizeof(*proc));
    indev->driver = driver;
    indev->proc = proc;
    proc->grid_anchor = lv_tick_get();
    driver->read_timer = lv_timer_create(lv_indev_read_timer_cb, LV_INDEV_DEF_READ_PERIOD, indev);
    g_indevs = static_cast<lv_indev_t **>(lv_mem_realloc_checked(g_indevs, (g_indev_cnt + 1) * sizeof(lv_indev_t *)));
    g_indevs[g_indev_cnt++] = indev;
    return indev;
}

void lv_indev_drv_update(lv_indev_t * indev, lv_indev_drv_t * new_drv)
{
    lv_timer_t * t = indev->driver->read_timer;
    indev->driver = new_drv;
    new_drv->read_timer = t;
    if(new_drv->disp == nullptr) new_drv->disp = lv_disp_get_default();
}

void lv_indev_delete(lv_indev_t * indev)
{
    if(indev == nullptr) return;
    if(indev->driver->read_timer) lv_timer_del(indev->driver->read_timer);
    indev->driver->read_timer = nullptr;
    uint32_t i = 0;
    while(i < g_indev_cnt && g_indevs[i] != indev) i++;
    if(i < g_indev_cnt) {
        for(uint32_t j = i + 1; j < g_indev_cnt; j++) g_indevs[j - 1] = g_indevs[j];
        g_indev_cnt--;
    }
    if(g_indev_cnt == 0) {
        lv_mem_free(g_indevs);
        g_indevs = nullptr;
    }
    if(g_indev_act == indev) g_indev_act = nullptr;
    lv_mem_free(indev->proc);
    lv_mem_free(indev);
}

void _lv_indev_core_deinit()
{
    while(g_indev_cnt > 0) lv_indev_delete(g_indevs[g_indev_cnt - 1]);
    g_indev_act = nullptr;
    g_obj_act = nullptr;
}

lv_indev_t * lv_indev_get_next(lv_indev_t * indev)
{
    if(indev == nullptr) return g_indev_cnt ? g_indevs[0] : nullptr;
    for(uint32_t i = 0; i + 1 < g_indev_cnt; i++)
        if(g_indevs[i] == indev) return g_indevs[i + 1];
    return nullptr;
}

void lv_indev_read_timer_cb(lv_timer_t * timer)
{
    auto * indev = static_cast<lv_indev_t *>(timer->user_data);
    _lv_indev_proc_t * p = indev->proc;
    const uint32_t period = timer->period;

    if(p->idle_paused) {
        // Resumed by the backend: read on the next tick of the original grid.
        p->idle_paused = 0;
        const uint32_t rem = period ? lv_tick_elaps(p->grid_anchor) % period : 0;
        if(rem != 0) {
            timer->last_run = lv_tick_get() - rem;
            return;
        }
    }
    p->grid_anchor = lv_tick_get();

    lv_indev_drv_t * drv = indev->driver;
    if(drv->read_cb == nullptr) return;
    g_indev_act = indev;
    lv_indev_data_t data;
    do {
        std::memset(&data, 0, sizeof(data));
        data.point = p->act_point;
        data.state = p->state;
        drv->read_cb(drv, &data);
        if(drv->type == LV_INDEV_TYPE_POINTER) read_pointer(indev, data);
    } while(data.continue_reading);
    g_indev_act = nullptr;

    // Nothing pressed and nothing pending: sleep until the backend reports input.
    const bool busy = drv->type == LV_INDEV_TYPE_POINTER &&
                      (data.state == LV_INDEV_STATE_PRESSED || p->act_obj != nullptr || p->wait_release);
    if(!busy) {
        p->idle_paused = 1;
        lv_timer_pause(timer);
    }
}

lv_indev_t * lv_indev_get_act(void) { return g_indev_act; }

lv_indev_type_t lv_indev_get_type(const lv_indev_t * indev) { return indev ? indev->driver->type : LV_INDEV_TYPE_NONE; }

void lv_indev_reset(lv_indev_t * indev, lv_obj_t * obj)
{
    for(uint32_t i = 0; i < g_indev_cnt; i++) {
        lv_indev_t * d = g_indevs[i];
        if(indev && d != indev) continue;
        _lv_indev_proc_t * p = d->proc;
        if(obj == nullptr || p->act_obj == obj) {
            if(p->act_obj) p->reset_query = 1;
            p->act_obj = nullptr;
            p->lost = 0;
            if(p->state == LV_INDEV_STATE_PRESSED) p->wait_release = 1;
        }
        if(obj == nullptr || p->last_pressed == obj) p->last_pressed = nullptr;
    }
    if(obj == nullptr || g_obj_act == obj) g_obj_act = nullptr;
}

void _lv_indev_obj_deleted(lv_obj_t * obj)
{
    // Objects being deleted or hidden while pressed or focused.
    for(uint32_t i = 0; i < g_indev_cnt; i++) {
        _lv_indev_proc_t * p = g_indevs[i]->proc;
        if(p->act_obj == obj) {
            p->act_obj = nullptr;
            p->reset_query = 1;
            p->lost = 0;
            if(p->state == LV_INDEV_STATE_PRESSED) p->wait_release = 1;
        }
        if(p->last_pressed == obj) p->last_pressed = nullptr;
    }
    if(g_obj_act == obj) g_obj_act = nullptr;
}

void lv_indev_get_point(const lv_indev_t * indev, lv_point_t * point)
{
    if(indev == nullptr || indev->driver->type != LV_INDEV_TYPE_POINTER) {
        point->x = point->y = -1;
        return;
    }
    *point = indev->proc->act_point;
}

void lv_indev_get_vect(const lv_indev_t * indev, lv_point_t * point)
{
    if(indev == nullptr || indev->driver->type != LV_INDEV_TYPE_POINTER) {
        point->x = point->y = 0;
        return;
    }
    *point = indev->proc->vect;
}

lv_obj_t * lv_indev_get_obj_act(void) { return g_obj_act; }

void lv_indev_wait_release(lv_indev_t * indev)
{
    if(indev == nullptr) return;
    indev->proc->wait_release = 1;
    indev->proc->act_obj = nullptr;
}

lv_timer_t * lv_indev_get_read_timer(lv_indev_t * indev) { return indev ? indev->driver->read_timer : nullptr; }

lv_obj_t * lv_indev_search_obj(lv_obj_t * obj, lv_point_t * point)
{
    if(lv_obj_has_flag(obj, LV_OBJ_FLAG_HIDDEN)) return nullptr;
    // Children are clipped to their parent, so look inside only when the point is on it.
    if(_lv_area_is_point_on(&obj->coords, point, 0) || lv_obj_has_flag(obj, LV_OBJ_FLAG_OVERFLOW_VISIBLE)) {
        for(int32_t i = static_cast<int32_t>(obj->child_cnt) - 1; i >= 0; i--) {
            lv_obj_t * found = lv_indev_search_obj(obj->children[i], point);
            if(found) return found;
        }
    }
    return lv_obj_hit_test(obj, point) ? obj : nullptr;
}
