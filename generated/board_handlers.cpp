/* Board tests and board control. Every test script runs as a child
 * process beside the main loop (board_runner): the window keeps drawing
 * and answering while it runs, a time limit ends a stuck one, and taps
 * that arrive meanwhile are dropped. Before a test starts its status line
 * is set to "not yet", so no earlier verdict can outlive a crash, a
 * time-out or a failed write. */
#include "board_handlers.h"

#include "station/board_runner.h"
#include "board_scripts.h"
#include "station/board_shell.h"
#include "confirm/confirm.h"
#include "events_init.h"
#include "gui_tessel.h"
#include "qbvexo.h"
#include "record/run_record.h"
#include "station/status_file.h"
#include "line/uploader.h"

#include <errno.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

char command_out[2048];
int HD_volume = 0;
int LO_volume = 0;

/* Kernel log line under test and the scratch file that holds it. */
static char buffer[1024];
static FILE *fp = NULL;
/* Line buffer of the device-tree detection. */
static char line[2048];

static const char *const keywords[] = {"Default", "Uart7", "SPI_M", "SPI_S", "DSI"};
static const int numKeywords = 5;
static const char *const dtb_labels[] = {
	"qb-vexo.dtb", "qb-vexo-uart7.dtb", "qb-vexo-lpspi.dtb", "qb-vexo-lpspi-slave.dtb", "qb-vexo-dsi-ili9881c.dtb",
};

/* One board test per status line: its name (the label's own text), the
 * verdict it gets when its time limit ends it, its script and that limit.
 * The limits are generous for real hardware; the USB copy of 100 MiB to a
 * slow USB 2 stick is the longest. */
struct board_test {
	const char *name;
	const char *failure;
	const char *script;
	int limit_ms;
};

static const struct board_test board_tests[15] = {
	{"I2C", "I2C Test failed", i2c_script, 30000},
	{"GPIO", "GPIO Key Test Failed", gpio_script, 15000},
	{"UART", "UART7 Test failed", uart_script, 20000},
	{"SPI Master", "SPI3 Master Test Failed", spi_master_script, 20000},
	{"SPI Slave", "SPI3 Slave Test Failed", spi_slave_script, 15000},
	{"ADC", "ADC Test failed", adc_script, 15000},
	{"USB1", "USB1 Test failed", usb1_script, 300000},
	{"USB2", "USB2 Test failed", usb2_script, 300000},
	{"PL2303", "PL2303 Test failed", pl2303_script, 15000},
	{"DSI", "MIPI-DSI Test Failed", dsi_script, 30000},
	{"LVDS", "LVDS Test Failed", lvds_script, 30000},
	{"Audio", "Audio Default Sgtl5000 Failed", audio_script, 60000},
	{"MQS", "Audio MQS Failed", mqs_script, 60000},
	{"CSI", "CSI Test failed", csi_script, 30000},
	{"RTC", "RTC Test failed", rtc_script, 30000},
};

static const char kTimedOutMark[] = " (timed out)";
static const char kUnreadableText[] = "Status file unreadable";
static const int kDeviceTreeLimitMs = 30000;
static const int kRebootLimitMs = 30000;

/* What runs now: the lines still to run after the current test (the SPI
 * button's slave half), and the Run all pass with the status file as it
 * was when the pass began. */
static int queued_line = 0;
static bool run_all_active = false;
static std::vector<std::string> run_all_lines;
static size_t run_all_next = 0;

static lv_obj_t *result_label(int line_no)
{
	static lv_obj_t *lv_ui::*const fields[15] = {
		&lv_ui::Test_progrem_I2C_Log,  &lv_ui::Test_progrem_GPIO_Log,  &lv_ui::Test_progrem_UART_Log,
		&lv_ui::Test_progrem_SPI_M_Log, &lv_ui::Test_progrem_SPI_S_Log, &lv_ui::Test_progrem_ADC_Log,
		&lv_ui::Test_progrem_USB1_Log, &lv_ui::Test_progrem_USB2_Log,  &lv_ui::Test_progrem_PL2303_Log,
		&lv_ui::Test_progrem_DSI_Log,  &lv_ui::Test_progrem_LVDS_Log,  &lv_ui::Test_progrem_Audio_Log,
		&lv_ui::Test_progrem_MQS_Log,  &lv_ui::Test_progrem_CSI_Log,   &lv_ui::Test_progrem_RTC_Log,
	};
	return line_no >= 1 && line_no <= 15 ? tessel_ui.*fields[line_no - 1] : NULL;
}

static void set_result_text(int line_no, const char *text)
{
	lv_obj_t *label = result_label(line_no);
	if (label != NULL)
		lv_label_set_text(label, text);
}

/* A status file that is there but cannot be read: one text on every label,
 * the reason on the console. */
static void show_unreadable(int err)
{
	fprintf(stderr, "gui_tessel: cannot read the status file %s: %s\n", STATUS_FILE_NAME, strerror(err));
	for (int i = 1; i <= 15; i++)
		set_result_text(i, kUnreadableText);
}

/* False, with the labels saying why, when the status file cannot be read. */
static bool status_file_usable(void)
{
	int exists = 0;
	int err = status_file_probe(&exists);
	if (err != 0) {
		show_unreadable(err);
		return false;
	}
	return true;
}

/* Puts every status line into its result label; a missing file changes none. */
static void show_status_file(void)
{
	if (!status_file_usable())
		return;
	file = fopen("zorazu_zove", "r");
	if (file != NULL) {
		processFile(file, MaxLine);
		fclose(file);
	}
}

static void report(int line_no, const struct runner_outcome *outcome, bool not_recorded)
{
	char status[2048];
	struct tessel_test_result r = {};
	r.line = line_no;
	r.name = board_tests[line_no - 1].name;
	r.status_line = status_file_read_line(line_no, status, sizeof status) ? status : NULL;
	if (outcome != NULL) {
		r.start_ms = outcome->start_ms;
		r.end_ms = outcome->end_ms;
		r.exit_status = outcome->exit_status;
		r.timed_out = outcome->timed_out;
		r.console_tail = outcome->console_tail;
	} else {
		r.start_ms = r.end_ms = runner_wall_ms();
		r.exit_status = -1;
		r.console_tail = "";
	}
	r.not_recorded = not_recorded;
	record_test_ended(&r);
}

/* Sets a test's line to "not yet" before it runs; when that cannot be
 * written the test must not run, and its label says why. */
static bool mark_pending(int line_no)
{
	int err = status_file_set_line(line_no, "not yet");
	if (err == 0)
		return true;
	char text[64];
	snprintf(text, sizeof text, "Not recorded: %s", status_file_problem(err));
	fprintf(stderr, "gui_tessel: %s not run: cannot write the status file %s: %s\n", board_tests[line_no - 1].name,
		STATUS_FILE_NAME, strerror(err));
	set_result_text(line_no, text);
	report(line_no, NULL, true);
	return false;
}

static void run_all_advance(void);
static bool start_test(int line_no);

bool station_busy(void) { return runner_busy() || confirm_active(); }

/* After a test has its final verdict: the SPI button's second half, or
 * Run all's next entry. */
static void go_on(void)
{
	while (queued_line != 0) {
		int next = queued_line;
		queued_line = 0;
		if (start_test(next))
			return;
	}
	if (run_all_active) {
		run_all_advance();
		if (run_all_active)
			return; /* its next test runs */
	}
	upload_set_state("idle");
}

/* A test whose "ok" the operator is asked to confirm: how it ended and what
 * its script said, until the answer decides the verdict. */
static struct {
	struct runner_outcome outcome;
	std::string console_tail;
	std::string verdict;
} confirming;

static void test_confirmed(const struct confirm_result *r, void *user)
{
	(void)user;
	const struct board_test *t = &board_tests[r->line - 1];
	std::string verdict = r->ok ? confirming.verdict : std::string(t->failure) + r->mark;
	int err = status_file_set_line(r->line, verdict.c_str());
	if (err != 0)
		fprintf(stderr, "gui_tessel: cannot record \"%s\": %s\n", verdict.c_str(), strerror(err));
	if (!r->ok) {
		printf("%s\n", verdict.c_str());
		fflush(stdout);
	}
	/* Leaving: the window may be gone with its labels. */
	if (!r->leaving) {
		show_status_file();
		lv_refr_now(NULL);
	}
	record_set_confirmation(r->line, r->challenge, r->answer, r->seconds, r->ok);
	confirming.outcome.console_tail = confirming.console_tail.c_str();
	report(r->line, &confirming.outcome, false);
	if (!r->leaving)
		go_on();
}

/* Until the operator answers, the line holds no verdict: a program killed
 * meanwhile leaves "not yet", never an unconfirmed "ok". */
static bool begin_confirmation(int line_no, const struct runner_outcome *outcome, const char *verdict)
{
	confirming.outcome = *outcome;
	confirming.console_tail = outcome->console_tail != NULL ? outcome->console_tail : "";
	confirming.verdict = verdict;
	if (!confirm_start(line_no, test_confirmed, NULL))
		return false;
	int err = status_file_set_line(line_no, "not yet");
	if (err != 0)
		fprintf(stderr, "gui_tessel: cannot hold back \"%s\" for confirmation: %s\n", verdict, strerror(err));
	char text[64];
	snprintf(text, sizeof text, "%s confirming...", board_tests[line_no - 1].name);
	set_result_text(line_no, text);
	/* for the line's wall the test goes on until the answer */
	snprintf(text, sizeof text, "running %s", board_tests[line_no - 1].name);
	upload_set_state(text);
	return true;
}

static void test_ended(const struct runner_outcome *outcome, void *user)
{
	int line_no = (int)(intptr_t)user;
	const struct board_test *t = &board_tests[line_no - 1];
	if (outcome->timed_out) {
		char verdict[128];
		snprintf(verdict, sizeof verdict, "%s%s", t->failure, kTimedOutMark);
		int err = status_file_set_line(line_no, verdict);
		if (err != 0)
			fprintf(stderr, "gui_tessel: cannot record \"%s\": %s\n", verdict, strerror(err));
		printf("%s\n", verdict);
		fflush(stdout);
	}
	show_status_file();
	/* The verdict goes on screen now; the run record is written after. */
	lv_refr_now(NULL);
	char status[2048];
	if (!outcome->timed_out && status_file_read_line(line_no, status, sizeof status) &&
	    confirm_wanted(line_no, status) && begin_confirmation(line_no, outcome, status))
		return;
	report(line_no, outcome, false);
	go_on();
}

/* Marks the line, shows the running mark and starts the script. */
static bool start_test(int line_no)
{
	const struct board_test *t = &board_tests[line_no - 1];
	if (!mark_pending(line_no))
		return false;
	char text[64];
	snprintf(text, sizeof text, "%s running...", t->name);
	set_result_text(line_no, text);
	if (!runner_start(t->script, t->limit_ms, test_ended, (void *)(intptr_t)line_no)) {
		fprintf(stderr, "gui_tessel: cannot start the shell for %s\n", t->name);
		show_status_file();
		report(line_no, NULL, false);
		return false;
	}
	snprintf(text, sizeof text, "running %s", t->name);
	upload_set_state(text);
	return true;
}

static void run_test(lv_event_t *e, int line_no)
{
	if (lv_event_get_code(e) != LV_EVENT_CLICKED || station_busy())
		return;
	if (!status_file_usable())
		return;
	start_test(line_no);
}

void Test_progrem_btn_i2c_event_handler(lv_event_t *e) { run_test(e, 1); }
void Test_progrem_btn_gpio_event_handler(lv_event_t *e) { run_test(e, 2); }
void Test_progrem_btn_uart_event_handler(lv_event_t *e) { run_test(e, 3); }
void Test_progrem_btn_adc_event_handler(lv_event_t *e) { run_test(e, 6); }
void Test_progrem_btn_pl2303_event_handler(lv_event_t *e) { run_test(e, 9); }
void Test_progrem_btn_dsi_event_handler(lv_event_t *e) { run_test(e, 10); }
void Test_progrem_btn_lvds_event_handler(lv_event_t *e) { run_test(e, 11); }
void Test_progrem_btn_audio_event_handler(lv_event_t *e) { run_test(e, 12); }
void Test_progrem_btn_mqs_event_handler(lv_event_t *e) { run_test(e, 13); }
void Test_progrem_btn_csi_event_handler(lv_event_t *e) { run_test(e, 14); }
void Test_progrem_btn_rtc_event_handler(lv_event_t *e) { run_test(e, 15); }

/* Master, then slave; both lines are pending before either runs. */
void Test_progrem_btn_spi_event_handler(lv_event_t *e)
{
	if (lv_event_get_code(e) != LV_EVENT_CLICKED || station_busy())
		return;
	if (!status_file_usable())
		return;
	bool master = mark_pending(4);
	bool slave = mark_pending(5);
	if (!master || !slave) {
		/* The half that was marked shows it; the other says why not. */
		if (master)
			set_result_text(4, "not yet\n");
		if (slave)
			set_result_text(5, "not yet\n");
		return;
	}
	queued_line = 5;
	if (!start_test(4) && queued_line != 0) {
		queued_line = 0;
		start_test(5);
	}
}

void Test_progrem_btn_init_event_handler(lv_event_t *e)
{
	if (lv_event_get_code(e) != LV_EVENT_CLICKED || station_busy())
		return;
	/* the one moment a run ends: the board's results are kept, a new run begins */
	record_close_run();
	int err = status_file_write_fresh();
	if (err != 0)
		fprintf(stderr, "gui_tessel: cannot reset the status file %s: %s\n", STATUS_FILE_NAME, strerror(err));
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
	record_set_device_tree(lv_label_get_text(tessel_ui.Test_progrem_Device_Tree));
}

/* The roller's option the board was last set to (or that it showed when
 * the screen was loaded): a turn while a test runs goes back to it. */
static uint16_t roller_acted = 0;

void Test_progrem_event_handler(lv_event_t *e)
{
	if (lv_event_get_code(e) != LV_EVENT_SCREEN_LOADED)
		return;
	roller_acted = lv_roller_get_selected(tessel_ui.Test_progrem_Roller_DEVICE_TREE);
	status_file_sweep();
	int exists = 0;
	int err = status_file_probe(&exists);
	if (err != 0) {
		show_unreadable(err);
	} else if (!exists) {
		/* First visit in this directory: the labels keep their builder
		 * texts until the next display step. */
		err = status_file_write_fresh();
		if (err != 0)
			fprintf(stderr, "gui_tessel: cannot create the status file %s: %s\n", STATUS_FILE_NAME,
				strerror(err));
	} else {
		err = status_file_complete();
		if (err != 0)
			fprintf(stderr, "gui_tessel: cannot complete the status file %s: %s\n", STATUS_FILE_NAME,
				strerror(err));
		show_status_file();
	}
	tessel_system(log_dir_command);
	detect_device_tree();
}

/* --- USB storage ------------------------------------------------------- */

/* The last kernel log line about the USB ports, as the detection command
 * left it in temp.txt; false when there is none. */
static bool read_usb_log_line(const char *command)
{
	tessel_system(command);
	bool found = false;
	fp = fopen("temp.txt", "r");
	if (fp != NULL) {
		found = fgets(buffer, sizeof buffer, fp) != NULL;
		/* The kernel log is probed once more after the line is read, as
		 * the board's detection always has; the line read stands. */
		if (found)
			tessel_system(command);
		fclose(fp);
		fp = NULL;
	}
	remove("temp.txt");
	return found;
}

void Test_progrem_btn_usb_event_handler(lv_event_t *e)
{
	if (lv_event_get_code(e) != LV_EVENT_CLICKED || station_busy())
		return;
	if (!status_file_usable())
		return;
	if (!read_usb_log_line(usb_detect_both_command))
		return;
	bool connected = strstr(buffer, "disconnect") == NULL;
	if (connected && strstr(buffer, "usb 2-1: new") != NULL) {
		lv_label_set_text(tessel_ui.Test_progrem_USB1_Log, "Detected USB DISK on USB Port1");
		start_test(7);
	} else if (connected && strstr(buffer, "usb 1-1.7: new") != NULL) {
		lv_label_set_text(tessel_ui.Test_progrem_USB2_Log, "Detected USB DISK on USB Port2");
		start_test(8);
	} else {
		lv_label_set_text(tessel_ui.Test_progrem_USB1_Log, "Please insert USB DISK on USB Port");
	}
}

/* Run all's entry for one port: the copy test runs only when the port's
 * last kernel log line is a new device. True when the test started. */
static bool usb_entry(int port)
{
	lv_obj_t *label = port == 1 ? tessel_ui.Test_progrem_USB1_Log : tessel_ui.Test_progrem_USB2_Log;
	const char *new_device = port == 1 ? "usb 2-1: new" : "usb 1-1.7: new";
	const char *detected = port == 1 ? "Detected USB DISK on USB Port1" : "Detected USB DISK on USB Port2";
	const char *insert = port == 1 ? "Please insert USB DISK on USB Port1" : "Please insert USB DISK on USB Port2";

	if (!read_usb_log_line(port == 1 ? usb_detect_port1_command : usb_detect_port2_command))
		return false;
	if (strstr(buffer, "disconnect") == NULL && strstr(buffer, new_device) != NULL) {
		lv_label_set_text(label, detected);
		return start_test(port == 1 ? 7 : 8);
	}
	lv_label_set_text(label, insert);
	return false;
}

void usb_detect_port(int port)
{
	if (!station_busy())
		usb_entry(port);
}

/* --- Run all ----------------------------------------------------------- */

/* Entry i runs the test of status line i + 1; false when nothing started. */
static bool run_entry(int i)
{
	if (i == 6 || i == 7)
		return usb_entry(i - 5);
	return start_test(i + 1);
}

/* Goes on through the pass: each line is echoed on the console before its
 * test runs; the pass pauses while a test runs and resumes when it ends. */
static void run_all_advance(void)
{
	while (run_all_next < run_all_lines.size()) {
		int i = (int)run_all_next++;
		const char *text = run_all_lines[(size_t)i].c_str();
		printf("%s", text);
		fflush(stdout);
		if ((strstr(text, "not yet") != NULL || strstr(text, "Failed") != NULL) && i <= 14 && run_entry(i))
			return;
	}
	run_all_active = false;
	show_status_file();
	/* The run stays open: the record keeps this pass's results, and a
	 * second pass over the failed lines adds to the same run. */
}

/* Runs every test whose line reads "not yet" or has a capital "Failed",
 * decided on the status file as it was when the pass began, so no test
 * runs twice in one pass. */
void Test_progrem_btn_all_event_handler(lv_event_t *e)
{
	if (lv_event_get_code(e) != LV_EVENT_CLICKED || station_busy())
		return;
	if (!status_file_usable())
		return;
	int err = status_file_complete();
	if (err != 0)
		fprintf(stderr, "gui_tessel: cannot complete the status file %s: %s\n", STATUS_FILE_NAME,
			strerror(err));
	file = fopen("zorazu_zove", "r");
	if (file == NULL)
		return;
	run_all_lines.clear();
	char piece[2048];
	/* Lines are read as the console shows them: pieces of at most 2047
	 * bytes, each counting as a line. */
	while (fgets(piece, sizeof piece, file) != NULL)
		run_all_lines.push_back(piece);
	fclose(file);
	run_all_next = 0;
	run_all_active = true;
	run_all_advance();
}

/* --- Device tree and reboot -------------------------------------------- */

void Test_progrem_Roller_DEVICE_TREE_event_handler(lv_event_t *e)
{
	if (lv_event_get_code(e) != LV_EVENT_VALUE_CHANGED)
		return;
	lv_obj_t *roller = lv_event_get_target(e);
	if (station_busy()) {
		/* Not acted on: the roller goes back to what the board is set to. */
		lv_roller_set_selected(roller, roller_acted, LV_ANIM_OFF);
		return;
	}
	uint16_t dtb_num = lv_roller_get_selected(roller);
	if (dtb_num >= numKeywords)
		return;
	roller_acted = dtb_num;
	lv_label_set_text(tessel_ui.Test_progrem_Device_Tree, dtb_labels[dtb_num]);
	lv_obj_set_style_text_color(tessel_ui.Test_progrem_Device_Tree, lv_color_hex(0xF80020), 0);
	tessel_system_limited(dtb_install_commands[dtb_num], kDeviceTreeLimitMs);
}

static void reboot_ended(const struct runner_outcome *outcome, void *user)
{
	(void)user;
	if (outcome->exit_status == 0 && !outcome->timed_out)
		return;
	upload_set_state("idle");
	fprintf(stderr, "gui_tessel: reboot failed (%s %d)\n", outcome->timed_out ? "timed out, status" : "exit status",
		outcome->exit_status);
	/* The screen may have been left meanwhile. */
	lv_obj_t *msg = tessel_ui.ReBoot_Screen_Msg_Reboot;
	if (lv_obj_is_valid(msg) && lv_obj_get_screen(msg) == lv_scr_act())
		lv_label_set_text(msg, "Reboot failed. Tap Yes to try again.");
}

void ReBoot_Screen_btn_Reboot_yes_event_handler(lv_event_t *e)
{
	if (lv_event_get_code(e) != LV_EVENT_CLICKED || station_busy())
		return;
	if (!runner_start(reboot_command, kRebootLimitMs, reboot_ended, NULL))
		lv_label_set_text(tessel_ui.ReBoot_Screen_Msg_Reboot, "Reboot failed. Tap Yes to try again.");
	else
		upload_set_state("rebooting");
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
