// Invalidated areas and redrawing.
//
// Invalidation collects areas per display and resumes its refresh timer;
// the timer lays out the shown screens, merges the areas, draws each one
// (in stripes that fit the draw buffer), flushes it, and pauses itself
// until the next invalidation.
#include "lv_core_private.h"

#include <algorithm>

namespace {

lv_area_t screen_area(lv_disp_t * disp)
{
    lv_area_t a;
    lv_area_set(&a, 0, 0, static_cast<lv_coord_t>(lv_disp_get_hor_res(disp) - 1),
                static_cast<lv_coord_t>(lv_disp_get_ver_res(disp) - 1));
    return a;
}

void join_areas(lv_disp_t * disp)
{
    for(uint32_t i = 0; i < disp->inv_p; i++) {
        if(disp->inv_area_joined[i]) continue;
        for(uint32_t j = 0; j < disp->inv_p; j++) {
            if(i == j || disp->inv_area_joined[j] || disp->inv_area_joined[i]) continue;
            const lv_area_t & a = disp->inv_areas[i];
            const lv_area_t & b = disp->inv_areas[j];
            // Touching or overlapping areas merge when the union costs no more than both.
            if(a.x1 > b.x2 + 1 || b.x1 > a.x2 + 1 || a.y1 > b.y2 + 1 || b.y1 > a.y2 + 1) continue;
            lv_area_t u;
            _lv_area_join(&u, &a, &b);
            if(lv_area_get_size(&u) <= lv_area_get_size(&a) + lv_area_get_size(&b)) {
                disp->inv_areas[i] = u;
                disp->inv_area_joined[j] = 1;
                j = static_cast<uint32_t>(-1); // the grown area may now meet earlier ones
            }
        }
    }
}

void draw_obj(lv_draw_ctx_t * ctx, lv_obj_t * obj)
{
    if(lv_obj_has_flag(obj, LV_OBJ_FLAG_HIDDEN)) return;
    const lv_area_t * parent_clip = ctx->clip_area;

    lv_area_t draw_area;
    lv_obj_get_draw_area(obj, &draw_area);
    lv_area_t obj_clip;
    const bool visible = _lv_area_intersect(&obj_clip, parent_clip, &draw_area);
    const bool overflow = lv_obj_has_flag(obj, LV_OBJ_FLAG_OVERFLOW_VISIBLE);
    if(!visible && !overflow) return;

    if(visible) {
        ctx->clip_area = &obj_clip;
        lv_event_send(obj, LV_EVENT_DRAW_MAIN_BEGIN, ctx);
        lv_event_send(obj, LV_EVENT_DRAW_MAIN, ctx);
        lv_event_send(obj, LV_EVENT_DRAW_MAIN_END, ctx);
    }

    // Children are clipped to this object's box unless it lets them overflow.
    lv_area_t child_clip = *parent_clip;
    const bool children_visible = overflow || _lv_area_intersect(&child_clip, parent_clip, &obj->coords);
    if(children_visible) {
        ctx->clip_area = &child_clip;
        for(uint32_t i = 0; i < obj->child_cnt; i++) draw_obj(ctx, obj->children[i]);
    }

    if(visible) {
        ctx->clip_area = &obj_clip;
        lv_event_send(obj, LV_EVENT_DRAW_POST_BEGIN, ctx);
        lv_event_send(obj, LV_EVENT_DRAW_POST, ctx);
        lv_event_send(obj, LV_EVENT_DRAW_POST_END, ctx);
    }
    ctx->clip_area = parent_clip;
}

void wait_flush(lv_disp_t * disp)
{
    lv_disp_draw_buf_t * db = disp->driver->draw_buf;
    while(db->flushing) {
        if(disp->driver->wait_cb) disp->driver->wait_cb(disp->driver);
    }
}

// Whether `obj` alone paints every pixel of `area` opaquely: its opaque square background, or an
// opaque picture without alpha filling the object (as the picture is drawn over the background,
// either hides everything drawn before it there).
bool covers(lv_obj_t * obj, const lv_area_t * area)
{
    if(!_lv_area_is_in(area, &obj->coords, 0)) return false;
    // An ancestor's opacity reaches down to the object's own drawing.
    if(lv_obj_get_style_opa_recursive(obj, LV_PART_MAIN) < LV_OPA_MAX) return false;
    // The background as drawn: the box grown (or shrunk) by the transform size.
    const lv_area_t box = _lv_obj_get_transformed_coords(obj);
    const lv_coord_t r = lv_obj_get_style_radius(obj, LV_PART_MAIN);
    if(lv_obj_get_style_bg_opa(obj, LV_PART_MAIN) >= LV_OPA_MAX && _lv_area_is_in(area, &box, r) &&
       lv_obj_get_style_bg_img_src(obj, LV_PART_MAIN) == nullptr)
        return true;
    if(!lv_obj_check_type(obj, &lv_img_class) && !lv_obj_check_type(obj, &lv_animimg_class)) return false;
    const auto * img = reinterpret_cast<const lv_img_t *>(obj);
    if(img->src_type != LV_IMG_SRC_VARIABLE || img->src == nullptr || img->angle != 0 || img->zoom != LV_IMG_ZOOM_NONE)
        return false;
    const auto * dsc = static_cast<const lv_img_dsc_t *>(img->src);
    if(dsc->header.cf != LV_IMG_CF_TRUE_COLOR || img->offset.x != 0 || img->offset.y != 0) return false;
    if(lv_obj_get_style_img_opa(obj, LV_PART_MAIN) < LV_OPA_MAX) return false;
    lv_area_t content;
    lv_obj_get_content_coords(obj, &content);
    return _lv_area_is_in(area, &content, 0) && lv_area_get_width(&content) == img->w &&
           lv_area_get_height(&content) == img->h;
}

// The topmost object of `obj`'s tree that covers `area` (as LVGL's refresher finds it: only
// objects whose box holds the area are searched, the last child first).
lv_obj_t * top_cover(lv_obj_t * obj, const lv_area_t * area)
{
    if(lv_obj_has_flag(obj, LV_OBJ_FLAG_HIDDEN) || !_lv_area_is_in(area, &obj->coords, 0)) return nullptr;
    for(uint32_t i = obj->child_cnt; i-- > 0;) {
        lv_obj_t * found = top_cover(obj->children[i], area);
        if(found) return found;
    }
    return covers(obj, area) ? obj : nullptr;
}

// Draw `obj` and everything above it in the tree of `scr`: its later siblings, and those of each
// ancestor, then the ancestors' post-draw parts.
void draw_from(lv_draw_ctx_t * ctx, lv_obj_t * scr, lv_obj_t * obj)
{
    const lv_area_t * area = ctx->clip_area;
    draw_obj(ctx, obj);
    while(obj != scr) {
        lv_obj_t * parent = obj->parent;
        uint32_t i = 0;
        while(i < parent->child_cnt && parent->children[i] != obj) i++;
        for(i++; i < parent->child_cnt; i++) {
            ctx->clip_area = area;
            draw_obj(ctx, parent->children[i]);
        }
        ctx->clip_area = area;
        lv_event_send(parent, LV_EVENT_DRAW_POST_BEGIN, ctx);
        lv_event_send(parent, LV_EVENT_DRAW_POST, ctx);
        lv_event_send(parent, LV_EVENT_DRAW_POST_END, ctx);
        obj = parent;
    }
    ctx->clip_area = area;
}

// Draw `area` into the active buffer whose pixels cover `buf_area`.
void draw_area(lv_disp_t * disp, const lv_area_t * area, const lv_area_t * buf_area)
{
    lv_disp_draw_buf_t * db = disp->driver->draw_buf;
    lv_draw_ctx_t ctx;
    ctx.buf = db->buf_act;
    ctx.buf_area = buf_area;
    ctx.clip_area = area;

    // Without a screen change under way, drawing starts at the topmost object that covers the
    // area: nothing under it (the display background included) would show.
    lv_obj_t * top = disp->prev_scr == nullptr && disp->act_scr ? top_cover(disp->act_scr, area) : nullptr;
    if(top) {
        draw_from(&ctx, disp->act_scr, top);
        if(disp->top_layer) draw_obj(&ctx, disp->top_layer);
        if(disp->sys_layer) draw_obj(&ctx, disp->sys_layer);
        return;
    }

    if(disp->bg_opa < LV_OPA_MAX) lv_draw_fill(&ctx, area, lv_color_black(), LV_OPA_COVER);
    if(disp->bg_opa > LV_OPA_MIN) lv_draw_fill(&ctx, area, disp->bg_color, disp->bg_opa);
    if(disp->bg_img) {
        lv_draw_img_dsc_t d;
        lv_draw_img_dsc_init(&d);
        lv_area_t full = screen_area(disp);
        lv_draw_img(&ctx, &d, &full, disp->bg_img);
    }

    if(disp->prev_scr && !disp->draw_prev_over_act) draw_obj(&ctx, disp->prev_scr);
    if(disp->act_scr) draw_obj(&ctx, disp->act_scr);
    if(disp->prev_scr && disp->draw_prev_over_act) draw_obj(&ctx, disp->prev_scr);
    if(disp->top_layer) draw_obj(&ctx, disp->top_layer);
    if(disp->sys_layer) draw_obj(&ctx, disp->sys_layer);
}

void flush(lv_disp_t * disp, const lv_area_t * area, bool last)
{
    lv_disp_draw_buf_t * db = disp->driver->draw_buf;
    db->flushing = 1;
    db->flushing_last = last ? 1 : 0;
    db->last_area = last ? 1 : 0;
    db->last_part = last ? 1 : 0;
    if(disp->driver->flush_cb) disp->driver->flush_cb(disp->driver, area, static_cast<lv_color_t *>(db->buf_act));
    else lv_disp_flush_ready(disp->driver);
    if(db->buf1 && db->buf2) db->buf_act = db->buf_act == db->buf1 ? db->buf2 : db->buf1;
}

uint32_t refresh_areas(lv_disp_t * disp)
{
    lv_disp_drv_t * drv = disp->driver;
    lv_disp_draw_buf_t * db = drv->draw_buf;
    if(db == nullptr || db->buf_act == nullptr) return 0;
    const lv_area_t scr = screen_area(disp);
    uint32_t px = 0;

    if(drv->full_refresh) {
        wait_flush(disp);
        draw_area(disp, &scr, &scr);
        flush(disp, &scr, true);
        return lv_area_get_size(&scr);
    }

    int32_t last_idx = -1;
    for(uint32_t i = 0; i < disp->inv_p; i++)
        if(!disp->inv_area_joined[i]) last_idx = static_cast<int32_t>(i);

    for(uint32_t i = 0; i < disp->inv_p; i++) {
        if(disp->inv_area_joined[i]) continue;
        const lv_area_t area = disp->inv_areas[i];
        const bool last_area = static_cast<int32_t>(i) == last_idx;
        px += lv_area_get_size(&area);
        if(drv->direct_mode) {
            wait_flush(disp);
            draw_area(disp, &area, &scr);
            flush(disp, &area, last_area);
            continue;
        }
        const int32_t w = lv_area_get_width(&area);
        int32_t rows = static_cast<int32_t>(db->size / static_cast<uint32_t>(w));
        if(rows < 1) rows = 1;
        for(int32_t y = area.y1; y <= area.y2; y += rows) {
            lv_area_t part = area;
            part.y1 = static_cast<lv_coord_t>(y);
            part.y2 = static_cast<lv_coord_t>(std::min<int32_t>(area.y2, y + rows - 1));
            wait_flush(disp);
            draw_area(disp, &part, &part);
            flush(disp, &part, last_area && part.y2 == area.y2);
        }
    }
    return px;
}

} // namespace

void _lv_inv_area(lv_disp_t * disp, const lv_area_t * area_p)
{
    if(disp == nullptr) disp = lv_disp_get_default();
    if(disp == nullptr) return;
    if(area_p == nullptr) {
        disp->inv_p = 0;
        return;
    }
    if(disp->rendering_in_progress) return; // drawing must not invalidate what it draws

    const lv_area_t scr = screen_area(disp);
    lv_area_t a;
    if(!_lv_area_intersect(&a, area_p, &scr)) return;
    if(disp->driver->full_refresh) {
        disp->inv_areas[0] = scr;
        disp->inv_area_joined[0] = 0;
        disp->inv_p = 1;
        if(disp->refr_timer) lv_timer_resume(disp->refr_timer);
        return;
    }
    if(disp->driver->rounder_cb) disp->driver->rounder_cb(disp->driver, &a);

    for(uint32_t i = 0; i < disp->inv_p; i++)
        if(_lv_area_is_in(&a, &disp->inv_areas[i], 0)) return;

    if(disp->inv_p < LV_INV_BUF_SIZE) {
        disp->inv_areas[disp->inv_p] = a;
        disp->inv_area_joined[disp->inv_p] = 0;
        disp->inv_p++;
    }
    else {
        // Too many areas: redraw the whole screen.
        disp->inv_p = 1;
        disp->inv_areas[0] = scr;
        disp->inv_area_joined[0] = 0;
    }
    if(disp->refr_timer) lv_timer_resume(disp->refr_timer);
}

void _lv_disp_refr_timer(lv_timer_t * timer)
{
    auto * disp = static_cast<lv_disp_t *>(timer->user_data);
    // Paused until something is invalidated again (also by the layout below).
    lv_timer_pause(timer);

    lv_obj_t * shown[4] = {disp->act_scr, disp->prev_scr, disp->top_layer, disp->sys_layer};
    for(lv_obj_t * s : shown)
        if(s) _lv_obj_layout_screen(s);

    if(disp->act_scr == nullptr || disp->inv_p == 0) {
        disp->inv_p = 0;
        lv_timer_pause(timer);
        return;
    }
    join_areas(disp);
    if(disp->driver->render_start_cb) disp->driver->render_start_cb(disp->driver);

    const uint32_t start = lv_tick_get();
    disp->rendering_in_progress = 1;
    const uint32_t px = refresh_areas(disp);
    disp->rendering_in_progress = 0;
    disp->inv_p = 0;
    for(auto & j : disp->inv_area_joined) j = 0;
    lv_timer_pause(timer);

    if(disp->driver->monitor_cb) disp->driver->monitor_cb(disp->driver, lv_tick_elaps(start), px);
}

void lv_refr_now(lv_disp_t * disp)
{
    lv_anim_refr_now();
    if(disp) {
        if(disp->refr_timer) _lv_disp_refr_timer(disp->refr_timer);
        return;
    }
    for(lv_disp_t * d = lv_disp_get_next(nullptr); d; d = lv_disp_get_next(d))
        if(d->refr_timer) _lv_disp_refr_timer(d->refr_timer);
}

void _lv_refr_core_init() {}
