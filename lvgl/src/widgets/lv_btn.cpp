// Button: a base object sized to its content that does not scroll.
#include "../core/lv_obj_private.h"

namespace {

void btn_constructor(const lv_obj_class_t *, lv_obj_t * obj)
{
    lv_obj_clear_flag(obj, LV_OBJ_FLAG_SCROLLABLE);
    lv_obj_add_flag(obj, LV_OBJ_FLAG_SCROLL_ON_FOCUS);
}

} // namespace

const lv_obj_class_t lv_btn_class = {
    .base_class = &lv_obj_class,
    .constructor_cb = btn_constructor,
    .destructor_cb = nullptr,
    .user_data = nullptr,
    .event_cb = nullptr,
    .width_def = LV_SIZE_CONTENT,
    .height_def = LV_SIZE_CONTENT,
    .editable = LV_OBJ_CLASS_EDITABLE_INHERIT,
    .group_def = LV_OBJ_CLASS_GROUP_DEF_TRUE,
    .instance_size = sizeof(lv_btn_t),
};

lv_obj_t * lv_btn_create(lv_obj_t * parent)
{
    lv_obj_t * obj = lv_obj_class_create_obj(&lv_btn_class, parent);
    lv_obj_class_init_obj(obj);
    return obj;
}
