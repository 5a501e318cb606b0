/* Handler registration for every screen, and navigation between the screens. */
#include "events_init.h"

#include "board_handlers.h"

void events_init(lv_ui *ui)
{
	(void)ui;
}

void events_init_Start(lv_ui *ui)
{
	lv_obj_add_event_cb(ui->Start_btn_1, Start_btn_1_event_handler, LV_EVENT_ALL, NULL);
}

void events_init_Test_progrem(lv_ui *ui)
{
	lv_obj_add_event_cb(ui->Test_progrem, Test_progrem_event_handler, LV_EVENT_ALL, NULL);
	lv_obj_add_event_cb(ui->Test_progrem_btn_pl2303, Test_progrem_btn_pl2303_event_handler, LV_EVENT_ALL, NULL);
	lv_obj_add_event_cb(ui->Test_progrem_btn_usb, Test_progrem_btn_usb_event_handler, LV_EVENT_ALL, NULL);
	lv_obj_add_event_cb(ui->Test_progrem_btn_adc, Test_progrem_btn_adc_event_handler, LV_EVENT_ALL, NULL);
	lv_obj_add_event_cb(ui->Test_progrem_btn_spi, Test_progrem_btn_spi_event_handler, LV_EVENT_ALL, NULL);
	lv_obj_add_event_cb(ui->Test_progrem_btn_uart, Test_progrem_btn_uart_event_handler, LV_EVENT_ALL, NULL);
	lv_obj_add_event_cb(ui->Test_progrem_btn_gpio, Test_progrem_btn_gpio_event_handler, LV_EVENT_ALL, NULL);
	lv_obj_add_event_cb(ui->Test_progrem_btn_i2c, Test_progrem_btn_i2c_event_handler, LV_EVENT_ALL, NULL);
	lv_obj_add_event_cb(ui->Test_progrem_btn_csi, Test_progrem_btn_csi_event_handler, LV_EVENT_ALL, NULL);
	lv_obj_add_event_cb(ui->Test_progrem_btn_mqs, Test_progrem_btn_mqs_event_handler, LV_EVENT_ALL, NULL);
	lv_obj_add_event_cb(ui->Test_progrem_btn_audio, Test_progrem_btn_audio_event_handler, LV_EVENT_ALL, NULL);
	lv_obj_add_event_cb(ui->Test_progrem_btn_lvds, Test_progrem_btn_lvds_event_handler, LV_EVENT_ALL, NULL);
	lv_obj_add_event_cb(ui->Test_progrem_btn_dsi, Test_progrem_btn_dsi_event_handler, LV_EVENT_ALL, NULL);
	lv_obj_add_event_cb(ui->Test_progrem_btn_setup, Test_progrem_btn_setup_event_handler, LV_EVENT_ALL, NULL);
	lv_obj_add_event_cb(ui->Test_progrem_btn_rtc, Test_progrem_btn_rtc_event_handler, LV_EVENT_ALL, NULL);
	lv_obj_add_event_cb(ui->Test_progrem_btn_Reboot, Test_progrem_btn_Reboot_event_handler, LV_EVENT_ALL, NULL);
	lv_obj_add_event_cb(ui->Test_progrem_Roller_DEVICE_TREE, Test_progrem_Roller_DEVICE_TREE_event_handler,
			    LV_EVENT_ALL, NULL);
	lv_obj_add_event_cb(ui->Test_progrem_btn_init, Test_progrem_btn_init_event_handler, LV_EVENT_ALL, NULL);
	lv_obj_add_event_cb(ui->Test_progrem_btn_all, Test_progrem_btn_all_event_handler, LV_EVENT_ALL, NULL);
}

void events_init_ReBoot_Screen(lv_ui *ui)
{
	lv_obj_add_event_cb(ui->ReBoot_Screen_btn_Reboot_yes, ReBoot_Screen_btn_Reboot_yes_event_handler, LV_EVENT_ALL,
			    NULL);
	lv_obj_add_event_cb(ui->ReBoot_Screen_btn_Reboot_no, ReBoot_Screen_btn_Reboot_no_event_handler, LV_EVENT_ALL,
			    NULL);
}

void events_init_Setup_Screen(lv_ui *ui)
{
	lv_obj_add_event_cb(ui->Setup_Screen_lineout_slider, Setup_Screen_lineout_slider_event_handler, LV_EVENT_ALL,
			    NULL);
	lv_obj_add_event_cb(ui->Setup_Screen_hdph_slider, Setup_Screen_hdph_slider_event_handler, LV_EVENT_ALL, NULL);
	lv_obj_add_event_cb(ui->Setup_Screen_btn_init, Setup_Screen_btn_init_event_handler, LV_EVENT_ALL, NULL);
	lv_obj_add_event_cb(ui->Setup_Screen_btn_back, Setup_Screen_btn_back_event_handler, LV_EVENT_ALL, NULL);
}

/*
 * Screens left by a load without deletion (test screen -> reboot screen, and back
 * with "No") stay alive, and since every visit builds its target anew they are
 * never shown again. One kept screen per kind is remembered here and deleted just
 * before the next screen of that kind is built, so repeated trips do not grow the
 * memory pool. A delete callback forgets a kept screen that goes away otherwise.
 */
static lv_obj_t *kept_Test_progrem;
static lv_obj_t *kept_ReBoot_Screen;

static void kept_screen_delete_cb(lv_event_t *e)
{
	lv_obj_t **slot = (lv_obj_t **)lv_event_get_user_data(e);
	if (*slot == lv_event_get_target(e))
		*slot = NULL;
}

static void release_kept_screen(lv_obj_t **slot)
{
	lv_obj_t *old = *slot;
	if (old == NULL)
		return;
	lv_disp_t *disp = lv_obj_get_disp(old);
	/* Never pull a screen out from under the display. */
	if (old == lv_disp_get_scr_act(disp) || old == disp->prev_scr || old == disp->scr_to_load)
		return;
	*slot = NULL;
	lv_obj_del(old);
}

static void keep_left_screen(lv_obj_t *scr, lv_obj_t **slot)
{
	release_kept_screen(slot);
	*slot = scr;
	lv_obj_add_event_cb(scr, kept_screen_delete_cb, LV_EVENT_DELETE, slot);
}

/*
 * One navigation step: on a click, and only while no screen load is under way,
 * build the target when its flag asks for it, load it, and set the flag again.
 * target_kept: where an older screen of the target's kind may be kept (or NULL);
 * left_kept: where to keep the screen left when the load does not delete it.
 */
static void navigate(lv_event_t *e, lv_obj_t **target, bool *target_del, void (*build)(lv_ui *),
		     lv_obj_t **target_kept, uint32_t time, uint32_t delay, bool auto_del, lv_obj_t **left_kept)
{
	if (lv_event_get_code(e) != LV_EVENT_CLICKED)
		return;
	/* A running test or reboot keeps the operator on this screen. */
	if (station_busy())
		return;

	lv_obj_t *act_scr = lv_scr_act();
	lv_disp_t *disp = lv_obj_get_disp(act_scr);
	if (disp->prev_scr != NULL)
		return;
	if (disp->scr_to_load != NULL && disp->scr_to_load != act_scr)
		return;

	if (*target_del) {
		if (target_kept != NULL)
			release_kept_screen(target_kept);
		build(&tessel_ui);
	}
	lv_scr_load_anim(*target, LV_SCR_LOAD_ANIM_NONE, time, delay, auto_del);
	if (!auto_del && left_kept != NULL)
		keep_left_screen(act_scr, left_kept);
	*target_del = true;
}

void Start_btn_1_event_handler(lv_event_t *e)
{
	navigate(e, &tessel_ui.Test_progrem, &tessel_ui.Test_progrem_del, setup_scr_Test_progrem, &kept_Test_progrem,
		 200, 200, true, NULL);
}

void Test_progrem_btn_setup_event_handler(lv_event_t *e)
{
	navigate(e, &tessel_ui.Setup_Screen, &tessel_ui.Setup_Screen_del, setup_scr_Setup_Screen, NULL, 200, 200, true,
		 NULL);
}

void Setup_Screen_btn_back_event_handler(lv_event_t *e)
{
	navigate(e, &tessel_ui.Test_progrem, &tessel_ui.Test_progrem_del, setup_scr_Test_progrem, &kept_Test_progrem,
		 200, 200, true, NULL);
}

void Test_progrem_btn_Reboot_event_handler(lv_event_t *e)
{
	navigate(e, &tessel_ui.ReBoot_Screen, &tessel_ui.ReBoot_Screen_del, setup_scr_ReBoot_Screen,
		 &kept_ReBoot_Screen, 200, 100, false, &kept_Test_progrem);
}

void ReBoot_Screen_btn_Reboot_no_event_handler(lv_event_t *e)
{
	navigate(e, &tessel_ui.Test_progrem, &tessel_ui.Test_progrem_del, setup_scr_Test_progrem, &kept_Test_progrem,
		 200, 100, false, &kept_ReBoot_Screen);
}
