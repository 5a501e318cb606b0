/**
 * @file wl_shared.c
 * Compositor-independent parts of the Wayland backend (see wl_shared.h).
 */
#include "wl_shared.h"

#include <string.h>

#include <xkbcommon/xkbcommon-keysyms.h>

/*---------------------------------------------------------------------
 * Pixels
 *-------------------------------------------------------------------*/
void lv_wl_copy_rect(uint8_t * dst, int32_t dst_stride, int dst_bpp, const uint8_t * src, int32_t src_stride,
                     const lv_wl_rect_t * r)
{
    int32_t w = r->x2 - r->x1;
    if(w <= 0 || r->y2 <= r->y1) return;
    for(int32_t y = r->y1; y < r->y2; y++) {
        const uint16_t * s = (const uint16_t *)(src + (size_t)y * (size_t)src_stride) + r->x1;
        if(dst_bpp == 2) {
            memcpy(dst + (size_t)y * (size_t)dst_stride + (size_t)r->x1 * 2u, s, (size_t)w * 2u);
        }
        else {
            uint32_t * d = (uint32_t *)(dst + (size_t)y * (size_t)dst_stride) + r->x1;
            for(int32_t x = 0; x < w; x++) d[x] = lv_wl_rgb565_to_xrgb8888(s[x]);
        }
    }
}

void lv_wl_blit565(uint8_t * img, int32_t stride, int32_t img_w, int32_t img_h, int32_t x, int32_t y,
                   const uint16_t * px, int32_t w, int32_t h)
{
    int32_t x1 = x < 0 ? 0 : x;
    int32_t y1 = y < 0 ? 0 : y;
    int32_t x2 = x + w > img_w ? img_w : x + w;
    int32_t y2 = y + h > img_h ? img_h : y + h;
    if(x2 <= x1 || y2 <= y1) return;
    for(int32_t row = y1; row < y2; row++) {
        const uint16_t * s = px + (size_t)(row - y) * (size_t)w + (size_t)(x1 - x);
        memcpy(img + (size_t)row * (size_t)stride + (size_t)x1 * 2u, s, (size_t)(x2 - x1) * 2u);
    }
}

/*---------------------------------------------------------------------
 * Damage
 *-------------------------------------------------------------------*/
static bool rect_contains(const lv_wl_rect_t * outer, const lv_wl_rect_t * inner)
{
    return inner->x1 >= outer->x1 && inner->y1 >= outer->y1 && inner->x2 <= outer->x2 && inner->y2 <= outer->y2;
}

static lv_wl_rect_t rect_bound(const lv_wl_rect_t * a, const lv_wl_rect_t * b)
{
    lv_wl_rect_t r;
    r.x1 = a->x1 < b->x1 ? a->x1 : b->x1;
    r.y1 = a->y1 < b->y1 ? a->y1 : b->y1;
    r.x2 = a->x2 > b->x2 ? a->x2 : b->x2;
    r.y2 = a->y2 > b->y2 ? a->y2 : b->y2;
    return r;
}

void lv_wl_damage_clear(lv_wl_damage_t * d)
{
    d->n = 0;
}

/* Add a clipped, non-empty rectangle; false when the list is full. */
static bool damage_insert(lv_wl_damage_t * d, const lv_wl_rect_t * r)
{
    int kept = 0;
    for(int i = 0; i < d->n; i++) {
        if(rect_contains(&d->r[i], r)) return true;
        if(!rect_contains(r, &d->r[i])) d->r[kept++] = d->r[i];
    }
    d->n = kept;
    if(d->n == LV_WL_DAMAGE_MAX) return false;
    d->r[d->n++] = *r;
    return true;
}

void lv_wl_damage_add(lv_wl_damage_t * d, lv_wl_rect_t r, int32_t w, int32_t h)
{
    if(r.x1 < 0) r.x1 = 0;
    if(r.y1 < 0) r.y1 = 0;
    if(r.x2 > w) r.x2 = w;
    if(r.y2 > h) r.y2 = h;
    if(r.x2 <= r.x1 || r.y2 <= r.y1) return;
    if(damage_insert(d, &r)) return;

    /* Full: of the held rectangles and the new one, join the two whose
     * bounding box adds the least area beyond their own, then rebuild the
     * list (the joined box may now cover others). */
    lv_wl_rect_t all[LV_WL_DAMAGE_MAX + 1];
    int n = d->n;
    memcpy(all, d->r, sizeof(d->r[0]) * (size_t)n);
    all[n++] = r;
    int bi = 0, bj = 1;
    int64_t best = INT64_MAX;
    for(int i = 0; i < n; i++) {
        for(int j = i + 1; j < n; j++) {
            lv_wl_rect_t b = rect_bound(&all[i], &all[j]);
            int64_t extra = lv_wl_rect_area(&b) - lv_wl_rect_area(&all[i]) - lv_wl_rect_area(&all[j]);
            if(extra < best) {
                best = extra;
                bi = i;
                bj = j;
            }
        }
    }
    all[bi] = rect_bound(&all[bi], &all[bj]);
    all[bj] = all[--n];
    d->n = 0;
    for(int i = 0; i < n; i++) damage_insert(d, &all[i]);
}

void lv_wl_damage_add_all(lv_wl_damage_t * d, const lv_wl_damage_t * src, int32_t w, int32_t h)
{
    for(int i = 0; i < src->n; i++) lv_wl_damage_add(d, src->r[i], w, h);
}

void lv_wl_damage_set_full(lv_wl_damage_t * d, int32_t w, int32_t h)
{
    d->n = 0;
    if(w > 0 && h > 0) {
        lv_wl_rect_t r = {0, 0, w, h};
        d->r[d->n++] = r;
    }
}

int64_t lv_wl_damage_area(const lv_wl_damage_t * d)
{
    int64_t a = 0;
    for(int i = 0; i < d->n; i++) a += lv_wl_rect_area(&d->r[i]);
    return a;
}

/*---------------------------------------------------------------------
 * Buffer pool
 *-------------------------------------------------------------------*/
void lv_wl_pool_init(lv_wl_pool_t * p, const lv_wl_pool_ops_t * ops, int32_t w, int32_t h)
{
    memset(p, 0, sizeof(*p));
    p->ops = *ops;
    p->w = w;
    p->h = h;
}

static void slot_free(lv_wl_pool_t * p, lv_wl_slot_t * s)
{
    if(s->handle) p->ops.destroy(p->ops.ctx, s->handle);
    memset(s, 0, sizeof(*s));
}

lv_wl_slot_t * lv_wl_pool_acquire(lv_wl_pool_t * p)
{
    lv_wl_slot_t * best = NULL;
    int64_t best_missing = 0;
    lv_wl_slot_t * empty = NULL;
    for(int i = 0; i < LV_WL_POOL_SLOTS; i++) {
        lv_wl_slot_t * s = &p->slot[i];
        if(!s->handle) {
            if(!empty) empty = s;
            continue;
        }
        if(s->busy || s->w != p->w || s->h != p->h) continue;
        int64_t missing = lv_wl_damage_area(&s->missing);
        if(!best || missing < best_missing) {
            best = s;
            best_missing = missing;
        }
    }
    if(best) return best;
    if(!empty || p->w <= 0 || p->h <= 0) return NULL;
    empty->handle = p->ops.create(p->ops.ctx, p->w, p->h);
    if(!empty->handle) return NULL;
    empty->w = p->w;
    empty->h = p->h;
    empty->busy = false;
    lv_wl_damage_set_full(&empty->missing, p->w, p->h);
    return empty;
}

void lv_wl_pool_submit(lv_wl_pool_t * p, lv_wl_slot_t * s)
{
    (void)p;
    s->busy = true;
}

void lv_wl_pool_release(lv_wl_pool_t * p, void * handle)
{
    for(int i = 0; i < LV_WL_POOL_SLOTS; i++) {
        lv_wl_slot_t * s = &p->slot[i];
        if(!handle || s->handle != handle) continue;
        s->busy = false;
        if(s->w != p->w || s->h != p->h) slot_free(p, s);
        return;
    }
}

void lv_wl_pool_resize(lv_wl_pool_t * p, int32_t w, int32_t h)
{
    p->w = w;
    p->h = h;
    for(int i = 0; i < LV_WL_POOL_SLOTS; i++) {
        lv_wl_slot_t * s = &p->slot[i];
        if(s->handle && !s->busy && (s->w != w || s->h != h)) slot_free(p, s);
    }
}

void lv_wl_pool_damage(lv_wl_pool_t * p, const lv_wl_rect_t * r)
{
    for(int i = 0; i < LV_WL_POOL_SLOTS; i++) {
        lv_wl_slot_t * s = &p->slot[i];
        if(s->handle) lv_wl_damage_add(&s->missing, *r, s->w, s->h);
    }
}

void lv_wl_pool_destroy(lv_wl_pool_t * p)
{
    for(int i = 0; i < LV_WL_POOL_SLOTS; i++) slot_free(p, &p->slot[i]);
}

int lv_wl_pool_busy_count(const lv_wl_pool_t * p)
{
    int n = 0;
    for(int i = 0; i < LV_WL_POOL_SLOTS; i++) n += (p->slot[i].handle && p->slot[i].busy) ? 1 : 0;
    return n;
}

/*---------------------------------------------------------------------
 * Pointer and touch
 *-------------------------------------------------------------------*/
static lv_coord_t fixed_to_coord(int32_t f, int32_t size)
{
    /* Floor, not truncation: -0.5 is pixel -1, clamped to 0 below. */
    int32_t v = f >> 8;
    if(v < 0) v = 0;
    if(size > 0 && v > size - 1) v = size - 1;
    if(v > LV_COORD_MAX) v = LV_COORD_MAX;
    return (lv_coord_t)v;
}

void lv_wl_ptr_init(lv_wl_ptr_t * p, int32_t w, int32_t h)
{
    memset(p, 0, sizeof(*p));
    p->w = w;
    p->h = h;
}

void lv_wl_ptr_set_size(lv_wl_ptr_t * p, int32_t w, int32_t h)
{
    p->w = w;
    p->h = h;
    if(w > 0 && p->x > w - 1) p->x = (lv_coord_t)(w - 1);
    if(h > 0 && p->y > h - 1) p->y = (lv_coord_t)(h - 1);
}

void lv_wl_ptr_motion(lv_wl_ptr_t * p, int32_t fx, int32_t fy)
{
    p->x = fixed_to_coord(fx, p->w);
    p->y = fixed_to_coord(fy, p->h);
}

static void ptr_push(lv_wl_ptr_t * p, bool pressed)
{
    if(pressed == p->pressed) return;
    p->pressed = pressed;
    if(p->count == LV_WL_PTR_QUEUE) {
        /* Nobody reads: forget the oldest change, the latest state still wins. */
        p->head = (p->head + 1) % LV_WL_PTR_QUEUE;
        p->count--;
    }
    lv_wl_ptr_event_t * e = &p->q[(p->head + p->count) % LV_WL_PTR_QUEUE];
    e->x = p->x;
    e->y = p->y;
    e->pressed = pressed;
    p->count++;
}

void lv_wl_ptr_button(lv_wl_ptr_t * p, bool pressed)
{
    ptr_push(p, pressed);
}

void lv_wl_ptr_leave(lv_wl_ptr_t * p)
{
    ptr_push(p, false);
}

void lv_wl_touch_down(lv_wl_ptr_t * p, int32_t id, int32_t fx, int32_t fy)
{
    if(p->touch_active) return;
    p->touch_active = true;
    p->touch_id = id;
    lv_wl_ptr_motion(p, fx, fy);
    ptr_push(p, true);
}

void lv_wl_touch_motion(lv_wl_ptr_t * p, int32_t id, int32_t fx, int32_t fy)
{
    if(!p->touch_active || id != p->touch_id) return;
    lv_wl_ptr_motion(p, fx, fy);
}

void lv_wl_touch_up(lv_wl_ptr_t * p, int32_t id)
{
    if(!p->touch_active || id != p->touch_id) return;
    p->touch_active = false;
    ptr_push(p, false);
}

void lv_wl_touch_cancel(lv_wl_ptr_t * p)
{
    if(!p->touch_active) return;
    p->touch_active = false;
    ptr_push(p, false);
}

void lv_wl_ptr_read(lv_wl_ptr_t * p, lv_indev_data_t * data)
{
    if(p->count > 0) {
        lv_wl_ptr_event_t e = p->q[p->head];
        p->head = (p->head + 1) % LV_WL_PTR_QUEUE;
        p->count--;
        data->point.x = e.x;
        data->point.y = e.y;
        data->state = e.pressed ? LV_INDEV_STATE_PRESSED : LV_INDEV_STATE_RELEASED;
        /* Ask for another read at once while the reported state is not the latest. */
        data->continue_reading = p->count > 0 || e.x != p->x || e.y != p->y || e.pressed != p->pressed;
        return;
    }
    data->point.x = p->x;
    data->point.y = p->y;
    data->state = p->pressed ? LV_INDEV_STATE_PRESSED : LV_INDEV_STATE_RELEASED;
    data->continue_reading = false;
}

/*---------------------------------------------------------------------
 * Keyboard
 *-------------------------------------------------------------------*/
void lv_wl_kbd_init(lv_wl_kbd_t * k)
{
    memset(k, 0, sizeof(*k));
}

void lv_wl_kbd_key(lv_wl_kbd_t * k, uint32_t lv_key, bool pressed)
{
    if(lv_key == 0) return;
    if(k->count == LV_WL_KEY_QUEUE) {
        k->head = (k->head + 1) % LV_WL_KEY_QUEUE;
        k->count--;
    }
    lv_wl_key_event_t * e = &k->q[(k->head + k->count) % LV_WL_KEY_QUEUE];
    e->key = lv_key;
    e->pressed = pressed;
    k->count++;
}

void lv_wl_kbd_leave(lv_wl_kbd_t * k)
{
    /* The release of a key held while the focus goes never arrives. */
    bool down = k->pressed;
    for(int i = 0; i < k->count; i++) down = k->q[(k->head + i) % LV_WL_KEY_QUEUE].pressed;
    if(down) {
        uint32_t key = k->count > 0 ? k->q[(k->head + k->count - 1) % LV_WL_KEY_QUEUE].key : k->last_key;
        lv_wl_kbd_key(k, key, false);
    }
}

void lv_wl_kbd_read(lv_wl_kbd_t * k, lv_indev_data_t * data)
{
    if(k->count > 0) {
        lv_wl_key_event_t e = k->q[k->head];
        k->head = (k->head + 1) % LV_WL_KEY_QUEUE;
        k->count--;
        k->last_key = e.key;
        k->pressed = e.pressed;
    }
    data->key = k->last_key;
    data->state = k->pressed ? LV_INDEV_STATE_PRESSED : LV_INDEV_STATE_RELEASED;
    data->continue_reading = k->count > 0;
}

/* LVGL's control-key codes (its public LV_KEY_* values), named here so as
 * not to depend on whether the core's header carries them. */
enum {
    WL_LV_KEY_UP = 17,
    WL_LV_KEY_DOWN = 18,
    WL_LV_KEY_RIGHT = 19,
    WL_LV_KEY_LEFT = 20,
    WL_LV_KEY_ESC = 27,
    WL_LV_KEY_DEL = 127,
    WL_LV_KEY_BACKSPACE = 8,
    WL_LV_KEY_ENTER = 10,
    WL_LV_KEY_NEXT = 9,
    WL_LV_KEY_PREV = 11,
    WL_LV_KEY_HOME = 2,
    WL_LV_KEY_END = 3,
};

uint32_t lv_wl_keysym_to_lv_key(uint32_t keysym, uint32_t utf32)
{
    switch(keysym) {
        case XKB_KEY_Up:
        case XKB_KEY_KP_Up: return WL_LV_KEY_UP;
        case XKB_KEY_Down:
        case XKB_KEY_KP_Down: return WL_LV_KEY_DOWN;
        case XKB_KEY_Right:
        case XKB_KEY_KP_Right: return WL_LV_KEY_RIGHT;
        case XKB_KEY_Left:
        case XKB_KEY_KP_Left: return WL_LV_KEY_LEFT;
        case XKB_KEY_Escape: return WL_LV_KEY_ESC;
        case XKB_KEY_Delete:
        case XKB_KEY_KP_Delete: return WL_LV_KEY_DEL;
        case XKB_KEY_BackSpace: return WL_LV_KEY_BACKSPACE;
        case XKB_KEY_Return:
        case XKB_KEY_KP_Enter: return WL_LV_KEY_ENTER;
        case XKB_KEY_Tab: return WL_LV_KEY_NEXT;
        case XKB_KEY_ISO_Left_Tab: return WL_LV_KEY_PREV;
        case XKB_KEY_Home:
        case XKB_KEY_KP_Home: return WL_LV_KEY_HOME;
        case XKB_KEY_End:
        case XKB_KEY_KP_End: return WL_LV_KEY_END;
        default: break;
    }
    /* Printable text only; control characters other than the above mean nothing. */
    if(utf32 >= 0x20 && utf32 != 0x7F) return utf32;
    return 0;
}

/*---------------------------------------------------------------------
 * Wheel
 *-------------------------------------------------------------------*/
/* Continuous scroll distance that makes one step: 10 surface units, the
 * distance compositors report per wheel notch when they send no steps. */
#define WL_AXIS_STEP (10 * 256)

void lv_wl_axis_init(lv_wl_axis_t * a)
{
    memset(a, 0, sizeof(*a));
}

void lv_wl_axis_value(lv_wl_axis_t * a, int32_t fixed_value)
{
    if(a->discrete_seen) return; /* already counted as steps in this frame */
    a->remainder += fixed_value;
    a->steps += a->remainder / WL_AXIS_STEP;
    a->remainder %= WL_AXIS_STEP;
}

void lv_wl_axis_discrete(lv_wl_axis_t * a, int32_t steps)
{
    a->discrete_seen = true;
    a->steps += steps;
}

void lv_wl_axis_frame(lv_wl_axis_t * a)
{
    a->discrete_seen = false;
}

void lv_wl_axis_read(lv_wl_axis_t * a, lv_indev_data_t * data)
{
    int32_t s = a->steps;
    if(s > INT16_MAX) s = INT16_MAX;
    if(s < INT16_MIN) s = INT16_MIN;
    a->steps -= s;
    data->enc_diff = (int16_t)s;
    data->state = a->pressed ? LV_INDEV_STATE_PRESSED : LV_INDEV_STATE_RELEASED;
    data->continue_reading = false;
}
