// Millisecond clock and timers.
//
// Timers live in the pool on one list, newest first; lv_timer_handler runs
// the due ones in list order and starts over when a callback creates or
// deletes a timer (the list it walks may have changed under it).
#include "../core/lv_core_private.h"

#include <atomic>
#include <cstring>

namespace {

std::atomic<uint32_t> g_tick{0};

struct TimerNode {
    lv_timer_t timer; // first: lv_timer_t * and TimerNode * convert both ways
    TimerNode * next;
    TimerNode * prev;
};

TimerNode * g_head = nullptr;
bool g_created = false;
bool g_deleted = false;
bool g_running = false;

TimerNode * node_of(lv_timer_t * t) { return reinterpret_cast<TimerNode *>(t); }

uint32_t time_remaining(const lv_timer_t * t)
{
    const uint32_t elapsed = lv_tick_elaps(t->last_run);
    return elapsed >= t->period ? 0 : t->period - elapsed;
}

// Run `t` if due; true if it ran or was deleted.
bool exec(lv_timer_t * t)
{
    if(t->paused) return false;
    bool ran = false;
    if(time_remaining(t) == 0) {
        const int32_t original_repeat = t->repeat_count;
        if(t->repeat_count > 0) t->repeat_count--;
        t->last_run = lv_tick_get();
        if(t->timer_cb && original_repeat != 0) t->timer_cb(t);
        ran = true;
    }
    // After a deletion `t` itself may be gone: it is dealt with on the next pass.
    if(!g_deleted && t->repeat_count == 0) {
        lv_timer_del(t);
        ran = true;
    }
    return ran;
}

} // namespace

/*--------------------------------------------------------------------
 * Tick
 *------------------------------------------------------------------*/
void lv_tick_inc(uint32_t tick_period) { g_tick.fetch_add(tick_period, std::memory_order_relaxed); }

uint32_t lv_tick_get(void) { return g_tick.load(std::memory_order_relaxed); }

uint32_t lv_tick_elaps(uint32_t prev_tick) { return lv_tick_get() - prev_tick; }

/*--------------------------------------------------------------------
 * Timers
 *------------------------------------------------------------------*/
void _lv_timer_core_init()
{
    g_head = nullptr;
    g_created = g_deleted = g_running = false;
}

void _lv_timer_core_deinit()
{
    while(g_head) lv_timer_del(&g_head->timer);
    _lv_timer_core_init();
}

uint32_t lv_timer_handler(void)
{
    if(g_running) return 1; // called from a timer callback: the outer pass goes on
    g_running = true;
    bool restart;
    do {
        restart = false;
        g_created = false;
        g_deleted = false;
        for(TimerNode * n = g_head; n != nullptr;) {
            TimerNode * next = n->next;
            if(exec(&n->timer) && (g_created || g_deleted)) {
                restart = true;
                break;
            }
            n = next;
        }
    } while(restart);

    uint32_t till_next = LV_NO_TIMER_READY;
    for(TimerNode * n = g_head; n != nullptr; n = n->next) {
        if(n->timer.paused) continue;
        const uint32_t r = time_remaining(&n->timer);
        if(r < till_next) till_next = r;
    }
    g_running = false;
    return till_next;
}

lv_timer_t * lv_timer_create_basic(void) { return lv_timer_create(nullptr, 500, nullptr); }

lv_timer_t * lv_timer_create(lv_timer_cb_t timer_xcb, uint32_t period, void * user_data)
{
    auto * n = static_cast<TimerNode *>(lv_mem_alloc_checked(sizeof(TimerNode)));
    std::memset(n, 0, sizeof(*n));
    n->timer.period = period;
    n->timer.timer_cb = timer_xcb;
    n->timer.user_data = user_data;
    n->timer.repeat_count = -1;
    n->timer.last_run = lv_tick_get();
    n->next = g_head;
    if(g_head) g_head->prev = n;
    g_head = n;
    g_created = true;
    return &n->timer;
}

void lv_timer_del(lv_timer_t * timer)
{
    if(timer == nullptr) return;
    TimerNode * n = node_of(timer);
    if(n->prev) n->prev->next = n->next;
    else g_head = n->next;
    if(n->next) n->next->prev = n->prev;
    lv_mem_free(n);
    g_deleted = true;
}

void lv_timer_pause(lv_timer_t * timer) { timer->paused = 1; }

void lv_timer_resume(lv_timer_t * timer) { timer->paused = 0; }

void lv_timer_set_cb(lv_timer_t * timer, lv_timer_cb_t timer_cb) { timer->timer_cb = timer_cb; }

void lv_timer_set_period(lv_timer_t * timer, uint32_t period) { timer->period = period; }

void lv_timer_ready(lv_timer_t * timer) { timer->last_run = lv_tick_get() - timer->period - 1; }

void lv_timer_set_repeat_count(lv_timer_t * timer, int32_t repeat_count) { timer->repeat_count = repeat_count; }

void lv_timer_reset(lv_timer_t * timer) { timer->last_run = lv_tick_get(); }

lv_timer_t * lv_timer_get_next(lv_timer_t * timer)
{
    if(timer == nullptr) return g_head ? &g_head->timer : nullptr;
    TimerNode * n = node_of(timer)->next;
    return n ? &n->timer : nullptr;
}

/*--------------------------------------------------------------------
 * Async calls: a one-shot timer with period 0
 *------------------------------------------------------------------*/
namespace {
struct AsyncInfo {
    void (*cb)(void *);
    void * user_data;
};

void async_timer_cb(lv_timer_t * t)
{
    auto * info = static_cast<AsyncInfo *>(t->user_data);
    AsyncInfo copy = *info;
    lv_mem_free(info);
    copy.cb(copy.user_data);
}
} // namespace

void lv_async_call(void (*cb)(void *), void * user_data)
{
    auto * info = static_cast<AsyncInfo *>(lv_mem_alloc_checked(sizeof(AsyncInfo)));
    info->cb = cb;
    info->user_data = user_data;
    lv_timer_t * t = lv_timer_create(async_timer_cb, 0, info);
    lv_timer_set_repeat_count(t, 1);
}
