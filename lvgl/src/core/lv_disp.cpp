// Displays and screens, including the screen-load animation.
#include "lv_core_private.h"

#include <cstring>

namespace {

lv_disp_t ** g_disps = nullptr; // pool array, in registration order
uint32_t g_disp_cnt = 0;
lv_disp_t * g_default = nullptr;

void remove_from_list(lv_disp_t * disp)
{
    uint32_t i = 0;
    while(i < g_disp_cnt && g_disps[i] != disp) i++;
    if(i == g_disp_cnt) return;
    for(uint32_t j = i + 1; j < g_disp_cnt; j++) g_disps[j - 1] = g_disps[j];
    g_disp_cnt--;
    if(g_disp_cnt == 0) {
        lv_mem_free(g_disps);
        g_disps = nullptr;
    }
}

/* Immediate switch: LVGL sends the whole set of load events in one go. */
void scr_load_internal(lv_obj_t * scr)
{
    lv_disp_t * d = lv_obj_get_disp(scr);
    if(d == nullptr) return;
    lv_obj_t * old = d->act_scr;
    if(old) lv_event_send(old, LV_EVENT_SCREEN_UNLOAD_START, nullptr);
    if(old) lv_event_send(scr, LV_EVENT_SCREEN_LOAD_START, nullptr);
    d->act_scr = scr;
    lv_event_send(scr, LV_EVENT_SCREEN_LOADED, nullptr);
    if(old && old != scr) lv_event_send(old, LV_EVENT_SCREEN_UNLOADED, nullptr);
    lv_obj_invalidate(scr);
}

// The new screen's animation only carries the timing (no movement).
void scr_anim_noop(void *, int32_t) {}

void scr_load_anim_start(lv_anim_t * a)
{
    auto * scr = static_cast<lv_obj_t *>(a->var);
    lv_disp_t * d = lv_obj_get_disp(scr);
    d->prev_scr = d->act_scr;
    d->act_scr = scr;
    lv_event_send(scr, LV_EVENT_SCREEN_LOAD_START, nullptr);
}

void scr_anim_ready(lv_anim_t * a)
{
    auto * scr = static_cast<lv_obj_t *>(a->var);
    lv_disp_t * d = lv_obj_get_disp(scr);
    lv_event_send(d->act_scr, LV_EVENT_SCREEN_LOADED, nullptr);
    if(d->prev_scr) lv_event_send(d->prev_scr, LV_EVENT_SCREEN_UNLOADED, nullptr);
    if(d->prev_scr && d->del_prev) lv_obj_del(d->prev_scr);
    d->prev_scr = nullptr;
    d->draw_prev_over_act = 0;
    d->scr_to_load = nullptr;
    if(d->act_scr) {
        lv_obj_remove_local_style_prop(d->act_scr, LV_STYLE_OPA, 0);
        lv_obj_invalidate(d->act_scr);
    }
}

bool is_out_anim(lv_scr_load_anim_t t)
{
    return t == LV_SCR_LOAD_ANIM_FADE_OUT || t == LV_SCR_LOAD_ANIM_OUT_LEFT || t == LV_SCR_LOAD_ANIM_OUT_RIGHT ||
           t == LV_SCR_LOAD_ANIM_OUT_TOP || t == LV_SCR_LOAD_ANIM_OUT_BOTTOM;
}

} // namespace

/*--------------------------------------------------------------------
 * Drivers and registration
 *------------------------------------------------------------------*/
void lv_disp_drv_init(lv_disp_drv_t * driver)
{
    std::memset(driver, 0, sizeof(*driver));
    driver->hor_res = 320;
    driver->ver_res = 240;
    driver->physical_hor_res = -1;
    driver->physical_ver_res = -1;
    driver->antialiasing = 1;
    driver->dpi = LV_DPI_DEF;
    driver->color_chroma_key = LV_COLOR_CHROMA_KEY;
}

void lv_disp_draw_buf_init(lv_disp_draw_buf_t * draw_buf, void * buf1, void * buf2, uint32_t size_in_px_cnt)
{
    std::memset(draw_buf, 0, sizeof(*draw_buf));
    draw_buf->buf1 = buf1;
    draw_buf->buf2 = buf2;
    draw_buf->buf_act = buf1;
    draw_buf->size = size_in_px_cnt;
}

lv_disp_t * lv_disp_drv_register(lv_disp_drv_t * driver)
{
    auto * disp = static_cast<lv_disp_t *>(lv_mem_alloc_checked(sizeof(lv_disp_t)));
    std::memset(disp, 0, sizeof(*disp));
    disp->driver = driver;
    disp->bg_color = lv_color_white();
    disp->bg_opa = LV_OPA_COVER;
    disp->last_activity_time = lv_tick_get();

    g_disps = static_cast<lv_disp_t **>(lv_mem_realloc_checked(g_disps, (g_disp_cnt + 1) * sizeof(lv_disp_t *)));
    g_disps[g_disp_cnt++] = disp;

    disp->refr_timer = lv_timer_create(_lv_disp_refr_timer, LV_DISP_DEF_REFR_PERIOD, disp);

#if LV_USE_THEME_DEFAULT
    if(lv_theme_default_is_inited() == false)
        disp->theme = lv_theme_default_init(disp, lv_color_hex(0x2196F3), lv_color_hex(0xF44336),
                                            LV_THEME_DEFAULT_DARK, LV_FONT_DEFAULT);
    else
        disp->theme = lv_theme_default_get();
#endif

    // Screens are created on the default display: make it this one meanwhile.
    lv_disp_t * prev_default = g_default;
    g_default = disp;
    disp->act_scr = lv_obj_create(nullptr);
    disp->top_layer = lv_obj_create(nullptr);
    disp->sys_layer = lv_obj_create(nullptr);
    lv_obj_remove_style_all(disp->top_layer);
    lv_obj_remove_style_all(disp->sys_layer);
    lv_obj_clear_flag(disp->top_layer, LV_OBJ_FLAG_CLICKABLE);
    lv_obj_clear_flag(disp->sys_layer, LV_OBJ_FLAG_CLICKABLE);
    lv_obj_set_scrollbar_mode(disp->top_layer, LV_SCROLLBAR_MODE_OFF);
    lv_obj_set_scrollbar_mode(disp->sys_layer, LV_SCROLLBAR_MODE_OFF);
    g_default = prev_default ? prev_default : disp;

    lv_obj_invalidate(disp->act_scr);
    lv_timer_ready(disp->refr_timer); // first frame at the first handler pass
    return disp;
}

void lv_disp_drv_update(lv_disp_t * disp, lv_disp_drv_t * new_drv)
{
    disp->driver = new_drv;
    const lv_coord_t w = lv_disp_get_hor_res(disp);
    const lv_coord_t h = lv_disp_get_ver_res(disp);
    for(uint32_t i = 0; i < disp->screen_cnt; i++) {
        lv_obj_t * scr = disp->screens[i];
        lv_area_set(&scr->coords, 0, 0, static_cast<lv_coord_t>(w - 1), static_cast<lv_coord_t>(h - 1));
        lv_obj_mark_layout_as_dirty(scr);
    }
    lv_area_t a;
    lv_area_set(&a, 0, 0, static_cast<lv_coord_t>(w - 1), static_cast<lv_coord_t>(h - 1));
    _lv_inv_area(disp, &a);
}

void lv_disp_remove(lv_disp_t * disp)
{
    if(disp == nullptr) return;
    for(lv_indev_t * i = lv_indev_get_next(nullptr); i; i = lv_indev_get_next(i))
        if(i->driver->disp == disp) i->driver->disp = nullptr;

    // Delete the screens while this display is the default, so nothing lands elsewhere.
    lv_disp_t * prev_default = g_default;
    g_default = disp;
    disp->act_scr = nullptr;
    disp->prev_scr = nullptr;
    disp->scr_to_load = nullptr;
    while(disp->screen_cnt > 0) lv_obj_del(disp->screens[disp->screen_cnt - 1]);
    g_default = prev_default == disp ? nullptr : prev_default;

    if(disp->refr_timer) lv_timer_del(disp->refr_timer);
    remove_from_list(disp);
    if(g_default == nullptr && g_disp_cnt > 0) g_default = g_disps[0];
    lv_mem_free(disp->screens);
    lv_mem_free(disp);
}

void _lv_disp_core_deinit()
{
    while(g_disp_cnt > 0) lv_disp_remove(g_disps[g_disp_cnt - 1]);
    g_default = nullptr;
}

void lv_disp_set_default(lv_disp_t * disp) { g_default = disp; }

lv_disp_t * lv_disp_get_default(void) { return g_default; }

lv_disp_t * lv_disp_get_next(lv_disp_t * disp)
{
    if(disp == nullptr) return g_disp_cnt ? g_disps[0] : nullptr;
    for(uint32_t i = 0; i + 1 < g_disp_cnt; i++)
        if(g_disps[i] == disp) return g_disps[i + 1];
    return nullptr;
}

lv_coord_t lv_disp_get_hor_res(lv_disp_t * disp)
{
    if(disp == nullptr) disp = g_default;
    return disp ? disp->driver->hor_res : 0;
}

lv_coord_t lv_disp_get_ver_res(lv_disp_t * disp)
{
    if(disp == nullptr) disp = g_default;
    return disp ? disp->driver->ver_res : 0;
}

lv_coord_t lv_disp_get_dpi(const lv_disp_t * disp)
{
    if(disp == nullptr) disp = g_default;
    return disp ? static_cast<lv_coord_t>(disp->driver->dpi) : LV_DPI_DEF;
}

lv_disp_draw_buf_t * lv_disp_get_draw_buf(lv_disp_t * disp)
{
    if(disp == nullptr) disp = g_default;
    return disp ? disp->driver->draw_buf : nullptr;
}

void lv_disp_flush_ready(lv_disp_drv_t * disp_drv)
{
    disp_drv->draw_buf->flushing = 0;
    disp_drv->draw_buf->flushing_last = 0;
}

bool lv_disp_flush_is_last(lv_disp_drv_t * disp_drv) { return disp_drv->draw_buf->flushing_last; }

lv_coord_t lv_disp_dpx(const lv_disp_t * disp, lv_coord_t n)
{
    if(n == 0) return 0;
    const int32_t dpi = lv_disp_get_dpi(disp);
    const int32_t v = (n * dpi + 80) / 160;
    return static_cast<lv_coord_t>(v > 0 ? v : 1);
}

/*--------------------------------------------------------------------
 * Screens
 *------------------------------------------------------------------*/
void _lv_disp_add_screen(lv_disp_t * disp, lv_obj_t * scr)
{
    disp->screens =
        static_cast<lv_obj_t **>(lv_mem_realloc_checked(disp->screens, (disp->screen_cnt + 1) * sizeof(lv_obj_t *)));
    disp->screens[disp->screen_cnt++] = scr;
}

void _lv_disp_remove_screen(lv_obj_t * scr)
{
    lv_disp_t * d = scr->disp;
    if(d == nullptr) return;
    uint32_t i = 0;
    while(i < d->screen_cnt && d->screens[i] != scr) i++;
    if(i < d->screen_cnt) {
        for(uint32_t j = i + 1; j < d->screen_cnt; j++) d->screens[j - 1] = d->screens[j];
        d->screen_cnt--;
    }
    if(d->act_scr == scr) d->act_scr = nullptr;
    if(d->prev_scr == scr) d->prev_scr = nullptr;
    if(d->scr_to_load == scr) d->scr_to_load = nullptr;
    if(d->top_layer == scr) d->top_layer = nullptr;
    if(d->sys_layer == scr) d->sys_layer = nullptr;
}

bool _lv_disp_screen_is_shown(lv_disp_t * disp, const lv_obj_t * scr)
{
    return scr == disp->act_scr || scr == disp->prev_scr || scr == disp->top_layer || scr == disp->sys_layer;
}

lv_obj_t * lv_disp_get_scr_act(lv_disp_t * disp)
{
    if(disp == nullptr) disp = g_default;
    return disp ? disp->act_scr : nullptr;
}

lv_obj_t * lv_disp_get_scr_prev(lv_disp_t * disp)
{
    if(disp == nullptr) disp = g_default;
    return disp ? disp->prev_scr : nullptr;
}

lv_obj_t * lv_disp_get_layer_top(lv_disp_t * disp)
{
    if(disp == nullptr) disp = g_default;
    return disp ? disp->top_layer : nullptr;
}

lv_obj_t * lv_disp_get_layer_sys(lv_disp_t * disp)
{
    if(disp == nullptr) disp = g_default;
    return disp ? disp->sys_layer : nullptr;
}

void lv_disp_load_scr(lv_obj_t * scr) { lv_scr_load_anim(scr, LV_SCR_LOAD_ANIM_NONE, 0, 0, false); }

/* Only LV_SCR_LOAD_ANIM_NONE is animated faithfully; the other kinds keep its
 * timing and switch without movement or fading. */
void lv_scr_load_anim(lv_obj_t * new_scr, lv_scr_load_anim_t anim_type, uint32_t time, uint32_t delay, bool auto_del)
{
    lv_disp_t * d = lv_obj_get_disp(new_scr);
    if(d == nullptr) return;
    lv_obj_t * act_scr = d->act_scr;

    // A load still under way finishes at once.
    if(d->scr_to_load && act_scr != d->scr_to_load) {
        lv_obj_t * pending = d->scr_to_load;
        lv_anim_del(pending, nullptr);
        scr_load_internal(pending);
        if(d->del_prev && act_scr) lv_obj_del(act_scr);
        act_scr = pending;
    }

    d->scr_to_load = new_scr;
    if(d->prev_scr && d->del_prev) {
        lv_obj_t * p = d->prev_scr;
        d->prev_scr = nullptr;
        lv_obj_del(p);
    }
    d->draw_prev_over_act = is_out_anim(anim_type);
    d->del_prev = auto_del;

    lv_anim_del(new_scr, nullptr);
    if(act_scr) lv_anim_del(act_scr, nullptr);
    lv_obj_remove_local_style_prop(new_scr, LV_STYLE_OPA, 0);
    if(act_scr) lv_obj_remove_local_style_prop(act_scr, LV_STYLE_OPA, 0);

    if(time == 0 && delay == 0) {
        scr_load_internal(new_scr);
        if(auto_del && act_scr && act_scr != new_scr) lv_obj_del(act_scr);
        return;
    }

    lv_anim_t a_new;
    lv_anim_init(&a_new);
    lv_anim_set_var(&a_new, new_scr);
    lv_anim_set_exec_cb(&a_new, scr_anim_noop);
    lv_anim_set_values(&a_new, 0, 0);
    lv_anim_set_start_cb(&a_new, scr_load_anim_start);
    lv_anim_set_ready_cb(&a_new, scr_anim_ready);
    lv_anim_set_time(&a_new, time);
    lv_anim_set_delay(&a_new, delay);

    lv_anim_t a_old;
    lv_anim_init(&a_old);
    lv_anim_set_var(&a_old, act_scr);
    lv_anim_set_time(&a_old, time);
    lv_anim_set_delay(&a_old, delay);

    if(act_scr) lv_event_send(act_scr, LV_EVENT_SCREEN_UNLOAD_START, nullptr);

    lv_anim_start(&a_new);
    if(act_scr) lv_anim_start(&a_old);
}

void lv_disp_set_bg_color(lv_disp_t * disp, lv_color_t color)
{
    if(disp == nullptr) disp = g_default;
    if(disp == nullptr) return;
    disp->bg_color = color;
    lv_area_t a;
    lv_area_set(&a, 0, 0, static_cast<lv_coord_t>(lv_disp_get_hor_res(disp) - 1),
                static_cast<lv_coord_t>(lv_disp_get_ver_res(disp) - 1));
    _lv_inv_area(disp, &a);
}

void lv_disp_set_bg_opa(lv_disp_t * disp, lv_opa_t opa)
{
    if(disp == nullptr) disp = g_default;
    if(disp == nullptr) return;
    disp->bg_opa = opa;
    lv_area_t a;
    lv_area_set(&a, 0, 0, static_cast<lv_coord_t>(lv_disp_get_hor_res(disp) - 1),
                static_cast<lv_coord_t>(lv_disp_get_ver_res(disp) - 1));
    _lv_inv_area(disp, &a);
}

uint32_t lv_disp_get_inactive_time(const lv_disp_t * disp)
{
    if(disp) return lv_tick_elaps(disp->last_activity_time);
    uint32_t t = UINT32_MAX;
    for(uint32_t i = 0; i < g_disp_cnt; i++) {
        const uint32_t e = lv_tick_elaps(g_disps[i]->last_activity_time);
        if(e < t) t = e;
    }
    return t;
}

void lv_disp_trig_activity(lv_disp_t * disp)
{
    if(disp == nullptr) disp = g_default;
    if(disp) disp->last_activity_time = lv_tick_get();
}

void lv_disp_set_theme(lv_disp_t * disp, lv_theme_t * th)
{
    if(disp == nullptr) disp = g_default;
    if(disp) disp->theme = th;
}

lv_theme_t * lv_disp_get_theme(lv_disp_t * disp)
{
    if(disp == nullptr) disp = g_default;
    return disp ? disp->theme : nullptr;
}
