/* Start screen: the intro animation under a transparent full-picture button. */
#include "gui_tessel.h"
#include "events_init.h"
#include "widgets_init.h"
#include "tessel_images.h"

/* The frame-list parameter is lv_img_dsc_t ** in some LVGL 8.3 releases and
 * const void ** in others; cast to whatever this build declares. */
template <typename Frame>
static void animimg_set_frames(void (*set_src)(lv_obj_t *, Frame *, uint8_t), lv_obj_t *animimg,
			       const lv_img_dsc_t **frames, uint8_t num)
{
	set_src(animimg, (Frame *)frames, num);
}

/*
 * LVGL 8.3's animated image ends its run on frame 0 (the index wraps), but the
 * intro must stay on its last frame. The run's own ready callback puts the last
 * frame back in the same timer pass, before anything is redrawn. If the
 * animated image is deleted first (a tap during the intro), LVGL deletes the
 * run with it and the callback never fires.
 */
static void Start_animimg_1_ready_cb(lv_anim_t *a)
{
	lv_img_set_src((lv_obj_t *)a->var, Start_animimg_1_imgs[10]);
}

void setup_scr_Start(lv_ui *ui)
{
	ui->Start = lv_obj_create(NULL);
	lv_obj_set_size(ui->Start, 1280, 800);
	lv_obj_set_scrollbar_mode(ui->Start, LV_SCROLLBAR_MODE_OFF);
	lv_obj_set_style_bg_opa(ui->Start, 0, LV_PART_MAIN | LV_STATE_DEFAULT);

	ui->Start_animimg_1 = lv_animimg_create(ui->Start);
	animimg_set_frames(lv_animimg_set_src, ui->Start_animimg_1, Start_animimg_1_imgs, 11);
	lv_animimg_set_duration(ui->Start_animimg_1, 660);
	lv_animimg_set_repeat_count(ui->Start_animimg_1, 1);
	lv_animimg_start(ui->Start_animimg_1);
	lv_obj_set_pos(ui->Start_animimg_1, 140, 50);
	lv_obj_set_size(ui->Start_animimg_1, 1000, 700);
	lv_obj_set_scrollbar_mode(ui->Start_animimg_1, LV_SCROLLBAR_MODE_OFF);

	lv_anim_t *run = lv_anim_get(ui->Start_animimg_1, NULL);
	if (run != NULL)
		lv_anim_set_ready_cb(run, Start_animimg_1_ready_cb);

	ui->Start_btn_1 = lv_btn_create(ui->Start);
	ui->Start_btn_1_label = lv_label_create(ui->Start_btn_1);
	lv_label_set_text(ui->Start_btn_1_label, "");
	lv_label_set_long_mode(ui->Start_btn_1_label, LV_LABEL_LONG_WRAP);
	lv_obj_align(ui->Start_btn_1_label, LV_ALIGN_CENTER, 0, 0);
	lv_obj_set_style_pad_left(ui->Start_btn_1, 0, LV_PART_MAIN | LV_STATE_DEFAULT);
	lv_obj_set_style_pad_right(ui->Start_btn_1, 0, LV_PART_MAIN | LV_STATE_DEFAULT);
	lv_obj_set_style_pad_top(ui->Start_btn_1, 0, LV_PART_MAIN | LV_STATE_DEFAULT);
	lv_obj_set_style_pad_bottom(ui->Start_btn_1, 0, LV_PART_MAIN | LV_STATE_DEFAULT);
	lv_obj_set_pos(ui->Start_btn_1, 140, 59);
	lv_obj_set_size(ui->Start_btn_1, 1000, 681);
	lv_obj_set_scrollbar_mode(ui->Start_btn_1, LV_SCROLLBAR_MODE_OFF);
	lv_obj_set_style_bg_opa(ui->Start_btn_1, 0, LV_PART_MAIN | LV_STATE_DEFAULT);
	lv_obj_set_style_border_width(ui->Start_btn_1, 0, LV_PART_MAIN | LV_STATE_DEFAULT);
	lv_obj_set_style_radius(ui->Start_btn_1, 5, LV_PART_MAIN | LV_STATE_DEFAULT);
	lv_obj_set_style_shadow_width(ui->Start_btn_1, 0, LV_PART_MAIN | LV_STATE_DEFAULT);
	lv_obj_set_style_text_color(ui->Start_btn_1, lv_color_hex(0xF8FCF8), LV_PART_MAIN | LV_STATE_DEFAULT);
	lv_obj_set_style_text_font(ui->Start_btn_1, &lv_font_montserratMedium_16, LV_PART_MAIN | LV_STATE_DEFAULT);
	lv_obj_set_style_text_align(ui->Start_btn_1, LV_TEXT_ALIGN_CENTER, LV_PART_MAIN | LV_STATE_DEFAULT);

	lv_obj_update_layout(ui->Start);

	events_init_Start(ui);
}
