// Animated image: an image that steps through a list of sources.
//
// The frame index runs 0..num over the duration and the frame shown is
// index % num, so a finished run lands on frame 0 again, as LVGL 8.3 does.
// The animation's var is the object itself: lv_anim_get(obj, NULL) finds it
// and deleting the object deletes it.
#include "../core/lv_obj_private.h"

namespace {

struct lv_animimg_t {
    lv_img_t img; // first: an animated image is an image
    const void ** dsc;
    uint8_t pic_count;
    lv_anim_t anim; // template, copied by lv_anim_start
};

lv_animimg_t * as_animimg(lv_obj_t * obj) { return reinterpret_cast<lv_animimg_t *>(obj); }

void show_frame(void * var, int32_t index)
{
    auto * obj = static_cast<lv_obj_t *>(var);
    lv_animimg_t * a = as_animimg(obj);
    if(a->dsc == nullptr || a->pic_count == 0 || index < 0) return;
    lv_img_set_src(obj, a->dsc[index % a->pic_count]);
}

void animimg_constructor(const lv_obj_class_t *, lv_obj_t * obj)
{
    lv_animimg_t * a = as_animimg(obj);
    a->dsc = nullptr;
    a->pic_count = 0;
    lv_anim_init(&a->anim);
    lv_anim_set_var(&a->anim, obj);
    lv_anim_set_exec_cb(&a->anim, show_frame);
    lv_anim_set_time(&a->anim, 30);
    lv_anim_set_values(&a->anim, 0, 1);
    lv_anim_set_path_cb(&a->anim, lv_anim_path_linear);
    lv_anim_set_repeat_count(&a->anim, LV_ANIM_REPEAT_INFINITE);
}

} // namespace

extern "C" {

const lv_obj_class_t lv_animimg_class = {
    &lv_img_class,
    animimg_constructor,
    nullptr,
    nullptr,
    nullptr, // image behaviour unchanged
    0,
    0,
    LV_OBJ_CLASS_EDITABLE_INHERIT,
    LV_OBJ_CLASS_GROUP_DEF_INHERIT,
    sizeof(lv_animimg_t),
};

lv_obj_t * lv_animimg_create(lv_obj_t * parent)
{
    lv_obj_t * obj = lv_obj_class_create_obj(&lv_animimg_class, parent);
    lv_obj_class_init_obj(obj);
    return obj;
}

void lv_animimg_set_src(lv_obj_t * obj, const void * dsc[], uint8_t num)
{
    lv_animimg_t * a = as_animimg(obj);
    a->dsc = dsc;
    a->pic_count = num;
    lv_anim_set_values(&a->anim, 0, num);
}

void lv_animimg_start(lv_obj_t * obj)
{
    lv_animimg_t * a = as_animimg(obj);
    if(a->dsc == nullptr || a->pic_count == 0) return;
    lv_anim_start(&a->anim);
}

void lv_animimg_set_duration(lv_obj_t * obj, uint32_t duration)
{
    lv_animimg_t * a = as_animimg(obj);
    lv_anim_set_time(&a->anim, duration);
}

void lv_animimg_set_repeat_count(lv_obj_t * obj, uint16_t count)
{
    lv_anim_set_repeat_count(&as_animimg(obj)->anim, count);
}

} // extern "C"
