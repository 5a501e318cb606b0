// Styles of objects: resolution, local styles, transitions and refresh.
//
// obj->styles holds, in priority order: transition styles (one per part),
// local styles (one per selector), then added/theme styles newest first.
// A lookup for (part, prop) takes a running transition's value first;
// otherwise, among styles of that part whose state bits are all set on the
// object, the one with the highest state value wins (an exact state match
// stops the search; ties go to the earlier style). Inheritable properties
// fall back to the object's main part, then to the parent; the last resort
// is the class's default size or the built-in default.
#include "lv_core_private.h"

#include <cstring>

namespace {

bool g_style_refr_enabled = true;

struct Transition {
    lv_obj_t * obj;
    lv_style_prop_t prop;
    lv_part_t part;
    lv_style_value_t start_value;
    lv_style_value_t end_value;
    Transition * next;
    Transition * prev;
};

Transition * g_trans_head = nullptr;

enum class ValueKind { Num, Color, Ptr };

ValueKind kind_of(lv_style_prop_t prop)
{
    switch(prop) {
        case LV_STYLE_BG_COLOR:
        case LV_STYLE_BG_GRAD_COLOR:
        case LV_STYLE_BG_IMG_RECOLOR:
        case LV_STYLE_BORDER_COLOR:
        case LV_STYLE_OUTLINE_COLOR:
        case LV_STYLE_SHADOW_COLOR:
        case LV_STYLE_IMG_RECOLOR:
        case LV_STYLE_LINE_COLOR:
        case LV_STYLE_TEXT_COLOR:
            return ValueKind::Color;
        case LV_STYLE_BG_IMG_SRC:
        case LV_STYLE_TEXT_FONT:
        case LV_STYLE_COLOR_FILTER_DSC:
        case LV_STYLE_ANIM:
        case LV_STYLE_TRANSITION:
            return ValueKind::Ptr;
        default:
            return ValueKind::Num;
    }
}

bool values_equal(lv_style_prop_t prop, lv_style_value_t a, lv_style_value_t b)
{
    switch(kind_of(prop)) {
        case ValueKind::Color:
            return a.color.full == b.color.full;
        case ValueKind::Ptr:
            return a.ptr == b.ptr;
        default:
            return a.num == b.num;
    }
}

/*--------------------------------------------------------------------
 * Style list of an object
 *------------------------------------------------------------------*/
void insert_style_at(lv_obj_t * obj, uint32_t idx, const _lv_obj_style_t & s)
{
    obj->styles = static_cast<_lv_obj_style_t *>(
        lv_mem_realloc_checked(obj->styles, (obj->style_cnt + 1) * sizeof(_lv_obj_style_t)));
    for(uint32_t i = obj->style_cnt; i > idx; i--) obj->styles[i] = obj->styles[i - 1];
    obj->styles[idx] = s;
    obj->style_cnt++;
}

void free_owned_style(lv_style_t * style)
{
    lv_style_reset(style);
    lv_mem_free(style);
}

void remove_style_at(lv_obj_t * obj, uint32_t idx)
{
    const _lv_obj_style_t s = obj->styles[idx];
    for(uint32_t i = idx + 1; i < obj->style_cnt; i++) obj->styles[i - 1] = obj->styles[i];
    obj->style_cnt--;
    if(obj->style_cnt == 0) {
        lv_mem_free(obj->styles);
        obj->styles = nullptr;
    }
    if(s.is_local || s.is_trans) free_owned_style(s.style);
}

lv_style_t * new_owned_style()
{
    auto * st = static_cast<lv_style_t *>(lv_mem_alloc_checked(sizeof(lv_style_t)));
    lv_style_init(st);
    return st;
}

int32_t find_local(const lv_obj_t * obj, lv_style_selector_t selector)
{
    for(uint32_t i = 0; i < obj->style_cnt; i++)
        if(obj->styles[i].is_local && obj->styles[i].selector == selector) return static_cast<int32_t>(i);
    return -1;
}

lv_style_t * get_or_create_local(lv_obj_t * obj, lv_style_selector_t selector)
{
    const int32_t idx = find_local(obj, selector);
    if(idx >= 0) return obj->styles[idx].style;
    // New local styles go after the transition and earlier local styles.
    uint32_t i = 0;
    while(i < obj->style_cnt && (obj->styles[i].is_trans || obj->styles[i].is_local)) i++;
    _lv_obj_style_t s{};
    s.style = new_owned_style();
    s.selector = selector;
    s.is_local = 1;
    insert_style_at(obj, i, s);
    return s.style;
}

int32_t find_trans_style(const lv_obj_t * obj, lv_part_t part)
{
    for(uint32_t i = 0; i < obj->style_cnt && obj->styles[i].is_trans; i++)
        if(obj->styles[i].selector == part) return static_cast<int32_t>(i);
    return -1;
}

lv_style_t * get_or_create_trans_style(lv_obj_t * obj, lv_part_t part)
{
    const int32_t idx = find_trans_style(obj, part);
    if(idx >= 0) return obj->styles[idx].style;
    _lv_obj_style_t s{};
    s.style = new_owned_style();
    s.selector = part;
    s.is_trans = 1;
    insert_style_at(obj, 0, s);
    return s.style;
}

/*--------------------------------------------------------------------
 * Resolution
 *------------------------------------------------------------------*/
bool get_prop_core(const lv_obj_t * obj, lv_part_t part, lv_style_prop_t prop, lv_style_value_t * v)
{
    const lv_state_t state = obj->state;
    uint32_t i = 0;
    for(; i < obj->style_cnt && obj->styles[i].is_trans; i++) {
        if(obj->skip_trans) continue;
        if(lv_obj_style_get_selector_part(obj->styles[i].selector) != part) continue;
        if(lv_style_get_prop(obj->styles[i].style, prop, v) == LV_RES_OK) return true;
    }
    int32_t weight = -1;
    lv_style_value_t tmp;
    for(; i < obj->style_cnt; i++) {
        const _lv_obj_style_t & s = obj->styles[i];
        if(lv_obj_style_get_selector_part(s.selector) != part) continue;
        const lv_state_t st = lv_obj_style_get_selector_state(s.selector);
        if(st & ~state) continue;       // asks for a state the object is not in
        if(static_cast<int32_t>(st) <= weight) continue;
        if(lv_style_get_prop(s.style, prop, &tmp) != LV_RES_OK) continue;
        *v = tmp;
        if(st == state) return true;
        weight = st;
    }
    return weight >= 0;
}

/*--------------------------------------------------------------------
 * Transitions
 *------------------------------------------------------------------*/
void trans_unlink(Transition * tr)
{
    if(tr->prev) tr->prev->next = tr->next;
    else g_trans_head = tr->next;
    if(tr->next) tr->next->prev = tr->prev;
}

// Stop and free a transition; its value stays in the transition style unless `clear_value`.
void trans_delete(Transition * tr, bool clear_value)
{
    lv_anim_del(tr, nullptr);
    trans_unlink(tr);
    if(clear_value) {
        lv_obj_t * obj = tr->obj;
        const int32_t idx = find_trans_style(obj, tr->part);
        if(idx >= 0) {
            lv_style_remove_prop(obj->styles[idx].style, tr->prop);
            if(lv_style_is_empty(obj->styles[idx].style)) remove_style_at(obj, static_cast<uint32_t>(idx));
        }
    }
    lv_mem_free(tr);
}

Transition * trans_find(const lv_obj_t * obj, lv_part_t part, lv_style_prop_t prop)
{
    for(Transition * t = g_trans_head; t; t = t->next)
        if(t->obj == obj && t->part == part && t->prop == prop) return t;
    return nullptr;
}

lv_style_value_t trans_value(const Transition * tr, int32_t v)
{
    lv_style_value_t out = tr->end_value;
    if(v >= 255) return tr->end_value;
    switch(kind_of(tr->prop)) {
        case ValueKind::Color:
            out.num = 0;
            out.color = v <= 0 ? tr->start_value.color : lv_color_mix(tr->end_value.color, tr->start_value.color,
                                                                      static_cast<uint8_t>(v));
            break;
        case ValueKind::Ptr:
            // Switch to a non-NULL target at once (a filter must act while its opacity ramps),
            // away from a non-NULL start only at the end.
            if(tr->start_value.ptr == nullptr) out.ptr = tr->end_value.ptr;
            else if(tr->end_value.ptr == nullptr) out.ptr = tr->start_value.ptr;
            else out.ptr = v < 128 ? tr->start_value.ptr : tr->end_value.ptr;
            break;
        default:
            if(v <= 0) out.num = tr->start_value.num;
            else out.num = tr->start_value.num + ((tr->end_value.num - tr->start_value.num) * v >> 8);
            break;
    }
    return out;
}

void trans_anim_exec(void * var, int32_t v)
{
    auto * tr = static_cast<Transition *>(var);
    lv_obj_t * obj = tr->obj;
    const lv_style_value_t value = trans_value(tr, v);
    lv_style_t * st = get_or_create_trans_style(obj, tr->part);
    lv_style_value_t old;
    if(lv_style_get_prop(st, tr->prop, &old) == LV_RES_OK && values_equal(tr->prop, old, value)) return;
    lv_style_set_prop(st, tr->prop, value);
    lv_obj_refresh_style(obj, tr->part, tr->prop);
}

void trans_anim_ready(lv_anim_t * a)
{
    auto * tr = static_cast<Transition *>(a->var);
    lv_obj_t * obj = tr->obj;
    const lv_part_t part = tr->part;
    const lv_style_prop_t prop = tr->prop;
    trans_unlink(tr);
    const int32_t idx = find_trans_style(obj, part);
    if(idx >= 0) {
        lv_style_remove_prop(obj->styles[idx].style, prop);
        if(lv_style_is_empty(obj->styles[idx].style)) remove_style_at(obj, static_cast<uint32_t>(idx));
    }
    lv_mem_free(tr);
    lv_obj_refresh_style(obj, part, prop);
}

void start_transition(lv_obj_t * obj, lv_part_t part, lv_style_prop_t prop, lv_style_value_t from,
                      lv_style_value_t to, const lv_style_transition_dsc_t * dsc)
{
    if(Transition * old = trans_find(obj, part, prop)) trans_delete(old, false);

    // Hold the current look until the transition starts moving.
    lv_style_set_prop(get_or_create_trans_style(obj, part), prop, from);

    auto * tr = static_cast<Transition *>(lv_mem_alloc_checked(sizeof(Transition)));
    std::memset(tr, 0, sizeof(*tr));
    tr->obj = obj;
    tr->prop = prop;
    tr->part = part;
    tr->start_value = from;
    tr->end_value = to;
    tr->next = g_trans_head;
    if(g_trans_head) g_trans_head->prev = tr;
    g_trans_head = tr;

    lv_anim_t a;
    lv_anim_init(&a);
    lv_anim_set_var(&a, tr);
    lv_anim_set_exec_cb(&a, trans_anim_exec);
    lv_anim_set_ready_cb(&a, trans_anim_ready);
    lv_anim_set_values(&a, 0, 255);
    lv_anim_set_time(&a, dsc->time);
    lv_anim_set_delay(&a, dsc->delay);
    lv_anim_set_path_cb(&a, dsc->path_xcb ? dsc->path_xcb : lv_anim_path_linear);
    lv_anim_set_early_apply(&a, false);
    lv_anim_start(&a);
}

void refresh_children(lv_obj_t * obj, bool layout)
{
    for(uint32_t i = 0; i < obj->child_cnt; i++) {
        lv_obj_t * child = obj->children[i];
        lv_obj_invalidate(child);
        lv_event_send(child, LV_EVENT_STYLE_CHANGED, nullptr);
        if(layout) lv_obj_mark_layout_as_dirty(child);
        lv_obj_refresh_ext_draw_size(child);
        refresh_children(child, layout);
    }
}

} // namespace

void _lv_obj_style_core_init() { g_trans_head = nullptr; }

void _lv_obj_style_core_deinit()
{
    // Objects are gone by now; the animations were freed with the rest.
    g_trans_head = nullptr;
}

void _lv_obj_style_create_transitions(lv_obj_t * obj, lv_state_t prev_state, lv_state_t new_state)
{
    if(!g_style_refr_enabled) return;
    // Every part that has a style can have a transition.
    lv_part_t parts[16];
    uint32_t part_cnt = 0;
    for(uint32_t i = 0; i < obj->style_cnt; i++) {
        const lv_part_t p = lv_obj_style_get_selector_part(obj->styles[i].selector);
        if(p == LV_PART_ANY) continue;
        bool seen = false;
        for(uint32_t j = 0; j < part_cnt; j++) seen = seen || parts[j] == p;
        if(!seen && part_cnt < 16) parts[part_cnt++] = p;
    }

    const lv_state_t saved = obj->state;
    for(uint32_t pi = 0; pi < part_cnt; pi++) {
        const lv_part_t part = parts[pi];
        obj->state = new_state;
        const auto * tr_dsc = static_cast<const lv_style_transition_dsc_t *>(
            lv_obj_get_style_prop(obj, part, LV_STYLE_TRANSITION).ptr);
        obj->state = saved;
        if(tr_dsc == nullptr || tr_dsc->props == nullptr) continue;

        for(const lv_style_prop_t * p = tr_dsc->props; *p != LV_STYLE_PROP_INV; p++) {
            const lv_style_prop_t prop = *p;
            obj->state = prev_state;
            const lv_style_value_t shown = lv_obj_get_style_prop(obj, part, prop);
            obj->state = new_state;
            obj->skip_trans = 1;
            const lv_style_value_t target = lv_obj_get_style_prop(obj, part, prop);
            obj->skip_trans = 0;
            obj->state = saved;
            if(values_equal(prop, shown, target) || (tr_dsc->time == 0 && tr_dsc->delay == 0)) {
                if(Transition * old = trans_find(obj, part, prop)) trans_delete(old, true);
                continue;
            }
            start_transition(obj, part, prop, shown, target, tr_dsc);
        }
    }
    obj->state = saved;
}

void _lv_obj_style_destroy(lv_obj_t * obj)
{
    for(Transition * t = g_trans_head; t;) {
        Transition * next = t->next;
        if(t->obj == obj) {
            trans_delete(t, false);
            next = g_trans_head; // lv_anim_del may have run callbacks
        }
        t = next;
    }
    for(uint32_t i = 0; i < obj->style_cnt; i++)
        if(obj->styles[i].is_local || obj->styles[i].is_trans) free_owned_style(obj->styles[i].style);
    lv_mem_free(obj->styles);
    obj->styles = nullptr;
    obj->style_cnt = 0;
}

/*--------------------------------------------------------------------
 * Public API
 *------------------------------------------------------------------*/
lv_style_value_t lv_obj_get_style_prop(const lv_obj_t * obj, lv_part_t part, lv_style_prop_t prop)
{
    lv_style_value_t v;
    v.ptr = nullptr;
    const bool inherit = _lv_style_prop_inherits(prop);
    const lv_obj_t * o = obj;
    lv_part_t p = part;
    while(o) {
        if(get_prop_core(o, p, prop, &v)) return v;
        if(!inherit) break;
        if(p != LV_PART_MAIN) {
            p = LV_PART_MAIN;
            continue;
        }
        o = o->parent;
    }
    if(part == LV_PART_MAIN && (prop == LV_STYLE_WIDTH || prop == LV_STYLE_HEIGHT)) {
        v.num = prop == LV_STYLE_WIDTH ? _lv_obj_class_width_def(obj) : _lv_obj_class_height_def(obj);
        return v;
    }
    return lv_style_prop_get_default(prop);
}

void lv_obj_set_local_style_prop(lv_obj_t * obj, lv_style_prop_t prop, lv_style_value_t value,
                                 lv_style_selector_t selector)
{
    lv_style_t * st = get_or_create_local(obj, selector);
    lv_style_set_prop(st, prop, value);
    lv_obj_refresh_style(obj, lv_obj_style_get_selector_part(selector), prop);
}

lv_res_t lv_obj_get_local_style_prop(lv_obj_t * obj, lv_style_prop_t prop, lv_style_value_t * value,
                                     lv_style_selector_t selector)
{
    const int32_t idx = find_local(obj, selector);
    if(idx < 0) return LV_RES_INV;
    return lv_style_get_prop(obj->styles[idx].style, prop, value);
}

bool lv_obj_remove_local_style_prop(lv_obj_t * obj, lv_style_prop_t prop, lv_style_selector_t selector)
{
    const int32_t idx = find_local(obj, selector);
    if(idx < 0) return false;
    const bool removed = lv_style_remove_prop(obj->styles[idx].style, prop);
    if(lv_style_is_empty(obj->styles[idx].style)) remove_style_at(obj, static_cast<uint32_t>(idx));
    if(removed) lv_obj_refresh_style(obj, lv_obj_style_get_selector_part(selector), prop);
    return removed;
}

void lv_obj_add_style(lv_obj_t * obj, lv_style_t * style, lv_style_selector_t selector)
{
    // Newest added style first, after the transition and local styles.
    uint32_t i = 0;
    while(i < obj->style_cnt && (obj->styles[i].is_trans || obj->styles[i].is_local)) i++;
    _lv_obj_style_t s{};
    s.style = style;
    s.selector = selector;
    insert_style_at(obj, i, s);
    lv_obj_refresh_style(obj, lv_obj_style_get_selector_part(selector), LV_STYLE_PROP_ANY);
}

void lv_obj_remove_style(lv_obj_t * obj, lv_style_t * style, lv_style_selector_t selector)
{
    const lv_part_t part = lv_obj_style_get_selector_part(selector);
    const lv_state_t state = lv_obj_style_get_selector_state(selector);
    bool removed = false;
    uint32_t i = 0;
    while(i < obj->style_cnt) {
        const _lv_obj_style_t & s = obj->styles[i];
        const lv_part_t sp = lv_obj_style_get_selector_part(s.selector);
        const lv_state_t ss = lv_obj_style_get_selector_state(s.selector);
        const bool match = (part == LV_PART_ANY || sp == part) && (state == LV_STATE_ANY || ss == state) &&
                           (style == nullptr || s.style == style);
        if(!match) {
            i++;
            continue;
        }
        if(s.is_trans) {
            for(Transition * t = g_trans_head; t;) {
                Transition * next = t->next;
                if(t->obj == obj && t->part == sp) {
                    trans_delete(t, false);
                    next = g_trans_head;
                }
                t = next;
            }
            // trans_delete leaves the values; drop the whole transition style.
            const int32_t idx = find_trans_style(obj, sp);
            if(idx >= 0) remove_style_at(obj, static_cast<uint32_t>(idx));
            i = 0;
        }
        else {
            remove_style_at(obj, i);
        }
        removed = true;
    }
    if(removed) lv_obj_refresh_style(obj, part, LV_STYLE_PROP_ANY);
}

void lv_obj_enable_style_refresh(bool en) { g_style_refr_enabled = en; }

void lv_obj_refresh_style(lv_obj_t * obj, lv_part_t part, lv_style_prop_t prop)
{
    if(!g_style_refr_enabled) return;
    lv_obj_invalidate(obj);
    const bool layout = _lv_style_prop_affects_layout(prop);
    const bool ext = _lv_style_prop_affects_ext_draw(prop);
    const bool inherit = prop == LV_STYLE_PROP_ANY || _lv_style_prop_inherits(prop);

    if(lv_event_send(obj, LV_EVENT_STYLE_CHANGED, nullptr) != LV_RES_OK) return;
    if(layout) {
        lv_obj_mark_layout_as_dirty(obj);
        if(obj->parent) lv_obj_mark_layout_as_dirty(obj->parent);
    }
    if(ext) lv_obj_refresh_ext_draw_size(obj);
    lv_obj_invalidate(obj);
    if(inherit && (layout || ext) && part != LV_PART_SCROLLBAR) refresh_children(obj, layout);
}

void lv_obj_report_style_change(lv_style_t * style)
{
    // Refresh every object using `style` on every display.
    struct Walker {
        static void walk(lv_obj_t * obj, lv_style_t * style)
        {
            for(uint32_t i = 0; i < obj->style_cnt; i++) {
                if(style == nullptr || obj->styles[i].style == style) {
                    lv_obj_refresh_style(obj, LV_PART_ANY, LV_STYLE_PROP_ANY);
                    break;
                }
            }
            for(uint32_t i = 0; i < obj->child_cnt; i++) walk(obj->children[i], style);
        }
    };
    for(lv_disp_t * d = lv_disp_get_next(nullptr); d; d = lv_disp_get_next(d))
        for(uint32_t i = 0; i < d->screen_cnt; i++) Walker::walk(d->screens[i], style);
}

lv_color_t lv_obj_apply_color_filter(const lv_obj_t * obj, uint32_t part, lv_color_t c)
{
    const auto * f = static_cast<const lv_color_filter_dsc_t *>(
        lv_obj_get_style_prop(obj, part, LV_STYLE_COLOR_FILTER_DSC).ptr);
    if(f == nullptr || f->filter_cb == nullptr) return c;
    const lv_opa_t opa = static_cast<lv_opa_t>(lv_obj_get_style_prop(obj, part, LV_STYLE_COLOR_FILTER_OPA).num);
    if(opa == LV_OPA_TRANSP) return c;
    return f->filter_cb(f, c, opa);
}

lv_color_t lv_obj_get_style_bg_color_filtered(const lv_obj_t * obj, uint32_t part)
{
    return lv_obj_apply_color_filter(obj, part, lv_obj_get_style_bg_color(obj, part));
}

lv_color_t lv_obj_get_style_text_color_filtered(const lv_obj_t * obj, uint32_t part)
{
    return lv_obj_apply_color_filter(obj, part, lv_obj_get_style_text_color(obj, part));
}

lv_opa_t lv_obj_get_style_opa_recursive(const lv_obj_t * obj, lv_part_t part)
{
    uint32_t result = LV_OPA_COVER;
    const lv_obj_t * o = obj;
    lv_part_t p = part;
    while(o) {
        const lv_opa_t opa = lv_obj_get_style_opa(o, p);
        if(opa <= LV_OPA_MIN) return LV_OPA_TRANSP;
        if(opa < LV_OPA_MAX) result = (result * opa) >> 8;
        if(p != LV_PART_MAIN) p = LV_PART_MAIN;
        else o = o->parent;
    }
    if(result <= LV_OPA_MIN) return LV_OPA_TRANSP;
    if(result >= LV_OPA_MAX) return LV_OPA_COVER;
    return static_cast<lv_opa_t>(result);
}

/*--------------------------------------------------------------------
 * lv_obj_set_style_... setters
 *------------------------------------------------------------------*/
#define OBJ_SET_NUM(name, PROP, type)                                                       \
    void lv_obj_set_style_##name(lv_obj_t * obj, type value, lv_style_selector_t selector)    \
    {                                                                                        \
        lv_style_value_t v;                                                                  \
        v.ptr = nullptr;                                                                     \
        v.num = static_cast<int32_t>(value);                                                 \
        lv_obj_set_local_style_prop(obj, LV_STYLE_##PROP, v, selector);                      \
    }
#define OBJ_SET_COLOR(name, PROP)                                                           \
    void lv_obj_set_style_##name(lv_obj_t * obj, lv_color_t value, lv_style_selector_t selector) \
    {                                                                                        \
        lv_style_value_t v;                                                                  \
        v.ptr = nullptr;                                                                     \
        v.num = 0;                                                                           \
        v.color = value;                                                                     \
        lv_obj_set_local_style_prop(obj, LV_STYLE_##PROP, v, selector);                      \
    }
#define OBJ_SET_PTR(name, PROP, type)                                                       \
    void lv_obj_set_style_##name(lv_obj_t * obj, type value, lv_style_selector_t selector)    \
    {                                                                                        \
        lv_style_value_t v;                                                                  \
        v.ptr = nullptr;                                                                     \
        v.ptr = value;                                                                       \
        lv_obj_set_local_style_prop(obj, LV_STYLE_##PROP, v, selector);                      \
    }

OBJ_SET_NUM(width, WIDTH, lv_coord_t)
OBJ_SET_NUM(height, HEIGHT, lv_coord_t)
OBJ_SET_NUM(x, X, lv_coord_t)
OBJ_SET_NUM(y, Y, lv_coord_t)
OBJ_SET_NUM(align, ALIGN, lv_align_t)
OBJ_SET_NUM(transform_width, TRANSFORM_WIDTH, lv_coord_t)
OBJ_SET_NUM(transform_height, TRANSFORM_HEIGHT, lv_coord_t)
OBJ_SET_NUM(pad_top, PAD_TOP, lv_coord_t)
OBJ_SET_NUM(pad_bottom, PAD_BOTTOM, lv_coord_t)
OBJ_SET_NUM(pad_left, PAD_LEFT, lv_coord_t)
OBJ_SET_NUM(pad_right, PAD_RIGHT, lv_coord_t)
OBJ_SET_NUM(pad_row, PAD_ROW, lv_coord_t)
OBJ_SET_NUM(pad_column, PAD_COLUMN, lv_coord_t)
OBJ_SET_COLOR(bg_color, BG_COLOR)
OBJ_SET_NUM(bg_opa, BG_OPA, lv_opa_t)
OBJ_SET_COLOR(bg_grad_color, BG_GRAD_COLOR)
OBJ_SET_NUM(bg_grad_dir, BG_GRAD_DIR, lv_grad_dir_t)
OBJ_SET_NUM(bg_main_stop, BG_MAIN_STOP, lv_coord_t)
OBJ_SET_NUM(bg_grad_stop, BG_GRAD_STOP, lv_coord_t)
OBJ_SET_PTR(bg_img_src, BG_IMG_SRC, const void *)
OBJ_SET_NUM(bg_img_opa, BG_IMG_OPA, lv_opa_t)
OBJ_SET_COLOR(bg_img_recolor, BG_IMG_RECOLOR)
OBJ_SET_NUM(bg_img_recolor_opa, BG_IMG_RECOLOR_OPA, lv_opa_t)
OBJ_SET_COLOR(border_color, BORDER_COLOR)
OBJ_SET_NUM(border_opa, BORDER_OPA, lv_opa_t)
OBJ_SET_NUM(border_width, BORDER_WIDTH, lv_coord_t)
OBJ_SET_NUM(border_side, BORDER_SIDE, lv_border_side_t)
OBJ_SET_NUM(border_post, BORDER_POST, bool)
OBJ_SET_NUM(outline_width, OUTLINE_WIDTH, lv_coord_t)
OBJ_SET_COLOR(outline_color, OUTLINE_COLOR)
OBJ_SET_NUM(outline_opa, OUTLINE_OPA, lv_opa_t)
OBJ_SET_NUM(outline_pad, OUTLINE_PAD, lv_coord_t)
OBJ_SET_NUM(shadow_width, SHADOW_WIDTH, lv_coord_t)
OBJ_SET_NUM(shadow_ofs_x, SHADOW_OFS_X, lv_coord_t)
OBJ_SET_NUM(shadow_ofs_y, SHADOW_OFS_Y, lv_coord_t)
OBJ_SET_NUM(shadow_spread, SHADOW_SPREAD, lv_coord_t)
OBJ_SET_COLOR(shadow_color, SHADOW_COLOR)
OBJ_SET_NUM(shadow_opa, SHADOW_OPA, lv_opa_t)
OBJ_SET_NUM(img_opa, IMG_OPA, lv_opa_t)
OBJ_SET_COLOR(img_recolor, IMG_RECOLOR)
OBJ_SET_NUM(img_recolor_opa, IMG_RECOLOR_OPA, lv_opa_t)
OBJ_SET_NUM(line_width, LINE_WIDTH, lv_coord_t)
OBJ_SET_NUM(line_rounded, LINE_ROUNDED, bool)
OBJ_SET_COLOR(line_color, LINE_COLOR)
OBJ_SET_NUM(line_opa, LINE_OPA, lv_opa_t)
OBJ_SET_COLOR(text_color, TEXT_COLOR)
OBJ_SET_NUM(text_opa, TEXT_OPA, lv_opa_t)
OBJ_SET_PTR(text_font, TEXT_FONT, const lv_font_t *)
OBJ_SET_NUM(text_letter_space, TEXT_LETTER_SPACE, lv_coord_t)
OBJ_SET_NUM(text_line_space, TEXT_LINE_SPACE, lv_coord_t)
OBJ_SET_NUM(text_decor, TEXT_DECOR, lv_text_decor_t)
OBJ_SET_NUM(text_align, TEXT_ALIGN, lv_text_align_t)
OBJ_SET_NUM(radius, RADIUS, lv_coord_t)
OBJ_SET_NUM(clip_corner, CLIP_CORNER, bool)
OBJ_SET_NUM(opa, OPA, lv_opa_t)
OBJ_SET_PTR(color_filter_dsc, COLOR_FILTER_DSC, const lv_color_filter_dsc_t *)
OBJ_SET_NUM(color_filter_opa, COLOR_FILTER_OPA, lv_opa_t)
OBJ_SET_NUM(anim_time, ANIM_TIME, uint32_t)
OBJ_SET_NUM(anim_speed, ANIM_SPEED, uint32_t)
OBJ_SET_PTR(transition, TRANSITION, const lv_style_transition_dsc_t *)

void lv_obj_set_style_pad_all(lv_obj_t * obj, lv_coord_t value, lv_style_selector_t selector)
{
    lv_obj_set_style_pad_left(obj, value, selector);
    lv_obj_set_style_pad_right(obj, value, selector);
    lv_obj_set_style_pad_top(obj, value, selector);
    lv_obj_set_style_pad_bottom(obj, value, selector);
}

void lv_obj_set_style_pad_hor(lv_obj_t * obj, lv_coord_t value, lv_style_selector_t selector)
{
    lv_obj_set_style_pad_left(obj, value, selector);
    lv_obj_set_style_pad_right(obj, value, selector);
}

void lv_obj_set_style_pad_ver(lv_obj_t * obj, lv_coord_t value, lv_style_selector_t selector)
{
    lv_obj_set_style_pad_top(obj, value, selector);
    lv_obj_set_style_pad_bottom(obj, value, selector);
}

void lv_obj_set_style_size(lv_obj_t * obj, lv_coord_t value, lv_style_selector_t selector)
{
    lv_obj_set_style_width(obj, value, selector);
    lv_obj_set_style_height(obj, value, selector);
}
