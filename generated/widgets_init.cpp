#include "widgets_init.h"
#include "tessel_images.h"

void kb_event_cb(lv_event_t *e)
{
	lv_event_code_t code = lv_event_get_code(e);
	lv_obj_t *kb = lv_event_get_target(e);

	if (code == LV_EVENT_READY || code == LV_EVENT_CANCEL)
		lv_obj_add_flag(kb, LV_OBJ_FLAG_HIDDEN);
}

void ta_event_cb(lv_event_t *e)
{
	lv_event_code_t code = lv_event_get_code(e);
	lv_obj_t *kb = (lv_obj_t *)lv_event_get_user_data(e);

	if (code == LV_EVENT_FOCUSED || code == LV_EVENT_CLICKED) {
		/* Last child: drawn above its siblings. */
		lv_obj_move_to_index(kb, (int32_t)lv_obj_get_child_cnt(lv_obj_get_parent(kb)) - 1);
		lv_obj_clear_flag(kb, LV_OBJ_FLAG_HIDDEN);
	}
	if (code == LV_EVENT_CANCEL || code == LV_EVENT_DEFOCUSED) {
		lv_obj_move_to_index(kb, 0);
		lv_obj_add_flag(kb, LV_OBJ_FLAG_HIDDEN);
	}
}

const lv_img_dsc_t *Start_animimg_1_imgs[11] = {
	&Start_animimg_1Start3_0,
	&Start_animimg_1Start3_1,
	&Start_animimg_1Start3_2,
	&Start_animimg_1Start3_3,
	&Start_animimg_1Start3_4,
	&Start_animimg_1Start3_5,
	&Start_animimg_1Start3_6,
	&Start_animimg_1Start3_7,
	&Start_animimg_1Start3_8,
	&Start_animimg_1Start3_9,
	&Start_animimg_1Start3_10,
};
