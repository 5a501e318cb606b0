// Position, size, layout passes, hit testing and invalidation.
//
// Positions are relative to the parent's content area (inside its padding
// and border) and come from the x, y, align and translate styles; sizes
// from width/height (px, %, LV_SIZE_CONTENT) clamped by min/max. A layout
// pass walks a screen top-down; a child whose size changes marks its
// content-sized parent, which takes another pass.
#include "lv_core_private.h"

#include <algorithm>

namespace {

constexpr int kMaxLayoutPasses = 10;

lv_coord_t style_coord(const lv_obj_t * obj, lv_style_prop_t prop)
{
    return static_cast<lv_coord_t>(lv_obj_get_style_prop(obj, LV_PART_MAIN, prop).num);
}

lv_coord_t border_w(const lv_obj_t * obj) { return style_coord(obj, LV_STYLE_BORDER_WIDTH); }

lv_coord_t resolve_pct(lv_coord_t v, lv_coord_t base)
{
    if(LV_COORD_IS_PCT(v)) return static_cast<lv_coord_t>((static_cast<int32_t>(base) * LV_COORD_GET_PCT(v)) / 100);
    return v;
}

void move_tree(lv_obj_t * obj, lv_coord_t dx, lv_coord_t dy)
{
    obj->coords.x1 = static_cast<lv_coord_t>(obj->coords.x1 + dx);
    obj->coords.x2 = static_cast<lv_coord_t>(obj->coords.x2 + dx);
    obj->coords.y1 = static_cast<lv_coord_t>(obj->coords.y1 + dy);
    obj->coords.y2 = static_cast<lv_coord_t>(obj->coords.y2 + dy);
    for(uint32_t i = 0; i < obj->child_cnt; i++) move_tree(obj->children[i], dx, dy);
}

bool is_left_aligned(lv_align_t a)
{
    return a == LV_ALIGN_DEFAULT || a == LV_ALIGN_TOP_LEFT || a == LV_ALIGN_BOTTOM_LEFT || a == LV_ALIGN_LEFT_MID;
}

bool is_top_aligned(lv_align_t a)
{
    return a == LV_ALIGN_DEFAULT || a == LV_ALIGN_TOP_LEFT || a == LV_ALIGN_TOP_MID || a == LV_ALIGN_TOP_RIGHT;
}

lv_coord_t content_width(lv_obj_t * obj)
{
    const lv_coord_t bw = border_w(obj);
    const lv_coord_t pl = static_cast<lv_coord_t>(style_coord(obj, LV_STYLE_PAD_LEFT) + bw);
    const lv_coord_t pr = static_cast<lv_coord_t>(style_coord(obj, LV_STYLE_PAD_RIGHT) + bw);
    const int32_t self_w = lv_obj_get_self_width(obj) + pl + pr;
    int32_t child_res = INT32_MIN;
    for(uint32_t i = 0; i < obj->child_cnt; i++) {
        const lv_obj_t * c = obj->children[i];
        if(lv_obj_has_flag_any(c, LV_OBJ_FLAG_HIDDEN | LV_OBJ_FLAG_FLOATING)) continue;
        const lv_align_t align = static_cast<lv_align_t>(style_coord(c, LV_STYLE_ALIGN));
        if(is_left_aligned(align)) {
            child_res = std::max<int32_t>(child_res, c->coords.x2 - obj->coords.x1 + 1 + pr);
        }
        else if(style_coord(c, LV_STYLE_X) == 0) {
            // Other alignments depend on our size: only their width counts (x != 0 would be circular).
            child_res = std::max<int32_t>(child_res, lv_area_get_width(&c->coords) + pl + pr);
        }
    }
    return static_cast<lv_coord_t>(std::max(child_res, self_w));
}

lv_coord_t content_height(lv_obj_t * obj)
{
    const lv_coord_t bw = border_w(obj);
    const lv_coord_t pt = static_cast<lv_coord_t>(style_coord(obj, LV_STYLE_PAD_TOP) + bw);
    const lv_coord_t pb = static_cast<lv_coord_t>(style_coord(obj, LV_STYLE_PAD_BOTTOM) + bw);
    const int32_t self_h = lv_obj_get_self_height(obj) + pt + pb;
    int32_t child_res = INT32_MIN;
    for(uint32_t i = 0; i < obj->child_cnt; i++) {
        const lv_obj_t * c = obj->children[i];
        if(lv_obj_has_flag_any(c, LV_OBJ_FLAG_HIDDEN | LV_OBJ_FLAG_FLOATING)) continue;
        const lv_align_t align = static_cast<lv_align_t>(style_coord(c, LV_STYLE_ALIGN));
        if(is_top_aligned(align)) {
            child_res = std::max<int32_t>(child_res, c->coords.y2 - obj->coords.y1 + 1 + pb);
        }
        else if(style_coord(c, LV_STYLE_Y) == 0) {
            child_res = std::max<int32_t>(child_res, lv_area_get_height(&c->coords) + pt + pb);
        }
    }
    return static_cast<lv_coord_t>(std::max(child_res, self_h));
}

lv_coord_t clamp_size(lv_obj_t * obj, lv_coord_t v, lv_style_prop_t min_p, lv_style_prop_t max_p, lv_coord_t base)
{
    const lv_coord_t mn = resolve_pct(style_coord(obj, min_p), base);
    const lv_coord_t mx = resolve_pct(style_coord(obj, max_p), base);
    if(v > mx) v = mx;
    if(v < mn) v = mn;
    return v;
}

// Recompute the size; true if it changed.
bool refresh_size(lv_obj_t * obj)
{
    lv_obj_t * parent = obj->parent;
    const lv_coord_t pw = lv_obj_get_content_width(parent);
    const lv_coord_t ph = lv_obj_get_content_height(parent);

    const lv_area_t old = obj->coords;
    const lv_coord_t ws = style_coord(obj, LV_STYLE_WIDTH);
    lv_coord_t w;
    if(ws == LV_SIZE_CONTENT) w = content_width(obj);
    else w = resolve_pct(ws, pw);
    w = clamp_size(obj, w, LV_STYLE_MIN_WIDTH, LV_STYLE_MAX_WIDTH, pw);
    if(w < 0) w = 0;
    // The height may depend on the width (wrapped text), so apply the width first.
    obj->coords.x2 = static_cast<lv_coord_t>(obj->coords.x1 + w - 1);

    const lv_coord_t hs = style_coord(obj, LV_STYLE_HEIGHT);
    lv_coord_t h;
    if(hs == LV_SIZE_CONTENT) h = content_height(obj);
    else h = resolve_pct(hs, ph);
    h = clamp_size(obj, h, LV_STYLE_MIN_HEIGHT, LV_STYLE_MAX_HEIGHT, ph);
    if(h < 0) h = 0;
    obj->coords.y2 = static_cast<lv_coord_t>(obj->coords.y1 + h - 1);

    if(old.x2 == obj->coords.x2 && old.y2 == obj->coords.y2) return false;

    lv_area_t old_copy = old;
    lv_event_send(obj, LV_EVENT_SIZE_CHANGED, &old_copy);
    lv_event_send(parent, LV_EVENT_CHILD_CHANGED, obj);
    // A parent sized by its content must take this size into account.
    if(style_coord(parent, LV_STYLE_WIDTH) == LV_SIZE_CONTENT || style_coord(parent, LV_STYLE_HEIGHT) == LV_SIZE_CONTENT)
        lv_obj_mark_layout_as_dirty(parent);
    return true;
}

void refresh_pos(lv_obj_t * obj)
{
    lv_obj_t * parent = obj->parent;
    const lv_coord_t pw = lv_obj_get_content_width(parent);
    const lv_coord_t ph = lv_obj_get_content_height(parent);
    const lv_coord_t w = lv_obj_get_width(obj);
    const lv_coord_t h = lv_obj_get_height(obj);

    int32_t x = resolve_pct(style_coord(obj, LV_STYLE_X), pw);
    int32_t y = resolve_pct(style_coord(obj, LV_STYLE_Y), ph);
    x += resolve_pct(style_coord(obj, LV_STYLE_TRANSLATE_X), w);
    y += resolve_pct(style_coord(obj, LV_STYLE_TRANSLATE_Y), h);

    switch(static_cast<lv_align_t>(style_coord(obj, LV_STYLE_ALIGN))) {
        case LV_ALIGN_TOP_MID: x += pw / 2 - w / 2; break;
        case LV_ALIGN_TOP_RIGHT: x += pw - w; break;
        case LV_ALIGN_LEFT_MID: y += ph / 2 - h / 2; break;
        case LV_ALIGN_BOTTOM_LEFT: y += ph - h; break;
        case LV_ALIGN_BOTTOM_MID:
            x += pw / 2 - w / 2;
            y += ph - h;
            break;
        case LV_ALIGN_BOTTOM_RIGHT:
            x += pw - w;
            y += ph - h;
            break;
        case LV_ALIGN_RIGHT_MID:
            x += pw - w;
            y += ph / 2 - h / 2;
            break;
        case LV_ALIGN_CENTER:
            x += pw / 2 - w / 2;
            y += ph / 2 - h / 2;
            break;
        default: break;
    }
    const lv_coord_t bw = border_w(parent);
    x += parent->coords.x1 + style_coord(parent, LV_STYLE_PAD_LEFT) + bw;
    y += parent->coords.y1 + style_coord(parent, LV_STYLE_PAD_TOP) + bw;

    const lv_coord_t dx = static_cast<lv_coord_t>(x - obj->coords.x1);
    const lv_coord_t dy = static_cast<lv_coord_t>(y - obj->coords.y1);
    if(dx == 0 && dy == 0) return;
    move_tree(obj, dx, dy);
}

void layout_tree(lv_obj_t * obj)
{
    if(obj->parent) {
        const lv_area_t old = obj->coords;
        refresh_size(obj);
        refresh_pos(obj);
        const lv_area_t & now = obj->coords;
        if(old.x1 != now.x1 || old.y1 != now.y1 || old.x2 != now.x2 || old.y2 != now.y2) {
            // Redraw where it was (unless it had no size yet, e.g. just created) and where it is.
            if(old.x2 >= old.x1 && old.y2 >= old.y1) {
                const lv_area_t cur = obj->coords;
                obj->coords = old;
                lv_obj_invalidate(obj);
                obj->coords = cur;
            }
            lv_obj_invalidate(obj);
        }
    }
    obj->layout_inv = 0;
    for(uint32_t i = 0; i < obj->child_cnt; i++) layout_tree(obj->children[i]);
}

// Clip `area` to what of `obj` can be seen (its drawing area and every ancestor).
bool clip_to_visible(const lv_obj_t * obj, lv_area_t * area)
{
    if(lv_obj_has_flag(obj, LV_OBJ_FLAG_HIDDEN)) return false;
    lv_area_t own;
    lv_obj_get_draw_area(obj, &own);
    if(!_lv_area_intersect(area, area, &own)) return false;
    for(const lv_obj_t * p = obj->parent; p; p = p->parent) {
        if(lv_obj_has_flag(p, LV_OBJ_FLAG_HIDDEN)) return false;
        if(!lv_obj_has_flag(p, LV_OBJ_FLAG_OVERFLOW_VISIBLE) && !_lv_area_intersect(area, area, &p->coords))
            return false;
    }
    return true;
}

} // namespace

/*--------------------------------------------------------------------
 * Layout
 *------------------------------------------------------------------*/
void lv_obj_mark_layout_as_dirty(lv_obj_t * obj)
{
    obj->layout_inv = 1;
    lv_obj_t * scr = lv_obj_get_screen(obj);
    scr->scr_layout_inv = 1;
    lv_disp_t * disp = lv_obj_get_disp(scr);
    if(disp && disp->refr_timer) lv_timer_resume(disp->refr_timer);
}

void _lv_obj_layout_screen(lv_obj_t * scr)
{
    for(int pass = 0; pass < kMaxLayoutPasses && scr->scr_layout_inv; pass++) {
        scr->scr_layout_inv = 0;
        layout_tree(scr);
    }
    scr->scr_layout_inv = 0;
}

void lv_obj_update_layout(const lv_obj_t * obj)
{
    if(obj == nullptr) return;
    _lv_obj_layout_screen(lv_obj_get_screen(obj));
}

bool lv_obj_refresh_self_size(lv_obj_t * obj)
{
    const lv_coord_t w = style_coord(obj, LV_STYLE_WIDTH);
    const lv_coord_t h = style_coord(obj, LV_STYLE_HEIGHT);
    if(w != LV_SIZE_CONTENT && h != LV_SIZE_CONTENT) return false;
    lv_obj_mark_layout_as_dirty(obj);
    return true;
}

/*--------------------------------------------------------------------
 * Setters (all through local styles, as in LVGL)
 *------------------------------------------------------------------*/
void lv_obj_set_pos(lv_obj_t * obj, lv_coord_t x, lv_coord_t y)
{
    lv_obj_set_x(obj, x);
    lv_obj_set_y(obj, y);
}

void lv_obj_set_x(lv_obj_t * obj, lv_coord_t x)
{
    lv_style_value_t v;
    v.ptr = nullptr;
    if(lv_obj_get_local_style_prop(obj, LV_STYLE_X, &v, 0) == LV_RES_OK && v.num == x) return;
    lv_obj_set_style_x(obj, x, 0);
}

void lv_obj_set_y(lv_obj_t * obj, lv_coord_t y)
{
    lv_style_value_t v;
    v.ptr = nullptr;
    if(lv_obj_get_local_style_prop(obj, LV_STYLE_Y, &v, 0) == LV_RES_OK && v.num == y) return;
    lv_obj_set_style_y(obj, y, 0);
}

void lv_obj_set_size(lv_obj_t * obj, lv_coord_t w, lv_coord_t h)
{
    lv_obj_set_width(obj, w);
    lv_obj_set_height(obj, h);
}

void lv_obj_set_width(lv_obj_t * obj, lv_coord_t w)
{
    lv_style_value_t v;
    v.ptr = nullptr;
    if(lv_obj_get_local_style_prop(obj, LV_STYLE_WIDTH, &v, 0) == LV_RES_OK && v.num == w) return;
    lv_obj_set_style_width(obj, w, 0);
}

void lv_obj_set_height(lv_obj_t * obj, lv_coord_t h)
{
    lv_style_value_t v;
    v.ptr = nullptr;
    if(lv_obj_get_local_style_prop(obj, LV_STYLE_HEIGHT, &v, 0) == LV_RES_OK && v.num == h) return;
    lv_obj_set_style_height(obj, h, 0);
}

void lv_obj_set_align(lv_obj_t * obj, lv_align_t align) { lv_obj_set_style_align(obj, align, 0); }

void lv_obj_align(lv_obj_t * obj, lv_align_t align, lv_coord_t x_ofs, lv_coord_t y_ofs)
{
    lv_obj_set_style_align(obj, align, 0);
    lv_obj_set_pos(obj, x_ofs, y_ofs);
}

void lv_obj_center(lv_obj_t * obj) { lv_obj_align(obj, LV_ALIGN_CENTER, 0, 0); }

/*--------------------------------------------------------------------
 * Getters
 *------------------------------------------------------------------*/
void lv_obj_get_coords(const lv_obj_t * obj, lv_area_t * coords) { *coords = obj->coords; }

lv_coord_t lv_obj_get_x(const lv_obj_t * obj)
{
    const lv_obj_t * p = obj->parent;
    if(p == nullptr) return obj->coords.x1;
    return static_cast<lv_coord_t>(obj->coords.x1 - p->coords.x1 - style_coord(p, LV_STYLE_PAD_LEFT) - border_w(p));
}

lv_coord_t lv_obj_get_y(const lv_obj_t * obj)
{
    const lv_obj_t * p = obj->parent;
    if(p == nullptr) return obj->coords.y1;
    return static_cast<lv_coord_t>(obj->coords.y1 - p->coords.y1 - style_coord(p, LV_STYLE_PAD_TOP) - border_w(p));
}

lv_coord_t lv_obj_get_x_aligned(const lv_obj_t * obj) { return style_coord(obj, LV_STYLE_X); }

lv_coord_t lv_obj_get_y_aligned(const lv_obj_t * obj) { return style_coord(obj, LV_STYLE_Y); }

lv_coord_t lv_obj_get_width(const lv_obj_t * obj) { return lv_area_get_width(&obj->coords); }

lv_coord_t lv_obj_get_height(const lv_obj_t * obj) { return lv_area_get_height(&obj->coords); }

lv_coord_t lv_obj_get_content_width(const lv_obj_t * obj)
{
    const lv_coord_t w = static_cast<lv_coord_t>(lv_obj_get_width(obj) - style_coord(obj, LV_STYLE_PAD_LEFT) -
                                                 style_coord(obj, LV_STYLE_PAD_RIGHT) - 2 * border_w(obj));
    return w < 0 ? 0 : w;
}

lv_coord_t lv_obj_get_content_height(const lv_obj_t * obj)
{
    const lv_coord_t h = static_cast<lv_coord_t>(lv_obj_get_height(obj) - style_coord(obj, LV_STYLE_PAD_TOP) -
                                                 style_coord(obj, LV_STYLE_PAD_BOTTOM) - 2 * border_w(obj));
    return h < 0 ? 0 : h;
}

void lv_obj_get_content_coords(const lv_obj_t * obj, lv_area_t * area)
{
    const lv_coord_t bw = border_w(obj);
    area->x1 = static_cast<lv_coord_t>(obj->coords.x1 + style_coord(obj, LV_STYLE_PAD_LEFT) + bw);
    area->y1 = static_cast<lv_coord_t>(obj->coords.y1 + style_coord(obj, LV_STYLE_PAD_TOP) + bw);
    area->x2 = static_cast<lv_coord_t>(obj->coords.x2 - style_coord(obj, LV_STYLE_PAD_RIGHT) - bw);
    area->y2 = static_cast<lv_coord_t>(obj->coords.y2 - style_coord(obj, LV_STYLE_PAD_BOTTOM) - bw);
}

lv_coord_t lv_obj_get_self_width(const lv_obj_t * obj)
{
    lv_point_t p = {0, 0};
    lv_event_send(const_cast<lv_obj_t *>(obj), LV_EVENT_GET_SELF_SIZE, &p);
    return p.x;
}

lv_coord_t lv_obj_get_self_height(const lv_obj_t * obj)
{
    lv_point_t p = {0, 0};
    lv_event_send(const_cast<lv_obj_t *>(obj), LV_EVENT_GET_SELF_SIZE, &p);
    return p.y;
}

/*--------------------------------------------------------------------
 * Hit testing
 *------------------------------------------------------------------*/
bool lv_obj_hit_test(lv_obj_t * obj, const lv_point_t * point)
{
    if(!lv_obj_has_flag(obj, LV_OBJ_FLAG_CLICKABLE) || lv_obj_has_state(obj, LV_STATE_DISABLED)) return false;
    lv_area_t a = obj->coords;
    const bool adv = lv_obj_has_flag(obj, LV_OBJ_FLAG_ADV_HITTEST);
    if(adv) lv_obj_get_draw_area(obj, &a);
    if(!_lv_area_is_point_on(&a, point, 0)) return false;
    if(adv) {
        lv_hit_test_info_t info;
        info.point = point;
        info.res = true;
        lv_event_send(obj, LV_EVENT_HIT_TEST, &info);
        return info.res;
    }
    return true;
}

/*--------------------------------------------------------------------
 * Scrollbar mode (nothing scrolls; the mode only decides whether bars show)
 *------------------------------------------------------------------*/
void lv_obj_set_scrollbar_mode(lv_obj_t * obj, lv_scrollbar_mode_t mode)
{
    if(obj->scrollbar_mode == mode) return;
    obj->scrollbar_mode = mode;
    lv_obj_invalidate(obj);
}

lv_scrollbar_mode_t lv_obj_get_scrollbar_mode(const lv_obj_t * obj)
{
    return static_cast<lv_scrollbar_mode_t>(obj->scrollbar_mode);
}

/*--------------------------------------------------------------------
 * Invalidation
 *------------------------------------------------------------------*/
void lv_obj_get_draw_area(const lv_obj_t * obj, lv_area_t * area)
{
    *area = obj->coords;
    const lv_coord_t e = obj->ext_draw_size;
    area->x1 = static_cast<lv_coord_t>(area->x1 - e);
    area->y1 = static_cast<lv_coord_t>(area->y1 - e);
    area->x2 = static_cast<lv_coord_t>(area->x2 + e);
    area->y2 = static_cast<lv_coord_t>(area->y2 + e);
}

void lv_obj_invalidate_area(const lv_obj_t * obj, const lv_area_t * area)
{
    lv_disp_t * disp = lv_obj_get_disp(obj);
    if(disp == nullptr || !_lv_disp_screen_is_shown(disp, lv_obj_get_screen(obj))) return;
    lv_area_t a = *area;
    if(!clip_to_visible(obj, &a)) return;
    _lv_inv_area(disp, &a);
}

void lv_obj_invalidate(const lv_obj_t * obj)
{
    lv_area_t a;
    lv_obj_get_draw_area(obj, &a);
    lv_obj_invalidate_area(obj, &a);
}

bool lv_obj_is_visible(const lv_obj_t * obj)
{
    lv_disp_t * disp = lv_obj_get_disp(obj);
    if(disp == nullptr || !_lv_disp_screen_is_shown(disp, lv_obj_get_screen(obj))) return false;
    lv_area_t a = obj->coords;
    return clip_to_visible(obj, &a);
}

/*--------------------------------------------------------------------
 * Extra drawing area
 *------------------------------------------------------------------*/
lv_coord_t lv_obj_calculate_ext_draw_size(lv_obj_t * obj, uint32_t part)
{
    int32_t s = 0;
    const lv_coord_t sh_w = lv_obj_get_style_shadow_width(obj, part);
    if(sh_w > 0 && lv_obj_get_style_shadow_opa(obj, part) > LV_OPA_MIN) {
        // The blur reaches half its width beyond the spread, plus the offset.
        int32_t sh = sh_w / 2 + 1 + lv_obj_get_style_shadow_spread(obj, part);
        sh += std::max(std::abs(lv_obj_get_style_shadow_ofs_x(obj, part)),
                       std::abs(lv_obj_get_style_shadow_ofs_y(obj, part)));
        s = std::max(s, sh);
    }
    const lv_coord_t ol_w = lv_obj_get_style_outline_width(obj, part);
    if(ol_w > 0 && lv_obj_get_style_outline_opa(obj, part) > LV_OPA_MIN)
        s = std::max<int32_t>(s, ol_w + lv_obj_get_style_outline_pad(obj, part));
    const int32_t grow =
        std::max(lv_obj_get_style_transform_width(obj, part), lv_obj_get_style_transform_height(obj, part));
    if(grow > 0) s += grow;
    return static_cast<lv_coord_t>(s);
}

void lv_obj_refresh_ext_draw_size(lv_obj_t * obj)
{
    lv_coord_t s = 0;
    lv_event_send(obj, LV_EVENT_REFR_EXT_DRAW_SIZE, &s);
    if(s == obj->ext_draw_size) return;
    lv_obj_invalidate(obj);
    obj->ext_draw_size = s;
    lv_obj_invalidate(obj);
}

lv_coord_t _lv_obj_get_ext_draw_size(const lv_obj_t * obj) { return obj->ext_draw_size; }
