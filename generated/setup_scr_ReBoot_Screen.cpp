/* Reboot confirmation screen: "Note", the question, Yes and No. */
#include "gui_tessel.h"
#include "events_init.h"
#include "tessel_images.h"

#define SEL_MAIN (LV_PART_MAIN | LV_STATE_DEFAULT)

static void answer_btn_style(lv_obj_t *btn, lv_obj_t *label, const char *text, lv_coord_t x, lv_coord_t y,
			     lv_opa_t bg_opa, lv_color_t bg_color)
{
	lv_label_set_text(label, text);
	lv_label_set_long_mode(label, LV_LABEL_LONG_WRAP);
	lv_obj_align(label, LV_ALIGN_CENTER, 0, 0);
	lv_obj_set_style_pad_left(btn, 0, SEL_MAIN);
	lv_obj_set_style_pad_right(btn, 0, SEL_MAIN);
	lv_obj_set_style_pad_top(btn, 0, SEL_MAIN);
	lv_obj_set_style_pad_bottom(btn, 0, SEL_MAIN);
	lv_obj_set_pos(btn, x, y);
	lv_obj_set_size(btn, 160, 61);
	lv_obj_set_scrollbar_mode(btn, LV_SCROLLBAR_MODE_OFF);
	lv_obj_set_style_bg_opa(btn, bg_opa, SEL_MAIN);
	lv_obj_set_style_bg_color(btn, bg_color, SEL_MAIN);
	lv_obj_set_style_border_width(btn, 0, SEL_MAIN);
	lv_obj_set_style_radius(btn, 5, SEL_MAIN);
	lv_obj_set_style_shadow_width(btn, 0, SEL_MAIN);
	lv_obj_set_style_text_color(btn, lv_color_hex(0xF8FCF8), SEL_MAIN);
	lv_obj_set_style_text_font(btn, &lv_font_montserratMedium_30, SEL_MAIN);
	lv_obj_set_style_text_align(btn, LV_TEXT_ALIGN_CENTER, SEL_MAIN);
}

void setup_scr_ReBoot_Screen(lv_ui *ui)
{
	ui->ReBoot_Screen = lv_obj_create(NULL);
	lv_obj_set_size(ui->ReBoot_Screen, 1280, 800);
	lv_obj_set_scrollbar_mode(ui->ReBoot_Screen, LV_SCROLLBAR_MODE_OFF);
	lv_obj_set_style_bg_opa(ui->ReBoot_Screen, 255, SEL_MAIN);
	lv_obj_set_style_bg_color(ui->ReBoot_Screen, lv_color_hex(0x404440), SEL_MAIN);
	lv_obj_set_style_bg_img_src(ui->ReBoot_Screen, &_gui_bk_1280x800, SEL_MAIN);
	lv_obj_set_style_bg_img_opa(ui->ReBoot_Screen, 160, SEL_MAIN);
	lv_obj_set_style_bg_img_recolor(ui->ReBoot_Screen, lv_color_hex(0x98E0E8), SEL_MAIN);
	lv_obj_set_style_bg_img_recolor_opa(ui->ReBoot_Screen, 45, SEL_MAIN);

	ui->ReBoot_Screen_Reboot = lv_obj_create(ui->ReBoot_Screen);
	lv_obj_set_pos(ui->ReBoot_Screen_Reboot, 179, 148);
	lv_obj_set_size(ui->ReBoot_Screen_Reboot, 667, 401);
	lv_obj_set_scrollbar_mode(ui->ReBoot_Screen_Reboot, LV_SCROLLBAR_MODE_OFF);
	lv_obj_set_style_border_width(ui->ReBoot_Screen_Reboot, 2, SEL_MAIN);
	lv_obj_set_style_border_opa(ui->ReBoot_Screen_Reboot, 255, SEL_MAIN);
	lv_obj_set_style_border_color(ui->ReBoot_Screen_Reboot, lv_color_hex(0x000000), SEL_MAIN);
	lv_obj_set_style_radius(ui->ReBoot_Screen_Reboot, 0, SEL_MAIN);
	lv_obj_set_style_bg_opa(ui->ReBoot_Screen_Reboot, 190, SEL_MAIN);
	lv_obj_set_style_bg_color(ui->ReBoot_Screen_Reboot, lv_color_hex(0x202420), SEL_MAIN);
	lv_obj_set_style_pad_top(ui->ReBoot_Screen_Reboot, 0, SEL_MAIN);
	lv_obj_set_style_pad_bottom(ui->ReBoot_Screen_Reboot, 0, SEL_MAIN);
	lv_obj_set_style_pad_left(ui->ReBoot_Screen_Reboot, 0, SEL_MAIN);
	lv_obj_set_style_pad_right(ui->ReBoot_Screen_Reboot, 0, SEL_MAIN);
	lv_obj_set_style_shadow_width(ui->ReBoot_Screen_Reboot, 0, SEL_MAIN);

	ui->ReBoot_Screen_Msg_Reboot_Title = lv_label_create(ui->ReBoot_Screen_Reboot);
	lv_label_set_text(ui->ReBoot_Screen_Msg_Reboot_Title, "Note");
	lv_label_set_long_mode(ui->ReBoot_Screen_Msg_Reboot_Title, LV_LABEL_LONG_WRAP);
	lv_obj_set_pos(ui->ReBoot_Screen_Msg_Reboot_Title, 96, 30);
	lv_obj_set_size(ui->ReBoot_Screen_Msg_Reboot_Title, 452, 76);
	lv_obj_set_scrollbar_mode(ui->ReBoot_Screen_Msg_Reboot_Title, LV_SCROLLBAR_MODE_OFF);
	lv_obj_set_style_border_width(ui->ReBoot_Screen_Msg_Reboot_Title, 0, SEL_MAIN);
	lv_obj_set_style_radius(ui->ReBoot_Screen_Msg_Reboot_Title, 0, SEL_MAIN);
	lv_obj_set_style_text_color(ui->ReBoot_Screen_Msg_Reboot_Title, lv_color_hex(0xB00000), SEL_MAIN);
	lv_obj_set_style_text_font(ui->ReBoot_Screen_Msg_Reboot_Title, &lv_font_montserratMedium_50, SEL_MAIN);
	lv_obj_set_style_text_letter_space(ui->ReBoot_Screen_Msg_Reboot_Title, 2, SEL_MAIN);
	lv_obj_set_style_text_line_space(ui->ReBoot_Screen_Msg_Reboot_Title, 0, SEL_MAIN);
	lv_obj_set_style_text_align(ui->ReBoot_Screen_Msg_Reboot_Title, LV_TEXT_ALIGN_CENTER, SEL_MAIN);
	lv_obj_set_style_bg_opa(ui->ReBoot_Screen_Msg_Reboot_Title, 0, SEL_MAIN);
	lv_obj_set_style_pad_top(ui->ReBoot_Screen_Msg_Reboot_Title, 0, SEL_MAIN);
	lv_obj_set_style_pad_right(ui->ReBoot_Screen_Msg_Reboot_Title, 0, SEL_MAIN);
	lv_obj_set_style_pad_bottom(ui->ReBoot_Screen_Msg_Reboot_Title, 0, SEL_MAIN);
	lv_obj_set_style_pad_left(ui->ReBoot_Screen_Msg_Reboot_Title, 0, SEL_MAIN);
	lv_obj_set_style_shadow_width(ui->ReBoot_Screen_Msg_Reboot_Title, 0, SEL_MAIN);

	ui->ReBoot_Screen_btn_Reboot_yes = lv_btn_create(ui->ReBoot_Screen_Reboot);
	ui->ReBoot_Screen_btn_Reboot_yes_label = lv_label_create(ui->ReBoot_Screen_btn_Reboot_yes);
	answer_btn_style(ui->ReBoot_Screen_btn_Reboot_yes, ui->ReBoot_Screen_btn_Reboot_yes_label, "Yes", 122, 303, 149,
			 lv_color_hex(0x50ACF8));

	ui->ReBoot_Screen_Msg_Reboot = lv_label_create(ui->ReBoot_Screen_Reboot);
	lv_label_set_text(ui->ReBoot_Screen_Msg_Reboot, "Are you sure you want to restart the system ?");
	lv_label_set_long_mode(ui->ReBoot_Screen_Msg_Reboot, LV_LABEL_LONG_WRAP);
	lv_obj_set_pos(ui->ReBoot_Screen_Msg_Reboot, 51, 103);
	lv_obj_set_size(ui->ReBoot_Screen_Msg_Reboot, 552, 161);
	lv_obj_set_scrollbar_mode(ui->ReBoot_Screen_Msg_Reboot, LV_SCROLLBAR_MODE_OFF);
	lv_obj_set_style_border_width(ui->ReBoot_Screen_Msg_Reboot, 0, SEL_MAIN);
	lv_obj_set_style_radius(ui->ReBoot_Screen_Msg_Reboot, 0, SEL_MAIN);
	lv_obj_set_style_text_color(ui->ReBoot_Screen_Msg_Reboot, lv_color_hex(0x000000), SEL_MAIN);
	lv_obj_set_style_text_font(ui->ReBoot_Screen_Msg_Reboot, &lv_font_montserratMedium_25, SEL_MAIN);
	lv_obj_set_style_text_letter_space(ui->ReBoot_Screen_Msg_Reboot, 4, SEL_MAIN);
	lv_obj_set_style_text_line_space(ui->ReBoot_Screen_Msg_Reboot, 10, SEL_MAIN);
	lv_obj_set_style_text_align(ui->ReBoot_Screen_Msg_Reboot, LV_TEXT_ALIGN_CENTER, SEL_MAIN);
	lv_obj_set_style_bg_opa(ui->ReBoot_Screen_Msg_Reboot, 138, SEL_MAIN);
	lv_obj_set_style_bg_color(ui->ReBoot_Screen_Msg_Reboot, lv_color_hex(0xC0E0F8), SEL_MAIN);
	lv_obj_set_style_pad_top(ui->ReBoot_Screen_Msg_Reboot, 0, SEL_MAIN);
	lv_obj_set_style_pad_right(ui->ReBoot_Screen_Msg_Reboot, 0, SEL_MAIN);
	lv_obj_set_style_pad_bottom(ui->ReBoot_Screen_Msg_Reboot, 0, SEL_MAIN);
	lv_obj_set_style_pad_left(ui->ReBoot_Screen_Msg_Reboot, 0, SEL_MAIN);
	lv_obj_set_style_shadow_width(ui->ReBoot_Screen_Msg_Reboot, 0, SEL_MAIN);

	ui->ReBoot_Screen_btn_Reboot_no = lv_btn_create(ui->ReBoot_Screen_Reboot);
	ui->ReBoot_Screen_btn_Reboot_no_label = lv_label_create(ui->ReBoot_Screen_btn_Reboot_no);
	answer_btn_style(ui->ReBoot_Screen_btn_Reboot_no, ui->ReBoot_Screen_btn_Reboot_no_label, "No", 368, 305, 131,
			 lv_color_hex(0xF00000));

	lv_obj_update_layout(ui->ReBoot_Screen);

	events_init_ReBoot_Screen(ui);
}
