// Event dispatch: class handlers, then user callbacks in the order added,
// then bubbling. Events in flight form a chain so that deleting an object
// inside a callback marks every event that still refers to it.
#include "lv_core_private.h"

#include <cstring>

namespace {

lv_event_t * g_event_head = nullptr; // innermost event being processed

bool filter_matches(uint32_t filter, lv_event_code_t code, bool preprocess)
{
    const bool is_pre = (filter & LV_EVENT_PREPROCESS) != 0;
    if(is_pre != preprocess) return false;
    const uint32_t f = filter & ~static_cast<uint32_t>(LV_EVENT_PREPROCESS);
    return f == LV_EVENT_ALL || f == static_cast<uint32_t>(code);
}

// Call the callbacks of e->current_target whose filter matches.
lv_res_t call_user_cbs(lv_event_t * e, bool preprocess)
{
    lv_obj_t * obj = e->current_target;
    for(uint32_t i = 0; i < obj->event_dsc_cnt; i++) {
        const lv_event_dsc_t dsc = obj->event_dsc[i];
        if(dsc.cb == nullptr || !filter_matches(dsc.filter, e->code, preprocess)) continue;
        e->user_data = dsc.user_data;
        dsc.cb(e);
        if(e->deleted) return LV_RES_INV;
        if(e->stop_processing) return LV_RES_OK;
    }
    return LV_RES_OK;
}

lv_res_t send_core(lv_event_t * e)
{
    lv_res_t res = call_user_cbs(e, true);
    if(res != LV_RES_OK || e->stop_processing) return res;

    res = lv_obj_event_base(nullptr, e);
    if(res != LV_RES_OK) return res;

    res = call_user_cbs(e, false);
    if(res != LV_RES_OK) return res;

    lv_obj_t * parent = e->current_target->parent;
    if(parent && !e->stop_bubbling && lv_obj_has_flag(e->current_target, LV_OBJ_FLAG_EVENT_BUBBLE)) {
        e->current_target = parent;
        e->stop_processing = 0;
        return send_core(e);
    }
    return LV_RES_OK;
}

} // namespace

lv_res_t lv_event_send(lv_obj_t * obj, lv_event_code_t event_code, void * param)
{
    if(obj == nullptr) return LV_RES_OK;
    lv_event_t e;
    std::memset(&e, 0, sizeof(e));
    e.target = obj;
    e.current_target = obj;
    e.code = event_code;
    e.param = param;
    e.prev = g_event_head;
    g_event_head = &e;
    const lv_res_t res = send_core(&e);
    g_event_head = e.prev;
    return res;
}

lv_res_t lv_obj_event_base(const lv_obj_class_t * class_p, lv_event_t * e)
{
    const lv_obj_class_t * base = class_p ? class_p->base_class : e->current_target->class_p;
    while(base && base->event_cb == nullptr) base = base->base_class;
    if(base == nullptr) return LV_RES_OK;
    base->event_cb(base, e);
    return e->deleted ? LV_RES_INV : LV_RES_OK;
}

void _lv_event_mark_deleted(lv_obj_t * obj)
{
    for(lv_event_t * e = g_event_head; e; e = e->prev)
        if(e->current_target == obj || e->target == obj) e->deleted = 1;
}

lv_event_dsc_t * lv_obj_add_event_cb(lv_obj_t * obj, lv_event_cb_t event_cb, lv_event_code_t filter, void * user_data)
{
    obj->event_dsc = static_cast<lv_event_dsc_t *>(
        lv_mem_realloc_checked(obj->event_dsc, (obj->event_dsc_cnt + 1) * sizeof(lv_event_dsc_t)));
    lv_event_dsc_t * d = &obj->event_dsc[obj->event_dsc_cnt++];
    d->cb = event_cb;
    d->user_data = user_data;
    d->filter = static_cast<uint32_t>(filter);
    return d;
}

namespace {
void remove_dsc_at(lv_obj_t * obj, uint32_t i)
{
    for(uint32_t j = i + 1; j < obj->event_dsc_cnt; j++) obj->event_dsc[j - 1] = obj->event_dsc[j];
    obj->event_dsc_cnt--;
    if(obj->event_dsc_cnt == 0) {
        lv_mem_free(obj->event_dsc);
        obj->event_dsc = nullptr;
    }
}
} // namespace

bool lv_obj_remove_event_cb(lv_obj_t * obj, lv_event_cb_t event_cb)
{
    for(uint32_t i = 0; i < obj->event_dsc_cnt; i++) {
        if(event_cb == nullptr || obj->event_dsc[i].cb == event_cb) {
            remove_dsc_at(obj, i);
            return true;
        }
    }
    return false;
}

bool lv_obj_remove_event_dsc(lv_obj_t * obj, lv_event_dsc_t * event_dsc)
{
    for(uint32_t i = 0; i < obj->event_dsc_cnt; i++) {
        if(&obj->event_dsc[i] == event_dsc) {
            remove_dsc_at(obj, i);
            return true;
        }
    }
    return false;
}

lv_obj_t * lv_event_get_target(lv_event_t * e) { return e->target; }
lv_obj_t * lv_event_get_current_target(lv_event_t * e) { return e->current_target; }
lv_event_code_t lv_event_get_code(lv_event_t * e)
{
    return static_cast<lv_event_code_t>(e->code & ~static_cast<uint32_t>(LV_EVENT_PREPROCESS));
}
void * lv_event_get_param(lv_event_t * e) { return e->param; }
void * lv_event_get_user_data(lv_event_t * e) { return e->user_data; }
void lv_event_stop_bubbling(lv_event_t * e) { e->stop_bubbling = 1; }
void lv_event_stop_processing(lv_event_t * e) { e->stop_processing = 1; }

lv_indev_t * lv_event_get_indev(lv_event_t * e)
{
    switch(e->code) {
        case LV_EVENT_PRESSED:
        case LV_EVENT_PRESSING:
        case LV_EVENT_PRESS_LOST:
        case LV_EVENT_SHORT_CLICKED:
        case LV_EVENT_LONG_PRESSED:
        case LV_EVENT_LONG_PRESSED_REPEAT:
        case LV_EVENT_CLICKED:
        case LV_EVENT_RELEASED:
        case LV_EVENT_SCROLL_BEGIN:
        case LV_EVENT_SCROLL_END:
        case LV_EVENT_SCROLL:
        case LV_EVENT_GESTURE:
        case LV_EVENT_KEY:
        case LV_EVENT_FOCUSED:
        case LV_EVENT_DEFOCUSED:
        case LV_EVENT_LEAVE:
            return static_cast<lv_indev_t *>(e->param);
        default:
            return nullptr;
    }
}

lv_point_t * lv_event_get_self_size_info(lv_event_t * e)
{
    return e->code == LV_EVENT_GET_SELF_SIZE ? static_cast<lv_point_t *>(e->param) : nullptr;
}

lv_draw_ctx_t * lv_event_get_draw_ctx(lv_event_t * e)
{
    switch(e->code) {
        case LV_EVENT_DRAW_MAIN_BEGIN:
        case LV_EVENT_DRAW_MAIN:
        case LV_EVENT_DRAW_MAIN_END:
        case LV_EVENT_DRAW_POST_BEGIN:
        case LV_EVENT_DRAW_POST:
        case LV_EVENT_DRAW_POST_END:
            return static_cast<lv_draw_ctx_t *>(e->param);
        default:
            return nullptr;
    }
}

void lv_event_set_ext_draw_size(lv_event_t * e, lv_coord_t size)
{
    if(e->code != LV_EVENT_REFR_EXT_DRAW_SIZE) return;
    auto * cur = static_cast<lv_coord_t *>(e->param);
    if(*cur < size) *cur = size;
}

lv_hit_test_info_t * lv_event_get_hit_test_info(lv_event_t * e)
{
    return e->code == LV_EVENT_HIT_TEST ? static_cast<lv_hit_test_info_t *>(e->param) : nullptr;
}
