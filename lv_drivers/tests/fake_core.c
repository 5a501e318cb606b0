/**
 * @file fake_core.c
 * See fake_core.h. Only what the backend and the test client call.
 */
#define _GNU_SOURCE
#include "fake_core.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#define MAX_TIMERS 32

static lv_timer_t * timers[MAX_TIMERS];
static fake_paint_cb_t paint_cb;
static fake_input_cb_t input_cb;
static uint32_t refreshes, flushes;

static void fail(const char * what)
{
    fprintf(stderr, "fake core: %s\n", what);
    abort();
}

void fake_core_init(fake_paint_cb_t paint, fake_input_cb_t input)
{
    paint_cb = paint;
    input_cb = input;
}

uint32_t fake_refresh_count(void)
{
    return refreshes;
}

uint32_t fake_flush_count(void)
{
    return flushes;
}

/* ------------------------------------------------------------------ tick */
uint32_t lv_tick_get(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (uint32_t)((uint64_t)ts.tv_sec * 1000u + (uint64_t)ts.tv_nsec / 1000000u);
}

void lv_init(void) {}

/* ---------------------------------------------------------------- timers */
lv_timer_t * lv_timer_create(lv_timer_cb_t cb, uint32_t period, void * user_data)
{
    for(int i = 0; i < MAX_TIMERS; i++) {
        if(timers[i]) continue;
        lv_timer_t * t = calloc(1, sizeof(*t));
        if(!t) fail("out of memory");
        t->timer_cb = cb;
        t->period = period;
        t->user_data = user_data;
        t->repeat_count = -1;
        t->last_run = lv_tick_get();
        timers[i] = t;
        return t;
    }
    fail("too many timers");
    return NULL;
}

void lv_timer_del(lv_timer_t * t)
{
    for(int i = 0; i < MAX_TIMERS; i++) {
        if(timers[i] == t) {
            timers[i] = NULL;
            free(t);
            return;
        }
    }
    fail("lv_timer_del of an unknown timer");
}

static void check_timer(lv_timer_t * t)
{
    for(int i = 0; i < MAX_TIMERS; i++)
        if(timers[i] == t) return;
    fail("use of a deleted or unknown timer");
}

void lv_timer_pause(lv_timer_t * t)
{
    check_timer(t);
    t->paused = 1;
}

void lv_timer_resume(lv_timer_t * t)
{
    check_timer(t);
    t->paused = 0;
}

void lv_timer_ready(lv_timer_t * t)
{
    check_timer(t);
    t->last_run = lv_tick_get() - t->period - 1;
}

uint32_t lv_timer_handler(void)
{
    /* Run every due timer once; a callback may create or delete timers. */
    lv_timer_t * due[MAX_TIMERS];
    int n = 0;
    uint32_t now = lv_tick_get();
    for(int i = 0; i < MAX_TIMERS; i++) {
        lv_timer_t * t = timers[i];
        if(t && !t->paused && now - t->last_run >= t->period) due[n++] = t;
    }
    for(int i = 0; i < n; i++) {
        bool alive = false;
        for(int j = 0; j < MAX_TIMERS; j++) alive = alive || timers[j] == due[i];
        if(!alive || due[i]->paused) continue;
        due[i]->last_run = lv_tick_get();
        due[i]->timer_cb(due[i]);
    }
    uint32_t next = LV_NO_TIMER_READY;
    now = lv_tick_get();
    for(int i = 0; i < MAX_TIMERS; i++) {
        lv_timer_t * t = timers[i];
        if(!t || t->paused) continue;
        uint32_t el = now - t->last_run;
        uint32_t left = el >= t->period ? 0 : t->period - el;
        if(left < next) next = left;
    }
    return next;
}

/* --------------------------------------------------------------- display */
void lv_disp_drv_init(lv_disp_drv_t * drv)
{
    memset(drv, 0, sizeof(*drv));
    drv->hor_res = 320;
    drv->ver_res = 240;
    drv->dpi = 130;
    drv->antialiasing = 1;
}

void lv_disp_draw_buf_init(lv_disp_draw_buf_t * b, void * buf1, void * buf2, uint32_t size)
{
    memset(b, 0, sizeof(*b));
    b->buf1 = buf1;
    b->buf2 = buf2;
    b->buf_act = buf1;
    b->size = size;
}

void fake_invalidate(lv_disp_t * d, lv_coord_t x1, lv_coord_t y1, lv_coord_t x2, lv_coord_t y2)
{
    if(!d) return;
    if(d->inv_p >= LV_INV_BUF_SIZE) {
        fake_invalidate_all(d);
        return;
    }
    lv_area_t * a = &d->inv_areas[d->inv_p++];
    a->x1 = x1;
    a->y1 = y1;
    a->x2 = x2;
    a->y2 = y2;
    lv_timer_resume(d->refr_timer);
}

void fake_invalidate_all(lv_disp_t * d)
{
    d->inv_p = 0;
    fake_invalidate(d, 0, 0, (lv_coord_t)(d->driver->hor_res - 1), (lv_coord_t)(d->driver->ver_res - 1));
}

static void refresh(lv_timer_t * t)
{
    lv_disp_t * d = t->user_data;
    lv_disp_drv_t * drv = d->driver;
    lv_disp_draw_buf_t * b = drv->draw_buf;
    int n = d->inv_p;
    d->inv_p = 0;
    lv_timer_pause(t);
    if(n == 0) return;
    d->rendering_in_progress = 1;
    for(int i = 0; i < n; i++) {
        lv_area_t a = d->inv_areas[i];
        if(a.x1 < 0) a.x1 = 0;
        if(a.y1 < 0) a.y1 = 0;
        if(a.x2 > drv->hor_res - 1) a.x2 = (lv_coord_t)(drv->hor_res - 1);
        if(a.y2 > drv->ver_res - 1) a.y2 = (lv_coord_t)(drv->ver_res - 1);
        if(a.x2 < a.x1 || a.y2 < a.y1) continue;
        int32_t w = a.x2 - a.x1 + 1;
        int32_t rows = (int32_t)(b->size / (uint32_t)w);
        if(rows < 1) fail("draw buffer smaller than one row");
        for(int32_t y = a.y1; y <= a.y2; y += rows) {
            lv_area_t part = {a.x1, (lv_coord_t)y, a.x2, (lv_coord_t)(y + rows - 1 > a.y2 ? a.y2 : y + rows - 1)};
            lv_color_t * px = b->buf1;
            for(int32_t py = part.y1; py <= part.y2; py++)
                for(int32_t px_x = part.x1; px_x <= part.x2; px_x++) *px++ = paint_cb(d, (lv_coord_t)px_x, (lv_coord_t)py);
            b->flushing = 1;
            b->flushing_last = (i == n - 1 && part.y2 == a.y2) ? 1 : 0;
            flushes++;
            drv->flush_cb(drv, &part, b->buf1);
            if(b->flushing) fail("flush_cb returned without lv_disp_flush_ready");
        }
    }
    d->rendering_in_progress = 0;
    refreshes++;
}

lv_disp_t * lv_disp_drv_register(lv_disp_drv_t * drv)
{
    if(!drv->flush_cb || !drv->draw_buf || !drv->draw_buf->buf1) fail("display driver incomplete");
    lv_disp_t * d = calloc(1, sizeof(*d));
    if(!d) fail("out of memory");
    d->driver = drv;
    d->refr_timer = lv_timer_create(refresh, 30, d);
    fake_invalidate_all(d);
    return d;
}

void lv_disp_drv_update(lv_disp_t * d, lv_disp_drv_t * drv)
{
    if(d->rendering_in_progress) fail("display changed while rendering");
    d->driver = drv;
    fake_invalidate_all(d);
}

void lv_disp_remove(lv_disp_t * d)
{
    if(d->rendering_in_progress) fail("display removed while rendering");
    lv_timer_del(d->refr_timer);
    free(d);
}

void lv_disp_flush_ready(lv_disp_drv_t * drv)
{
    drv->draw_buf->flushing = 0;
    drv->draw_buf->flushing_last = 0;
}

bool lv_disp_flush_is_last(lv_disp_drv_t * drv)
{
    return drv->draw_buf->flushing_last != 0;
}

/* ----------------------------------------------------------------- input */
static void read_input(lv_timer_t * t)
{
    lv_indev_t * indev = t->user_data;
    lv_indev_data_t data;
    bool busy = false;
    int guard = 0;
    do {
        memset(&data, 0, sizeof(data));
        indev->driver->read_cb(indev->driver, &data);
        if(input_cb) input_cb(indev, &data);
        busy = busy || data.state == LV_INDEV_STATE_PRESSED || data.enc_diff != 0;
    } while(data.continue_reading && ++guard < 64);
    /* Like our core: nothing held, nothing to poll for. */
    if(!busy) lv_timer_pause(t);
}

void lv_indev_drv_init(lv_indev_drv_t * drv)
{
    memset(drv, 0, sizeof(*drv));
}

lv_indev_t * lv_indev_drv_register(lv_indev_drv_t * drv)
{
    if(!drv->read_cb) fail("input driver without read_cb");
    lv_indev_t * indev = calloc(1, sizeof(*indev));
    if(!indev) fail("out of memory");
    indev->driver = drv;
    drv->read_timer = lv_timer_create(read_input, 30, indev);
    return indev;
}

void lv_indev_delete(lv_indev_t * indev)
{
    lv_timer_del(indev->driver->read_timer);
    indev->driver->read_timer = NULL;
    free(indev);
}

/* ------------------------------------------------------- object tree */
/* The stand-in core has no objects: a cancelled touch finds nothing pressed.
 * The reset it asks for is reported on stdout, one line "indev-reset". */
lv_obj_t * lv_disp_get_scr_act(lv_disp_t * d)
{
    (void)d;
    return NULL;
}

lv_obj_t * lv_disp_get_layer_top(lv_disp_t * d)
{
    (void)d;
    return NULL;
}

bool lv_obj_has_state(const lv_obj_t * obj, lv_state_t state)
{
    (void)obj;
    (void)state;
    return false;
}

void lv_obj_clear_state(lv_obj_t * obj, lv_state_t state)
{
    (void)obj;
    (void)state;
}

uint32_t lv_obj_get_child_cnt(const lv_obj_t * obj)
{
    (void)obj;
    return 0;
}

lv_obj_t * lv_obj_get_child(const lv_obj_t * obj, int32_t id)
{
    (void)obj;
    (void)id;
    return NULL;
}

lv_res_t lv_event_send(lv_obj_t * obj, lv_event_code_t code, void * param)
{
    (void)obj;
    (void)code;
    (void)param;
    return LV_RES_OK;
}

void lv_indev_reset(lv_indev_t * indev, lv_obj_t * obj)
{
    (void)indev;
    (void)obj;
    printf("indev-reset\n");
}
