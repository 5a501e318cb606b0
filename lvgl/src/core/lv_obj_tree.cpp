// Object life cycle, the tree, flags and states.
#include "lv_core_private.h"

#include <cstring>

namespace {

void construct_chain(const lv_obj_class_t * cls, lv_obj_t * obj)
{
    if(cls == nullptr) return;
    construct_chain(cls->base_class, obj); // base classes first
    if(cls->constructor_cb) cls->constructor_cb(cls, obj);
}

void destruct_chain(lv_obj_t * obj)
{
    for(const lv_obj_class_t * cls = obj->class_p; cls; cls = cls->base_class)
        if(cls->destructor_cb) cls->destructor_cb(cls, obj);
}

void add_child(lv_obj_t * parent, lv_obj_t * child)
{
    parent->children = static_cast<lv_obj_t **>(
        lv_mem_realloc_checked(parent->children, (parent->child_cnt + 1) * sizeof(lv_obj_t *)));
    parent->children[parent->child_cnt++] = child;
}

void remove_child(lv_obj_t * parent, lv_obj_t * child)
{
    uint32_t i = 0;
    while(i < parent->child_cnt && parent->children[i] != child) i++;
    if(i == parent->child_cnt) return;
    for(uint32_t j = i + 1; j < parent->child_cnt; j++) parent->children[j - 1] = parent->children[j];
    parent->child_cnt--;
    if(parent->child_cnt == 0) {
        lv_mem_free(parent->children);
        parent->children = nullptr;
    }
}

// DELETE reaches an object before its children; memory goes children first.
void delete_core(lv_obj_t * obj)
{
    obj->being_deleted = 1;
    lv_event_send(obj, LV_EVENT_DELETE, nullptr);

    while(obj->child_cnt > 0) delete_core(obj->children[0]);

    _lv_indev_obj_deleted(obj);
    lv_anim_del(obj, nullptr);
    _lv_event_mark_deleted(obj);
    destruct_chain(obj);
    _lv_obj_style_destroy(obj);

    if(obj->parent) remove_child(obj->parent, obj);
    else _lv_disp_remove_screen(obj);

    lv_mem_free(obj->children);
    lv_mem_free(obj->event_dsc);
    lv_mem_free(obj);
}

bool tree_contains(const lv_obj_t * root, const lv_obj_t * obj)
{
    if(root == obj) return true;
    for(uint32_t i = 0; i < root->child_cnt; i++)
        if(tree_contains(root->children[i], obj)) return true;
    return false;
}

void async_del_cb(void * obj)
{
    if(lv_obj_is_valid(static_cast<lv_obj_t *>(obj))) lv_obj_del(static_cast<lv_obj_t *>(obj));
}

} // namespace

/*--------------------------------------------------------------------
 * Classes
 *------------------------------------------------------------------*/
lv_obj_t * lv_obj_class_create_obj(const lv_obj_class_t * class_p, lv_obj_t * parent)
{
    auto * obj = static_cast<lv_obj_t *>(lv_mem_alloc_checked(class_p->instance_size));
    std::memset(obj, 0, class_p->instance_size);
    obj->class_p = class_p;
    obj->parent = parent;
    if(parent == nullptr) {
        lv_disp_t * disp = lv_disp_get_default();
        obj->disp = disp;
        const lv_coord_t w = disp ? lv_disp_get_hor_res(disp) : 0;
        const lv_coord_t h = disp ? lv_disp_get_ver_res(disp) : 0;
        lv_area_set(&obj->coords, 0, 0, static_cast<lv_coord_t>(w - 1), static_cast<lv_coord_t>(h - 1));
        if(disp) _lv_disp_add_screen(disp, obj);
    }
    else {
        // Placed properly by the next layout pass.
        obj->coords.x1 = parent->coords.x1;
        obj->coords.y1 = parent->coords.y1;
        obj->coords.x2 = static_cast<lv_coord_t>(parent->coords.x1 - 1);
        obj->coords.y2 = static_cast<lv_coord_t>(parent->coords.y1 - 1);
        add_child(parent, obj);
    }
    return obj;
}

void lv_obj_class_init_obj(lv_obj_t * obj)
{
    lv_obj_mark_layout_as_dirty(obj);
    lv_obj_enable_style_refresh(false);
    lv_theme_apply(obj);
    construct_chain(obj->class_p, obj);
    lv_obj_enable_style_refresh(true);
    lv_obj_refresh_style(obj, LV_PART_ANY, LV_STYLE_PROP_ANY);
    lv_obj_refresh_self_size(obj);
    if(obj->parent) {
        lv_event_send(obj->parent, LV_EVENT_CHILD_CHANGED, obj);
        lv_event_send(obj->parent, LV_EVENT_CHILD_CREATED, obj);
        lv_obj_invalidate(obj);
    }
}

bool _lv_obj_is_screen(const lv_obj_t * obj) { return obj->parent == nullptr; }

lv_coord_t _lv_obj_class_width_def(const lv_obj_t * obj)
{
    for(const lv_obj_class_t * c = obj->class_p; c; c = c->base_class)
        if(c->width_def != 0) return c->width_def;
    return 0;
}

lv_coord_t _lv_obj_class_height_def(const lv_obj_t * obj)
{
    for(const lv_obj_class_t * c = obj->class_p; c; c = c->base_class)
        if(c->height_def != 0) return c->height_def;
    return 0;
}

lv_obj_t * lv_obj_create(lv_obj_t * parent)
{
    lv_obj_t * obj = lv_obj_class_create_obj(&lv_obj_class, parent);
    lv_obj_class_init_obj(obj);
    return obj;
}

/*--------------------------------------------------------------------
 * Deleting
 *------------------------------------------------------------------*/
void lv_obj_del(lv_obj_t * obj)
{
    if(obj == nullptr || obj->being_deleted) return;
    lv_obj_invalidate(obj);
    lv_obj_t * parent = obj->parent;
    lv_disp_t * disp = parent ? nullptr : obj->disp;
    delete_core(obj);

    if(parent) {
        lv_obj_mark_layout_as_dirty(parent);
        lv_event_send(parent, LV_EVENT_CHILD_CHANGED, nullptr);
        lv_event_send(parent, LV_EVENT_CHILD_DELETED, nullptr);
    }
    (void)disp;
}

void lv_obj_del_async(lv_obj_t * obj) { lv_async_call(async_del_cb, obj); }

void lv_obj_clean(lv_obj_t * obj)
{
    if(obj == nullptr) return;
    lv_obj_invalidate(obj);
    while(obj->child_cnt > 0) {
        lv_obj_t * child = obj->children[0];
        delete_core(child);
    }
    lv_obj_mark_layout_as_dirty(obj);
    lv_event_send(obj, LV_EVENT_CHILD_CHANGED, nullptr);
    lv_event_send(obj, LV_EVENT_CHILD_DELETED, nullptr);
}

bool lv_obj_is_valid(const lv_obj_t * obj)
{
    if(obj == nullptr) return false;
    for(lv_disp_t * d = lv_disp_get_next(nullptr); d; d = lv_disp_get_next(d))
        for(uint32_t i = 0; i < d->screen_cnt; i++)
            if(tree_contains(d->screens[i], obj)) return true;
    return false;
}

/*--------------------------------------------------------------------
 * Flags and states
 *------------------------------------------------------------------*/
void lv_obj_add_flag(lv_obj_t * obj, lv_obj_flag_t f)
{
    const bool was_hidden = lv_obj_has_flag(obj, LV_OBJ_FLAG_HIDDEN);
    if(f & LV_OBJ_FLAG_HIDDEN) lv_obj_invalidate(obj);
    obj->flags |= f;
    if((f & LV_OBJ_FLAG_HIDDEN) && !was_hidden) {
        if(obj->parent) lv_obj_mark_layout_as_dirty(obj->parent);
        _lv_indev_obj_deleted(obj); // a hidden object can't stay pressed
    }
    if(f & (LV_OBJ_FLAG_FLOATING | LV_OBJ_FLAG_IGNORE_LAYOUT)) lv_obj_mark_layout_as_dirty(obj);
}

void lv_obj_clear_flag(lv_obj_t * obj, lv_obj_flag_t f)
{
    const bool was_hidden = lv_obj_has_flag(obj, LV_OBJ_FLAG_HIDDEN);
    obj->flags &= ~f;
    if((f & LV_OBJ_FLAG_HIDDEN) && was_hidden) {
        lv_obj_mark_layout_as_dirty(obj);
        if(obj->parent) lv_obj_mark_layout_as_dirty(obj->parent);
        lv_obj_invalidate(obj);
    }
    if(f & (LV_OBJ_FLAG_FLOATING | LV_OBJ_FLAG_IGNORE_LAYOUT)) lv_obj_mark_layout_as_dirty(obj);
}

bool lv_obj_has_flag(const lv_obj_t * obj, lv_obj_flag_t f) { return (obj->flags & f) == f; }

bool lv_obj_has_flag_any(const lv_obj_t * obj, lv_obj_flag_t f) { return (obj->flags & f) != 0; }

namespace {
void set_state(lv_obj_t * obj, lv_state_t new_state)
{
    if(obj->state == new_state) return;
    const lv_state_t prev = obj->state;
    _lv_obj_style_create_transitions(obj, prev, new_state);
    lv_obj_invalidate(obj);
    obj->state = new_state;
    // Any style may depend on the state: relayout and remeasure as a style change would.
    lv_obj_refresh_style(obj, LV_PART_ANY, LV_STYLE_PROP_ANY);
}
} // namespace

void lv_obj_add_state(lv_obj_t * obj, lv_state_t state) { set_state(obj, static_cast<lv_state_t>(obj->state | state)); }

void lv_obj_clear_state(lv_obj_t * obj, lv_state_t state)
{
    set_state(obj, static_cast<lv_state_t>(obj->state & ~state));
}

lv_state_t lv_obj_get_state(const lv_obj_t * obj) { return obj->state; }

bool lv_obj_has_state(const lv_obj_t * obj, lv_state_t state) { return (obj->state & state) != 0; }

void lv_obj_set_user_data(lv_obj_t * obj, void * user_data) { obj->user_data = user_data; }

void * lv_obj_get_user_data(lv_obj_t * obj) { return obj->user_data; }

/*--------------------------------------------------------------------
 * Tree
 *------------------------------------------------------------------*/
lv_obj_t * lv_obj_get_screen(const lv_obj_t * obj)
{
    const lv_obj_t * o = obj;
    while(o->parent) o = o->parent;
    return const_cast<lv_obj_t *>(o);
}

lv_disp_t * lv_obj_get_disp(const lv_obj_t * obj)
{
    const lv_obj_t * scr = lv_obj_get_screen(obj);
    if(scr->disp) return scr->disp;
    return lv_disp_get_default();
}

lv_obj_t * lv_obj_get_parent(const lv_obj_t * obj) { return obj ? obj->parent : nullptr; }

lv_obj_t * lv_obj_get_child(const lv_obj_t * obj, int32_t id)
{
    const int64_t cnt = obj->child_cnt;
    const int64_t idx = id < 0 ? cnt + id : id;
    if(idx < 0 || idx >= cnt) return nullptr;
    return obj->children[idx];
}

uint32_t lv_obj_get_child_cnt(const lv_obj_t * obj) { return obj->child_cnt; }

uint32_t lv_obj_get_index(const lv_obj_t * obj)
{
    const lv_obj_t * p = obj->parent;
    if(p == nullptr) return 0;
    for(uint32_t i = 0; i < p->child_cnt; i++)
        if(p->children[i] == obj) return i;
    return 0xFFFFFFFFu;
}

void lv_obj_move_to_index(lv_obj_t * obj, int32_t index)
{
    lv_obj_t * p = obj->parent;
    if(p == nullptr) return;
    const int32_t cnt = static_cast<int32_t>(p->child_cnt);
    if(index < 0) index += cnt;
    if(index < 0) index = 0;
    if(index >= cnt) index = cnt - 1;
    const int32_t old = static_cast<int32_t>(lv_obj_get_index(obj));
    if(old == index) return;
    if(old < index)
        for(int32_t i = old; i < index; i++) p->children[i] = p->children[i + 1];
    else
        for(int32_t i = old; i > index; i--) p->children[i] = p->children[i - 1];
    p->children[index] = obj;
    lv_event_send(p, LV_EVENT_CHILD_CHANGED, nullptr);
    lv_obj_invalidate(p);
}

void lv_obj_move_foreground(lv_obj_t * obj) { lv_obj_move_to_index(obj, -1); }

void lv_obj_move_background(lv_obj_t * obj) { lv_obj_move_to_index(obj, 0); }

void lv_obj_set_parent(lv_obj_t * obj, lv_obj_t * parent)
{
    if(obj->parent == nullptr || parent == nullptr || obj->parent == parent) return;
    lv_obj_invalidate(obj);
    lv_obj_t * old = obj->parent;
    remove_child(old, obj);
    add_child(parent, obj);
    obj->parent = parent;
    lv_obj_mark_layout_as_dirty(obj);
    lv_obj_mark_layout_as_dirty(old);
    lv_event_send(old, LV_EVENT_CHILD_CHANGED, obj);
    lv_event_send(old, LV_EVENT_CHILD_DELETED, nullptr);
    lv_event_send(parent, LV_EVENT_CHILD_CHANGED, obj);
    lv_event_send(parent, LV_EVENT_CHILD_CREATED, nullptr);
    // Inherited properties may differ under the new parent.
    lv_obj_refresh_style(obj, LV_PART_ANY, LV_STYLE_PROP_ANY);
    lv_obj_invalidate(obj);
}

bool lv_obj_check_type(const lv_obj_t * obj, const lv_obj_class_t * class_p) { return obj && obj->class_p == class_p; }

const lv_obj_class_t * lv_obj_get_class(const lv_obj_t * obj) { return obj->class_p; }
