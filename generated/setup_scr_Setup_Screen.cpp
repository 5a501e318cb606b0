/* Setup screen: headphone and line-out volume sliders, Init and Back. */
#include "gui_tessel.h"
#include "events_init.h"
#include "tessel_images.h"

#define SEL_MAIN (LV_PART_MAIN | LV_STATE_DEFAULT)

static void volume_slider_style(lv_obj_t *slider, int32_t max, int32_t value, lv_coord_t x, lv_coord_t y)
{
	lv_slider_set_range(slider, 0, max);
	lv_slider_set_value(slider, value, LV_ANIM_OFF);
	lv_obj_set_pos(slider, x, y);
	lv_obj_set_size(slider, 520, 15);
	lv_obj_set_scrollbar_mode(slider, LV_SCROLLBAR_MODE_OFF);
	lv_obj_set_style_bg_opa(slider, 60, LV_PART_MAIN | LV_STATE_DEFAULT);
	lv_obj_set_style_bg_color(slider, lv_color_hex(0x2094F0), LV_PART_MAIN | LV_STATE_DEFAULT);
	lv_obj_set_style_radius(slider, 50, LV_PART_MAIN | LV_STATE_DEFAULT);
	lv_obj_set_style_outline_width(slider, 0, LV_PART_MAIN | LV_STATE_DEFAULT);
	lv_obj_set_style_shadow_width(slider, 0, LV_PART_MAIN | LV_STATE_DEFAULT);
	lv_obj_set_style_bg_opa(slider, 255, LV_PART_INDICATOR | LV_STATE_DEFAULT);
	lv_obj_set_style_bg_color(slider, lv_color_hex(0x2094F0), LV_PART_INDICATOR | LV_STATE_DEFAULT);
	lv_obj_set_style_radius(slider, 50, LV_PART_INDICATOR | LV_STATE_DEFAULT);
	lv_obj_set_style_bg_opa(slider, 255, LV_PART_KNOB | LV_STATE_DEFAULT);
	lv_obj_set_style_bg_color(slider, lv_color_hex(0x2094F0), LV_PART_KNOB | LV_STATE_DEFAULT);
	lv_obj_set_style_radius(slider, 50, LV_PART_KNOB | LV_STATE_DEFAULT);
}

static void text_label_style(lv_obj_t *label, const char *text, lv_coord_t x, lv_coord_t y, lv_coord_t w, lv_coord_t h,
			     const lv_font_t *font, lv_text_align_t align)
{
	lv_label_set_text(label, text);
	lv_label_set_long_mode(label, LV_LABEL_LONG_WRAP);
	lv_obj_set_pos(label, x, y);
	lv_obj_set_size(label, w, h);
	lv_obj_set_scrollbar_mode(label, LV_SCROLLBAR_MODE_OFF);
	lv_obj_set_style_border_width(label, 0, SEL_MAIN);
	lv_obj_set_style_radius(label, 0, SEL_MAIN);
	lv_obj_set_style_text_color(label, lv_color_hex(0x000000), SEL_MAIN);
	lv_obj_set_style_text_font(label, font, SEL_MAIN);
	lv_obj_set_style_text_letter_space(label, 2, SEL_MAIN);
	lv_obj_set_style_text_line_space(label, 0, SEL_MAIN);
	lv_obj_set_style_text_align(label, align, SEL_MAIN);
	lv_obj_set_style_bg_opa(label, 0, SEL_MAIN);
	lv_obj_set_style_pad_top(label, 0, SEL_MAIN);
	lv_obj_set_style_pad_right(label, 0, SEL_MAIN);
	lv_obj_set_style_pad_bottom(label, 0, SEL_MAIN);
	lv_obj_set_style_pad_left(label, 0, SEL_MAIN);
	lv_obj_set_style_shadow_width(label, 0, SEL_MAIN);
}

static void command_btn_style(lv_obj_t *btn, lv_obj_t *label, const char *text, lv_coord_t x, lv_coord_t y,
			      lv_color_t bg_color)
{
	lv_label_set_text(label, text);
	lv_label_set_long_mode(label, LV_LABEL_LONG_WRAP);
	lv_obj_align(label, LV_ALIGN_CENTER, 0, 0);
	lv_obj_set_style_pad_left(btn, 0, SEL_MAIN);
	lv_obj_set_style_pad_right(btn, 0, SEL_MAIN);
	lv_obj_set_style_pad_top(btn, 0, SEL_MAIN);
	lv_obj_set_style_pad_bottom(btn, 0, SEL_MAIN);
	lv_obj_set_pos(btn, x, y);
	lv_obj_set_size(btn, 130, 55);
	lv_obj_set_scrollbar_mode(btn, LV_SCROLLBAR_MODE_OFF);
	lv_obj_set_style_bg_opa(btn, 255, SEL_MAIN);
	lv_obj_set_style_bg_color(btn, bg_color, SEL_MAIN);
	lv_obj_set_style_border_width(btn, 0, SEL_MAIN);
	lv_obj_set_style_radius(btn, 5, SEL_MAIN);
	lv_obj_set_style_shadow_width(btn, 0, SEL_MAIN);
	lv_obj_set_style_text_color(btn, lv_color_hex(0xF8FCF8), SEL_MAIN);
	lv_obj_set_style_text_font(btn, &lv_font_montserratMedium_25, SEL_MAIN);
	lv_obj_set_style_text_align(btn, LV_TEXT_ALIGN_CENTER, SEL_MAIN);
}

static void scale_img_style(lv_obj_t *img, const void *src, lv_coord_t x, lv_coord_t y)
{
	lv_obj_add_flag(img, LV_OBJ_FLAG_CLICKABLE);
	lv_img_set_src(img, src);
	lv_img_set_pivot(img, 50, 50);
	lv_img_set_angle(img, 0);
	lv_obj_set_pos(img, x, y);
	lv_obj_set_size(img, 520, 15);
	lv_obj_set_scrollbar_mode(img, LV_SCROLLBAR_MODE_OFF);
	lv_obj_set_style_img_opa(img, 255, SEL_MAIN);
}

void setup_scr_Setup_Screen(lv_ui *ui)
{
	ui->Setup_Screen = lv_obj_create(NULL);
	lv_obj_set_size(ui->Setup_Screen, 1280, 800);
	lv_obj_set_scrollbar_mode(ui->Setup_Screen, LV_SCROLLBAR_MODE_OFF);
	lv_obj_set_style_bg_opa(ui->Setup_Screen, 203, SEL_MAIN);
	lv_obj_set_style_bg_color(ui->Setup_Screen, lv_color_hex(0x686868), SEL_MAIN);
	lv_obj_set_style_bg_img_src(ui->Setup_Screen, &_gui_bk_1280x800, SEL_MAIN);
	lv_obj_set_style_bg_img_opa(ui->Setup_Screen, 101, SEL_MAIN);

	ui->Setup_Screen_audio_setup = lv_obj_create(ui->Setup_Screen);
	lv_obj_set_pos(ui->Setup_Screen_audio_setup, 110, 89);
	lv_obj_set_size(ui->Setup_Screen_audio_setup, 836, 535);
	lv_obj_set_scrollbar_mode(ui->Setup_Screen_audio_setup, LV_SCROLLBAR_MODE_OFF);
	lv_obj_set_style_border_width(ui->Setup_Screen_audio_setup, 2, SEL_MAIN);
	lv_obj_set_style_border_opa(ui->Setup_Screen_audio_setup, 255, SEL_MAIN);
	lv_obj_set_style_border_color(ui->Setup_Screen_audio_setup, lv_color_hex(0xE0E0E0), SEL_MAIN);
	lv_obj_set_style_radius(ui->Setup_Screen_audio_setup, 20, SEL_MAIN);
	lv_obj_set_style_bg_opa(ui->Setup_Screen_audio_setup, 160, SEL_MAIN);
	lv_obj_set_style_bg_color(ui->Setup_Screen_audio_setup, lv_color_hex(0xF8FCF8), SEL_MAIN);
	lv_obj_set_style_pad_top(ui->Setup_Screen_audio_setup, 0, SEL_MAIN);
	lv_obj_set_style_pad_bottom(ui->Setup_Screen_audio_setup, 0, SEL_MAIN);
	lv_obj_set_style_pad_left(ui->Setup_Screen_audio_setup, 0, SEL_MAIN);
	lv_obj_set_style_pad_right(ui->Setup_Screen_audio_setup, 0, SEL_MAIN);
	lv_obj_set_style_shadow_width(ui->Setup_Screen_audio_setup, 0, SEL_MAIN);

	/* The line-out row is created first although it stands lower. */
	ui->Setup_Screen_lineout_slider = lv_slider_create(ui->Setup_Screen_audio_setup);
	volume_slider_style(ui->Setup_Screen_lineout_slider, 31, 0, 165, 320);
	ui->Setup_Screen_lineout = lv_label_create(ui->Setup_Screen_audio_setup);
	text_label_style(ui->Setup_Screen_lineout, "LINE_Out", 20, 280, 200, 30, &lv_font_montserratMedium_22,
			 LV_TEXT_ALIGN_LEFT);
	ui->Setup_Screen_hdph_slider = lv_slider_create(ui->Setup_Screen_audio_setup);
	volume_slider_style(ui->Setup_Screen_hdph_slider, 127, 23, 165, 125);
	ui->Setup_Screen_headphone = lv_label_create(ui->Setup_Screen_audio_setup);
	text_label_style(ui->Setup_Screen_headphone, "Headphone", 20, 75, 200, 30, &lv_font_montserratMedium_22,
			 LV_TEXT_ALIGN_LEFT);
	ui->Setup_Screen_audio_setup_title = lv_label_create(ui->Setup_Screen_audio_setup);
	text_label_style(ui->Setup_Screen_audio_setup_title, "Audio Sgtl5000 Setup", 10, 20, 390, 40,
			 &lv_font_montserratMedium_25, LV_TEXT_ALIGN_LEFT);

	ui->Setup_Screen_btn_init = lv_btn_create(ui->Setup_Screen_audio_setup);
	ui->Setup_Screen_btn_init_label = lv_label_create(ui->Setup_Screen_btn_init);
	command_btn_style(ui->Setup_Screen_btn_init, ui->Setup_Screen_btn_init_label, "Init", 650, 450,
			  lv_color_hex(0x2094F0));
	ui->Setup_Screen_btn_back = lv_btn_create(ui->Setup_Screen_audio_setup);
	ui->Setup_Screen_btn_back_label = lv_label_create(ui->Setup_Screen_btn_back);
	command_btn_style(ui->Setup_Screen_btn_back, ui->Setup_Screen_btn_back_label, "Back", 40, 450,
			  lv_color_hex(0x404040));

	/* The slider limits, not the current values. */
	ui->Setup_Screen_label0 = lv_label_create(ui->Setup_Screen_audio_setup);
	text_label_style(ui->Setup_Screen_label0, "0 ( OFF )", 50, 125, 100, 30, &lv_font_montserratMedium_16,
			 LV_TEXT_ALIGN_CENTER);
	ui->Setup_Screen_label1 = lv_label_create(ui->Setup_Screen_audio_setup);
	text_label_style(ui->Setup_Screen_label1, "127 ( MAX )", 700, 125, 110, 30, &lv_font_montserratMedium_16,
			 LV_TEXT_ALIGN_CENTER);
	ui->Setup_Screen_label_1 = lv_label_create(ui->Setup_Screen_audio_setup);
	text_label_style(ui->Setup_Screen_label_1, "0 ( OFF )", 50, 320, 100, 30, &lv_font_montserratMedium_16,
			 LV_TEXT_ALIGN_CENTER);
	ui->Setup_Screen_label_2 = lv_label_create(ui->Setup_Screen_audio_setup);
	text_label_style(ui->Setup_Screen_label_2, "31 ( MAX )", 700, 320, 101, 30, &lv_font_montserratMedium_16,
			 LV_TEXT_ALIGN_CENTER);

	ui->Setup_Screen_img_HD = lv_img_create(ui->Setup_Screen_audio_setup);
	scale_img_style(ui->Setup_Screen_img_HD, &_HD_volume_alpha_520x15, 165, 155);
	ui->Setup_Screen_img_LO = lv_img_create(ui->Setup_Screen_audio_setup);
	scale_img_style(ui->Setup_Screen_img_LO, &_LO_volume_alpha_520x15, 165, 350);

	lv_obj_update_layout(ui->Setup_Screen);

	events_init_Setup_Screen(ui);
}
