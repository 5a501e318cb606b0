/* Handler registration for every screen, and the handlers themselves. */
#ifndef EVENTS_INIT_H
#define EVENTS_INIT_H

#include "gui_tessel.h"

#ifdef __cplusplus
extern "C" {
#endif

void events_init(lv_ui *ui);
void events_init_Start(lv_ui *ui);
void events_init_Test_progrem(lv_ui *ui);
void events_init_ReBoot_Screen(lv_ui *ui);
void events_init_Setup_Screen(lv_ui *ui);

/* Navigation (events_init.cpp) */
void Start_btn_1_event_handler(lv_event_t *e);
void Test_progrem_btn_setup_event_handler(lv_event_t *e);
void Setup_Screen_btn_back_event_handler(lv_event_t *e);
void Test_progrem_btn_Reboot_event_handler(lv_event_t *e);
void ReBoot_Screen_btn_Reboot_no_event_handler(lv_event_t *e);

/* Board tests and board control (board_handlers.cpp) */
void Test_progrem_event_handler(lv_event_t *e);
void Test_progrem_btn_pl2303_event_handler(lv_event_t *e);
void Test_progrem_btn_usb_event_handler(lv_event_t *e);
void Test_progrem_btn_adc_event_handler(lv_event_t *e);
void Test_progrem_btn_spi_event_handler(lv_event_t *e);
void Test_progrem_btn_uart_event_handler(lv_event_t *e);
void Test_progrem_btn_gpio_event_handler(lv_event_t *e);
void Test_progrem_btn_i2c_event_handler(lv_event_t *e);
void Test_progrem_btn_csi_event_handler(lv_event_t *e);
void Test_progrem_btn_mqs_event_handler(lv_event_t *e);
void Test_progrem_btn_audio_event_handler(lv_event_t *e);
void Test_progrem_btn_lvds_event_handler(lv_event_t *e);
void Test_progrem_btn_dsi_event_handler(lv_event_t *e);
void Test_progrem_btn_rtc_event_handler(lv_event_t *e);
void Test_progrem_Roller_DEVICE_TREE_event_handler(lv_event_t *e);
void Test_progrem_btn_init_event_handler(lv_event_t *e);
void Test_progrem_btn_all_event_handler(lv_event_t *e);
void ReBoot_Screen_btn_Reboot_yes_event_handler(lv_event_t *e);
void Setup_Screen_lineout_slider_event_handler(lv_event_t *e);
void Setup_Screen_hdph_slider_event_handler(lv_event_t *e);
void Setup_Screen_btn_init_event_handler(lv_event_t *e);

#ifdef __cplusplus
}
#endif
#endif
