/* Test screen: three test panels with their buttons and result labels, then the
 * header strip (device-tree panel, command buttons, divider line, logos). */
#include "gui_tessel.h"
#include "events_init.h"
#include "tessel_images.h"

#define SEL_MAIN (LV_PART_MAIN | LV_STATE_DEFAULT)
#define SEL_SELECTED (LV_PART_SELECTED | LV_STATE_DEFAULT)

/* The divider's two points. LVGL keeps a pointer to them rather than a copy, so
 * one array with static storage serves every build of the screen. */
lv_point_t Test_progrem_line_1[2] = {{0, 0}, {1200, 0}};

static void panel_style(lv_obj_t *panel, lv_coord_t x, lv_coord_t y, lv_coord_t w, lv_coord_t h, lv_opa_t border_opa,
			lv_color_t border_color, lv_opa_t bg_opa, lv_color_t bg_grad_color)
{
	lv_obj_set_pos(panel, x, y);
	lv_obj_set_size(panel, w, h);
	lv_obj_set_scrollbar_mode(panel, LV_SCROLLBAR_MODE_OFF);
	lv_obj_set_style_border_width(panel, 4, SEL_MAIN);
	lv_obj_set_style_border_opa(panel, border_opa, SEL_MAIN);
	lv_obj_set_style_border_color(panel, border_color, SEL_MAIN);
	lv_obj_set_style_radius(panel, 35, SEL_MAIN);
	lv_obj_set_style_bg_opa(panel, bg_opa, SEL_MAIN);
	lv_obj_set_style_bg_color(panel, lv_color_hex(0xF8FCF8), SEL_MAIN);
	lv_obj_set_style_bg_grad_dir(panel, LV_GRAD_DIR_VER, SEL_MAIN);
	lv_obj_set_style_bg_grad_color(panel, bg_grad_color, SEL_MAIN);
	lv_obj_set_style_pad_top(panel, 0, SEL_MAIN);
	lv_obj_set_style_pad_bottom(panel, 0, SEL_MAIN);
	lv_obj_set_style_pad_left(panel, 0, SEL_MAIN);
	lv_obj_set_style_pad_right(panel, 0, SEL_MAIN);
	lv_obj_set_style_shadow_width(panel, 0, SEL_MAIN);
}

static void result_label_style(lv_obj_t *label, const char *text, lv_coord_t x, lv_coord_t y, lv_coord_t w,
			       lv_coord_t h, const lv_font_t *font)
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
	lv_obj_set_style_text_align(label, LV_TEXT_ALIGN_LEFT, SEL_MAIN);
	lv_obj_set_style_bg_opa(label, 0, SEL_MAIN);
	lv_obj_set_style_pad_top(label, 0, SEL_MAIN);
	lv_obj_set_style_pad_right(label, 0, SEL_MAIN);
	lv_obj_set_style_pad_bottom(label, 0, SEL_MAIN);
	lv_obj_set_style_pad_left(label, 0, SEL_MAIN);
	lv_obj_set_style_shadow_width(label, 0, SEL_MAIN);
}

/* A button's caption: centred, padding of the button removed. */
static void btn_caption(lv_obj_t *btn, lv_obj_t *label, const char *text)
{
	lv_label_set_text(label, text);
	lv_label_set_long_mode(label, LV_LABEL_LONG_WRAP);
	lv_obj_align(label, LV_ALIGN_CENTER, 0, 0);
	lv_obj_set_style_pad_left(btn, 0, SEL_MAIN);
	lv_obj_set_style_pad_right(btn, 0, SEL_MAIN);
	lv_obj_set_style_pad_top(btn, 0, SEL_MAIN);
	lv_obj_set_style_pad_bottom(btn, 0, SEL_MAIN);
}

/* The test-button look; the Reboot button differs only in its four colours. */
static void test_btn_style(lv_obj_t *btn, lv_obj_t *label, const char *text, lv_coord_t x, lv_coord_t y, lv_coord_t w,
			   lv_coord_t h, const void *face, const lv_font_t *font, lv_color_t bg_color,
			   lv_color_t shadow_color, lv_color_t face_recolor, lv_color_t text_color)
{
	btn_caption(btn, label, text);
	lv_obj_set_pos(btn, x, y);
	lv_obj_set_size(btn, w, h);
	lv_obj_set_scrollbar_mode(btn, LV_SCROLLBAR_MODE_OFF);
	lv_obj_set_style_bg_opa(btn, 255, SEL_MAIN);
	lv_obj_set_style_bg_color(btn, bg_color, SEL_MAIN);
	lv_obj_set_style_border_width(btn, 5, SEL_MAIN);
	lv_obj_set_style_border_opa(btn, 52, SEL_MAIN);
	lv_obj_set_style_border_color(btn, lv_color_hex(0x000000), SEL_MAIN);
	lv_obj_set_style_radius(btn, 5, SEL_MAIN);
	lv_obj_set_style_shadow_width(btn, 10, SEL_MAIN);
	lv_obj_set_style_shadow_color(btn, shadow_color, SEL_MAIN);
	lv_obj_set_style_shadow_opa(btn, 255, SEL_MAIN);
	lv_obj_set_style_shadow_spread(btn, 2, SEL_MAIN);
	lv_obj_set_style_shadow_ofs_x(btn, 5, SEL_MAIN);
	lv_obj_set_style_shadow_ofs_y(btn, 5, SEL_MAIN);
	lv_obj_set_style_bg_img_src(btn, face, SEL_MAIN);
	lv_obj_set_style_bg_img_opa(btn, 255, SEL_MAIN);
	lv_obj_set_style_bg_img_recolor(btn, face_recolor, SEL_MAIN);
	lv_obj_set_style_bg_img_recolor_opa(btn, 254, SEL_MAIN);
	lv_obj_set_style_text_color(btn, text_color, SEL_MAIN);
	lv_obj_set_style_text_font(btn, font, SEL_MAIN);
	lv_obj_set_style_text_align(btn, LV_TEXT_ALIGN_CENTER, SEL_MAIN);
}

static void test_btn_default_style(lv_obj_t *btn, lv_obj_t *label, const char *text, lv_coord_t x, lv_coord_t y,
				   lv_coord_t w, lv_coord_t h, const void *face, const lv_font_t *font)
{
	test_btn_style(btn, label, text, x, y, w, h, face, font, lv_color_hex(0x000000), lv_color_hex(0x787878),
		       lv_color_hex(0xE8E8E8), lv_color_hex(0x000000));
}

static void logo_style(lv_obj_t *img, const void *src, lv_coord_t x, lv_coord_t y, lv_coord_t w, lv_coord_t h)
{
	lv_obj_add_flag(img, LV_OBJ_FLAG_CLICKABLE);
	lv_img_set_src(img, src);
	lv_img_set_pivot(img, 50, 50);
	lv_img_set_angle(img, 0);
	lv_obj_set_pos(img, x, y);
	lv_obj_set_size(img, w, h);
	lv_obj_set_scrollbar_mode(img, LV_SCROLLBAR_MODE_OFF);
	lv_obj_set_style_img_opa(img, 255, SEL_MAIN);
}

void setup_scr_Test_progrem(lv_ui *ui)
{
	/* Screen: the background picture lies faintly over a horizontal gradient. */
	ui->Test_progrem = lv_obj_create(NULL);
	lv_obj_set_size(ui->Test_progrem, 1280, 800);
	lv_obj_set_scrollbar_mode(ui->Test_progrem, LV_SCROLLBAR_MODE_OFF);
	lv_obj_set_style_bg_opa(ui->Test_progrem, 255, SEL_MAIN);
	lv_obj_set_style_bg_color(ui->Test_progrem, lv_color_hex(0x90F0F8), SEL_MAIN);
	lv_obj_set_style_bg_grad_dir(ui->Test_progrem, LV_GRAD_DIR_HOR, SEL_MAIN);
	lv_obj_set_style_bg_grad_color(ui->Test_progrem, lv_color_hex(0x88CCE8), SEL_MAIN);
	lv_obj_set_style_bg_img_src(ui->Test_progrem, &_gui_bk_1280x800, SEL_MAIN);
	lv_obj_set_style_bg_img_opa(ui->Test_progrem, 30, SEL_MAIN);

	/* Left panel: labels first, so the buttons are drawn above them. */
	ui->Test_progrem_backgroud = lv_obj_create(ui->Test_progrem);
	panel_style(ui->Test_progrem_backgroud, 46, 228, 580, 553, 255, lv_color_hex(0xA8CCE8), 86,
		    lv_color_hex(0x4894C8));

	ui->Test_progrem_PL2303_Log = lv_label_create(ui->Test_progrem_backgroud);
	result_label_style(ui->Test_progrem_PL2303_Log, "PL2303", 208, 445, 300, 40, &lv_font_montserratMedium_24);
	ui->Test_progrem_USB2_Log = lv_label_create(ui->Test_progrem_backgroud);
	result_label_style(ui->Test_progrem_USB2_Log, "USB2", 208, 400, 300, 30, &lv_font_montserratMedium_20);
	ui->Test_progrem_USB1_Log = lv_label_create(ui->Test_progrem_backgroud);
	result_label_style(ui->Test_progrem_USB1_Log, "USB1", 208, 365, 300, 30, &lv_font_montserratMedium_20);
	ui->Test_progrem_ADC_Log = lv_label_create(ui->Test_progrem_backgroud);
	result_label_style(ui->Test_progrem_ADC_Log, "ADC", 205, 305, 300, 40, &lv_font_montserratMedium_24);
	ui->Test_progrem_SPI_S_Log = lv_label_create(ui->Test_progrem_backgroud);
	result_label_style(ui->Test_progrem_SPI_S_Log, "SPI Slave", 208, 260, 300, 30, &lv_font_montserratMedium_20);
	ui->Test_progrem_SPI_M_Log = lv_label_create(ui->Test_progrem_backgroud);
	result_label_style(ui->Test_progrem_SPI_M_Log, "SPI Master", 208, 220, 300, 30, &lv_font_montserratMedium_20);
	ui->Test_progrem_UART_Log = lv_label_create(ui->Test_progrem_backgroud);
	result_label_style(ui->Test_progrem_UART_Log, "UART", 208, 165, 300, 40, &lv_font_montserratMedium_24);
	ui->Test_progrem_GPIO_Log = lv_label_create(ui->Test_progrem_backgroud);
	result_label_style(ui->Test_progrem_GPIO_Log, "GPIO", 208, 95, 300, 40, &lv_font_montserratMedium_24);
	ui->Test_progrem_I2C_Log = lv_label_create(ui->Test_progrem_backgroud);
	result_label_style(ui->Test_progrem_I2C_Log, "I2C", 208, 25, 300, 40, &lv_font_montserratMedium_24);

	ui->Test_progrem_btn_pl2303 = lv_btn_create(ui->Test_progrem_backgroud);
	ui->Test_progrem_btn_pl2303_label = lv_label_create(ui->Test_progrem_btn_pl2303);
	test_btn_default_style(ui->Test_progrem_btn_pl2303, ui->Test_progrem_btn_pl2303_label, "PL2303 - TEST", 43, 440,
			       140, 50, &_btn_140x50, &lv_font_Antonio_Regular_25);
	ui->Test_progrem_btn_usb = lv_btn_create(ui->Test_progrem_backgroud);
	ui->Test_progrem_btn_usb_label = lv_label_create(ui->Test_progrem_btn_usb);
	test_btn_default_style(ui->Test_progrem_btn_usb, ui->Test_progrem_btn_usb_label, "USB - TEST", 43, 370, 140, 50,
			       &_btn_140x50, &lv_font_Antonio_Regular_30);
	ui->Test_progrem_btn_adc = lv_btn_create(ui->Test_progrem_backgroud);
	ui->Test_progrem_btn_adc_label = lv_label_create(ui->Test_progrem_btn_adc);
	test_btn_default_style(ui->Test_progrem_btn_adc, ui->Test_progrem_btn_adc_label, "ADC - TEST", 43, 300, 140, 50,
			       &_btn_140x50, &lv_font_Antonio_Regular_30);
	ui->Test_progrem_btn_spi = lv_btn_create(ui->Test_progrem_backgroud);
	ui->Test_progrem_btn_spi_label = lv_label_create(ui->Test_progrem_btn_spi);
	test_btn_default_style(ui->Test_progrem_btn_spi, ui->Test_progrem_btn_spi_label, "SPI - TEST", 43, 230, 140, 50,
			       &_btn_140x50, &lv_font_Antonio_Regular_30);
	ui->Test_progrem_btn_uart = lv_btn_create(ui->Test_progrem_backgroud);
	ui->Test_progrem_btn_uart_label = lv_label_create(ui->Test_progrem_btn_uart);
	test_btn_default_style(ui->Test_progrem_btn_uart, ui->Test_progrem_btn_uart_label, "UART - TEST", 43, 160, 140,
			       50, &_btn_140x50, &lv_font_Antonio_Regular_30);
	ui->Test_progrem_btn_gpio = lv_btn_create(ui->Test_progrem_backgroud);
	ui->Test_progrem_btn_gpio_label = lv_label_create(ui->Test_progrem_btn_gpio);
	test_btn_default_style(ui->Test_progrem_btn_gpio, ui->Test_progrem_btn_gpio_label, "GPIO - TEST", 43, 90, 140,
			       50, &_btn_140x50, &lv_font_Antonio_Regular_30);
	ui->Test_progrem_btn_i2c = lv_btn_create(ui->Test_progrem_backgroud);
	ui->Test_progrem_btn_i2c_label = lv_label_create(ui->Test_progrem_btn_i2c);
	test_btn_default_style(ui->Test_progrem_btn_i2c, ui->Test_progrem_btn_i2c_label, "I2C - TEST", 43, 20, 140, 50,
			       &_btn_140x50, &lv_font_Antonio_Regular_30);

	/* Upper right panel. */
	ui->Test_progrem_backgroud2 = lv_obj_create(ui->Test_progrem);
	panel_style(ui->Test_progrem_backgroud2, 670, 228, 580, 384, 255, lv_color_hex(0xC8C8F8), 44,
		    lv_color_hex(0x8800F8));

	ui->Test_progrem_CSI_Log = lv_label_create(ui->Test_progrem_backgroud2);
	result_label_style(ui->Test_progrem_CSI_Log, "CSI", 211, 305, 300, 40, &lv_font_montserratMedium_24);
	ui->Test_progrem_MQS_Log = lv_label_create(ui->Test_progrem_backgroud2);
	result_label_style(ui->Test_progrem_MQS_Log, "MQS", 211, 235, 300, 40, &lv_font_montserratMedium_24);
	ui->Test_progrem_Audio_Log = lv_label_create(ui->Test_progrem_backgroud2);
	result_label_style(ui->Test_progrem_Audio_Log, "Audio", 211, 165, 300, 40, &lv_font_montserratMedium_24);
	ui->Test_progrem_LVDS_Log = lv_label_create(ui->Test_progrem_backgroud2);
	result_label_style(ui->Test_progrem_LVDS_Log, "LVDS", 211, 95, 300, 40, &lv_font_montserratMedium_24);
	ui->Test_progrem_DSI_Log = lv_label_create(ui->Test_progrem_backgroud2);
	result_label_style(ui->Test_progrem_DSI_Log, "DSI", 211, 25, 300, 40, &lv_font_montserratMedium_24);

	ui->Test_progrem_btn_csi = lv_btn_create(ui->Test_progrem_backgroud2);
	ui->Test_progrem_btn_csi_label = lv_label_create(ui->Test_progrem_btn_csi);
	test_btn_default_style(ui->Test_progrem_btn_csi, ui->Test_progrem_btn_csi_label, "CSI - TEST", 46, 300, 140, 50,
			       &_btn_140x50, &lv_font_Antonio_Regular_30);
	ui->Test_progrem_btn_mqs = lv_btn_create(ui->Test_progrem_backgroud2);
	ui->Test_progrem_btn_mqs_label = lv_label_create(ui->Test_progrem_btn_mqs);
	test_btn_default_style(ui->Test_progrem_btn_mqs, ui->Test_progrem_btn_mqs_label, "MQS - TEST", 46, 230, 140, 50,
			       &_btn_140x50, &lv_font_Antonio_Regular_30);
	ui->Test_progrem_btn_audio = lv_btn_create(ui->Test_progrem_backgroud2);
	ui->Test_progrem_btn_audio_label = lv_label_create(ui->Test_progrem_btn_audio);
	test_btn_default_style(ui->Test_progrem_btn_audio, ui->Test_progrem_btn_audio_label, "Audio - TEST", 46, 160,
			       140, 50, &_btn_140x50, &lv_font_Antonio_Regular_30);
	ui->Test_progrem_btn_lvds = lv_btn_create(ui->Test_progrem_backgroud2);
	ui->Test_progrem_btn_lvds_label = lv_label_create(ui->Test_progrem_btn_lvds);
	test_btn_default_style(ui->Test_progrem_btn_lvds, ui->Test_progrem_btn_lvds_label, "LVDS - TEST", 46, 90, 140,
			       50, &_btn_140x50, &lv_font_Antonio_Regular_30);
	ui->Test_progrem_btn_dsi = lv_btn_create(ui->Test_progrem_backgroud2);
	ui->Test_progrem_btn_dsi_label = lv_label_create(ui->Test_progrem_btn_dsi);
	test_btn_default_style(ui->Test_progrem_btn_dsi, ui->Test_progrem_btn_dsi_label, "DSI - TEST", 46, 20, 140, 50,
			       &_btn_140x50, &lv_font_Antonio_Regular_30);

	/* The gear: a faint picture on a transparent, borderless button. */
	ui->Test_progrem_btn_setup = lv_btn_create(ui->Test_progrem_backgroud2);
	ui->Test_progrem_btn_setup_label = lv_label_create(ui->Test_progrem_btn_setup);
	btn_caption(ui->Test_progrem_btn_setup, ui->Test_progrem_btn_setup_label, "");
	lv_obj_set_pos(ui->Test_progrem_btn_setup, 457, 10);
	lv_obj_set_size(ui->Test_progrem_btn_setup, 94, 89);
	lv_obj_set_scrollbar_mode(ui->Test_progrem_btn_setup, LV_SCROLLBAR_MODE_OFF);
	lv_obj_set_style_bg_opa(ui->Test_progrem_btn_setup, 0, SEL_MAIN);
	lv_obj_set_style_border_width(ui->Test_progrem_btn_setup, 0, SEL_MAIN);
	lv_obj_set_style_radius(ui->Test_progrem_btn_setup, 42, SEL_MAIN);
	lv_obj_set_style_shadow_width(ui->Test_progrem_btn_setup, 0, SEL_MAIN);
	lv_obj_set_style_bg_img_src(ui->Test_progrem_btn_setup, &_setup_94x89, SEL_MAIN);
	lv_obj_set_style_bg_img_opa(ui->Test_progrem_btn_setup, 106, SEL_MAIN);
	lv_obj_set_style_text_color(ui->Test_progrem_btn_setup, lv_color_hex(0xF8FCF8), SEL_MAIN);
	lv_obj_set_style_text_font(ui->Test_progrem_btn_setup, &lv_font_montserratMedium_25, SEL_MAIN);
	lv_obj_set_style_text_align(ui->Test_progrem_btn_setup, LV_TEXT_ALIGN_CENTER, SEL_MAIN);

	/* Lower right panel. */
	ui->Test_progrem_backgroud3 = lv_obj_create(ui->Test_progrem);
	panel_style(ui->Test_progrem_backgroud3, 670, 620, 580, 157, 154, lv_color_hex(0x60B098), 22,
		    lv_color_hex(0x00FC40));

	ui->Test_progrem_label_simple = lv_label_create(ui->Test_progrem_backgroud3);
	result_label_style(ui->Test_progrem_label_simple, "* Only simple test", 52, 74, 319, 26,
			   &lv_font_montserratMedium_18);
	ui->Test_progrem_RTC_Log = lv_label_create(ui->Test_progrem_backgroud3);
	result_label_style(ui->Test_progrem_RTC_Log, "RTC", 210, 19, 300, 40, &lv_font_montserratMedium_24);
	ui->Test_progrem_btn_rtc = lv_btn_create(ui->Test_progrem_backgroud3);
	ui->Test_progrem_btn_rtc_label = lv_label_create(ui->Test_progrem_btn_rtc);
	test_btn_default_style(ui->Test_progrem_btn_rtc, ui->Test_progrem_btn_rtc_label, "RTC - TEST", 45, 14, 139, 54,
			       &_btn_139x54, &lv_font_Antonio_Regular_30);

	/* Header: the device-tree panel. */
	ui->Test_progrem_Device_Tree_back = lv_obj_create(ui->Test_progrem);
	lv_obj_set_pos(ui->Test_progrem_Device_Tree_back, 694, 93);
	lv_obj_set_size(ui->Test_progrem_Device_Tree_back, 543, 124);
	lv_obj_set_scrollbar_mode(ui->Test_progrem_Device_Tree_back, LV_SCROLLBAR_MODE_OFF);
	lv_obj_set_style_border_width(ui->Test_progrem_Device_Tree_back, 0, SEL_MAIN);
	lv_obj_set_style_radius(ui->Test_progrem_Device_Tree_back, 10, SEL_MAIN);
	lv_obj_set_style_bg_opa(ui->Test_progrem_Device_Tree_back, 102, SEL_MAIN);
	lv_obj_set_style_bg_color(ui->Test_progrem_Device_Tree_back, lv_color_hex(0x989898), SEL_MAIN);
	lv_obj_set_style_pad_top(ui->Test_progrem_Device_Tree_back, 0, SEL_MAIN);
	lv_obj_set_style_pad_bottom(ui->Test_progrem_Device_Tree_back, 0, SEL_MAIN);
	lv_obj_set_style_pad_left(ui->Test_progrem_Device_Tree_back, 0, SEL_MAIN);
	lv_obj_set_style_pad_right(ui->Test_progrem_Device_Tree_back, 0, SEL_MAIN);
	lv_obj_set_style_shadow_width(ui->Test_progrem_Device_Tree_back, 0, SEL_MAIN);

	ui->Test_progrem_btn_Reboot = lv_btn_create(ui->Test_progrem_Device_Tree_back);
	ui->Test_progrem_btn_Reboot_label = lv_label_create(ui->Test_progrem_btn_Reboot);
	test_btn_style(ui->Test_progrem_btn_Reboot, ui->Test_progrem_btn_Reboot_label, "Reboot", 401, 61, 115, 39,
		       &_btn_115x39, &lv_font_Antonio_Regular_30, lv_color_hex(0xF80020), lv_color_hex(0x707470),
		       lv_color_hex(0xF8F8F8), lv_color_hex(0xF03030));

	ui->Test_progrem_Device_Tree = lv_label_create(ui->Test_progrem_Device_Tree_back);
	result_label_style(ui->Test_progrem_Device_Tree, "qb-vexo.dtb", 124, 61, 266, 35, &lv_font_montserratMedium_20);

	/* The row count fixes the roller's height from the theme's font, line space
	 * and border, so it comes before any style of ours; no height is set. */
	ui->Test_progrem_Roller_DEVICE_TREE = lv_roller_create(ui->Test_progrem_Device_Tree_back);
	lv_roller_set_options(ui->Test_progrem_Roller_DEVICE_TREE, "Default\nUart\nSPI_M\nSPI_S\nDSI",
			      LV_ROLLER_MODE_INFINITE);
	lv_roller_set_visible_row_count(ui->Test_progrem_Roller_DEVICE_TREE, 3);
	lv_obj_set_pos(ui->Test_progrem_Roller_DEVICE_TREE, 10, 8);
	lv_obj_set_width(ui->Test_progrem_Roller_DEVICE_TREE, 100);
	lv_obj_set_scrollbar_mode(ui->Test_progrem_Roller_DEVICE_TREE, LV_SCROLLBAR_MODE_OFF);
	lv_obj_set_style_radius(ui->Test_progrem_Roller_DEVICE_TREE, 5, SEL_MAIN);
	lv_obj_set_style_bg_opa(ui->Test_progrem_Roller_DEVICE_TREE, 255, SEL_MAIN);
	lv_obj_set_style_bg_color(ui->Test_progrem_Roller_DEVICE_TREE, lv_color_hex(0x505450), SEL_MAIN);
	lv_obj_set_style_bg_grad_dir(ui->Test_progrem_Roller_DEVICE_TREE, LV_GRAD_DIR_VER, SEL_MAIN);
	lv_obj_set_style_bg_grad_color(ui->Test_progrem_Roller_DEVICE_TREE, lv_color_hex(0x101410), SEL_MAIN);
	lv_obj_set_style_text_color(ui->Test_progrem_Roller_DEVICE_TREE, lv_color_hex(0xF8FCF8), SEL_MAIN);
	lv_obj_set_style_text_font(ui->Test_progrem_Roller_DEVICE_TREE, &lv_font_montserratMedium_15, SEL_MAIN);
	lv_obj_set_style_text_align(ui->Test_progrem_Roller_DEVICE_TREE, LV_TEXT_ALIGN_CENTER, SEL_MAIN);
	lv_obj_set_style_border_width(ui->Test_progrem_Roller_DEVICE_TREE, 5, SEL_MAIN);
	lv_obj_set_style_border_opa(ui->Test_progrem_Roller_DEVICE_TREE, 255, SEL_MAIN);
	lv_obj_set_style_border_color(ui->Test_progrem_Roller_DEVICE_TREE, lv_color_hex(0xD8D8D8), SEL_MAIN);
	lv_obj_set_style_shadow_width(ui->Test_progrem_Roller_DEVICE_TREE, 0, SEL_MAIN);
	lv_obj_set_style_bg_opa(ui->Test_progrem_Roller_DEVICE_TREE, 255, SEL_SELECTED);
	lv_obj_set_style_bg_color(ui->Test_progrem_Roller_DEVICE_TREE, lv_color_hex(0x90C4F0), SEL_SELECTED);
	lv_obj_set_style_bg_grad_dir(ui->Test_progrem_Roller_DEVICE_TREE, LV_GRAD_DIR_VER, SEL_SELECTED);
	lv_obj_set_style_bg_grad_color(ui->Test_progrem_Roller_DEVICE_TREE, lv_color_hex(0x389CF0), SEL_SELECTED);
	lv_obj_set_style_text_color(ui->Test_progrem_Roller_DEVICE_TREE, lv_color_hex(0xF8FCF8), SEL_SELECTED);
	lv_obj_set_style_text_font(ui->Test_progrem_Roller_DEVICE_TREE, &lv_font_montserratMedium_18, SEL_SELECTED);
	lv_obj_set_style_text_align(ui->Test_progrem_Roller_DEVICE_TREE, LV_TEXT_ALIGN_CENTER, SEL_SELECTED);

	ui->Test_progrem_Device_Tree_Title = lv_label_create(ui->Test_progrem_Device_Tree_back);
	result_label_style(ui->Test_progrem_Device_Tree_Title, "QB-VEXO Device Tree", 124, 18, 342, 32,
			   &lv_font_montserratMedium_20);

	/* Header: command buttons ("Initialization" is created first though it stands right). */
	ui->Test_progrem_btn_init = lv_btn_create(ui->Test_progrem);
	ui->Test_progrem_btn_init_label = lv_label_create(ui->Test_progrem_btn_init);
	test_btn_default_style(ui->Test_progrem_btn_init, ui->Test_progrem_btn_init_label, "Initialization", 400, 128,
			       177, 54, &_btn_177x54, &lv_font_Antonio_Regular_30);
	ui->Test_progrem_btn_all = lv_btn_create(ui->Test_progrem);
	ui->Test_progrem_btn_all_label = lv_label_create(ui->Test_progrem_btn_all);
	test_btn_default_style(ui->Test_progrem_btn_all, ui->Test_progrem_btn_all_label, "All_TEST", 238, 128, 140, 54,
			       &_btn_140x54, &lv_font_Antonio_Regular_30);

	/* Header: the divider, drawn over the device-tree panel's top edge. */
	ui->Test_progrem_line_1 = lv_line_create(ui->Test_progrem);
	lv_line_set_points(ui->Test_progrem_line_1, Test_progrem_line_1, 2);
	lv_obj_set_pos(ui->Test_progrem_line_1, 40, 93);
	lv_obj_set_size(ui->Test_progrem_line_1, 1200, 10);
	lv_obj_set_scrollbar_mode(ui->Test_progrem_line_1, LV_SCROLLBAR_MODE_OFF);
	lv_obj_set_style_line_width(ui->Test_progrem_line_1, 10, SEL_MAIN);
	lv_obj_set_style_line_color(ui->Test_progrem_line_1, lv_color_hex(0x707470), SEL_MAIN);
	lv_obj_set_style_line_opa(ui->Test_progrem_line_1, 255, SEL_MAIN);
	lv_obj_set_style_line_rounded(ui->Test_progrem_line_1, true, SEL_MAIN);

	/* Header: logos. */
	ui->Test_progrem_logo = lv_img_create(ui->Test_progrem);
	logo_style(ui->Test_progrem_logo, &_QOR_Logo_alpha_150x55, 1087, 23, 150, 55);
	ui->Test_progrem_BKO = lv_img_create(ui->Test_progrem);
	logo_style(ui->Test_progrem_BKO, &_BKO_alpha_95x38, 320, 35, 95, 38);
	ui->Test_progrem_ZEV = lv_img_create(ui->Test_progrem);
	logo_style(ui->Test_progrem_ZEV, &_zev_logo_zhtw_alpha_251x65, 46, 14, 251, 65);
	ui->Test_progrem_QBVEXO = lv_img_create(ui->Test_progrem);
	logo_style(ui->Test_progrem_QBVEXO, &_QBVEXO_alpha_242x75, 542, 7, 242, 75);

	lv_obj_update_layout(ui->Test_progrem);

	events_init_Test_progrem(ui);
}
