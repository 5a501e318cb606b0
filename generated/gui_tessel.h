/* The UI registry: one handle per screen and widget, one deleted flag per screen. */
#ifndef GUI_TESSEL_H
#define GUI_TESSEL_H

#include "lvgl.h"
#include <stdbool.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct
{
	lv_obj_t *Start;
	bool Start_del;
	lv_obj_t *Start_animimg_1;
	lv_obj_t *Start_btn_1;
	lv_obj_t *Start_btn_1_label;
	lv_obj_t *Test_progrem;
	bool Test_progrem_del;
	lv_obj_t *Test_progrem_backgroud;
	lv_obj_t *Test_progrem_PL2303_Log;
	lv_obj_t *Test_progrem_USB2_Log;
	lv_obj_t *Test_progrem_USB1_Log;
	lv_obj_t *Test_progrem_ADC_Log;
	lv_obj_t *Test_progrem_SPI_S_Log;
	lv_obj_t *Test_progrem_SPI_M_Log;
	lv_obj_t *Test_progrem_UART_Log;
	lv_obj_t *Test_progrem_GPIO_Log;
	lv_obj_t *Test_progrem_I2C_Log;
	lv_obj_t *Test_progrem_btn_pl2303;
	lv_obj_t *Test_progrem_btn_pl2303_label;
	lv_obj_t *Test_progrem_btn_usb;
	lv_obj_t *Test_progrem_btn_usb_label;
	lv_obj_t *Test_progrem_btn_adc;
	lv_obj_t *Test_progrem_btn_adc_label;
	lv_obj_t *Test_progrem_btn_spi;
	lv_obj_t *Test_progrem_btn_spi_label;
	lv_obj_t *Test_progrem_btn_uart;
	lv_obj_t *Test_progrem_btn_uart_label;
	lv_obj_t *Test_progrem_btn_gpio;
	lv_obj_t *Test_progrem_btn_gpio_label;
	lv_obj_t *Test_progrem_btn_i2c;
	lv_obj_t *Test_progrem_btn_i2c_label;
	lv_obj_t *Test_progrem_backgroud2;
	lv_obj_t *Test_progrem_CSI_Log;
	lv_obj_t *Test_progrem_MQS_Log;
	lv_obj_t *Test_progrem_Audio_Log;
	lv_obj_t *Test_progrem_LVDS_Log;
	lv_obj_t *Test_progrem_DSI_Log;
	lv_obj_t *Test_progrem_btn_csi;
	lv_obj_t *Test_progrem_btn_csi_label;
	lv_obj_t *Test_progrem_btn_mqs;
	lv_obj_t *Test_progrem_btn_mqs_label;
	lv_obj_t *Test_progrem_btn_audio;
	lv_obj_t *Test_progrem_btn_audio_label;
	lv_obj_t *Test_progrem_btn_lvds;
	lv_obj_t *Test_progrem_btn_lvds_label;
	lv_obj_t *Test_progrem_btn_dsi;
	lv_obj_t *Test_progrem_btn_dsi_label;
	lv_obj_t *Test_progrem_btn_setup;
	lv_obj_t *Test_progrem_btn_setup_label;
	lv_obj_t *Test_progrem_backgroud3;
	lv_obj_t *Test_progrem_label_simple;
	lv_obj_t *Test_progrem_RTC_Log;
	lv_obj_t *Test_progrem_btn_rtc;
	lv_obj_t *Test_progrem_btn_rtc_label;
	lv_obj_t *Test_progrem_Device_Tree_back;
	lv_obj_t *Test_progrem_btn_Reboot;
	lv_obj_t *Test_progrem_btn_Reboot_label;
	lv_obj_t *Test_progrem_Device_Tree;
	lv_obj_t *Test_progrem_Roller_DEVICE_TREE;
	lv_obj_t *Test_progrem_Device_Tree_Title;
	lv_obj_t *Test_progrem_btn_init;
	lv_obj_t *Test_progrem_btn_init_label;
	lv_obj_t *Test_progrem_btn_all;
	lv_obj_t *Test_progrem_btn_all_label;
	lv_obj_t *Test_progrem_line_1;
	lv_obj_t *Test_progrem_logo;
	lv_obj_t *Test_progrem_BKO;
	lv_obj_t *Test_progrem_ZEV;
	lv_obj_t *Test_progrem_QBVEXO;
	lv_obj_t *ReBoot_Screen;
	bool ReBoot_Screen_del;
	lv_obj_t *ReBoot_Screen_Reboot;
	lv_obj_t *ReBoot_Screen_Msg_Reboot_Title;
	lv_obj_t *ReBoot_Screen_btn_Reboot_yes;
	lv_obj_t *ReBoot_Screen_btn_Reboot_yes_label;
	lv_obj_t *ReBoot_Screen_Msg_Reboot;
	lv_obj_t *ReBoot_Screen_btn_Reboot_no;
	lv_obj_t *ReBoot_Screen_btn_Reboot_no_label;
	lv_obj_t *Setup_Screen;
	bool Setup_Screen_del;
	lv_obj_t *Setup_Screen_audio_setup;
	lv_obj_t *Setup_Screen_lineout_slider;
	lv_obj_t *Setup_Screen_lineout;
	lv_obj_t *Setup_Screen_hdph_slider;
	lv_obj_t *Setup_Screen_headphone;
	lv_obj_t *Setup_Screen_audio_setup_title;
	lv_obj_t *Setup_Screen_btn_init;
	lv_obj_t *Setup_Screen_btn_init_label;
	lv_obj_t *Setup_Screen_btn_back;
	lv_obj_t *Setup_Screen_btn_back_label;
	lv_obj_t *Setup_Screen_label0;
	lv_obj_t *Setup_Screen_label1;
	lv_obj_t *Setup_Screen_label_1;
	lv_obj_t *Setup_Screen_label_2;
	lv_obj_t *Setup_Screen_img_HD;
	lv_obj_t *Setup_Screen_img_LO;
} lv_ui;

/* The compiled-in fonts (generated/tessel_fonts). */
LV_FONT_DECLARE(lv_font_Antonio_Regular_25)
LV_FONT_DECLARE(lv_font_Antonio_Regular_30)
LV_FONT_DECLARE(lv_font_montserratMedium_12)
LV_FONT_DECLARE(lv_font_montserratMedium_15)
LV_FONT_DECLARE(lv_font_montserratMedium_16)
LV_FONT_DECLARE(lv_font_montserratMedium_18)
LV_FONT_DECLARE(lv_font_montserratMedium_20)
LV_FONT_DECLARE(lv_font_montserratMedium_22)
LV_FONT_DECLARE(lv_font_montserratMedium_24)
LV_FONT_DECLARE(lv_font_montserratMedium_25)
LV_FONT_DECLARE(lv_font_montserratMedium_30)
LV_FONT_DECLARE(lv_font_montserratMedium_50)

void ui_init_style(lv_style_t * style);
void init_scr_del_flag(lv_ui *ui);
void setup_ui(lv_ui *ui);

extern lv_ui tessel_ui;

void setup_scr_Start(lv_ui *ui);
void setup_scr_Test_progrem(lv_ui *ui);
void setup_scr_ReBoot_Screen(lv_ui *ui);
void setup_scr_Setup_Screen(lv_ui *ui);

#ifdef __cplusplus
}
#endif
#endif
