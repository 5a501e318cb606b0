// Animations, stepped by one timer (LV_DISP_DEF_REFR_PERIOD) that pauses
// itself while no animation exists.
//
// Values follow LVGL's integer math (1024 steps over the duration), so the
// frame a value selects changes on the same tick as in LVGL.
#include "../core/lv_core_private.h"

#include <cstring>

namespace {

constexpr int32_t kResShift = 10;
constexpr int32_t kResolution = 1 << kResShift;

struct AnimNode {
    lv_anim_t anim; // first: lv_anim_t * and AnimNode * convert both ways
    AnimNode * next;
    AnimNode * prev;
};

AnimNode * g_head = nullptr;
lv_timer_t * g_timer = nullptr;
uint32_t g_last_run = 0;
bool g_run_round = false;
bool g_list_changed = false;
AnimNode * g_current = nullptr; // the animation the timer is stepping
bool g_current_deleted = false;

void list_remove(AnimNode * n)
{
    if(n == g_current) g_current_deleted = true;
    if(n->prev) n->prev->next = n->next;
    else g_head = n->next;
    if(n->next) n->next->prev = n->prev;
    n->next = n->prev = nullptr;
}

void mark_list_changed()
{
    g_list_changed = true;
    if(g_timer == nullptr) return;
    if(g_head == nullptr) lv_timer_pause(g_timer);
    else lv_timer_resume(g_timer);
}

int32_t map(int32_t x, int32_t min_in, int32_t max_in, int32_t min_out, int32_t max_out)
{
    if(max_in >= min_in && x >= max_in) return max_out;
    if(max_in >= min_in && x <= min_in) return min_out;
    const int64_t delta_in = static_cast<int64_t>(max_in) - min_in;
    const int64_t delta_out = static_cast<int64_t>(max_out) - min_out;
    return static_cast<int32_t>(((static_cast<int64_t>(x) - min_in) * delta_out) / delta_in + min_out);
}

// Cubic Bezier with end points 0 and 1024 and control points u1, u2 (0..1024), t in 0..1024.
int32_t bezier3(int32_t t, int32_t u0, int32_t u1, int32_t u2, int32_t u3)
{
    const int64_t rem = kResolution - t;
    const int64_t rem2 = rem * rem;
    const int64_t rem3 = rem2 * rem;
    const int64_t t2 = static_cast<int64_t>(t) * t;
    const int64_t t3 = t2 * t;
    const int64_t v = (rem3 * u0 + 3 * rem2 * t * u1 + 3 * rem * t2 * u2 + t3 * u3) >> (3 * kResShift);
    return static_cast<int32_t>(v);
}

int32_t apply_step(const lv_anim_t * a, int32_t step)
{
    int64_t v = static_cast<int64_t>(step) * (a->end_value - a->start_value);
    v >>= kResShift;
    return static_cast<int32_t>(v + a->start_value);
}

int32_t progress(const lv_anim_t * a) { return map(a->act_time, 0, a->time, 0, kResolution); }

// End of a run: count down repeats, play back, or remove and report ready.
void on_run_end(AnimNode * n)
{
    lv_anim_t * a = &n->anim;
    if(a->playback_now == 0 && a->repeat_cnt > 0 && a->repeat_cnt != LV_ANIM_REPEAT_INFINITE) a->repeat_cnt--;

    if(a->repeat_cnt == 0 && (a->playback_time == 0 || a->playback_now == 1)) {
        // Remove first, so the ready callback sees the animation as finished.
        list_remove(n);
        mark_list_changed();
        if(a->ready_cb) a->ready_cb(a);
        if(a->deleted_cb) a->deleted_cb(a);
        lv_mem_free(n);
        return;
    }
    a->act_time = -static_cast<int32_t>(a->repeat_delay);
    if(a->playback_time != 0) {
        if(a->playback_now == 0) a->act_time = -static_cast<int32_t>(a->playback_delay);
        a->playback_now = !a->playback_now;
        const int32_t tmp = a->start_value;
        a->start_value = a->end_value;
        a->end_value = tmp;
        const int32_t t = a->time;
        a->time = static_cast<int32_t>(a->playback_time);
        a->playback_time = static_cast<uint32_t>(t);
    }
}

void anim_timer_cb(lv_timer_t *)
{
    const uint32_t elapsed = lv_tick_elaps(g_last_run);
    g_run_round = !g_run_round;

    AnimNode * n = g_head;
    while(n != nullptr) {
        g_list_changed = false;
        g_current = n;
        g_current_deleted = false;
        lv_anim_t * a = &n->anim;
        if(a->run_round != g_run_round) {
            a->run_round = g_run_round;
            const int32_t new_act_time = a->act_time + static_cast<int32_t>(elapsed);
            if(!a->start_cb_called && a->act_time <= 0 && new_act_time >= 0) {
                if(a->early_apply == 0 && a->get_value_cb) {
                    const int32_t v = a->get_value_cb(a);
                    a->end_value += v - a->start_value;
                    a->start_value = v;
                }
                a->start_cb_called = 1;
                if(a->start_cb) a->start_cb(a);
            }
            if(!g_current_deleted) {
                a->act_time += static_cast<int32_t>(elapsed);
                if(a->act_time >= 0) {
                    if(a->act_time > a->time) a->act_time = a->time;
                    const int32_t v = a->path_cb ? a->path_cb(a) : lv_anim_path_linear(a);
                    if(v != a->current_value) {
                        a->current_value = v;
                        if(a->exec_cb) a->exec_cb(a->var, v);
                    }
                    if(!g_current_deleted && a->act_time >= a->time) on_run_end(n);
                }
            }
        }
        // After a change of the list walk again from the head (animations
        // already stepped in this round are skipped by run_round).
        const bool changed = g_list_changed || g_current_deleted;
        g_current = nullptr;
        n = changed ? g_head : n->next;
    }
    g_last_run = lv_tick_get();
}

} // namespace

void _lv_anim_core_init()
{
    g_head = nullptr;
    g_last_run = lv_tick_get();
    g_timer = lv_timer_create(anim_timer_cb, LV_DISP_DEF_REFR_PERIOD, nullptr);
    mark_list_changed(); // no animation yet: paused
}

void _lv_anim_core_deinit()
{
    while(g_head) {
        AnimNode * n = g_head;
        list_remove(n);
        lv_mem_free(n);
    }
    g_timer = nullptr; // freed with all timers
}

void lv_anim_init(lv_anim_t * a)
{
    std::memset(a, 0, sizeof(*a));
    a->time = 500;
    a->start_value = 0;
    a->end_value = 100;
    a->repeat_cnt = 1;
    a->path_cb = lv_anim_path_linear;
    a->early_apply = 1;
}

lv_anim_t * lv_anim_start(const lv_anim_t * a)
{
    if(a->exec_cb != nullptr) lv_anim_del(a->var, a->exec_cb);

    // A paused timer's last run says nothing about when this animation started.
    if(g_head == nullptr) g_last_run = lv_tick_get();

    auto * n = static_cast<AnimNode *>(lv_mem_alloc_checked(sizeof(AnimNode)));
    std::memset(n, 0, sizeof(*n));
    n->anim = *a;
    lv_anim_t * na = &n->anim;
    if(a->var == a) na->var = na; // custom exec callbacks get the animation itself
    na->run_round = g_run_round;   // not stepped in a round that is already running
    na->start_cb_called = 0;
    na->current_value = na->early_apply ? na->start_value : INT32_MIN;

    n->next = g_head;
    if(g_head) g_head->prev = n;
    g_head = n;

    if(na->early_apply) {
        if(na->get_value_cb) {
            const int32_t v = na->get_value_cb(na);
            na->end_value += v - na->start_value;
            na->start_value = v;
        }
        if(na->exec_cb && na->var) na->exec_cb(na->var, na->start_value);
    }
    mark_list_changed();
    return na;
}

bool lv_anim_del(void * var, lv_anim_exec_xcb_t exec_cb)
{
    bool deleted = false;
    AnimNode * n = g_head;
    while(n != nullptr) {
        AnimNode * next = n->next;
        lv_anim_t * a = &n->anim;
        if((a->var == var || var == nullptr) && (a->exec_cb == exec_cb || exec_cb == nullptr)) {
            list_remove(n);
            if(a->deleted_cb) a->deleted_cb(a);
            lv_mem_free(n);
            mark_list_changed();
            deleted = true;
            next = g_head; // the callback may have changed the list
        }
        n = next;
    }
    return deleted;
}

void lv_anim_del_all(void)
{
    while(g_head) {
        AnimNode * n = g_head;
        list_remove(n);
        lv_mem_free(n);
    }
    mark_list_changed();
}

lv_anim_t * lv_anim_get(void * var, lv_anim_exec_xcb_t exec_cb)
{
    for(AnimNode * n = g_head; n; n = n->next)
        if(n->anim.var == var && (exec_cb == nullptr || n->anim.exec_cb == exec_cb)) return &n->anim;
    return nullptr;
}

uint16_t lv_anim_count_running(void)
{
    uint16_t cnt = 0;
    for(AnimNode * n = g_head; n; n = n->next) cnt++;
    return cnt;
}

uint32_t lv_anim_speed_to_time(uint32_t speed, int32_t start, int32_t end)
{
    const uint32_t d = static_cast<uint32_t>(start > end ? start - end : end - start);
    uint32_t time = speed ? (d * 1000) / speed : 0;
    if(time > UINT16_MAX) time = UINT16_MAX;
    if(time == 0) time = 1;
    return time;
}

void lv_anim_refr_now(void) { anim_timer_cb(nullptr); }

int32_t lv_anim_path_linear(const lv_anim_t * a) { return apply_step(a, progress(a)); }

int32_t lv_anim_path_ease_in(const lv_anim_t * a)
{
    return apply_step(a, bezier3(progress(a), 0, 50, 100, kResolution));
}

int32_t lv_anim_path_ease_out(const lv_anim_t * a)
{
    return apply_step(a, bezier3(progress(a), 0, 900, 950, kResolution));
}

int32_t lv_anim_path_ease_in_out(const lv_anim_t * a)
{
    return apply_step(a, bezier3(progress(a), 0, 50, 952, kResolution));
}

int32_t lv_anim_path_overshoot(const lv_anim_t * a)
{
    return apply_step(a, bezier3(progress(a), 0, 1000, 1300, kResolution));
}

int32_t lv_anim_path_step(const lv_anim_t * a) { return a->act_time >= a->time ? a->end_value : a->start_value; }
