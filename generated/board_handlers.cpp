/* Board tests and board control: every handler here hands fixed script
 * texts to the shell (board_scripts.cpp) and then shows the status file. */
#include "board_handlers.h"

#include "board_scripts.h"
#include "board_shell.h"
#include "events_init.h"
#include "gui_tessel.h"
#include "qbvexo.h"

#include <stdio.h>
#include <string.h>

char command_out[2048];
int HD_volume = 0;
int LO_volume = 0;

/* Kernel log line under test and the scratch file that holds it. */
static char buffer[1024];
static FILE *fp = NULL;
/* Line buffer of Run all and of the device-tree detection. */
static char line[2048];

static const char *const keywords[] = {"Default", "Uart7", "SPI_M", "SPI_S", "DSI"};
static const int numKeywords = 5;
static const char *const dtb_labels[] = {
	"qb-vexo.dtb", "qb-vexo-uart7.dtb", "qb-vexo-lpspi.dtb", "qb-vexo-lpspi-slave.dtb", "qb-vexo-dsi-ili9881c.dtb",
};

/* Puts every status line into its result label; a missing file changes none. */
static void show_status_file(void)
{
	file = fopen("zorazu_zove", "r");
	if (file != NULL) {
		processFile(file, MaxLine);
		fclose(file);
	}
}

static void create_status_file(void)
{
	strcpy(command_out, status_file_create_command);
	tessel_system(command_out);
}

static void run_test(lv_event_t *e, const char *script)
{
	if (lv_event_get_code(e) != LV_EVENT_CLICKED)
		return;
	tessel_system(script);
	show_status_file();
}

void Test_progrem_btn_i2c_event_handler(lv_event_t *e) { run_test(e, i2c_script); }
void Test_progrem_btn_gpio_event_handler(lv_event_t *e) { run_test(e, gpio_script); }
void Test_progrem_btn_uart_event_handler(lv_event_t *e) { run_test(e, uart_script); }
void Test_progrem_btn_adc_event_handler(lv_event_t *e) { run_test(e, adc_script); }
void Test_progrem_btn_pl2303_event_handler(lv_event_t *e) { run_test(e, pl2303_script); }
void Test_progrem_btn_rtc_event_handler(lv_event_t *e) { run_test(e, rtc_script); }
void Test_progrem_btn_dsi_event_handler(lv_event_t *e) { run_test(e, dsi_script); }
void Test_progrem_btn_lvds_event_handler(lv_event_t *e) { run_test(e, lvds_script); }
void Test_progrem_btn_audio_event_handler(lv_event_t *e) { run_test(e, audio_script); }
void Test_progrem_btn_mqs_event_handler(lv_event_t *e) { run_test(e, mqs_script); }
void Test_progrem_btn_csi_event_handler(lv_event_t *e) { run_test(e, csi_script); }

void Test_progrem_btn_spi_event_handler(lv_event_t *e)
{
	if (lv_event_get_code(e) != LV_EVENT_CLICKED)
		return;
	tessel_system(spi_master_script);
	tessel_system(spi_slave_script);
	show_status_file();
}

void Test_progrem_btn_init_event_handler(lv_event_t *e)
{
	if (lv_event_get_code(e) != LV_EVENT_CLICKED)
		return;
	create_status_file();
	show_status_file();
	tessel_system(log_dir_command);
}

/* The label shows the device tree of the last kernel log line that names
 * a model; the first keyword in table order wins. */
static void detect_device_tree(void)
{
	tessel_system(dts_detect_command);
	file = fopen("Log/Log_DTS", "r");
	if (file == NULL)
		return;
	while (fgets(line, sizeof line, file) != NULL) {
		const char *text = "Unknown Device Tree";
		for (int i = 0; i < numKeywords; i++) {
			if (strstr(line, keywords[i]) != NULL) {
				text = dtb_labels[i];
				break;
			}
		}
		lv_label_set_text(tessel_ui.Test_progrem_Device_Tree, text);
	}
	fclose(file);
}

void Test_progrem_event_handler(lv_event_t *e)
{
	if (lv_event_get_code(e) != LV_EVENT_SCREEN_LOADED)
		return;
	file = fopen("zorazu_zove", "r");
	if (file == NULL) {
		/* First visit in this directory: the labels keep their
		 * builder texts until the next display step. */
		create_status_file();
	} else {
		processFile(file, MaxLine);
		fclose(file);
	}
	tessel_system(log_dir_command);
	detect_device_tree();
}

/* --- USB storage ------------------------------------------------------- */

void Test_progrem_btn_usb_event_handler(lv_event_t *e)
{
	if (lv_event_get_code(e) != LV_EVENT_CLICKED)
		return;
	tessel_system(usb_detect_both_command);
	fp = fopen("temp.txt", "r");
	if (fp != NULL) {
		while (fgets(buffer, sizeof buffer, fp) != NULL) {
			/* Rewrites temp.txt under the open stream, which goes on
			 * from its position: normally there is no second line. */
			tessel_system(usb_detect_both_command);
			if (strstr(buffer, "disconnect") == NULL && strstr(buffer, "usb 2-1: new") != NULL) {
				lv_label_set_text(tessel_ui.Test_progrem_USB1_Log, "Detected USB DISK on USB Port1");
				tessel_system(usb1_script);
				break;
			} else if (strstr(buffer, "disconnect") == NULL && strstr(buffer, "usb 1-1.7: new") != NULL) {
				lv_label_set_text(tessel_ui.Test_progrem_USB2_Log, "Detected USB DISK on USB Port2");
				tessel_system(usb2_script);
				break;
			} else {
				lv_label_set_text(tessel_ui.Test_progrem_USB1_Log, "Please insert USB DISK on USB Port");
			}
		}
		fclose(fp);
		fp = NULL;
	}
	remove("temp.txt");
	show_status_file();
}

void usb_detect_port(int port)
{
	const char *command = port == 1 ? usb_detect_port1_command : usb_detect_port2_command;
	lv_obj_t *label = port == 1 ? tessel_ui.Test_progrem_USB1_Log : tessel_ui.Test_progrem_USB2_Log;
	const char *new_device = port == 1 ? "usb 2-1: new" : "usb 1-1.7: new";
	const char *detected = port == 1 ? "Detected USB DISK on USB Port1" : "Detected USB DISK on USB Port2";
	const char *insert = port == 1 ? "Please insert USB DISK on USB Port1" : "Please insert USB DISK on USB Port2";

	tessel_system(command);
	fp = fopen("temp.txt", "r");
	if (fp != NULL) {
		if (fgets(buffer, sizeof buffer, fp) != NULL) {
			tessel_system(command);
			if (strstr(buffer, "disconnect") != NULL) {
				lv_label_set_text(label, insert);
			} else if (strstr(buffer, new_device) != NULL) {
				lv_label_set_text(label, detected);
				tessel_system(port == 1 ? usb1_script : usb2_script);
			} else {
				lv_label_set_text(label, insert);
			}
		}
		fclose(fp);
		fp = NULL;
	}
	remove("temp.txt");
}

/* --- Run all ----------------------------------------------------------- */

static void run_entry(int i)
{
	switch (i) {
	case 0: tessel_system(i2c_script); break;
	case 1: tessel_system(gpio_script); break;
	case 2: tessel_system(uart_script); break;
	case 3: tessel_system(spi_master_script); break;
	case 4: tessel_system(spi_slave_script); break;
	case 5: tessel_system(adc_script); break;
	case 6: usb_detect_port(1); break;
	case 7: usb_detect_port(2); break;
	case 8: tessel_system(pl2303_script); break;
	case 9: tessel_system(dsi_script); break;
	case 10: tessel_system(lvds_script); break;
	case 11: tessel_system(audio_script); break;
	case 12: tessel_system(mqs_script); break;
	case 13: tessel_system(csi_script); break;
	case 14: tessel_system(rtc_script); break;
	default: break;
	}
}

/* Runs every test whose line reads "not yet" or has a capital "Failed".
 * The scripts replace the status file (sed -i renames a new file over it),
 * so this stream keeps reading the lines as they were when the pass began
 * and no test runs twice in one pass. */
void Test_progrem_btn_all_event_handler(lv_event_t *e)
{
	if (lv_event_get_code(e) != LV_EVENT_CLICKED)
		return;
	file = fopen("zorazu_zove", "r");
	if (file == NULL)
		return;
	int i = 0;
	while (fgets(line, sizeof line, file) != NULL) {
		printf("%s", line);
		if ((strstr(line, "not yet") != NULL || strstr(line, "Failed") != NULL) && i <= 14)
			run_entry(i);
		i++;
	}
	fclose(file);
	show_status_file();
}

/* --- Device tree and reboot -------------------------------------------- */

void Test_progrem_Roller_DEVICE_TREE_event_handler(lv_event_t *e)
{
	if (lv_event_get_code(e) != LV_EVENT_VALUE_CHANGED)
		return;
	lv_obj_t *roller = lv_event_get_target(e);
	uint16_t dtb_num = lv_roller_get_selected(roller);
	if (dtb_num >= numKeywords)
		return;
	lv_label_set_text(tessel_ui.Test_progrem_Device_Tree, dtb_labels[dtb_num]);
	lv_obj_set_style_text_color(tessel_ui.Test_progrem_Device_Tree, lv_color_hex(0xF80020), 0);
	tessel_system(dtb_install_commands[dtb_num]);
}

void ReBoot_Screen_btn_Reboot_yes_event_handler(lv_event_t *e)
{
	if (lv_event_get_code(e) != LV_EVENT_CLICKED)
		return;
	tessel_system(reboot_command);
}

/* --- Audio outputs ----------------------------------------------------- */

void Setup_Screen_hdph_slider_event_handler(lv_event_t *e)
{
	if (lv_event_get_code(e) != LV_EVENT_VALUE_CHANGED)
		return;
	HD_volume = (int)lv_slider_get_value(lv_event_get_target(e));
	if (HD_volume < 1) {
		strcpy(command_out, hp_switch_off_command);
		tessel_system(command_out);
		return;
	}
	strcpy(command_out, hp_switch_on_command);
	tessel_system(command_out);
	snprintf(command_out, sizeof command_out, hp_volume_format, HD_volume);
	tessel_system(command_out);
}

/* Acts on release only: the line-out commands go out once per touch. */
void Setup_Screen_lineout_slider_event_handler(lv_event_t *e)
{
	if (lv_event_get_code(e) != LV_EVENT_CLICKED)
		return;
	LO_volume = (int)lv_slider_get_value(lv_event_get_target(e));
	if (LO_volume < 1) {
		strcpy(command_out, lo_switch_off_command);
		tessel_system(command_out);
		return;
	}
	strcpy(command_out, lo_switch_on_command);
	tessel_system(command_out);
	snprintf(command_out, sizeof command_out, lo_volume_format, LO_volume);
	tessel_system(command_out);
}

/* Setting the sliders from here sends no VALUE_CHANGED, so the slider
 * handlers stay quiet and HD_volume and LO_volume keep their values. */
void Setup_Screen_btn_init_event_handler(lv_event_t *e)
{
	if (lv_event_get_code(e) != LV_EVENT_CLICKED)
		return;
	lv_slider_set_value(tessel_ui.Setup_Screen_hdph_slider, 23, LV_ANIM_OFF);
	strcpy(command_out, hp_switch_on_command);
	tessel_system(command_out);
	strcpy(command_out, hp_volume_init_command);
	tessel_system(command_out);
	lv_slider_set_value(tessel_ui.Setup_Screen_lineout_slider, 0, LV_ANIM_OFF);
	strcpy(command_out, lo_switch_off_command);
	tessel_system(command_out);
}
